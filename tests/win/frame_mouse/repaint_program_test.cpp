// The real program through a user's round of size changes, with the
// system's mouse and keys: maximize and restore by the button and by the
// caption, a corner out and in, the bottom edge up to the least height and
// down again, the top edge, minimize and restore from the system menu.
// After each step the screen must show every pixel of the client area
// painted, and the status panel must span its bar. First with the empty
// list, then with shell32's icons listed; and again after a switch to the
// dark skin while running.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frame_input.h"
#include "base/display_scale.h"
#include "win/real_program.h"
#include "win/shell_files.h"

namespace kelmar::test {
namespace {

// A black run this long at 100 % is no glyph or icon pixel; texts grow with
// the scale, so the limit is scaled with them (the strokes of the tool bar's
// 图标 are 11 px long at 100 % and 17 px at 150 %).
constexpr int kRun = 16;

// The client area as the screen shows it.
std::vector<Pixel> ClientShot(HWND window, int& width) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  TBitmap shot(client.right, client.bottom);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Dc(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  const ImageView pixels = shot.Pixels();
  std::vector<Pixel> all;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) all.push_back(pixels.At(x, y) & 0xFFFFFF);
  width = pixels.Width();
  return all;
}

// The longest run of pure black pixels, across or down, in the client area
// as the screen shows it. Unpainted parts of a window show black here.
int LongestBlackRun(HWND window) {
  int w = 0;
  const std::vector<Pixel> shot = ClientShot(window, w);
  const int h = w ? int(shot.size()) / w : 0;
  auto black = [&](int x, int y) { return shot[size_t(y) * size_t(w) + size_t(x)] == 0; };
  int longest = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0, run = 0; x < w; ++x) longest = std::max(longest, run = black(x, y) ? run + 1 : 0);
  for (int x = 0; x < w; ++x)
    for (int y = 0, run = 0; y < h; ++y) longest = std::max(longest, run = black(x, y) ? run + 1 : 0);
  return longest;
}

// The status bar: the child of the main window with exactly one child of its
// own, the panel.
struct StatusBar {
  RECT bar{}, panel{};
};

StatusBar FindStatusBar(HWND window) {
  StatusBar found;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    HWND inner = GetWindow(c, GW_CHILD);
    if (!inner || GetWindow(inner, GW_HWNDNEXT)) continue;
    GetWindowRect(c, &found.bar);
    GetWindowRect(inner, &found.panel);
  }
  return found;
}

// Waits until the program has handled the step: its paints are done
// (a redraw with update-now returns after them) and neither the window's
// bounds nor what the screen shows of it change over three looks.
void Settle(HWND window) {
  Rect bounds;
  std::vector<Pixel> shot;
  int same = 0, width = 0;
  WaitFor([&] {
    Application().ProcessMessages();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const Rect b = WindowBounds(window);
    std::vector<Pixel> now = ClientShot(window, width);
    same = b == bounds && now == shot ? same + 1 : 0;
    bounds = b;
    shot = std::move(now);
    return same == 2;
  }, 5000, 30);
}

