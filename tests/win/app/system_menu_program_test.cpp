// The real program's system menu, driven from outside as the user would:
// Alt+Space opens it (our popup window), keys choose the entries.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace kelmar::test {
namespace {

struct Program {
  PROCESS_INFORMATION pi{};
  HWND window = nullptr;

  Program() {
    std::wstring exe = L"Z:" + std::wstring(KELMAR_EXE, KELMAR_EXE + strlen(KELMAR_EXE));
    for (auto& c : exe)
      if (c == L'/') c = L'\\';
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    for (int i = 0; i < 200 && !window; ++i) {
      Sleep(50);
      window = FindWindowW(nullptr, L"Kelmar V3.0(文件图标提取器)");
    }
  }
  ~Program() {
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  // The program's visible menu window, if one is open.
  HWND MenuWindow() const {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, L"KelmarSkinPopup", nullptr))) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == pi.dwProcessId && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
  HWND WaitForMenu(bool open) const {
    for (int i = 0; i < 100; ++i) {
      HWND w = MenuWindow();
      if ((w != nullptr) == open) return w;
      Sleep(20);
    }
    return MenuWindow();
  }
  void Key(WORD key) const {
    PostMessageW(window, WM_KEYDOWN, key, 0);
    Sleep(100);
  }
};

TEST(ProgramSystemMenu, AltSpaceOpensItEscapeClosesItTheEntriesMinimizeAndClose) {
  Program program;
  ASSERT_NE(program.window, nullptr);
  PostMessageW(program.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  HWND menu = program.WaitForMenu(true);
  ASSERT_NE(menu, nullptr);
  // Under the system menu button, at the frame's left.
  RECT frame, popup;
  GetWindowRect(program.window, &frame);
  GetWindowRect(menu, &popup);
  EXPECT_EQ(popup.left, frame.left + 7);
  EXPECT_EQ(popup.top, frame.top + 5 + 16);
  program.Key(VK_ESCAPE);
  EXPECT_EQ(program.WaitForMenu(false), nullptr);
  // Minimize: the first entry.
  PostMessageW(program.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_NE(program.WaitForMenu(true), nullptr);
  program.Key(VK_RETURN);
  EXPECT_EQ(program.WaitForMenu(false), nullptr);
  for (int i = 0; i < 50 && !IsIconic(program.window); ++i) Sleep(20);
  EXPECT_TRUE(IsIconic(program.window));
  ShowWindow(program.window, SW_RESTORE);
  Sleep(200);
  // Close: the last entry, one up from the first.
  PostMessageW(program.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_NE(program.WaitForMenu(true), nullptr);
  program.Key(VK_UP);
  program.Key(VK_RETURN);
  EXPECT_EQ(WaitForSingleObject(program.pi.hProcess, 10000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace kelmar::test
