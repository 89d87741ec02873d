// The real program's hints: the cursor rests on its tool buttons or its
// caption buttons and a skinned hint window of the program shows the
// button's hint.
#include <windows.h>

#include <cstring>
#include <string>

#include "win/app/app_fixture.h"
#include "win/frame_mouse/frame_input.h"
#include "win/real_program.h"

namespace kelmar::test {
namespace {

// Waits for the program's skinned hint window to show `text` (empty: to hide).
HWND WaitForHint(DWORD pid, const std::wstring& text) {
  HWND hint = nullptr;
  const bool came = WaitFor(
      [&] {
        hint = VisibleWindowOf(pid, L"KelmarSkinHint");
        return text.empty() ? !hint : hint && TextOf(hint) == text;
      },
      4000);
  return !came ? nullptr : text.empty() ? HWND(1) : hint;
}

class ProgramHints : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window, nullptr);
    WaitForInputIdle(program.process.hProcess, 5000);
  }

  RunningProgram program;
  HWND window = program.window;
  const DWORD pid = program.process.dwProcessId;
};

TEST_F(ProgramHints, RestingOnSaveShowsItsSkinnedHintSaveAllFollowsLeavingAndDeactivationHideIt) {
  RECT wr;
  GetWindowRect(window, &wr);
  // The client area starts 8 right and 28 below the window's corner; Save
  // is at (192, 8), 29 x 25, Save all at (224, 8).
  const int x0 = wr.left + 8, y0 = wr.top + 28;
  SetCursorPos(x0 + 450, y0 + 20);
  WaitForInputIdle(program.process.hProcess, 5000);  // the move outside handled first
  SetCursorPos(x0 + 206, y0 + 20);
  HWND hint = WaitForHint(pid, L"保存当前选中图标 (Ctrl+S)");
  ASSERT_NE(hint, nullptr);
  RECT hr;
  GetWindowRect(hint, &hr);
  EXPECT_GE(hr.right - hr.left, 40);
  EXPECT_GE(hr.bottom - hr.top, 20);
  EXPECT_GT(hr.top, y0 + 20) << "below the cursor";
  EXPECT_EQ(VisibleWindowOf(pid, L"tooltips_class32"), nullptr);

  SetCursorPos(x0 + 238, y0 + 20);
  EXPECT_NE(WaitForHint(pid, L"保存全部图标 (Ctrl+Shift+S)"), nullptr);
  // Off the tool bar's controls: no hint.
  SetCursorPos(x0 + 450, y0 + 20);
  EXPECT_NE(WaitForHint(pid, L""), nullptr);

  // Another program's window in front: the hint goes with the activation.
  SetCursorPos(x0 + 206, y0 + 20);
  ASSERT_NE(WaitForHint(pid, L"保存当前选中图标 (Ctrl+S)"), nullptr);
  HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(other);
  EXPECT_NE(WaitForHint(pid, L""), nullptr);
  DestroyWindow(other);

  EXPECT_TRUE(program.Close());
}

TEST_F(ProgramHints, CaptionButtonsShowTheirHintsInTheSameSkinnedWindowAndMaximizeBecomesRestore) {
  // The caption's buttons from its right end: close 43 wide, maximize and
  // minimize 25 each, 8 pixels down to their middle; the window's icon (the
  // system menu) 16 x 16 at 7, 5.
  auto at = [&](int from_right, int y) {
    const Rect b = WindowBounds(window);
    return Point{b.right - from_right, b.top + y};
  };
  auto rest_on = [&](Point p) {
    Gesture({{MouseStep::Move, {p.x, p.y + 40}}, {MouseStep::Move, p}});
  };
  const Point close = at(7 + 22, 9), maximize = at(7 + 43 + 13, 9), minimize = at(7 + 43 + 25 + 13, 9);
  rest_on(close);
  EXPECT_NE(WaitForHint(pid, L"关闭"), nullptr);
  rest_on(maximize);
  EXPECT_NE(WaitForHint(pid, L"最大化"), nullptr);
  rest_on(minimize);
  EXPECT_NE(WaitForHint(pid, L"最小化"), nullptr);
  const Rect b = WindowBounds(window);
  rest_on({b.left + 15, b.top + 13});
  EXPECT_NE(WaitForHint(pid, L"系统菜单"), nullptr);

  // Maximized, the same button gives the size back and says so.
  const int width = WindowBounds(window).Width();
  Click(maximize);
  ASSERT_TRUE(WaitFor([&] { return WindowBounds(window).Width() > width; }, 5000));
  rest_on(at(7 + 43 + 13, 9));
  EXPECT_NE(WaitForHint(pid, L"还原"), nullptr);
  EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace kelmar::test
