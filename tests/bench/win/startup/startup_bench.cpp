// Start-up: from process start to the main window painted and waiting for
// input, for the real program and for a bare window with a list view started
// the same way (CreateProcess, then WaitForInputIdle: the system signals it
// when the new process first waits for input with nothing queued, paints
// included). The two alternate, each warmed up once untimed. Then the real
// program started while the user asks for dark applications against light.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/win/harness.h"
#include "win/real_program.h"

using namespace kelmar;

namespace {

// Seconds from CreateProcess to the first idle; negative when it fails.
double TimeStart(const std::wstring& exe) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  double seconds = -1;
  const double took = bench::Time([&] {
    if (!CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    if (WaitForInputIdle(pi.hProcess, 30000) == 0) seconds = 0;
  });
  if (!pi.hProcess) return -1;
  if (seconds == 0) seconds = took;
  HWND window = test::VisibleWindowOf(pi.dwProcessId, [](const std::wstring&) { return true; });
  if (!window) seconds = -1;
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return seconds;
}

}  // namespace

// With two program paths as arguments, those two are compared instead.
int wmain(int argc, wchar_t** argv) {
  const std::wstring first = argc == 3 ? argv[1] : test::ProgramPath(KELMAR_EXE);
  const std::wstring second = argc == 3 ? argv[2] : test::ProgramPath(BARE_LIST_EXE);
  TimeStart(first);
  TimeStart(second);
  std::vector<double> kelmar, bare;
  for (int run = 0; run < 9; ++run) {
    kelmar.push_back(TimeStart(first));
    bare.push_back(TimeStart(second));
  }
  auto all_started = [](const std::vector<double>& runs) {
    return std::all_of(runs.begin(), runs.end(), [](double s) { return s >= 0; });
  };
  bench::Require(all_started(kelmar), "every start of the first program reached idle with a window");
  bench::Require(all_started(bare), "every start of the second program reached idle with a window");
  const bench::Timing k = bench::Summarise(kelmar), b = bench::Summarise(bare);
  std::printf("start to first idle (painted), median of %zu, fastest .. slowest\n", kelmar.size());
  std::printf("  first (kelmar.exe)  %6.1f ms (%.1f .. %.1f)\n", k.median * 1000, k.fastest * 1000, k.slowest * 1000);
  std::printf("  second (bare list) %6.1f ms (%.1f .. %.1f)\n", b.median * 1000, b.fastest * 1000, b.slowest * 1000);
  std::printf("  ratio first / second: %.2f\n", k.median / b.median);
  if (argc == 3) return 0;

  // The real program while the user asks for dark applications (it loads
  // its dark skin) against light, alternating.
  std::vector<double> dark, light;
  {
    test::AppsColourMode mode(true);
    for (int run = 0; run < 9; ++run) {
      mode.Set(true);
      dark.push_back(TimeStart(first));
      mode.Set(false);
      light.push_back(TimeStart(first));
    }
  }
  bench::Require(all_started(dark) && all_started(light), "every start in either look reached idle with a window");
  const bench::Timing d = bench::Summarise(dark), l = bench::Summarise(light);
  std::printf("kelmar.exe, dark applications against light, median of %zu\n", dark.size());
  std::printf("  dark   %6.1f ms (%.1f .. %.1f)\n", d.median * 1000, d.fastest * 1000, d.slowest * 1000);
  std::printf("  light  %6.1f ms (%.1f .. %.1f)\n", l.median * 1000, l.fastest * 1000, l.slowest * 1000);
  std::printf("  ratio dark / light: %.2f\n", d.median / l.median);
  return 0;
}
