// The off-screen bitmap: GDI drawing and the pixel view meet at the same
// place also when a bitmap is kept at a larger size than it is used at.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/graphics.h"

namespace kelmar {
namespace {

TEST(Bitmap, FittedSmallerItKeepsItsRowsAndGdiAndPixelsAgree) {
  TBitmap bitmap(40, 30);
  const HBITMAP first = bitmap.Handle();
  bitmap.Fit(25, 20);
  EXPECT_EQ(bitmap.Handle(), first);
  EXPECT_EQ(bitmap.Width(), 25);
  EXPECT_EQ(bitmap.Height(), 20);
  // A pixel set by GDI shows at the same place in the view, whose rows are
  // the kept bitmap's 40 pixels apart.
  SetPixelV(bitmap.Dc(), 7, 5, RGB(10, 20, 30));
  const ImageView pixels = bitmap.Pixels();
  EXPECT_EQ(pixels.Stride(), 40);
  EXPECT_EQ(ColorFromPixel(pixels.At(7, 5)), RGB(10, 20, 30));
  // And the other way round.
  pixels.At(24, 19) = MakePixel(200, 100, 50);
  EXPECT_EQ(GetPixel(bitmap.Dc(), 24, 19), RGB(200, 100, 50));

  // Larger than kept in one direction: a new bitmap.
  bitmap.Fit(50, 10);
  EXPECT_NE(bitmap.Handle(), first);
  EXPECT_EQ(bitmap.Pixels().Stride(), 50);
  // SetSize always gives a bitmap of exactly the size asked for.
  bitmap.Fit(30, 10);
  bitmap.SetSize(30, 10);
  EXPECT_EQ(bitmap.Pixels().Stride(), 30);
  BITMAP info{};
  GetObjectW(bitmap.Handle(), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 30);
  EXPECT_EQ(info.bmHeight, 10);
}

}  // namespace
}  // namespace kelmar
