// tests/runtime/gc_test.cpp: allocation, colours, the barrier, collector cycles and the heap check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "runtime/array.h"

namespace {

int destroyed = 0;

struct Node : Object {
  Node* m_A = nullptr;
  Node* m_B = nullptr;
  ~Node() override { ++destroyed; }
  void mark() override {
    gc_push_grey(m_A);
    gc_push_grey(m_B);
  }
};

struct Big : Object {
  char m_Payload[100 - sizeof(Object)];
};

Node* root_a = nullptr;
Node* root_b = nullptr;

bool InList(const gc_object& list, const gc_object* object) {
  for (const gc_object* p = list.next; p != &list; p = p->next) {
    if (p == object) return true;
  }
  return false;
}

bool InCache(const void* block) {
  for (gc_object* head : gc_cache) {
    for (gc_object* p = head; p; p = *reinterpret_cast<gc_object**>(p)) {
      if (p == block) return true;
    }
  }
  return false;
}

// The heap check's verdict as text, so a failure prints it.
std::string HeapFault() {
  String fault = gc_check_heap();
  return std::string(fault.Data(), fault.Data() + fault.Length());
}

int Rounded(size_t size) { return static_cast<int>((size + 7) & ~size_t{7}); }

void FullCycle() {
  gc_stress = true;
  gc_collect();
  gc_stress = false;
}

// Runs incremental steps until nothing is left to mark.
void FinishMarking() {
  gc_new_bytes = gc_cycle_bytes;
  gc_collect();
  gc_new_bytes = 0;
}

class GcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc_stress = false;
    gc_clear_roots();
    gc_release_all();
    root_a = root_b = nullptr;
    gc_add_root(&root_a);
    gc_add_root(&root_b);
    destroyed = 0;
  }
  void TearDown() override {
    EXPECT_EQ(HeapFault(), "");
    gc_stress = false;
    gc_clear_roots();
    root_a = root_b = nullptr;
    gc_release_all();
  }
};

using GcAllocation = GcTest;

TEST_F(GcAllocation, NewObjectIsWhiteAtTheTailOfTheUnmarkedListAndCounted) {
  Node* first = new Node();
  Node* second = new Node();
  EXPECT_TRUE(gc_is_white(second));
  EXPECT_EQ(gc_unmarked_list.prev, second);
  EXPECT_EQ(second->prev, first);
  EXPECT_EQ(gc_size_of(second), Rounded(sizeof(Node)));
  EXPECT_EQ(gc_alloced_bytes, 2 * Rounded(sizeof(Node)));
  EXPECT_EQ(gc_new_bytes, 2 * Rounded(sizeof(Node)));
  EXPECT_GE(gc_max_alloced_bytes, gc_alloced_bytes);
}

TEST_F(GcAllocation, ValueInitialisedObjectsStillJoinTheHeap) {
  Object* object = new Object();  // zero-fills before the constructors run
  EXPECT_TRUE(InList(gc_unmarked_list, object));
  EXPECT_EQ(gc_size_of(object), Rounded(sizeof(Object)));
}

TEST_F(GcAllocation, SizesRoundUpToEightAndSmallBlocksAreCachedBySizeClass) {
  void* block = gc_object_alloc(20);
  EXPECT_EQ(gc_alloced_bytes, 24);
  gc_object_free(block, 20);
  EXPECT_EQ(gc_alloced_bytes, 0);
  EXPECT_EQ(gc_cache[3], block);
  // The next 24-byte request takes that block from cache list 3.
  void* again = gc_object_alloc(24);
  EXPECT_EQ(again, block);
  EXPECT_NE(gc_cache[3], block);
  gc_object_free(again, 24);
}

