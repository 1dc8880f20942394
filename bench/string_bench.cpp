// bench/string_bench.cpp: String concatenation and Split throughput.
#include <benchmark/benchmark.h>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

namespace {

// Builds a line the way the state file is written: one value and a bar at a time.
void BM_ConcatenateValues(benchmark::State& state) {
  for (auto _ : state) {
    String line;
    for (int i = 0; i < state.range(0); ++i) line = line + String(i) + "|";
    benchmark::DoNotOptimize(line.Data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConcatenateValues)->Arg(16)->Arg(203);

void BM_SplitValues(benchmark::State& state) {
  String line;
  for (int i = 0; i < state.range(0); ++i) line = line + String(i * 7919) + "|";
  for (auto _ : state) {
    Array<String> pieces = line.Split("|");
    benchmark::DoNotOptimize(pieces.Data());
    gc_collect();  // one collector step, as the host runs after every event
  }
  state.SetBytesProcessed(state.iterations() * line.Length() * 2);
}
BENCHMARK(BM_SplitValues)->Arg(16)->Arg(203);

}  // namespace

BENCHMARK_MAIN();
