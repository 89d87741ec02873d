#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <utility>

#include "framework/graphics.h"
#include "framework/handles.h"
#include "skin/data/effect_bmp_win32.h"
#include "skin/data/mask_region_win32.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"
#include "win/pump.h"

namespace kelmar {
namespace {

const Pixel kBlack = MakePixel(0, 0, 0);
const Pixel kWhite = MakePixel(255, 255, 255);

// A 64 × 40 mask: rounded-off corners, a hole, and scattered white pixels
// from a fixed linear congruential sequence.
Image TestMask() {
  Image mask(64, 40, kBlack);
  uint32_t state = 12345;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) {
      state = state * 1103515245u + 12345u;
      if ((state >> 16) % 7 == 0) mask.At(x, y) = kWhite;
    }
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4 - i; ++j) {
      mask.At(j, i) = kWhite;
      mask.At(63 - j, i) = MakePixel(0, 0, 1);  // not pure black
    }
  for (int y = 10; y < 20; ++y)
    for (int x = 20; x < 40; ++x) mask.At(x, y) = kWhite;
  return mask;
}

TEST(SkinRegionWin, RegionFromMaskCoversExactlyTheBlackPixels) {
  const Image mask = TestMask();
  for (auto [dx, dy] : {std::pair{0, 0}, {7, -3}}) {
    RegionHandle region = MaskToRegion(mask.View(), dx, dy);
    ASSERT_TRUE(region);
    int black = 0;
    for (int y = -1; y <= 40; ++y)
      for (int x = -1; x <= 64; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < 64 && y < 40 && mask.At(x, y) == kBlack;
        black += inside;
        EXPECT_EQ(PtInRegion(region, x + dx, y + dy) != 0, inside) << x << "," << y;
      }
    EXPECT_GT(black, 1500);
  }
  EXPECT_FALSE(RegionFromMask(ImageView{}));
}

TEST(SkinRegionWin, SmallMaskAndComposedFrameRegion) {
  Image bwb(3, 1, kBlack);
  bwb.At(1, 0) = kWhite;
  RegionHandle region = MaskToRegion(bwb.View(), 10, 20);
  RECT box{};
  EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
  EXPECT_EQ(FromRECT(box), (Rect{10, 20, 13, 21}));
  EXPECT_TRUE(PtInRegion(region, 10, 20));
  EXPECT_FALSE(PtInRegion(region, 11, 20));
  EXPECT_TRUE(PtInRegion(region, 12, 20));

  // A 12 × 10 frame mask with cut corners, shaped to 20 × 15.
  const SkinGeometry g{{2, 3, 10, 8}, {3, 4}, {8, 4}, {4, 7}, {8, 7}};
  Image mask(12, 10, kBlack);
  mask.At(0, 0) = mask.At(1, 0) = mask.At(0, 1) = mask.At(11, 0) = mask.At(11, 9) = kWhite;
  RegionHandle frame = ComposeMaskRegion(mask.View(), g, ScaleSkinGeometry(g, 12, 10, 20, 15));
  ASSERT_TRUE(frame);
  const std::set<std::pair<int, int>> cut = {{0, 0}, {1, 0}, {0, 1}, {19, 0}, {19, 14}};
  for (int y = -1; y <= 15; ++y)
    for (int x = -1; x <= 20; ++x) {
      const bool inside = x >= 0 && y >= 0 && x < 20 && y < 15 && !cut.count({x, y});
      EXPECT_EQ(PtInRegion(frame, x, y) != 0, inside) << x << "," << y;
    }
  EXPECT_FALSE(ComposeMaskRegion(mask.View(), g, ScaleSkinGeometry(g, 12, 10, 6, 15)));
}

class DrawingSurface : public ::testing::Test {
 protected:
  DrawingSurface() : dib_(16, 16), dc_(dib_.Dc()) { dib_.Pixels().Fill(kWhite); }
  std::set<std::pair<int, int>> Painted() {
    GdiFlush();
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if ((dib_.Pixels().At(x, y) & 0xFFFFFF) != (kWhite & 0xFFFFFF)) out.insert({x, y});
    return out;
  }
  TBitmap dib_;
  HDC dc_;
};