TEST_F(GcAllocation, DestroyedSmallObjectsGoToTheCacheAndLargeOnesBackToTheSystem) {
  ASSERT_GT(Rounded(sizeof(Big)), gc_cache_max_bytes);
  ASSERT_LE(Rounded(sizeof(Node)), gc_cache_max_bytes);
  Node* small = new Node();
  Big* large = new Big();
  FullCycle();
  // Allocating enough pays for both pieces of garbage.
  void* payer = gc_object_alloc(512);
  EXPECT_EQ(gc_free_bytes, 0);
  EXPECT_TRUE(InCache(small));
  EXPECT_FALSE(InCache(large));
  gc_object_free(payer, 512);
}

TEST_F(GcAllocation, ConstructorThatThrowsReturnsItsStorage) {
  struct ThrowsInBody : Object {
    Node* m_Child;
    ThrowsInBody() : m_Child(new Node()) { throw 7; }
  };
  struct TakesArgument : Object {
    explicit TakesArgument(int) {}
  };
  auto fail = []() -> int { throw 8; };
  int before = gc_alloced_bytes;
  EXPECT_THROW(new ThrowsInBody(), int);
  // The child it made stays as ordinary garbage; the thrower left no trace.
  EXPECT_EQ(gc_alloced_bytes, before + Rounded(sizeof(Node)));
  EXPECT_THROW(new TakesArgument(fail()), int);  // storage taken before the argument threw
  EXPECT_EQ(gc_alloced_bytes, before + Rounded(sizeof(Node)));
  EXPECT_EQ(HeapFault(), "");
  // No stale pending block: the next objects are built and linked normally.
  Node* next = new Node();
  EXPECT_TRUE(InList(gc_unmarked_list, next));
}

TEST_F(GcAllocation, ObjectsBuiltOutsideTheHeapArePermanent) {
  Node local;
  EXPECT_EQ(local.flags & 3, 3);
  gc_push_grey(&local);
  gc_mark(static_cast<gc_object*>(&local));
  EXPECT_EQ(local.flags & 3, 3);
  EXPECT_EQ(gc_queued_list.next, &gc_queued_list);
}

TEST_F(GcAllocation, ObjectIdentityAndOrder) {
  Object* a = new Object();
  Object* b = new Object();
  EXPECT_TRUE(a->Equals(a));
  EXPECT_FALSE(a->Equals(b));
  EXPECT_EQ(a->Compare(a), 0);
  EXPECT_EQ(a->Compare(b), -b->Compare(a));
  EXPECT_EQ((a->Compare(b) < 0), (a < b));
  EXPECT_EQ(a->debug(), String("+Object\n"));
}

using GcMarking = GcTest;

TEST_F(GcMarking, GreyingMovesAWhiteObjectToTheQueueOnce) {
  Node* node = new Node();
  gc_push_grey(node);
  EXPECT_FALSE(gc_is_white(node));
  EXPECT_EQ(gc_queued_list.next, node);
  int flags = node->flags;
  gc_push_grey(node);
  EXPECT_EQ(node->flags, flags);
  EXPECT_EQ(gc_marked_bytes, 0);
}

TEST_F(GcMarking, ImmediateMarkBlackensAndGreysTheChildren) {
  Node* parent = new Node();
  Node* child = new Node();
  parent->m_A = child;
  gc_mark(parent);
  EXPECT_TRUE(InList(gc_marked_list, parent));
  EXPECT_EQ(gc_marked_bytes, gc_size_of(parent));
  EXPECT_TRUE(InList(gc_queued_list, child));
}

TEST_F(GcMarking, RootsAreGreyedInRegistrationOrder) {
  gc_assign(root_b, new Node());
  root_a = new Node();  // raw stores: gc_mark() below is what greys them
  gc_mark();
  EXPECT_EQ(gc_queued_list.next, root_b);  // already greyed by its barrier
  EXPECT_EQ(gc_queued_list.next->next, root_a);
}

