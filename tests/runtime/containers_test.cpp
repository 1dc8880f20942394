// tests/runtime/containers_test.cpp: arrays, the stacks and the red-black map.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "host/display_mode.h"
#include "net/async_event_source.h"
#include "runtime/stack.h"

namespace {

int items_destroyed = 0;

struct Item : Object {
  int m_Value;
  explicit Item(int value = 0) : m_Value(value) {}
  ~Item() override { ++items_destroyed; }
};

struct Holder : Object {
  Array<Item*> m_Items;
  Array<String> m_Names;
  void mark() override {
    gc_mark_array(m_Items);
    gc_mark_array(m_Names);
  }
};

Holder* holder_root = nullptr;
Array<Item*> array_root;

std::string HeapFault() {
  String fault = gc_check_heap();
  return std::string(fault.Data(), fault.Data() + fault.Length());
}

// The count kept in front of a non-empty string's characters.
int RefCount(const String& s) {
  return (reinterpret_cast<const String::Rep*>(s.Data()) - 1)->refCount;
}

bool InList(const gc_object& list, const gc_object* object) {
  for (const gc_object* p = list.next; p != &list; p = p->next) {
    if (p == object) return true;
  }
  return false;
}

void FullCycle() {
  gc_stress = true;
  gc_collect();
  gc_stress = false;
}

// A few full cycles, each followed by allocation that pays for the garbage.
void CollectAndPay() {
  for (int i = 0; i < 3; ++i) {
    FullCycle();
    gc_object_free(gc_object_alloc(1 << 20), 1 << 20);
  }
}

class ContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc_clear_roots();
    gc_release_all();
    holder_root = nullptr;
    array_root = Array<Item*>();
    gc_add_root(&holder_root);
    gc_add_root(&array_root);
    gc_mark();
    items_destroyed = 0;
  }
  void TearDown() override {
    EXPECT_EQ(HeapFault(), "");
    gc_clear_roots();
    holder_root = nullptr;
    array_root = Array<Item*>();
    gc_release_all();
  }
  Holder* NewRootHolder() { return gc_assign(holder_root, new Holder()); }
};

using Arrays = ContainerTest;

