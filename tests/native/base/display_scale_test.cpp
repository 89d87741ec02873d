#include <gtest/gtest.h>

#include "base/display_scale.h"

namespace kelmar {

TEST(DisplayScale, LengthsAreRoundedToTheNearestPixelHalvesAway) {
  // The common scales: 100, 125, 150, 175 and 200 %.
  EXPECT_EQ(ScaleLength(704, 96), 704);
  EXPECT_EQ(ScaleLength(704, 120), 880);
  EXPECT_EQ(ScaleLength(704, 144), 1056);
  EXPECT_EQ(ScaleLength(399, 144), 599);  // 598.5
  EXPECT_EQ(ScaleLength(399, 168), 698);  // 698.25
  EXPECT_EQ(ScaleLength(399, 192), 798);
  EXPECT_EQ(ScaleLength(25, 144), 38);    // 37.5
  EXPECT_EQ(ScaleLength(11, 120), 14);    // 13.75
  EXPECT_EQ(ScaleLength(1, 120), 1);      // 1.25
  EXPECT_EQ(ScaleLength(0, 192), 0);
  // Negative lengths (a font's cell height) mirror the positive ones.
  EXPECT_EQ(ScaleLength(-25, 144), -38);
  EXPECT_EQ(ScaleLength(-11, 120), -14);
  // Below 96 (a 72-DPI screen), and a length whose product with the DPI
  // leaves the range of int.
  EXPECT_EQ(ScaleLength(32, 72), 24);
  EXPECT_EQ(ScaleLength(3, 72), 2);  // 2.25
  EXPECT_EQ(ScaleLength(100000000, 192), 200000000);
}

}  // namespace kelmar
