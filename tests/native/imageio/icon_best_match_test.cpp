// The system's choice among an icon's images, worked out by hand from the
// rule: size first (a shortfall counts twice), then colours.
#include <gtest/gtest.h>

#include <vector>

#include "imageio/icon_best_match.h"

namespace kelmar {
namespace {

int Best(std::vector<IconCandidate> images, int cx, int cy, int bits = 32) {
  return BestIconMatch(images, cx, cy, bits);
}

TEST(IconBestMatch, SizeBeforeColours) {
  EXPECT_EQ(Best({}, 32, 32), -1);
  // The exact size, whatever the colours of the others.
  EXPECT_EQ(Best({{16, 16, 32}, {32, 32, 4}, {48, 48, 32}}, 32, 32), 1);
  // No 32: 48 scores 16 + 16, 16 scores 2 x (16 + 16).
  EXPECT_EQ(Best({{16, 16, 32}, {48, 48, 32}}, 32, 32), 1);
  // 24 scores 2 x (8 + 8) = 32, as 48 does: the first.
  EXPECT_EQ(Best({{24, 24, 32}, {48, 48, 32}}, 32, 32), 0);
  EXPECT_EQ(Best({{48, 48, 32}, {24, 24, 32}}, 32, 32), 0);
  // 20 scores 48, 48 scores 32.
  EXPECT_EQ(Best({{20, 20, 32}, {48, 48, 32}}, 32, 32), 1);
  // 256 (stored as 0) for a wanted 200: 112 against 16's 736.
  EXPECT_EQ(Best({IconCandidate::Stored(16, 16, 32), IconCandidate::Stored(0, 0, 32)}, 200, 200), 1);
  EXPECT_EQ(IconCandidate::Stored(0, 0, 8).width, 256);
  // Width and height each: 32 x 16 wanted, 32 x 32 scores 16, 16 x 16 scores 32.
  EXPECT_EQ(Best({{16, 16, 32}, {32, 32, 32}}, 32, 16), 1);
}

TEST(IconBestMatch, ColoursAmongTheChosenSize) {
  const std::vector<IconCandidate> mixed{{32, 32, 4}, {16, 16, 16}, {32, 32, 8}, {32, 32, 32}, {32, 32, 24}};
  EXPECT_EQ(Best(mixed, 32, 32, 32), 3);  // the display's depth
  EXPECT_EQ(Best(mixed, 32, 32, 16), 2);  // no 16 at 32 x 32: the greatest below, 8
  EXPECT_EQ(Best(mixed, 32, 32, 8), 2);
  EXPECT_EQ(Best(mixed, 32, 32, 1), 0);  // all above: the lowest, 4
  EXPECT_EQ(Best({{32, 32, 32}, {32, 32, 24}}, 32, 32, 16), 1);
  // Equal images: the first.
  EXPECT_EQ(Best({{32, 32, 8}, {32, 32, 8}}, 32, 32, 32), 0);
}

}  // namespace
}  // namespace kelmar
