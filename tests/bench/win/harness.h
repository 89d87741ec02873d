#pragma once
// A tiny timing harness for benchmark programs run under Wine: run a piece of
// work N times and report the median time and the spread (fastest, slowest).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace kelmar::bench {

struct Timing {
  double median = 0;  // seconds per repetition
  double fastest = 0;
  double slowest = 0;
};

template <typename Work>
Timing Measure(int repetitions, Work&& work) {
  std::vector<double> seconds;
  for (int i = 0; i < repetitions; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  const size_t n = seconds.size();
  const double median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
  return {median, seconds.front(), seconds.back()};
}

// One line: the name, items per second at the median, and the range.
inline void Report(const char* name, const Timing& t, double items, const char* unit) {
  std::printf("%-34s median %10.1f %s/s  (%.1f .. %.1f; %.3f s per run)\n", name, items / t.median, unit,
              items / t.slowest, items / t.fastest, t.median);
}

// Handles every message that is waiting.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace kelmar::bench