TEST_F(GcMarking, StoreIntoABlackObjectDuringMarkingSurvivesTheCycle) {
  gc_assign(root_a, new Node());
  FinishMarking();
  ASSERT_TRUE(InList(gc_marked_list, root_a));
  Node* late = new Node();
  gc_assign(root_a->m_A, late);
  EXPECT_TRUE(InList(gc_queued_list, late));
  EXPECT_EQ(HeapFault(), "");
  FullCycle();
  for (int i = 0; i < 4; ++i) new Node();  // would pay for garbage, if any
  EXPECT_EQ(destroyed, 0);
  EXPECT_TRUE(InList(gc_unmarked_list, late));
}

TEST_F(GcMarking, RawStoreIntoABlackObjectIsReportedAndLosesTheObject) {
  gc_assign(root_a, new Node());
  FinishMarking();
  Node* late = new Node();
  root_a->m_A = late;  // the broken barrier
  EXPECT_NE(HeapFault().find("black object points at white object"), std::string::npos);
  FullCycle();
  EXPECT_TRUE(InList(gc_free_list, late));
  root_a->m_A = nullptr;
}

TEST_F(GcMarking, RawStoreIntoARootIsReported) {
  gc_mark();
  root_b = new Node();
  EXPECT_NE(HeapFault().find("root 1 holds a white object"), std::string::npos);
  gc_push_grey(root_b);
  EXPECT_EQ(HeapFault(), "");
}

TEST_F(GcMarking, HeapCheckReportsWrongCountsAndBrokenLinks) {
  Node* first = new Node();
  Node* second = new Node();
  gc_alloced_bytes += 8;
  EXPECT_NE(HeapFault().find("gc_alloced_bytes"), std::string::npos);
  gc_alloced_bytes -= 8;
  gc_object* saved = second->prev;
  second->prev = second;
  EXPECT_NE(HeapFault().find("broken link in list unmarked"), std::string::npos);
  second->prev = saved;
  first->flags ^= 1;  // a marked colour in the unmarked list
  EXPECT_NE(HeapFault().find("in list unmarked"), std::string::npos);
  first->flags ^= 1;
}

struct Countable : gc_interface {
  virtual int p_Count() = 0;
};
// The interface comes first, so the object part sits at an offset.
int counters_destroyed = 0;
struct Counter : Countable, Object {
  int m_Value = 41;
  ~Counter() override { ++counters_destroyed; }
  int p_Count() override { return ++m_Value; }
};
struct Holder : Object {
  Countable* m_Thing = nullptr;
  void mark() override { gc_push_grey(m_Thing); }
};
Countable* root_interface = nullptr;

TEST_F(GcMarking, ReferencesHeldThroughInterfacesAreMarked) {
  counters_destroyed = 0;
  gc_add_root(&root_interface);
  Holder* holder = new Holder();
  Counter* held = new Counter();
  Counter* rooted = new Counter();
  gc_assign(holder->m_Thing, static_cast<Countable*>(held));
  gc_assign(root_interface, static_cast<Countable*>(rooted));
  static Holder* holder_root = nullptr;
  gc_add_root(&holder_root);
  gc_assign(holder_root, holder);
  EXPECT_EQ(gc_object_of(holder->m_Thing), static_cast<gc_object*>(held));
  for (int cycle = 0; cycle < 3; ++cycle) {
    FullCycle();
    for (int i = 0; i < 8; ++i) new Node();
  }
  EXPECT_GT(destroyed, 0);  // the nodes were garbage and got paid for
  EXPECT_EQ(counters_destroyed, 0);
  EXPECT_EQ(holder->m_Thing->p_Count(), 42);
  EXPECT_EQ(root_interface->p_Count(), 42);
  holder_root = nullptr;
  root_interface = nullptr;
}

using GcCycle = GcTest;

