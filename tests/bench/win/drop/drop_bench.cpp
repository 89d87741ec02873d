// A drop on the real program: kelmar.exe started as a user starts it, the
// 1000 icons of 5 x shell32.dll and 8 x comdlg32.dll dropped on its window
// from this other process, timed until the full list is painted (the drop
// handled, then the window and all its children repainted at once).
//
// Wine does not carry a drop's memory to another process with the message,
// so the drop's file list is written into the program's own memory first
// (untimed) and the message names it there, as the shell's drop does.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/harness.h"
#include "win/real_program.h"
#include "win/shell_files.h"

using namespace kelmar;

namespace {

HWND ListOf(HWND window) {
  return test::ChildWindowOf(window, [](HWND, const std::wstring& cls) { return cls == WC_LISTVIEWW; });
}

}  // namespace

// With a program path as argument (a Unix path), that program is started
// instead.
int main(int argc, char** argv) {
  PROCESS_INFORMATION pi{};
  HWND window = test::StartProgram(argc == 2 ? argv[1] : KELMAR_EXE, pi);
  // No program left behind when a check fails.
  auto require = [&](bool done, const char* what) {
    if (!done && pi.hProcess) TerminateProcess(pi.hProcess, 1);
    bench::Require(done, what);
  };
  require(window && WaitForInputIdle(pi.hProcess, 30000) == 0, "kelmar.exe started");
  HWND list = ListOf(window);
  std::vector<std::wstring> files(5, test::SystemFile(L"shell32.dll"));
  for (int i = 0; i < 8; ++i) files.push_back(test::SystemFile(L"comdlg32.dll"));

  const std::vector<BYTE> drop = test::DropFileList(files);

  std::vector<double> seconds, handling;
  for (int round = 0; round < 8; ++round) {
    // Fixed memory: its address is its handle (the program lets go of it).
    void* there = VirtualAllocEx(pi.hProcess, nullptr, drop.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    require(there && WriteProcessMemory(pi.hProcess, there, drop.data(), drop.size(), nullptr),
                   "the drop written into the program");
    // Emptied first (untimed), so a full list afterwards is this drop's work.
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    require(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0, "the list emptied before the drop");
    LRESULT items = 0;
    double handled = 0;
    const double took = bench::Time([&] {
      handled = bench::Time([&] { SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(there), 0); });
      RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      items = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    });
    require(items == 1000, "the drop filled the list with 1000 items");
    if (round > 0) {  // the first one warms the file cache and the heap
      seconds.push_back(took);
      handling.push_back(handled);
    }
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (seconds.empty()) return 1;
  const bench::Timing t = bench::Summarise(seconds);
  std::printf("1000 icons dropped on kelmar.exe, drop -> painted full list: median %.1f ms (%.1f .. %.1f), %zu drops\n",
              t.median * 1000, t.fastest * 1000, t.slowest * 1000, seconds.size());
  const bench::Timing h = bench::Summarise(handling);
  std::printf("  of which the drop handled (the message returns): median %.1f ms (%.1f .. %.1f)\n", h.median * 1000,
              h.fastest * 1000, h.slowest * 1000);
  return 0;
}
