// bench/gc_bench.cpp: allocation throughput and collector pauses against live heaps of several
// sizes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "runtime/gc.h"

namespace {

// A short-lived object, dropped right after it is made.
struct SmallObject : Object {
  int m_Value = 0;
};

// Part of the live heap: a chain with random cross links.
struct LiveNode : Object {
  LiveNode* m_Next = nullptr;
  LiveNode* m_Side = nullptr;
  int m_Payload[2] = {};
  void mark() override {
    gc_push_grey(m_Next);
    gc_push_grey(m_Side);
  }
};

LiveNode* live_root = nullptr;

constexpr int kAllocationsPerEvent = 100;
constexpr int kEvents = 10000;  // 1,000,000 allocations in all

int NodesFor(int bytes) { return bytes / static_cast<int>((sizeof(LiveNode) + 7) & ~size_t{7}); }

// Builds the live heap through the barrier, stepping the collector as the host would.
void BuildLiveHeap(int nodes) {
  std::mt19937 random(1);
  gc_assign(live_root, new LiveNode());
  LiveNode* tail = live_root;
  for (int i = 1; i < nodes; ++i) {
    LiveNode* node = new LiveNode();
    if (i > 16) gc_assign(node->m_Side, tail);
    tail = gc_assign(tail->m_Next, node);
    if (i % kAllocationsPerEvent == 0) gc_collect();
  }
  // Let the build's garbage-free cycles settle before measuring.
  for (int i = 0; i < 1000; ++i) gc_collect();
}

void BM_AllocateAndDrop(benchmark::State& state) {
  const int live_nodes = static_cast<int>(state.range(0));
  gc_release_all();
  gc_clear_roots();
  live_root = nullptr;
  gc_add_root(&live_root);
  gc_mark();
  BuildLiveHeap(live_nodes);
  const int live_bytes = gc_alloced_bytes;

  std::vector<double> steps_us;
  steps_us.reserve(kEvents);
  int full_cycles = 0;
  for (auto _ : state) {
    for (int i = 0; i < kAllocationsPerEvent; ++i) {
      benchmark::DoNotOptimize(new SmallObject());
    }
    int markbit = gc_markbit;
    auto start = std::chrono::steady_clock::now();
    gc_collect();
    double step =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    if (gc_markbit != markbit) ++full_cycles;
    steps_us.push_back(step);
  }
  state.SetItemsProcessed(state.iterations() * kAllocationsPerEvent);
  state.counters["live_MB"] = live_bytes / 1048576.0;
  state.counters["s_per_alloc"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kAllocationsPerEvent),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  // The longest step, and the 99.9th percentile (robust against a preempted step).
  std::sort(steps_us.begin(), steps_us.end());
  double total = 0;
  for (double step : steps_us) total += step;
  state.counters["max_step_us"] = steps_us.empty() ? 0 : steps_us.back();
  state.counters["p999_step_us"] = steps_us.empty() ? 0 : steps_us[steps_us.size() * 999 / 1000];
  state.counters["mean_step_us"] = steps_us.empty() ? 0 : total / steps_us.size();
  state.counters["full_cycles"] = full_cycles;

  gc_clear_roots();
  live_root = nullptr;
  gc_release_all();
}

BENCHMARK(BM_AllocateAndDrop)
    ->ArgName("live_objects")
    ->Arg(10000)
    ->Arg(NodesFor(10 << 20))
    ->Arg(NodesFor(50 << 20))
    ->Iterations(kEvents)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
