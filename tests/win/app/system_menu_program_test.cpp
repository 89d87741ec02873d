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
  // Minimize: the third entry, after move and size.
  PostMessageW(program.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_NE(program.WaitForMenu(true), nullptr);
  program.Key(VK_DOWN);
  program.Key(VK_DOWN);
  program.Key(VK_RETURN);
  EXPECT_EQ(program.WaitForMenu(false), nullptr);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(program.window); }, 5000));
  ShowWindow(program.window, SW_RESTORE);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(program.window); }, 5000));
  // Close: the last entry, one up from the first.
  PostMessageW(program.window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_NE(program.WaitForMenu(true), nullptr);
  program.Key(VK_UP);
  program.Key(VK_RETURN);
  EXPECT_EQ(WaitForSingleObject(program.process.hProcess, 10000), WAIT_OBJECT_0);
}

// 移动 and 大小 with the system's keys alone: Alt+Space, the entry, then the
// system's own loop: arrows move the window or its edge, Enter keeps it,
// Esc puts the window back where it was.
TEST(ProgramSystemMenu, MoveAndSizeFromTheKeyboard) {
  Program program;
  ASSERT_NE(program.window, nullptr);
  WaitForInputIdle(program.process.hProcess, 5000);
  auto bounds = [&] {
    RECT r;
    GetWindowRect(program.window, &r);
    return r;
  };
  auto in_loop = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(program.process.dwThreadId, &info) && (info.flags & GUI_INMOVESIZE);
  };
  // Alt+Space, then `downs` entries down and Enter: the loop starts.
  auto start = [&](int downs) {
    SendKey(VK_MENU, true);
    Keys({VK_SPACE});
    SendKey(VK_MENU, false);
    if (!program.WaitForMenu(true)) return false;
    for (int i = 0; i < downs; ++i) Keys({VK_DOWN});
    Keys({VK_RETURN});
    return WaitFor(in_loop, 5000);
  };
  // One arrow in the loop; the window's bounds change with it.
  auto step = [&](WORD key) {
    const RECT before = bounds();
    Keys({key});
    return WaitFor(
        [&] {
          const RECT now = bounds();
          return !EqualRect(&now, &before);
        },
        2000);
  };
  const RECT first = bounds();

  ASSERT_TRUE(start(0)) << "no move loop after 移动";
  for (WORD key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN}) EXPECT_TRUE(step(key)) << key;
  Keys({VK_RETURN});
  ASSERT_TRUE(WaitFor([&] { return !in_loop(); }, 5000));
  const RECT moved = bounds();
  EXPECT_GT(moved.left, first.left);
  EXPECT_GT(moved.top, first.top);
  EXPECT_EQ(moved.right - moved.left, first.right - first.left);
  EXPECT_EQ(moved.bottom - moved.top, first.bottom - first.top);

  // Esc ends the loop with the window where it was.
  ASSERT_TRUE(start(0));
  for (WORD key : {VK_LEFT, VK_UP}) EXPECT_TRUE(step(key)) << key;
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitFor([&] { return !in_loop(); }, 5000));
  // (The loop may end before the window is put back.)
  EXPECT_TRUE(WaitFor(
      [&] {
        const RECT back = bounds();
        return EqualRect(&moved, &back);
      },
      5000));

  // 大小: the first arrow takes the right edge, the next ones move it.
  ASSERT_TRUE(start(1)) << "no size loop after 大小";
  // (The system may take the edge with the first arrow or the next one.)
  Keys({VK_RIGHT});
  bool grew = false;
  for (int i = 0; i < 3 && !grew; ++i) grew = step(VK_RIGHT);
  EXPECT_TRUE(grew);
  Keys({VK_RETURN});
  ASSERT_TRUE(WaitFor([&] { return !in_loop(); }, 5000));
  const RECT sized = bounds();
  EXPECT_EQ(sized.left, moved.left);
  EXPECT_EQ(sized.top, moved.top);
  EXPECT_GT(sized.right, moved.right);
  EXPECT_EQ(sized.bottom, moved.bottom);
  EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace kelmar::test
