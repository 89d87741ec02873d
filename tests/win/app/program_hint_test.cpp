// The real program's hints: the cursor rests on its tool buttons and a
// skinned hint window of the program shows the button's hint.
#include <windows.h>

#include <cstring>
#include <string>

#include "win/app/app_fixture.h"
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

TEST(Program, RestingOnSaveShowsItsSkinnedHintSaveAllFollowsLeavingAndDeactivationHideIt) {
  RunningProgram program;
  HWND window = program.window;
  ASSERT_NE(window, nullptr);
  const DWORD pid = program.process.dwProcessId;
  WaitForInputIdle(program.process.hProcess, 5000);
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

}  // namespace
}  // namespace kelmar::test
