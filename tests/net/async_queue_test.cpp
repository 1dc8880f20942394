// tests/net/async_queue_test.cpp: worker threads, the operation ring and the event module.
#include "net/async_queue.h"

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "tests/net/net_test.h"

namespace {

std::thread::id main_thread;
std::vector<int> completed;
int ops_destroyed = 0;

// Records where it ran; may wait for a gate before its work is done.
struct TestOp : c_AsyncOp {
  int index;
  String label;
  const std::atomic<bool>* gate;
  std::thread::id executed_on;
  std::function<void()> on_complete;

  TestOp(int index, const std::atomic<bool>* gate = nullptr)
      : index(index), label(String(index)), gate(gate) {}
  ~TestOp() override { ++ops_destroyed; }
  int p_Execute__UNSAFE__(c_Socket*) override {
    while (gate && !gate->load()) std::this_thread::yield();
    executed_on = std::this_thread::get_id();
    return 0;
  }
  int p_Complete(c_Socket*) override {
    EXPECT_NE(executed_on, main_thread);
    EXPECT_EQ(std::this_thread::get_id(), main_thread);
    EXPECT_EQ(label, String(index)) << "the operation's fields were damaged";
    completed.push_back(index);
    if (on_complete) on_complete();
    return 0;
  }
};

// An event source that records its updates and may act inside them.
struct TestSource : Object, c_IAsyncEventSource {
  std::string name;
  std::vector<std::string>* log;
  std::function<void()> during_update;
  TestSource(std::string name, std::vector<std::string>* log) : name(std::move(name)), log(log) {}
  int p_UpdateAsyncEvents() override {
    bool current = rk_asyncevent__current == this;
    log->push_back(name + (current ? "" : " (not current)"));
    if (during_update) during_update();
    return 0;
  }
};

// A thread whose body counts its runs and may wait for a gate.
struct CountingThread : c_Thread {
  std::atomic<int> runs{0};
  std::atomic<bool> gate{true};
  void Run__UNSAFE__() override {
    while (!gate.load()) std::this_thread::yield();
    ++runs;
  }
};

class AsyncQueueTest : public NetTest {
 protected:
  void SetUp() override {
    NetTest::SetUp();
    main_thread = std::this_thread::get_id();
    completed.clear();
    ops_destroyed = 0;
  }
  c_AsyncQueue* Queue() {
    c_AsyncQueue* queue = (new c_AsyncQueue())->m_new(nullptr);
    rk_asyncevent_AddAsyncEventSource(queue);
    return queue;
  }
  static std::vector<int> Range(int from, int to) {
    std::vector<int> values;
    for (int i = from; i < to; ++i) values.push_back(i);
    return values;
  }
};

TEST_F(AsyncQueueTest, RunsOperationsOnAWorkerAndCompletesThemInOrderOnTheMainThread) {
  c_AsyncQueue* queue = Queue();
  // Two full rings, so the indices wrap around.
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 255; ++i) queue->p_Enqueue(new TestOp(round * 255 + i));
    ASSERT_TRUE(PumpUntil([&] { return completed.size() == 255u * (round + 1); }));
  }
  EXPECT_EQ(completed, Range(0, 510));
  EXPECT_EQ(queue->m_Get, 510 % 256);
}

TEST_F(AsyncQueueTest, The256thUnfinishedOperationIsFatal) {
  c_AsyncQueue* queue = Queue();
  EXPECT_FATAL_ERROR(
      {
        for (int i = 0; i < 255; ++i) queue->p_Enqueue(new TestOp(i));
        fputs("255 accepted\n", stderr);
        queue->p_Enqueue(new TestOp(255));
      },
      "AsyncQueue queue overflow!");
  // The same 255 in this process, without the last one, are fine.
  for (int i = 0; i < 255; ++i) queue->p_Enqueue(new TestOp(i));
  EXPECT_TRUE(PumpUntil([&] { return completed.size() == 255u; }));
}

TEST_F(AsyncQueueTest, CompletesOnlyWhatTheWorkerHasFinished) {
  c_AsyncQueue* queue = Queue();
  std::atomic<bool> gate{false};
  queue->p_Enqueue(new TestOp(0, &gate));
  queue->p_Enqueue(new TestOp(1));
  for (int i = 0; i < 20; ++i) PumpOnce();
  EXPECT_TRUE(completed.empty());
  EXPECT_TRUE(queue->IsRunning());
  gate = true;
  ASSERT_TRUE(PumpUntil([&] { return completed.size() == 2; }));
  EXPECT_EQ(completed, Range(0, 2));
}

TEST_F(AsyncQueueTest, ACompletionMayQueueMoreWork) {
  c_AsyncQueue* queue = Queue();
  TestOp* first = new TestOp(0);
  first->on_complete = [queue] { queue->p_Enqueue(new TestOp(1)); };
  queue->p_Enqueue(first);
  ASSERT_TRUE(PumpUntil([&] { return completed.size() == 2; }));
  EXPECT_EQ(completed, Range(0, 2));
}

// Full cycles, each followed by an allocation that makes the collector destroy its garbage.
void CollectAndDestroyGarbage() {
  for (int i = 0; i < 3; ++i) {
    gc_stress = true;
    gc_collect();
    gc_stress = false;
    gc_object_free(gc_object_alloc(1 << 20), 1 << 20);
  }
}

