#pragma once
// A tiny timing harness for benchmark programs run under Wine: run a piece of
// work N times and report the median time and the spread (fastest, slowest).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "framework/application.h"

namespace kelmar::bench {

struct Timing {
  double median = 0;  // seconds per repetition
  double fastest = 0;
  double slowest = 0;
};

// Seconds taken by one run of the work.
template <typename Work>
double Time(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Median and range of separately timed runs.
inline Timing Summarise(std::vector<double> seconds) {
  if (seconds.empty()) return {};
  std::sort(seconds.begin(), seconds.end());
  const size_t n = seconds.size();
  const double median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
  return {median, seconds.front(), seconds.back()};
}

template <typename Work>
Timing Measure(int repetitions, Work&& work) {
  std::vector<double> seconds;
  for (int i = 0; i < repetitions; ++i) seconds.push_back(Time(work));
  return Summarise(std::move(seconds));
}

// One line: the name, items per second at the median, and the range.
inline void Report(const char* name, const Timing& t, double items, const char* unit) {
  std::printf("%-34s median %10.1f %s/s  (%.1f .. %.1f; %.3f s per run)\n", name, items / t.median, unit,
              items / t.slowest, items / t.fastest, t.median);
}

// What a benchmark program sets up before it makes a form: OLE, the
// common controls, the application's title.
inline void StartProgram(const wchar_t* title) {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  Application().SetTitle(title);
}

// Handles every message that is waiting.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace kelmar::bench
