// The real program's system menu, driven from outside as the user would:
// Alt+Space opens it (our popup window), keys choose the entries.
#include <windows.h>

#include <gtest/gtest.h>

#include "win/real_program.h"

namespace kelmar::test {
namespace {

struct Program : RunningProgram {
  // The program's visible menu window, if one is open.
  HWND MenuWindow() const { return VisibleWindowOf(process.dwProcessId, L"KelmarSkinPopup"); }
  HWND WaitForMenu(bool open) const {
    HWND w = nullptr;
    WaitFor([&] { return ((w = MenuWindow()) != nullptr) == open; }, 2000);
    return w;
  }
  // Keys posted to the window are handled in turn.
  void Key(WORD key) const { PostMessageW(window, WM_KEYDOWN, key, 0); }
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
  EXPECT_TRUE(WaitFor([&] { return IsIconic(program.window); }, 1000));
  ShowWindow(program.window, SW_RESTORE);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(program.window); }, 1000));
  // Close: the last entry, one up from the first.
  PostMessageW(program.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_NE(program.WaitForMenu(true), nullptr);
  program.Key(VK_UP);
  program.Key(VK_RETURN);
  EXPECT_EQ(WaitForSingleObject(program.process.hProcess, 10000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace kelmar::test
