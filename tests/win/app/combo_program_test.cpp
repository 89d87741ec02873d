// The real program's output type selector under the system's own mouse and
// keyboard input: the drop-down is a pop-up window of ours that leaves the
// main window active, a click on a row chooses it, a click elsewhere or Esc
// closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app_fixture.h"
#include "framework/graphics.h"
#include "win/real_program.h"
#include "win/frame_mouse/frame_input.h"

namespace kelmar::test {
namespace {

// The program's visible drop-down: its own-class pop-up with extra class
// styles ("KelmarWindow.<styles>").
HWND DropDownOf(const RunningProgram& program) {
  return VisibleWindowOf(program.process.dwProcessId,
                         [](const std::wstring& cls) { return cls.rfind(L"KelmarWindow.", 0) == 0; });
}

HWND WaitForDropDown(const RunningProgram& program, bool open) {
  HWND w = nullptr;
  WaitFor([&] { return ((w = DropDownOf(program)) != nullptr) == open; }, 2000);
  return w;
}

void Keys(std::initializer_list<std::pair<WORD, bool>> strokes) {
  for (auto [key, down] : strokes) SendKey(key, down);
}

COLORREF ScreenPixel(Point p) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

TEST(ProgramComboBox, TheMouseOpensTheDropDownAndChoosesAClickElsewhereAndEscCloseIt) {
  RunningProgram program;
  ASSERT_NE(program.window, nullptr);
  WaitForInputIdle(program.process.hProcess, 5000);
  // CombPicType: 78 × 19 at 257,10 of the tool panel, at the client origin 8,28.
  const Point box = OnScreen(program.window, {8 + 257, 28 + 10});
  Click({box.x + 20, box.y + 9});
  HWND list = WaitForDropDown(program, true);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetWindow(list, GW_OWNER), program.window);
  EXPECT_EQ(GetForegroundWindow(), program.window);
  // Four rows of 18 in the list's frame, under the box.
  const Rect r = WindowBounds(list);
  EXPECT_EQ(r, RectOfSize(box.x, box.y + 19, 78, 74));
  const Point row0{r.left + 2, r.top + 1 + 9}, row1{r.left + 2, r.top + 1 + 18 + 9};
  // The rows show once the drop-down has painted.
  ASSERT_TRUE(WaitFor([&] { return ScreenPixel(row0) != ScreenPixel(row1); }, 2000));
  const COLORREF selected = ScreenPixel(row0), plain = ScreenPixel(row1);

  Click({r.left + 20, row1.y});  // "图片"
  EXPECT_EQ(WaitForDropDown(program, false), nullptr);
  EXPECT_EQ(GetForegroundWindow(), program.window);
  // Open again: the second row is the chosen one now.
  Click({box.x + 20, box.y + 9});
  ASSERT_NE(WaitForDropDown(program, true), nullptr);
  EXPECT_TRUE(WaitFor([&] { return ScreenPixel(row1) == selected && ScreenPixel(row0) == plain; }, 2000));
  // A click on the icon list closes it.
  Click(OnScreen(program.window, {300, 200}));
  EXPECT_EQ(WaitForDropDown(program, false), nullptr);

  // The keyboard alone: Alt+Down opens, Esc closes.
  Click({box.x + 20, box.y + 9});
  ASSERT_NE(WaitForDropDown(program, true), nullptr);
  Keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  EXPECT_EQ(WaitForDropDown(program, false), nullptr);
  Keys({{VK_MENU, true}, {VK_DOWN, true}, {VK_DOWN, false}, {VK_MENU, false}});
  ASSERT_NE(WaitForDropDown(program, true), nullptr);
  Keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  EXPECT_EQ(WaitForDropDown(program, false), nullptr);
  EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace kelmar::test