TEST_F(GcCycle, UnreachableObjectsAreFreedAtAFullCycleAndDestroyedAsAllocationPays) {
  const int node = Rounded(sizeof(Node));
  gc_assign(root_a, new Node());
  gc_assign(root_a->m_A, new Node());
  std::vector<Node*> garbage;
  for (int i = 0; i < 10; ++i) garbage.push_back(new Node());
  FullCycle();
  EXPECT_EQ(gc_alloced_bytes, 2 * node);
  EXPECT_EQ(gc_free_bytes, 10 * node);
  for (Node* g : garbage) EXPECT_TRUE(InList(gc_free_list, g));
  EXPECT_EQ(destroyed, 0);
  // One node pays for one node of garbage, the oldest first, and reuses its block.
  Node* fresh = new Node();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(fresh, garbage[0]);
  // A 104-byte object pays with two 56-byte nodes.
  new Big();
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(gc_free_bytes, 7 * node);
}

TEST_F(GcCycle, AllocatedBytesEqualTheReachableBytesAfterACycle) {
  srand(11);
  std::vector<Node*> nodes;
  for (int i = 0; i < 300; ++i) nodes.push_back(new Node());
  for (Node* n : nodes) {
    if (rand() % 3) gc_assign(n->m_A, nodes[rand() % nodes.size()]);
    if (rand() % 3 == 0) gc_assign(n->m_B, nodes[rand() % nodes.size()]);
  }
  gc_assign(root_a, nodes[0]);
  gc_assign(root_b, nodes[1]);
  std::vector<Node*> reachable, stack{root_a, root_b};
  while (!stack.empty()) {
    Node* n = stack.back();
    stack.pop_back();
    if (!n || std::find(reachable.begin(), reachable.end(), n) != reachable.end()) continue;
    reachable.push_back(n);
    stack.push_back(n->m_A);
    stack.push_back(n->m_B);
  }
  ASSERT_LT(reachable.size(), nodes.size());
  const int reachable_bytes = static_cast<int>(reachable.size()) * Rounded(sizeof(Node));
  // The barrier greyed every stored node, so this cycle keeps some garbage afloat...
  FullCycle();
  EXPECT_GE(gc_alloced_bytes, reachable_bytes);
  // ...and the next one, whose marking began from the roots alone, keeps none.
  FullCycle();
  EXPECT_EQ(gc_alloced_bytes, reachable_bytes);
  for (Node* n : reachable) EXPECT_FALSE(InList(gc_free_list, n));
  // The first cycle's garbage went at the second; the rest waits in the free list.
  EXPECT_EQ(reachable.size() + gc_free_bytes / Rounded(sizeof(Node)) + destroyed, nodes.size());
}

TEST_F(GcCycle, SurvivorsTurnWhiteByTheFlipWithoutBeingTouched) {
  gc_assign(root_a, new Node());
  Node* child = new Node();
  gc_assign(root_a->m_A, child);
  FinishMarking();
  ASSERT_TRUE(InList(gc_marked_list, child));
  int flags = child->flags;
  FullCycle();
  EXPECT_EQ(child->flags, flags);
  EXPECT_TRUE(gc_is_white(child));
  EXPECT_TRUE(InList(gc_unmarked_list, child));
}

TEST_F(GcCycle, IncrementalStepMarksInProportionToAllocation) {
  const int node = Rounded(sizeof(Node));
  gc_assign(root_a, new Node());
  Node* tail = root_a;
  for (int i = 0; i < 4000; ++i) tail = gc_assign(tail->m_A, new Node());
  FullCycle();
  const int live = gc_alloced_bytes;
  gc_collect();
  EXPECT_EQ(gc_marked_bytes, 0);  // nothing allocated, nothing marked
  int allocated = 0;
  for (int round = 1; round <= 4; ++round) {
    for (int i = 0; i < 10 * round; ++i) new Node();
    allocated += 10 * round * node;
    gc_collect();
    int64_t due = allocated + static_cast<int64_t>(live) * allocated / gc_cycle_bytes;
    EXPECT_GE(gc_marked_bytes, due);
    EXPECT_LT(gc_marked_bytes, due + node);
  }
  FinishMarking();
  EXPECT_EQ(gc_marked_bytes, live);
  EXPECT_EQ(gc_queued_list.next, &gc_queued_list);
}