TEST_F(DrawingSurface, ArrowAndCheckMarkPixels) {
  // Left arrow in (0,0)-(10,10): centre 5,5; columns 3 … 6 of 1, 3, 5, 7 pixels.
  DrawArrow(dc_, {0, 0, 10, 10}, RGB(0, 0, 0), 1);
  std::set<std::pair<int, int>> expected = {{3, 5}, {4, 4}, {4, 5}, {4, 6}};
  for (int y = 3; y <= 7; ++y) expected.insert({5, y});
  for (int y = 2; y <= 8; ++y) expected.insert({6, y});
  EXPECT_EQ(Painted(), expected);

  // Down arrow in (0,0)-(9,9): centre 4,4; rows 1 … 4 of 7, 5, 3, 1 pixels.
  dib_.Pixels().Fill(kWhite);
  DrawArrow(dc_, {0, 0, 9, 9}, RGB(0, 0, 0), 4);
  expected.clear();
  for (int n = 0; n <= 3; ++n)
    for (int x = 4 - n; x <= 4 + n; ++x) expected.insert({x, 4 + 2 - n});
  EXPECT_EQ(Painted(), expected);

  dib_.Pixels().Fill(kWhite);
  DrawSmallSquareGlyph(dc_, 1, 1, RGB(0, 0, 255));
  expected.clear();
  for (int y = 3; y < 8; ++y)
    for (int x = 3; x < 8; ++x) expected.insert({x, y});
  EXPECT_EQ(Painted(), expected);
  GdiFlush();
  EXPECT_EQ(dib_.Pixels().At(5, 5) & 0xFFFFFF, MakePixel(0, 0, 255) & 0xFFFFFF);
}

TEST_F(DrawingSurface, EffectBitmapsDrawnAndReadFromBitmaps) {
  // A 3 × 2 sub-view (rows 5 pixels apart) drawn at (4, 6).
  Image source(5, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) source.At(x, y) = MakePixel(uint8_t(10 * x), uint8_t(100 + y), 7, 0);
  DrawImage(dc_, 4, 6, source.View().Sub({1, 0, 4, 2}));
  GdiFlush();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool drawn = x >= 4 && x < 7 && y >= 6 && y < 8;
      const Pixel want = drawn ? MakePixel(uint8_t(10 * (x - 3)), uint8_t(100 + y - 6), 7) : kWhite;
      EXPECT_EQ(dib_.Pixels().At(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << "," << y;
    }
  // Read back from a bitmap selected into no device context.
  TBitmap other(5, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) other.Pixels().At(x, y) = source.At(x, y);
  const TksEffectBmp bmp = EffectBmpFromBitmap(other.Handle());
  ASSERT_EQ(bmp.Width(), 5);
  ASSERT_EQ(bmp.Height(), 2);
  EXPECT_EQ(bmp.GetPixel(3, 1) & 0xFFFFFF, MakePixel(30, 101, 7) & 0xFFFFFF);
  EXPECT_EQ(bmp.GetPixel(0, 0) & 0xFFFFFF, MakePixel(0, 100, 7) & 0xFFFFFF);
}

TEST_F(DrawingSurface, GlyphCellDrawnTransparently) {
  // Two 3 × 2 cells; cell 2: key magenta at its bottom-left, one red, one green.
  const Pixel key = MakePixel(255, 0, 255), red = MakePixel(255, 0, 0), green = MakePixel(0, 255, 0);
  Image strip(6, 2, key);
  strip.At(4, 0) = red;
  strip.At(5, 1) = green;
  DrawGlyphCell(dc_, 2, 3, 2, 2, strip.View());
  EXPECT_EQ(Painted(), (std::set<std::pair<int, int>>{{3, 3}, {4, 4}}));
  EXPECT_EQ(dib_.Pixels().At(3, 3) & 0xFFFFFF, red & 0xFFFFFF);
  EXPECT_EQ(dib_.Pixels().At(4, 4) & 0xFFFFFF, green & 0xFFFFFF);
}

TEST_F(DrawingSurface, FitTextWithEllipsisInTheContextFont) {
  ScopedSelect font(dc_, GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring caption = L"Kelmar \u56fe\u6807\u63d0\u53d6\u5668";
  SIZE full{};
  GetTextExtentPoint32W(dc_, caption.c_str(), int(caption.size()), &full);
  ASSERT_GT(full.cx, 20);

  std::wstring text = caption;
  FitTextWithEllipsis(dc_, text, full.cx);
  EXPECT_EQ(text, caption);

  for (int max : {int(full.cx) - 1, int(full.cx) / 2, 1}) {
    text = caption;
    FitTextWithEllipsis(dc_, text, max);
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 3), L"...");
    EXPECT_EQ(caption.compare(0, text.size() - 3, text, 0, text.size() - 3), 0) << "a prefix of the caption";
    SIZE fitted{};
    GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &fitted);
    if (text != L"...") {
      EXPECT_LE(fitted.cx, max);
    }
  }
}