class ProgramRepaint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window, nullptr);
    WaitForInputIdle(program.process.hProcess, 5000);
    Settle(window);
  }

  // The state after a step: every client pixel painted, the panel across
  // its bar where the skin's status bar piece (68 wide) puts its client
  // area, from 3 to 65 at 100 %; each edge is scaled with the piece, so the
  // insets at a scale may differ by a pixel.
  void Check(const char* step) {
    Settle(window);
    EXPECT_LT(LongestBlackRun(window), S(kRun)) << step;
    const StatusBar s = FindStatusBar(window);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(s.bar.right - s.bar.left, client.right) << step;
    EXPECT_EQ(s.panel.left, s.bar.left + S(3)) << step;
    EXPECT_EQ(s.panel.right, s.bar.right - (S(68) - S(65))) << step;
  }

  Point At(int x, int y) const { return OnScreen(window, {x, y}); }
  // A 96-DPI length at the scale the system gives the program (the round
  // also runs at 150 %, scripts/scale_programs.sh).
  int S(int length) const {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return ScaleLength(length, get_dpi ? int(get_dpi(window)) : kDesignDpi);
  }
  int Width() const { return WindowBounds(window).Width(); }
  int Height() const { return WindowBounds(window).Height(); }
  // The maximize/restore button: 25 wide, left of the 43-wide close button at
  // the caption's right end.
  Point MaximizeButton() const { return At(Width() - S(704) + S(641), S(9)); }

  // The skinned frame maximizes to the work area itself.
  void ExpectFillsTheScreen() const {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(Width(), work.right - work.left - 2);
    EXPECT_GE(Height(), work.bottom - work.top - 2);
  }

  // Alt+Space, then the wait for the program's skin menu to show.
  void OpenSystemMenu() const {
    SendKey(VK_MENU, true);
    Keys({VK_SPACE});
    SendKey(VK_MENU, false);
    EXPECT_TRUE(WaitFor([&] { return VisibleWindowOf(program.process.dwProcessId, L"KelmarSkinPopup") != nullptr; }, 5000));
  }

  void RunTheRound() {
    const Rect normal = WindowBounds(window);
    Click(MaximizeButton());
    Check("maximized by the button");
    ExpectFillsTheScreen();
    Click(MaximizeButton());
    Check("restored by the button");
    EXPECT_EQ(WindowBounds(window), normal);
    DoubleClick(At(S(300), S(10)));
    Check("maximized by the caption");
    ExpectFillsTheScreen();
    DoubleClick(At(S(300), S(10)));
    Check("restored by the caption");

    // Out by as much as the screen leaves right of the window at 150 %.
    Drag(At(Width() - 2, Height() - 2), At(Width() + 98, Height() + 98));
    Check("a corner out");
    EXPECT_EQ(WindowBounds(window), RectOfSize(normal.left, normal.top, normal.Width() + 100, normal.Height() + 100));
    Drag(At(Width() - 2, Height() - 2), At(Width() - 202, Height() - 152));
    Check("a corner in");

    // Up past the least height, then down again, in small steps.
    const Point bottom = At(Width() / 2, Height() - 2);
    Gesture(DragSteps(bottom, {bottom.x, bottom.y - 400}, 12));
    Check("the bottom edge up");
    Gesture(DragSteps({bottom.x, WindowBounds(window).bottom - 2}, {bottom.x, bottom.y + 60}, 12));
    Check("the bottom edge down");
    const Point top = At(Width() / 2, 1);
    Drag(top, {top.x, top.y - 80});
    Check("the top edge");

    // Minimize (the third entry, after move and size), then 恢复 from the
    // minimized window's menu (maximize, restore, ..., close).
    Click(At(S(300), S(10)));
    OpenSystemMenu();
    Keys({VK_DOWN, VK_DOWN, VK_RETURN});
    WaitFor([&] { return IsIconic(window); }, 5000);
    ASSERT_TRUE(IsIconic(window));
    OpenSystemMenu();
    Keys({VK_DOWN, VK_RETURN});
    WaitFor([&] { return !IsIconic(window); }, 5000);
    ASSERT_FALSE(IsIconic(window));
    Check("restored from minimized");
  }

  RunningProgram program;
  const HWND window = program.window;
};

TEST_F(ProgramRepaint, EveryPixelIsPaintedThroughARoundOfSizeChangesEmptyAndWithIcons) {
  {
    SCOPED_TRACE("empty list");
    RunTheRound();
  }
  // shell32's icons through the open dialog, typed as a user would.
  Click(At(S(8) + S(28), S(28) + S(20)));
  HWND dialog = nullptr;
  WaitFor([&] { return (dialog = VisibleWindowOf(program.process.dwProcessId, L"#32770")) != nullptr; }, 5000);
  ASSERT_NE(dialog, nullptr);
  Type(SystemFile(L"shell32.dll"));
  Keys({VK_RETURN});
  HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
  ASSERT_NE(list, nullptr);
  WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) >= 184; }, 5000);
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 184);
  Check("icons listed");
  SCOPED_TRACE("icons listed");
  RunTheRound();
}

// The same round right after Windows told of a switch to dark
// applications: the dark skin taken while running leaves nothing unpainted.
TEST_F(ProgramRepaint, EveryPixelIsPaintedThroughTheRoundAfterASwitchToDark) {
  AppsColourMode mode(false);
  mode.Switch(window, true);
  Check("switched to dark");
  RunTheRound();
}

}  // namespace
}  // namespace kelmar::test
