#pragma once
// Shared by the Windows tests that start the real kelmar.exe (its path is
// the build's KELMAR_EXE) or drive another process's windows.
#include <windows.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelmar::test {

// The program's path as Wine sees it.
inline std::wstring ProgramPath(const char* unixPath) {
  std::wstring exe = L"Z:" + std::wstring(unixPath, unixPath + strlen(unixPath));
  for (auto& c : exe)
    if (c == L'/') c = L'\\';
  return exe;
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

// A child window at any depth (also of another process's window) that
// matches (by its handle and class name), or null.
inline HWND ChildWindowOf(HWND parent, const std::function<bool(HWND hwnd, const std::wstring& cls)>& matches) {
  struct Search {
    const std::function<bool(HWND, const std::wstring&)>* matches;
    HWND found = nullptr;
  } search{&matches};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (!(*s->matches)(hwnd, name)) return TRUE;
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

// The system's keyboard input: one key going down or up. The system queues
// input in order, so keys need no pause between them; what a key does is
// waited for where it matters.
inline void SendKey(WORD key, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = key;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof(in));
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
  std::vector<INPUT> in(text.size() * 2);
  for (size_t i = 0; i < in.size(); ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = text[i / 2];
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

// A window's text, also of another process's window.
inline std::wstring TextOf(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  return text;
}

// Looks every `every_ms` until done() holds (what another process or
// thread does shows only when looked at); false when the time ran out.
template <typename F>
bool WaitFor(F done, DWORD timeout_ms = 20000, DWORD every_ms = 20) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, every_ms, 0);
  }
  return true;
}

// The process's main window: its visible top-level window of the
// framework's class that no other window owns. Another Kelmar running
// beside the test is never taken for it.
inline HWND MainWindowOf(DWORD pid) {
  return VisibleWindowOf(pid, [](HWND hwnd, const std::wstring& cls) {
    return cls.rfind(L"KelmarWindow", 0) == 0 && !GetWindow(hwnd, GW_OWNER);
  });
}

// Starts the program (with these arguments after its quoted name) and waits
// up to 10 s for its main window; null when the program or its window didn't
// come.
inline HWND StartProgram(const char* unixPath, PROCESS_INFORMATION& pi, const std::wstring& arguments = L"") {
  const std::wstring exe = ProgramPath(unixPath);
  std::wstring command_line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  pi = {};
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  HWND window = nullptr;
  WaitFor([&] { return (window = MainWindowOf(pi.dwProcessId)) != nullptr; }, 10000);
  return window;
}

// The real program, started, with its main window (null when it did not
// show within 10 s). Closed on destruction.
class RunningProgram {
 public:
  explicit RunningProgram(const char* unixPath, const std::wstring& arguments = L"") {
    window = StartProgram(unixPath, process, arguments);
  }
#ifdef KELMAR_EXE
  RunningProgram() : RunningProgram(KELMAR_EXE) {}
  explicit RunningProgram(const std::wstring& arguments) : RunningProgram(KELMAR_EXE, arguments) {}
#endif
  ~RunningProgram() { Close(); }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  // Asks the program to close and waits for it; true when it ended by
  // itself (else it is ended).
  bool Close() {
    if (!process.hProcess) return true;
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = {};
    return ended;
  }
  HWND window = nullptr;
  PROCESS_INFORMATION process{};
};

// The applications' light or dark look as Windows keeps it for the user
// (AppsUseLightTheme, 0 = dark), set for the scope and put back as it was
// (the test prefix normally has none).
class AppsColourMode {
 public:
  explicit AppsColourMode(bool dark) {
    DWORD value = 0, bytes = sizeof(value);
    had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &value, &bytes) == ERROR_SUCCESS;
    old_ = value;
    Set(dark);
  }
  ~AppsColourMode() {
    if (had_) {
      RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &old_, sizeof(old_));
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
  }
  AppsColourMode(const AppsColourMode&) = delete;
  AppsColourMode& operator=(const AppsColourMode&) = delete;
  void Set(bool dark) {
    const DWORD light = dark ? 0 : 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &light, sizeof(light));
  }
  // Set, and told to the window as Windows tells its top-level windows (the
  // system carries the text to another process).
  void Switch(HWND window, bool dark) {
    Set(dark);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"), SMTO_BLOCK, 10000,
                        &result);
  }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
  static constexpr const wchar_t* kValue = L"AppsUseLightTheme";
  bool had_ = false;
  DWORD old_ = 1;
};

// The process's visible dialog with this title (a message box, the open
// dialog), or the folder chooser for "" (the system's picker, titled with the
// program's request, or the older one with a folder tree), once it shows;
// null when none came.
inline HWND WaitForDialogOf(DWORD pid, const std::wstring& title) {
  HWND found = nullptr;
  WaitFor([&] {
    found = VisibleWindowOf(pid, [&](HWND hwnd, const std::wstring& cls) {
      if (cls != L"#32770") return false;
      const bool chooser = TextOf(hwnd) == L"请选择保存路径:" ||
                           FindWindowExW(hwnd, nullptr, L"SysTreeView32", nullptr) != nullptr;
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
