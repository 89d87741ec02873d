// The real program at the system's display scale (LogPixels), measured by
// its window's geometry and on the screen: the window, the frame's insets,
// the caption and its buttons, the tool bar's pieces and the status bar at
// round(scale x their 96-DPI size). Runs where scripts/scale_programs.sh
// sets KELMAR_SCALE_DPI, in a Wine prefix started at that scale; skipped
// elsewhere.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "base/display_scale.h"
#include "win/real_program.h"

namespace kelmar::test {
namespace {

int ExpectedDpi() {
  const char* value = std::getenv("KELMAR_SCALE_DPI");
  return value ? std::atoi(value) : 0;
}

// The sizes of every window under `parent`, depth first.
void ChildSizes(HWND parent, std::vector<SIZE>& sizes) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    sizes.push_back({r.right - r.left, r.bottom - r.top});
    ChildSizes(c, sizes);
  }
}

bool HasWindowOfSize(const std::vector<SIZE>& sizes, SIZE want) {
  for (const SIZE& s : sizes)
    if (std::abs(s.cx - want.cx) <= 1 && std::abs(s.cy - want.cy) <= 1) return true;
  return false;
}

TEST(ScaledProgram, WindowFrameAndPiecesAtTheSystemScale) {
  const int dpi = ExpectedDpi();
  if (!dpi) GTEST_SKIP() << "runs under scripts/scale_programs.sh";
  auto S = [dpi](int length) { return ScaleLength(length, dpi); };
  RunningProgram program;
  ASSERT_NE(program.window, nullptr);
  WaitForInputIdle(program.process.hProcess, 5000);
  const HWND window = program.window;

  // The scale the system gives the window, and the window at it: 704 x 399
  // at 96 DPI, its least size the frame picture's (704 wide).
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  ASSERT_NE(get_dpi, nullptr);
  EXPECT_EQ(int(get_dpi(window)), dpi);
  RECT w, c;
  GetWindowRect(window, &w);
  EXPECT_EQ(w.right - w.left, S(704));
  EXPECT_EQ(w.bottom - w.top, S(399));
  // Centred, but never with its caption's start off the screen (at 192 the
  // window is wider than the 1280-pixel test screen).
  EXPECT_GE(w.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_GE(w.top, GetSystemMetrics(SM_YVIRTUALSCREEN));

  // The frame's insets: the skin's client rectangle 8,28,696,284 in its
  // 704 x 292 picture, each edge scaled.
  GetClientRect(window, &c);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  EXPECT_EQ(origin.x - w.left, S(8));
  EXPECT_EQ(origin.y - w.top, S(28));
  EXPECT_EQ(w.right - (origin.x + c.right), S(704) - S(696));
  EXPECT_EQ(w.bottom - (origin.y + c.bottom), S(292) - S(284));
  MINMAXINFO least{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&least));
  EXPECT_EQ(least.ptMinTrackSize.x, S(704));

  // The tool bar's pieces: the open button 41 x 25, the small size radio
  // box 65 x 25, the save buttons 29 x 25, the tool bar 41 high; the status
  // bar across the client area as high as the skin's piece (242 to 261).
  std::vector<SIZE> sizes;
  ChildSizes(window, sizes);
  EXPECT_TRUE(HasWindowOfSize(sizes, {S(41), S(25)}));
  EXPECT_TRUE(HasWindowOfSize(sizes, {S(65), S(25)}));
  EXPECT_TRUE(HasWindowOfSize(sizes, {S(29), S(25)}));
  EXPECT_TRUE(HasWindowOfSize(sizes, {c.right, S(41)}));
  EXPECT_TRUE(HasWindowOfSize(sizes, {c.right, S(261) - S(242)}));

  // The caption buttons by the frame's hit test: the maximize button (25
  // wide) and the close button (43) at the caption's right end answer "an
  // object" where the scaled frame puts them; the caption answers "caption".
  auto hit = [&](int x, int y) {
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(w.left + x, w.top + y));
  };
  const int width = w.right - w.left;
  EXPECT_EQ(hit(S(300), S(9)), HTCAPTION);
  EXPECT_NE(hit(width - S(704) + S(641), S(9)), HTCAPTION);
  EXPECT_NE(hit(width - S(704) + S(641) + S(25) + S(8), S(9)), HTCAPTION);
}

}  // namespace
}  // namespace kelmar::test
