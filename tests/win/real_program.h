#pragma once
// Shared by the Windows tests that start the real kelmar.exe (its path is
// the build's KELMAR_EXE).
#include <windows.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>

namespace kelmar::test {

// The program's path as Wine sees it.
inline std::wstring ProgramPath(const char* unixPath) {
  std::wstring exe = L"Z:" + std::wstring(unixPath, unixPath + strlen(unixPath));
  for (auto& c : exe)
    if (c == L'/') c = L'\\';
  return exe;
}

// Starts the program and waits up to 10 s for its main window, found by
// its exact title; null when the program or its window didn't come.
inline HWND StartProgram(const char* unixPath, PROCESS_INFORMATION& pi) {
  const std::wstring exe = ProgramPath(unixPath);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  pi = {};
  if (!CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
  HWND window = nullptr;
  for (int i = 0; i < 200 && !window; ++i) {
    Sleep(50);
    window = FindWindowW(nullptr, L"Kelmar V3.0(文件图标提取器)");
  }
  return window;
}

// A visible top-level window of the process that matches (by its handle
// and class name), or null.
inline HWND VisibleWindowOf(DWORD pid, const std::function<bool(HWND hwnd, const std::wstring& cls)>& matches) {
  struct Search {
    DWORD pid;
    const std::function<bool(HWND, const std::wstring&)>* matches;
    HWND found = nullptr;
  } search{pid, &matches};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (owner != s->pid || !IsWindowVisible(hwnd) || !(*s->matches)(hwnd, name)) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND VisibleWindowOf(DWORD pid, const std::function<bool(const std::wstring& cls)>& matches) {
  return VisibleWindowOf(pid, [&](HWND, const std::wstring& cls) { return matches(cls); });
}

inline HWND VisibleWindowOf(DWORD pid, const wchar_t* cls) {
  return VisibleWindowOf(pid, [cls](const std::wstring& name) { return name == cls; });
}

// The system's keyboard input: one key going down or up.
inline void SendKey(WORD key, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = key;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof(in));
  Sleep(30);
}

// Each key pressed and let go, in order.
inline void Keys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    SendKey(key, true);
    SendKey(key, false);
  }
}

// Text typed as characters, whatever the keyboard layout.
inline void Type(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2]{};
    for (int i = 0; i < 2; ++i) {
      in[i].type = INPUT_KEYBOARD;
      in[i].ki.wScan = c;
      in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
    Sleep(20);
  }
}

// A window's text, also of another process's window.
inline std::wstring TextOf(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  return text;
}

// Polls until done() holds; false when the time ran out.
template <typename F>
bool WaitFor(F done, DWORD timeout_ms = 20000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(20);
  }
  return true;
}

// The process's visible dialog with this title (a message box, the open
// dialog), or the folder chooser (the one with a folder tree) for "", once
// it shows; null when none came.
inline HWND WaitForDialogOf(DWORD pid, const std::wstring& title) {
  HWND found = nullptr;
  WaitFor([&] {
    found = VisibleWindowOf(pid, [&](HWND hwnd, const std::wstring& cls) {
      if (cls != L"#32770") return false;
      const bool chooser = FindWindowExW(hwnd, nullptr, L"SysTreeView32", nullptr) != nullptr;
      return title.empty() ? chooser : TextOf(hwnd) == title;
    });
    return found != nullptr;
  });
  return found;
}

inline bool WaitUntilClosed(HWND dialog) {
  return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

// A message box's text.
inline std::wstring BoxText(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }

}  // namespace kelmar::test
