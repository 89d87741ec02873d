#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "skin/data/mask_region.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {
namespace {

const Pixel kBlack = MakePixel(0, 0, 0);
const Pixel kWhite = MakePixel(255, 255, 255);

std::set<std::pair<int, int>> Covered(const RegionData& data) {
  std::set<std::pair<int, int>> points;
  for (const Rect& r : data.rects)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) points.insert({x, y});
  return points;
}

TEST(MaskToRegionData, BlackRunsBecomeRectangles) {
  Image mask(3, 1, kBlack);
  mask.At(1, 0) = kWhite;
  const auto data = MaskToRegionData(mask.View(), 10, 20);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->rects, (std::vector<Rect>{{10, 20, 11, 21}, {12, 20, 13, 21}}));
  EXPECT_EQ(data->bounds, (Rect{10, 20, 13, 21}));
}

TEST(MaskToRegionData, OnlyPureBlackCountsAndRowsComeInOrder) {
  // Row 0: black (alpha 0 still black), near-black, black, black.
  // Row 1: white, black, white, black.
  Image mask(4, 2, kWhite);
  mask.At(0, 0) = MakePixel(0, 0, 0, 0);
  mask.At(1, 0) = MakePixel(0, 0, 1);
  mask.At(2, 0) = kBlack;
  mask.At(3, 0) = kBlack;
  mask.At(1, 1) = kBlack;
  mask.At(3, 1) = kBlack;
  const auto data = MaskToRegionData(mask.View(), 0, 0);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->rects, (std::vector<Rect>{{0, 0, 1, 1}, {2, 0, 4, 1}, {1, 1, 2, 2}, {3, 1, 4, 2}}));

  EXPECT_FALSE(MaskToRegionData(ImageView{}, 0, 0));
  const auto white = MaskToRegionData(Image(5, 5, kWhite).View(), 1, 1);
  ASSERT_TRUE(white);
  EXPECT_TRUE(white->rects.empty());
  EXPECT_EQ(white->bounds, (Rect{1, 1, 6, 6}));
}

TEST(MaskToRegionData, RowsWithTheSameRunsShareRectangles) {
  // Rows 0-2: runs 0-2 and 3-4; row 3: all white; rows 4-5: run 1-5.
  Image mask(5, 6, kBlack);
  for (int y = 0; y < 3; ++y) mask.At(2, y) = kWhite;
  for (int x = 0; x < 5; ++x) mask.At(x, 3) = kWhite;
  mask.At(0, 4) = mask.At(0, 5) = kWhite;
  const auto data = MaskToRegionData(mask.View(), 1, 1);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->rects, (std::vector<Rect>{{1, 1, 3, 4}, {4, 1, 6, 4}, {2, 5, 6, 7}}));
}

TEST(MaskToRegionData, ManyRunsAreAllKept) {
  // 200 × 120 checkerboard: 12,000 runs, more than a fixed 10,001 would hold.
  Image mask(200, 120, kWhite);
  for (int y = 0; y < 120; ++y)
    for (int x = (y & 1); x < 200; x += 2) mask.At(x, y) = kBlack;
  const auto data = MaskToRegionData(mask.View(), 0, 0);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->rects.size(), 12000u);
  EXPECT_EQ(data->rects.back(), (Rect{199, 119, 200, 120}));
}

TEST(ComposeMaskRegionData, MaskCornersAtTargetSize) {
  // A 12 × 10 mask, black but for three white pixels in the top-left corner,
  // one top-right and one bottom-right; borders 2 left, 3 top, 2 right,
  // 2 bottom. At 20 × 15 the corners move with the size.
  const SkinGeometry g{{2, 3, 10, 8}, {3, 4}, {8, 4}, {4, 7}, {8, 7}};
  Image mask(12, 10, kBlack);
  mask.At(0, 0) = kWhite;
  mask.At(1, 0) = kWhite;
  mask.At(0, 1) = kWhite;
  mask.At(11, 0) = kWhite;
  mask.At(11, 9) = kWhite;
  const auto data = ComposeMaskRegionData(mask.View(), g, ScaleSkinGeometry(g, 12, 10, 20, 15));
  ASSERT_TRUE(data);
  EXPECT_EQ(data->bounds, (Rect{0, 0, 20, 15}));
  std::set<std::pair<int, int>> expected;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 20; ++x) expected.insert({x, y});
  for (auto cut : {std::pair{0, 0}, {1, 0}, {0, 1}, {19, 0}, {19, 14}}) expected.erase(cut);
  EXPECT_EQ(Covered(*data), expected);
  // Row by row the pieces and the client span join; equal rows share a band.
  EXPECT_EQ(data->rects, (std::vector<Rect>{{2, 0, 19, 1}, {1, 1, 20, 2}, {0, 2, 20, 14}, {0, 14, 19, 15}}));

  // Lower than the corner points (rolled up): the top band's 3 rows, one
  // side row (the sides' last fixed row, mask row 7) and the bottom band's 2.
  const auto low = ComposeMaskRegionData(mask.View(), g, ScaleSkinGeometry(g, 12, 10, 20, 6));
  ASSERT_TRUE(low);
  EXPECT_EQ(low->bounds, (Rect{0, 0, 20, 6}));
  expected.clear();
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 20; ++x) expected.insert({x, y});
  for (auto cut : {std::pair{0, 0}, {1, 0}, {0, 1}, {19, 0}, {19, 5}}) expected.erase(cut);
  EXPECT_EQ(Covered(*low), expected);

  // A target narrower than the corners, or lower than the top and bottom
  // bands, is not shaped.
  EXPECT_FALSE(ComposeMaskRegionData(mask.View(), g, ScaleSkinGeometry(g, 12, 10, 20, 4)));
  SkinGeometry narrow = ScaleSkinGeometry(g, 12, 10, 6, 15);
  EXPECT_FALSE(ComposeMaskRegionData(mask.View(), g, narrow));
  EXPECT_FALSE(ComposeMaskRegionData(ImageView{}, g, ScaleSkinGeometry(g, 12, 10, 20, 15)));
}

}  // namespace
}  // namespace kelmar