TEST(SkinPlatformWin, VersionFeaturesAndWindowAlpha) {
  // Wine reports a version well after 5.2: both features are there.
  EXPECT_TRUE(LayeredWindowsAvailable());
  EXPECT_TRUE(IsSystemVersion51());

  HWND window = CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"alpha", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(window);
  SetWindowAlpha(window, 128);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags & LWA_ALPHA, DWORD(LWA_ALPHA));
  DestroyWindow(window);

  Rect area{1, 2, 3, 4};
  GetMonitorWorkArea(nullptr, false, area);
  EXPECT_EQ(area, (Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
}

TEST(SkinPlatformWin, CopyScreenAreaReadsAShownWindow) {
  // A green popup at (100, 120); a 6 × 4 copy from (110, 130) is all green.
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(0, 200, 0));
  wc.lpszClassName = L"KelmarCopyScreenTest";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 120, 40, 40,
                                nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(window);
  UpdateWindow(window);
  // The window reaches the screen once its messages are handled.
  Image area(6, 4, kWhite);
  test::PumpUntil([&] { return CopyScreenArea(110, 130, area), (area.At(5, 3) & 0xFFFFFF) == (MakePixel(0, 200, 0) & 0xFFFFFF); }, 2000);
  EXPECT_EQ(area, Image(6, 4, area.At(0, 0)));
  EXPECT_EQ(area.At(0, 0) & 0xFFFFFF, MakePixel(0, 200, 0) & 0xFFFFFF);
  DestroyWindow(window);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  DeleteObject(wc.hbrBackground);
}

TEST(SkinPlatformWin, CaptureParentPaintsTheParentBackground) {
  // A child window's parent erases itself blue; the captured image under the
  // child at (5, 7) shows that blue.
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 255));
  wc.lpszClassName = L"KelmarCaptureParentTest";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                                wc.hInstance, nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 5, 7, 10, 10, parent, nullptr,
                               wc.hInstance, nullptr);
  ASSERT_TRUE(parent && child);
  TBitmap dib(10, 10);
  dib.Pixels().Fill(kWhite);
  const HDC dc = dib.Dc();
  CaptureParentImage(child, dc);
  GdiFlush();
  EXPECT_EQ(dib.Pixels().At(0, 0) & 0xFFFFFF, MakePixel(0, 0, 255) & 0xFFFFFF);
  EXPECT_EQ(dib.Pixels().At(9, 9) & 0xFFFFFF, MakePixel(0, 0, 255) & 0xFFFFFF);
  DestroyWindow(parent);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  DeleteObject(wc.hbrBackground);
}

}  // namespace
}  // namespace kelmar