TEST_F(GcCycle, OutsideMemoryCountsTowardTheFullCycle) {
  Node* garbage = new Node();
  int bit = gc_markbit;
  gc_ext_malloced(gc_cycle_bytes - gc_new_bytes);  // at the threshold, not past it
  gc_collect();
  EXPECT_EQ(gc_markbit, bit);
  EXPECT_TRUE(InList(gc_unmarked_list, garbage));
  gc_ext_malloced(1);
  gc_collect();
  EXPECT_NE(gc_markbit, bit);
  EXPECT_EQ(gc_ext_new_bytes.load(), 0);
  EXPECT_EQ(gc_new_bytes, 0);
  EXPECT_TRUE(InList(gc_free_list, garbage));
}

struct Named : Object {
  String m_Text;
  ~Named() override { ++destroyed; }
};

TEST_F(GcCycle, TextHeldByGarbagePacesTheCollectorAndWaitsAtMostACycle) {
  // Each object is small but owns 64 kB of text: 64 MB of text in all.
  const int characters = 32768;
  for (int i = 0; i < 1000; ++i) {
    Char* chars = nullptr;
    (new Named())->m_Text = String::Uninitialized(characters, &chars);
    gc_collect();
  }
  // Garbage found by one cycle is gone by the next; a cycle comes every 8 MB.
  const int perCycle = gc_cycle_bytes / (2 * characters);
  EXPECT_GE(destroyed, 1000 - 2 * perCycle - 2);
}

TEST_F(GcCycle, OutsideMemoryIsCountedAtomicallyFromWorkerThreads) {
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([] {
      for (int i = 0; i < 100000; ++i) gc_ext_malloced(1);
    });
  }
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(gc_ext_new_bytes.load(), 400000);
}

// Random graphs mutated through the barrier, checked against a shadow copy.
struct GraphNode : Object {
  static constexpr int kFields = 3;
  GraphNode* m_Fields[kFields] = {};
  Array<GraphNode*> m_List;
  int m_Serial;
  static std::set<int> live;
  explicit GraphNode(int serial) : m_Serial(serial) { live.insert(serial); }
  ~GraphNode() override { live.erase(m_Serial); }
  void mark() override {
    for (GraphNode* field : m_Fields) gc_push_grey(field);
    gc_mark_array(m_List);
  }
  int Slots() const { return kFields + m_List.Length(); }
  GraphNode*& Slot(int i) { return i < kFields ? m_Fields[i] : m_List[i - kFields]; }
};
std::set<int> GraphNode::live;

constexpr int kRoots = 4;
GraphNode* graph_roots[kRoots];

class GraphWorkload {
 public:
  explicit GraphWorkload(unsigned seed) : random_(seed) {
    for (GraphNode*& root : graph_roots) root = nullptr;
    for (GraphNode*& root : graph_roots) gc_add_root(&root);
  }

  // One host event: a few mutations through the barrier, then one collector step.
  void Event() {
    for (int i = Pick(6); i >= 0; --i) Mutate();
    if (Pick(25) == 0) gc_stress = true;
    if (Pick(200) == 0) gc_ext_malloced(gc_cycle_bytes);
    gc_collect();
    gc_stress = false;
  }

