#pragma once
// A tiny timing harness for benchmark programs run under Wine: run a piece of
// work N times and report the median time and the spread (fastest, slowest).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
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

// A benchmark reports no figure for work it did not do: when the check
// fails, it says what was missing and the program ends with an error.
inline void Require(bool done, const char* what) {
  if (done) return;
  std::fprintf(stderr, "not measured, the work was not done: %s\n", what);
  std::fflush(stdout);
  std::exit(2);
}

// The files of one type in a folder (names ending in `extension`, no
// subfolders), each with its whole bytes, in the order of their names.
using NamedFiles = std::vector<std::pair<std::wstring, std::vector<uint8_t>>>;
inline NamedFiles ReadFilesIn(const std::wstring& folder, const wchar_t* extension) {
  NamedFiles files;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*" + extension).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring path = folder + L"\\" + found.cFileName;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<uint8_t> bytes(found.nFileSizeLow);
    DWORD read = 0;
    if (h == INVALID_HANDLE_VALUE || !ReadFile(h, bytes.data(), DWORD(bytes.size()), &read, nullptr)) read = 0;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    bytes.resize(read);
    files.emplace_back(path, std::move(bytes));
  } while (FindNextFileW(find, &found));
  FindClose(find);
  std::sort(files.begin(), files.end());
  return files;
}

inline uint64_t TotalBytes(const NamedFiles& files) {
  uint64_t total = 0;
  for (const auto& file : files) total += file.second.size();
  return total;
}

// A last-write time long before any run: files set to it and found with a
// later one afterwards were written by the run.
constexpr FILETIME kLongAgo{0x0, 0x01b00000};  // April 1986

// Untimed, before a run that rewrites the files: waits until their bytes are
// on the disk (rewriting a file whose pages are still being written back
// waits for them, so each run would pay for the one before) and marks them
// as written long ago.
inline void SettleAndAge(const NamedFiles& files) {
  for (const auto& file : files) {
    HANDLE h = CreateFileW(file.first.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    FlushFileBuffers(h);
    SetFileTime(h, nullptr, nullptr, &kLongAgo);
    CloseHandle(h);
  }
}

// After a run that was to write `expected` again: the same names with the
// same bytes, every one of them written after SettleAndAge.
inline bool RewroteAll(const std::wstring& folder, const wchar_t* extension, const NamedFiles& expected) {
  if (ReadFilesIn(folder, extension) != expected) return false;
  for (const auto& file : expected) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file.first.c_str(), GetFileExInfoStandard, &data) ||
        CompareFileTime(&data.ftLastWriteTime, &kLongAgo) <= 0)
      return false;
  }
  return true;
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
