// The real program in the dark skin, judged by what the screen shows: dark
// from the start when the user asks for dark applications, its texts
// standing out, and a switch to light and back while running giving the
// very pixels of before.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "framework/graphics.h"
#include "native/own_skin/contrast.h"
#include "win/frame_mouse/frame_input.h"
#include "win/real_program.h"
#include "win/shell_files.h"

namespace kelmar::test {
namespace {

// The window, frame included, as the screen shows it.
struct Shot {
  int width = 0, height = 0;
  std::vector<Pixel> pixels;
  Pixel At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  bool operator==(const Shot&) const = default;
};

Shot TakeShot(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  Shot shot;
  shot.width = r.right - r.left;
  shot.height = r.bottom - r.top;
  TBitmap bitmap(shot.width, shot.height);
  HDC screen = GetDC(nullptr);
  BitBlt(bitmap.Dc(), 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  const ImageView view = bitmap.Pixels();
  for (int y = 0; y < view.Height(); ++y)
    for (int x = 0; x < view.Width(); ++x) shot.pixels.push_back(view.At(x, y) & 0xFFFFFF);
  return shot;
}

// The shot once the program has painted all: the same over three looks.
Shot SettledShot(HWND window) {
  Shot last;
  int same = 0;
  WaitFor([&] {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Shot now = TakeShot(window);
    same = now == last ? same + 1 : 0;
    last = std::move(now);
    return same == 2;
  }, 10000, 50);
  return last;
}

double PixelLuminance(Pixel p) { return Luminance(PixelR(p), PixelG(p), PixelB(p)); }

// The client area (the skinned frame leaves 8 at the sides and the bottom,
// 28 on top at 96 DPI).
constexpr int kLeft = 8, kTop = 28, kRight = 8, kBottom = 8;

double MeanClientLuminance(const Shot& s) {
  double sum = 0;
  int n = 0;
  for (int y = kTop; y < s.height - kBottom; ++y)
    for (int x = kLeft; x < s.width - kRight; ++x, ++n) sum += PixelLuminance(s.At(x, y));
  return sum / n;
}

// A text's contrast as drawn: its area's commonest colour is the
// background, the text's strongest pixel the one that differs most from it.
double DrawnTextContrast(const Shot& s, const Rect& area) {
  std::map<Pixel, int> counts;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) ++counts[s.At(x, y)];
  const Pixel back = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  double best = 0;
  for (const auto& [pixel, count] : counts) best = std::max(best, PixelContrast(pixel, back));
  return best;
}

TEST(DarkProgram, StartsDarkWithTextsThatStandOutAndSwitchesToLightAndBackPixelForPixel) {
  AppsColourMode mode(true);
  // Out of the way of the window: no hint, no hot piece.
  SetCursorPos(0, 0);
  RunningProgram program(L"\"" + SystemFile(L"shell32.dll") + L"\"");
  ASSERT_NE(program.window, nullptr);
  HWND list = FindWindowExW(program.window, nullptr, WC_LISTVIEWW, nullptr);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 184; }, 10000));
  // The last item chosen by the keys, the list scrolled to it: both must
  // survive the switches. Then the pointer leaves again.
  Click(OnScreen(program.window, {8 + 40, 28 + 60}));
  Keys({VK_END});
  ASSERT_TRUE(WaitFor([&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED) == 183; }, 5000));
  SetCursorPos(0, 0);
  const Shot dark = SettledShot(program.window);
  const int top = ListView_GetTopIndex(list);
  ASSERT_GT(top, 0);

  EXPECT_LT(MeanClientLuminance(dark), 0.25);
  // Texts at their places in the window at 96 DPI (client area + 8, 28).
  struct Text {
    const char* what;
    Rect area;
  };
  for (const Text& t : {Text{"caption", {27, 4, 300, 24}}, Text{"status bar", {8 + 10, 28 + 345, 8 + 300, 28 + 360}},
                        Text{"radio box caption", {8 + 76, 28 + 12, 8 + 118, 28 + 30}},
                        Text{"label", {8 + 495, 28 + 7, 8 + 526, 28 + 20}},
                        Text{"home page link", {8 + 534, 28 + 6, 8 + 663, 28 + 19}},
                        Text{"mail link", {8 + 534, 28 + 22, 8 + 653, 28 + 35}}})
    EXPECT_GE(DrawnTextContrast(dark, t.area), 4.5) << t.what;

  mode.Switch(program.window, false);
  const Shot light = SettledShot(program.window);
  EXPECT_GT(MeanClientLuminance(light), 0.5);
  mode.Switch(program.window, true);
  EXPECT_TRUE(SettledShot(program.window) == dark);
  mode.Switch(program.window, false);
  EXPECT_TRUE(SettledShot(program.window) == light);
  EXPECT_EQ(ListView_GetTopIndex(list), top);
  EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 183);
}

}  // namespace
}  // namespace kelmar::test