  // Walks the real graph beside the shadow; an empty string when they agree.
  std::string Compare() {
    reachable_.clear();
    std::set<int> seen;
    for (int r = 0; r < kRoots; ++r) {
      std::string fault = Visit(graph_roots[r], shadow_roots_[r], &seen);
      if (!fault.empty()) return fault;
    }
    return "";
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % n); }

  GraphNode* AnyReachable() {
    return reachable_.empty() ? nullptr : reachable_[Pick(static_cast<int>(reachable_.size()))];
  }

  GraphNode* NewNode() {
    GraphNode* node = new GraphNode(++serial_);
    shadow_[serial_] = std::vector<int>(GraphNode::kFields, 0);
    return node;
  }

  int SerialOf(GraphNode* node) { return node ? node->m_Serial : 0; }

  void Mutate() {
    Compare();  // refreshes reachable_
    GraphNode* target = Pick(3) ? AnyReachable() : nullptr;
    int choice = Pick(10);
    GraphNode* value = choice < 4 ? NewNode() : choice < 8 ? AnyReachable() : nullptr;
    if (!target) {
      int r = Pick(kRoots);
      gc_assign(graph_roots[r], value);
      shadow_roots_[r] = SerialOf(value);
      return;
    }
    std::vector<int>& slots = shadow_[target->m_Serial];
    if (Pick(8) == 0) {
      // A new array, filled before it is stored (it is white, so plain stores).
      Array<GraphNode*> list(Pick(3));
      for (int i = 0; i < list.Length(); ++i) list[i] = Pick(2) ? AnyReachable() : NewNode();
      gc_assign(target->m_List, list);
      slots.resize(GraphNode::kFields);
      for (int i = 0; i < list.Length(); ++i) slots.push_back(SerialOf(list[i]));
      return;
    }
    int slot = Pick(target->Slots());
    gc_assign(target->Slot(slot), value);
    slots[slot] = SerialOf(value);
  }

  std::string Visit(GraphNode* node, int expected, std::set<int>* seen) {
    if (SerialOf(node) != expected) {
      return "found serial " + std::to_string(SerialOf(node)) + ", expected " +
             std::to_string(expected);
    }
    if (!node || !seen->insert(expected).second) return "";
    if (!GraphNode::live.count(expected))
      return "reachable node " + std::to_string(expected) + " was destroyed";
    reachable_.push_back(node);
    const std::vector<int>& slots = shadow_[expected];
    if (static_cast<int>(slots.size()) != node->Slots()) return "slot count differs";
    for (int i = 0; i < node->Slots(); ++i) {
      std::string fault = Visit(node->Slot(i), slots[i], seen);
      if (!fault.empty()) return fault;
    }
    return "";
  }

  std::mt19937 random_;
  int serial_ = 0;
  std::map<int, std::vector<int>> shadow_;
  int shadow_roots_[kRoots] = {};
  std::vector<GraphNode*> reachable_;
};

using GcWorkload = GcTest;

TEST_F(GcWorkload, RandomMutationsKeepTheHeapConsistentAndReachableObjectsAlive) {
  for (unsigned seed : {1u, 2u, 3u}) {
    GraphWorkload workload(seed);
    gc_mark();
    for (int event = 0; event < 1500; ++event) {
      workload.Event();
      ASSERT_EQ(HeapFault(), "") << "seed " << seed << " event " << event;
      ASSERT_EQ(workload.Compare(), "") << "seed " << seed << " event " << event;
    }
    gc_clear_roots();
    gc_release_all();
    EXPECT_TRUE(GraphNode::live.empty());
  }
}

TEST_F(GcWorkload, HeapCheckFindsARawStoreHiddenInARandomGraph) {
  GraphWorkload workload(9);
  gc_mark();
  for (int event = 0; event < 300; ++event) workload.Event();
  // Blacken everything reachable, then store a new object without the barrier.
  FinishMarking();
  GraphNode* black = graph_roots[0] ? graph_roots[0] : gc_assign(graph_roots[0], new GraphNode(-1));
  FinishMarking();
  ASSERT_EQ(HeapFault(), "");
  GraphNode* saved = black->m_Fields[1];
  black->m_Fields[1] = new GraphNode(-2);
  EXPECT_NE(HeapFault().find("black object points at white object"), std::string::npos);
  black->m_Fields[1] = saved;
  gc_clear_roots();
  gc_release_all();
}

}  // namespace