TEST_F(AsyncQueueTest, OperationsLiveInTheirSlotsUntilTheSlotsAreReused) {
  stress_collector_ = true;
  c_AsyncQueue* queue = Queue();
  std::atomic<bool> gate{false};
  for (int i = 0; i < 50; ++i) queue->p_Enqueue(new TestOp(i, i == 0 ? &gate : nullptr));
  for (int i = 0; i < 10; ++i) PumpOnce();
  CollectAndDestroyGarbage();
  EXPECT_EQ(ops_destroyed, 0);
  gate = true;
  ASSERT_TRUE(PumpUntil([&] { return completed.size() == 50; }));
  EXPECT_EQ(completed, Range(0, 50));
  CollectAndDestroyGarbage();
  EXPECT_EQ(ops_destroyed, 0) << "completed operations stay in their slots until reused";
  // Two more batches wrap the ring around and reuse the first 50 slots.
  for (int batch_end : {250, 310}) {
    for (int i = static_cast<int>(completed.size()); i < batch_end; ++i) {
      queue->p_Enqueue(new TestOp(i));
    }
    ASSERT_TRUE(PumpUntil([&] { return completed.size() == static_cast<size_t>(batch_end); }));
  }
  EXPECT_EQ(completed, Range(0, 310));
  CollectAndDestroyGarbage();
  EXPECT_EQ(ops_destroyed, 54);
}

TEST_F(AsyncQueueTest, ThreadRunsOnceAtATimeAndCanStartAgain) {
  CountingThread* thread = Keep(new CountingThread());
  EXPECT_EQ(thread->running.load(), 0);
  thread->gate = false;
  thread->Start();
  thread->Start();  // still running: nothing happens
  EXPECT_TRUE(thread->IsRunning());
  thread->gate = true;
  ASSERT_TRUE(PumpUntil([&] { return !thread->IsRunning(); }));
  EXPECT_EQ(thread->running.load(), 2);
  EXPECT_EQ(thread->runs.load(), 1);
  thread->Start();
  ASSERT_TRUE(PumpUntil([&] { return !thread->IsRunning(); }));
  EXPECT_EQ(thread->runs.load(), 2);
  EXPECT_EQ(thread->Result(), nullptr);
}

// Leaves no room in the address space for a new thread's stack, then starts one.
void StartThreadWithoutAddressSpace() {
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (1 << 20);
  rlimit address_space{limit, limit};
  setrlimit(RLIMIT_AS, &address_space);
  (new CountingThread())->Start();
}

TEST_F(AsyncQueueTest, ThreadThatCannotBeCreatedEndsTheProcess) {
  if (kAddressSanitizer || kThreadSanitizer) {
    GTEST_SKIP() << "address-space limits do not mix with sanitizer shadows";
  }
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        PrepareForFatalError();
        StartThreadWithoutAddressSpace();
      },
      ::testing::ExitedWithCode(255), "CreateThread failed!");
}

TEST_F(AsyncQueueTest, UpdateVisitsSourcesInRegistrationOrderAsCurrent) {
  std::vector<std::string> log;
  for (const char* name : {"a", "b", "c"}) {
    rk_asyncevent_AddAsyncEventSource(new TestSource(name, &log));
  }
  rk_asyncevent_UpdateAsyncEvents();
  rk_asyncevent_UpdateAsyncEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c", "a", "b", "c"}));
  EXPECT_EQ(rk_asyncevent__current, nullptr);
}

TEST_F(AsyncQueueTest, RegisteringASourceTwiceIsFatal) {
  std::vector<std::string> log;
  TestSource* source = new TestSource("a", &log);
  rk_asyncevent_AddAsyncEventSource(source);
  EXPECT_FATAL_ERROR(rk_asyncevent_AddAsyncEventSource(source),
                     "Async event source is already active");
}

TEST_F(AsyncQueueTest, UpdateCalledFromInsideAnUpdateReturnsAtOnce) {
  std::vector<std::string> log;
  TestSource* a = new TestSource("a", &log);
  a->during_update = [] { rk_asyncevent_UpdateAsyncEvents(); };
  rk_asyncevent_AddAsyncEventSource(a);
  rk_asyncevent_AddAsyncEventSource(new TestSource("b", &log));
  rk_asyncevent_UpdateAsyncEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(rk_asyncevent__current, nullptr);
}

TEST_F(AsyncQueueTest, SourceAddedDuringAPassIsUpdatedInTheSamePass) {
  std::vector<std::string> log;
  TestSource* a = new TestSource("a", &log);
  a->during_update = [&log] {
    if (log.size() == 1) rk_asyncevent_AddAsyncEventSource(new TestSource("late", &log));
  };
  rk_asyncevent_AddAsyncEventSource(a);
  rk_asyncevent_AddAsyncEventSource(new TestSource("b", &log));
  rk_asyncevent_UpdateAsyncEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "late"}));
}

TEST_F(AsyncQueueTest, CallbackThatThrowsDoesNotBlockLaterUpdates) {
  std::vector<std::string> log;
  TestSource* a = new TestSource("a", &log);
  a->during_update = [&log] {
    if (log.size() == 1) throw new ThrowableObject();
  };
  rk_asyncevent_AddAsyncEventSource(a);
  EXPECT_THROW(rk_asyncevent_UpdateAsyncEvents(), ThrowableObject*);
  EXPECT_EQ(rk_asyncevent__current, nullptr);
  rk_asyncevent_UpdateAsyncEvents();
  EXPECT_EQ(log.size(), 2u);
}

}  // namespace