TEST_F(Arrays, NewArraysStartEmptyAndAreOneAllocation) {
  Array<int> numbers(5);
  Array<String> names(3);
  Array<Item*> items(2);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(numbers[i], 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(names[i].IsEmpty());
  for (int i = 0; i < 2; ++i) EXPECT_EQ(items[i], nullptr);
  int expected = static_cast<int>(Array<int>::Rep::DataOffset() + 5 * sizeof(int) + 7) & ~7;
  EXPECT_EQ(gc_size_of(numbers.rep()), expected);
  EXPECT_TRUE(InList(gc_unmarked_list, items.rep()));
}

TEST_F(Arrays, EveryEmptyArrayIsTheSharedPermanentOne) {
  Array<int> base(4);
  for (Array<int> empty : {Array<int>(), Array<int>(0), Array<int>(-3), base.Resize(0),
                           base.Slice(3, 1), Array<int>(base.Data(), 0)}) {
    EXPECT_EQ(empty.rep(), Array<int>::nullRep());
  }
  EXPECT_EQ(Array<int>::nullRep()->flags, 3);
}

TEST_F(Arrays, SharedEmptyArraysAreNeverQueuedMarkedOrFreed) {
  Holder* holder = NewRootHolder();
  gc_assign(holder->m_Items, Array<Item*>());
  gc_assign(array_root, Array<Item*>(0));
  gc_push_grey(Array<String>::nullRep());
  gc_mark(static_cast<gc_object*>(Array<Item*>::nullRep()));
  for (int i = 0; i < 3; ++i) {
    FullCycle();
    gc_collect();
  }
  CollectAndPay();
  for (gc_object* empty : {static_cast<gc_object*>(Array<Item*>::nullRep()),
                           static_cast<gc_object*>(Array<String>::nullRep())}) {
    EXPECT_EQ(empty->flags, 3);
    for (const gc_object* list :
         {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list}) {
      EXPECT_FALSE(InList(*list, empty));
    }
  }
  EXPECT_EQ(gc_alloced_bytes, gc_size_of(holder));  // the empty arrays are never counted
}

TEST_F(Arrays, StoringAnArrayMarksItAndItsElementsAtOnce) {
  Holder* holder = NewRootHolder();
  Array<Item*> items(3);
  items[0] = new Item(1);
  items[2] = new Item(3);
  gc_assign(holder->m_Items, items);
  EXPECT_TRUE(InList(gc_marked_list, items.rep()));
  EXPECT_TRUE(InList(gc_marked_list, items[0]));
  EXPECT_TRUE(InList(gc_marked_list, items[2]));
  // A later element store greys the new value.
  Item* late = new Item(2);
  gc_assign(items[1], late);
  EXPECT_TRUE(InList(gc_queued_list, late));
  EXPECT_EQ(HeapFault(), "");
  CollectAndPay();
  EXPECT_EQ(items_destroyed, 0);
  EXPECT_EQ(holder->m_Items[1]->m_Value, 2);
}

TEST_F(Arrays, GlobalArraysAreRootsMarkedAtOnce) {
  Array<Item*> items(1);
  items[0] = new Item(5);
  gc_assign(array_root, items);
  EXPECT_TRUE(InList(gc_marked_list, items.rep()));
  // Each cycle's root marking marks it again at once, elements included.
  FullCycle();
  EXPECT_TRUE(InList(gc_marked_list, items.rep()));
  EXPECT_TRUE(InList(gc_marked_list, items[0]));
  CollectAndPay();
  EXPECT_EQ(items_destroyed, 0);
}

TEST_F(Arrays, StringArraysReleaseTheirStringsWhenDestroyed) {
  String name = String("collected");
  {
    Array<String> names(3);
    names[0] = name;
    names[2] = name;
    EXPECT_EQ(RefCount(name), 3);
  }
  EXPECT_EQ(RefCount(name), 3);  // garbage still holds them until paid for
  CollectAndPay();
  EXPECT_EQ(RefCount(name), 1);
}

TEST_F(Arrays, ResizeAndSliceCopyIntoNewArrays) {
  int values[] = {1, 2, 3, 4, 5};
  Array<int> numbers(values, 5);
  Array<int> longer = numbers.Resize(7);
  EXPECT_EQ(longer.Length(), 7);
  EXPECT_EQ(longer[4], 5);
  EXPECT_EQ(longer[6], 0);
  longer[0] = 9;
  EXPECT_EQ(numbers[0], 1);
  EXPECT_EQ(numbers.Resize(2).Length(), 2);
  Array<int> tail = numbers.Slice(-2);
  ASSERT_EQ(tail.Length(), 2);
  EXPECT_EQ(tail[0], 4);
  EXPECT_EQ(numbers.Slice(1, 100).Length(), 4);
  EXPECT_EQ(numbers.Slice(0), numbers);  // the whole range is the same array
}

TEST_F(Arrays, AnArrayTooLargeForTheCollectorIsRefused) {
  int before = gc_alloced_bytes;
  EXPECT_THROW(Array<int>(INT_MAX / 2), std::bad_alloc);
  EXPECT_EQ(gc_alloced_bytes, before);
}

using Stacks = ContainerTest;

TEST_F(Stacks, CapacityGrowsByDoublingPlusTen) {
  c_Stack2* stack = (new c_Stack2())->m_new();
  EXPECT_EQ(stack->m_Data.Length(), 0);
  std::vector<int> capacities;
  for (int i = 0; i < 71; ++i) {
    stack->p_Push(String(i));
    if (capacities.empty() || capacities.back() != stack->m_Data.Length()) {
      capacities.push_back(stack->m_Data.Length());
    }
  }
  EXPECT_EQ(capacities, (std::vector<int>{10, 30, 70, 150}));
  EXPECT_EQ(stack->p_Length2(), 71);
  EXPECT_EQ(stack->p_Get(70), String(70));
}

TEST_F(Stacks, ToArrayCopiesExactlyTheElements) {
  c_StringStack* stack = (new c_StringStack())->m_new();
  EXPECT_EQ(stack->p_ToArray().rep(), Array<String>::nullRep());
  stack->p_Push4(String("a"));
  stack->p_Push4(String("b"));
  Array<String> copy = stack->p_ToArray();
  ASSERT_EQ(copy.Length(), 2);
  EXPECT_NE(copy.rep(), stack->m_Data.rep());
  copy[0] = String("changed");
  EXPECT_EQ(stack->p_Get(0), String("a"));
  EXPECT_EQ(stack->p_Join(String(", ")), String("a, b"));
}

TEST_F(Stacks, NewFromAnArrayTakesACopy) {
  String values[] = {String("x"), String("y"), String("z")};
  Array<String> data(values, 3);
  c_StringStack* stack = (new c_StringStack())->m_new2(data);
  EXPECT_EQ(stack->p_Length2(), 3);
  EXPECT_NE(stack->m_Data.rep(), data.rep());
  data[1] = String("changed");
  EXPECT_EQ(stack->p_Get(1), String("y"));
  stack->p_Push(String("w"));  // grows from capacity 3
  EXPECT_EQ(stack->m_Data.Length(), 16);
}

TEST_F(Stacks, PushingRangesOfAnArray) {
  String values[] = {String("a"), String("b"), String("c"), String("d")};
  Array<String> data(values, 4);
  c_Stack2* stack = (new c_Stack2())->m_new();
  stack->p_Push5(data, 1, 2);
  stack->p_Push6(data, 3);
  stack->p_Push2(data, 2, 100);  // clipped to the array
  stack->p_Push3(data, 9);       // past the end: nothing
  EXPECT_EQ((new c_StringStack())->m_new2(stack->p_ToArray())->p_Join(String()), String("bcdcd"));
  // Offsets and counts at the ends of the int range are clipped, not overflowed.
  stack->p_Clear();
  stack->p_Push3(data, INT_MIN);
  stack->p_Push2(data, INT_MAX, INT_MAX);
  stack->p_Push2(data, INT_MIN, 1);
  stack->p_Push2(data, 0, INT_MIN);
  EXPECT_EQ((new c_StringStack())->m_new2(stack->p_ToArray())->p_Join(String()), String("abcda"));
}

TEST_F(Stacks, ShrinkingEmptiesTheDroppedSlots) {
  String kept = String("kept");
  String dropped = String("dropped");
  c_Stack2* stack = (new c_Stack2())->m_new();
  for (int i = 0; i < 5; ++i) stack->p_Push(i < 2 ? kept : dropped);
  EXPECT_EQ(RefCount(dropped), 4);
  stack->p_Length(2);
  EXPECT_EQ(stack->p_Length2(), 2);
  EXPECT_EQ(stack->m_Data.Length(), 10);  // shrinking never reallocates
  for (int i = 2; i < 5; ++i) EXPECT_TRUE(stack->m_Data[i].IsEmpty());
  EXPECT_EQ(RefCount(dropped), 1);
  EXPECT_EQ(stack->p_Get(1), kept);
}

TEST_F(Stacks, GrowingPastTheCapacityTakesTheLargerOfDoubleAndAsked) {
  c_Stack2* stack = (new c_Stack2())->m_new();
  for (int i = 0; i < 20; ++i) stack->p_Push(String(i));
  ASSERT_EQ(stack->m_Data.Length(), 30);
  stack->p_Length(40);
  EXPECT_EQ(stack->m_Data.Length(), 50);
  EXPECT_EQ(stack->p_Length2(), 40);
  EXPECT_EQ(stack->p_Get(19), String(19));
  EXPECT_TRUE(stack->p_Get(39).IsEmpty());
  stack->p_Length(90);
  EXPECT_EQ(stack->m_Data.Length(), 90);
}

TEST_F(Stacks, ClearWritesTheEmptyValueAndBadIndicesAreHandled) {
  String text = String("text");
  c_Stack2* stack = (new c_Stack2())->m_new();
  stack->p_Push(text);
  stack->p_Push(text);
  stack->p_Clear();
  EXPECT_EQ(stack->p_Length2(), 0);
  EXPECT_EQ(RefCount(text), 1);
  EXPECT_TRUE(stack->p_Get(-1).IsEmpty());
  EXPECT_TRUE(stack->p_Get(1000).IsEmpty());
  stack->p_Length(-4);
  EXPECT_EQ(stack->p_Length2(), 0);
}

struct Source : c_IAsyncEventSource, Object {
  int m_Updates = 0;
  ~Source() override { ++items_destroyed; }
  int p_UpdateAsyncEvents() override { return ++m_Updates; }
};
c_Stack* modes_root = nullptr;
c_Stack3* sources_root = nullptr;

TEST_F(Stacks, ElementsAreKeptAliveThroughTheStack) {
  gc_add_root(&modes_root);
  gc_add_root(&sources_root);
  gc_assign(modes_root, (new c_Stack())->m_new());
  gc_assign(sources_root, (new c_Stack3())->m_new());
  for (int i = 0; i < 25; ++i) {
    modes_root->p_Push((new c_DisplayMode())->m_new(640 + i, 480));
    sources_root->p_Push(new Source());
    gc_collect();
    if (i % 5 == 0) FullCycle();
    ASSERT_EQ(HeapFault(), "");
  }
  CollectAndPay();
  EXPECT_EQ(items_destroyed, 0);
  EXPECT_EQ(modes_root->p_Length(), 25);
  EXPECT_EQ(modes_root->m_Data[24]->m_Width, 664);
  EXPECT_EQ(sources_root->m_Data[24]->p_UpdateAsyncEvents(), 1);
  // Emptied slots hold nothing alive.
  sources_root->p_Clear();
  CollectAndPay();
  EXPECT_EQ(items_destroyed, 25);
  modes_root = nullptr;
  sources_root = nullptr;
}

using Maps = ContainerTest;

// Checks the red-black rules; returns the black height, or -1 on a fault.
int BlackHeight(c_Node* node, c_Node* parent, long long low, long long high, std::string* fault) {
  if (!node) return 1;
  if (node->m_Parent != parent) *fault = "parent link of " + std::to_string(node->m_Key);
  if (node->m_Key <= low || node->m_Key >= high)
    *fault = "key out of order " + std::to_string(node->m_Key);
  if (node->m_Color != -1 && node->m_Color != 1) *fault = "bad colour";
  if (node->m_Color == -1 && parent && parent->m_Color == -1) *fault = "red under red";
  int left = BlackHeight(node->m_Left, node, low, node->m_Key, fault);
  int right = BlackHeight(node->m_Right, node, node->m_Key, high, fault);
  if (left != right) *fault = "unequal black heights under " + std::to_string(node->m_Key);
  return left + (node->m_Color == 1 ? 1 : 0);
}

// A lone root stays red (the first insert runs no fix-up); any larger tree has a black root.
std::string TreeFault(c_Map* map) {
  std::string fault;
  c_Node* root = map->m_Root;
  if (root && (root->m_Left || root->m_Right) && root->m_Color != 1) return "red root";
  BlackHeight(map->m_Root, nullptr, -(1LL << 40), 1LL << 40, &fault);
  return fault;
}

c_IntMap* map_root = nullptr;

TEST_F(Maps, AscendingInsertsRotateTheMiddleKeyToTheRoot) {
  c_IntMap* map = (new c_IntMap())->m_new();
  for (int key : {1, 2, 3}) EXPECT_TRUE(map->p_Set(key, (new c_DisplayMode())->m_new(key, key)));
  ASSERT_NE(map->m_Root, nullptr);
  EXPECT_EQ(map->m_Root->m_Key, 2);
  EXPECT_EQ(map->m_Root->m_Left->m_Key, 1);
  EXPECT_EQ(map->m_Root->m_Right->m_Key, 3);
  EXPECT_EQ(TreeFault(map), "");
}

TEST_F(Maps, SettingAnExistingKeyReplacesTheValueAndKeepsTheShape) {
  c_IntMap* map = (new c_IntMap())->m_new();
  for (int key : {5, 3, 8, 1, 4}) map->p_Insert(key, (new c_DisplayMode())->m_new(key, 0));
  std::function<std::string(c_Node*)> shape = [&](c_Node* n) -> std::string {
    return n ? "(" + shape(n->m_Left) + std::to_string(n->m_Key) + shape(n->m_Right) + ")" : "";
  };
  std::string before = shape(map->m_Root);
  c_DisplayMode* replacement = new c_DisplayMode(1920, 1080);
  EXPECT_FALSE(map->p_Set(3, replacement));
  EXPECT_EQ(shape(map->m_Root), before);
  EXPECT_EQ(map->p_FindNode(3)->m_Value, replacement);
  EXPECT_TRUE(map->p_Contains(8));
  EXPECT_FALSE(map->p_Contains(6));
  EXPECT_EQ(map->p_FindNode(100), nullptr);
}

TEST_F(Maps, RandomInsertsKeepTheRedBlackRulesAndSurviveCollection) {
  gc_add_root(&map_root);
  gc_assign(map_root, (new c_IntMap())->m_new());
  std::mt19937 random(7);
  std::set<int> keys;
  for (int i = 0; i < 5000; ++i) {
    int key = static_cast<int>(random() % 20000) - 10000;
    bool inserted = map_root->p_Set(key, (new c_DisplayMode())->m_new(key, i));
    EXPECT_EQ(inserted, keys.insert(key).second);
    if (i % 50 == 0) gc_collect();
    if (i % 500 == 0) {
      ASSERT_EQ(TreeFault(map_root), "") << "after " << i << " inserts";
      ASSERT_EQ(HeapFault(), "");
    }
  }
  CollectAndPay();
  EXPECT_EQ(TreeFault(map_root), "");
  for (int key : keys) ASSERT_EQ(map_root->p_FindNode(key)->m_Value->m_Width, key);
  map_root = nullptr;
}

}  // namespace
