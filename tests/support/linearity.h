// The speed check shared by the benchmarks: a benchmark of one size argument runs at n and
// at 2n, and the check passes when the larger takes at most 2.2 times as long.
#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tarvik::test {

// Keeps the fastest run of each size, by its size: the machine only ever adds time.
class FastestRuns : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      const auto [slot, added] = by_size.try_emplace(run.run_name.args, run.GetAdjustedCPUTime());
      if (!added) slot->second = std::min(slot->second, run.GetAdjustedCPUTime());
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> by_size;
};

// Registers `bench` for n and 2n, runs both `repetitions` times and returns the exit code: 0
// when linear. A run long enough to time steadily needs fewer repetitions.
inline int check_linear(int argc, char** argv, const char* name, void (*bench)(benchmark::State&), std::int64_t n,
                        const char* what, int repetitions = 100) {
  // Freed memory stays with the process and large blocks come from the heap: on a virtual
  // machine every fresh page costs a fault, which would time the system instead of the code.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  // Single runs of both sizes take turns, so that a slow moment of the machine does not
  // fall on one size alone.
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.push_back(interleave);
  int arg_count = static_cast<int>(args.size());
  benchmark::Initialize(&arg_count, args.data());
  for (const std::int64_t size : {n, 2 * n})
    benchmark::RegisterBenchmark(name, bench)
        ->Arg(size)
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(false)
        ->Unit(benchmark::kMillisecond);
  // A slow moment of a shared machine can still spoil one comparison; linear code passes
  // one of three, while code that is not linear fails them all.
  bool linear = false;
  for (int attempt = 1; attempt <= 3 && !linear; ++attempt) {
    FastestRuns reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double one = reporter.by_size[std::to_string(n)];
    const double two = reporter.by_size[std::to_string(2 * n)];
    linear = one > 0 && two / one <= 2.2;
    std::printf("twice the %s takes %.2f times as long (at most 2.2 allowed)\n", what, two / one);
  }
  return linear ? 0 : 1;
}

}  // namespace tarvik::test
