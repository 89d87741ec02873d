#include <gtest/gtest.h>

#include <vector>

#include "skin/data/skin_compose.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {
namespace {

// Each pixel names its own place: red = column, green = row.
Image NumberedPiece(int w, int h) {
  Image image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.At(x, y) = MakePixel(uint8_t(x), uint8_t(y), 0x5A);
  return image;
}

std::vector<int> SourceColumns(const Image& image, int y) {
  std::vector<int> out;
  for (int x = 0; x < image.Width(); ++x) out.push_back(PixelR(image.At(x, y)));
  return out;
}

std::vector<int> SourceRows(const Image& image, int x) {
  std::vector<int> out;
  for (int y = 0; y < image.Height(); ++y) out.push_back(PixelG(image.At(x, y)));
  return out;
}

// A 12 × 10 frame piece: borders 2 left, 3 top, 2 right, 2 bottom.
const SkinGeometry kFrame{{2, 3, 10, 8}, {3, 4}, {8, 4}, {4, 7}, {8, 7}};

TEST(SkinGeometry, HelpersAndScaling) {
  EXPECT_EQ(RectWidth({3, 4, 10, 6}), 7);
  EXPECT_EQ(RectHeight({3, 4, 10, 6}), 2);
  EXPECT_TRUE(RectIsEmpty({3, 4, 3, 6}));
  EXPECT_TRUE(RectIsEmpty({3, 4, 10, 3}));
  EXPECT_FALSE(RectIsEmpty({3, 4, 4, 5}));
  EXPECT_TRUE(PointIsUnset({0, 5}));
  EXPECT_TRUE(PointIsUnset({5, 0}));
  EXPECT_FALSE(PointIsUnset({5, 5}));
  EXPECT_TRUE(PointInRectInclusive({1, 1, 4, 4}, {4, 4}));
  EXPECT_TRUE(PointInRectInclusive({1, 1, 4, 4}, {1, 1}));
  EXPECT_FALSE(PointInRectInclusive({1, 1, 4, 4}, {5, 4}));

  // The frame picture of 704 × 292 with client 8,28,696,284, at 800 × 600.
  const SkinGeometry piece{{8, 28, 696, 284}, {10, 28}, {690, 28}, {10, 284}, {690, 284}};
  const SkinGeometry t = ScaleSkinGeometry(piece, 704, 292, 800, 600);
  EXPECT_EQ(t.client, (Rect{8, 28, 792, 592}));
  EXPECT_EQ(t.lt, (Point{10, 28}));
  EXPECT_EQ(t.rt, (Point{786, 28}));
  EXPECT_EQ(t.lb, (Point{10, 592}));
  EXPECT_EQ(t.rb, (Point{786, 592}));
}

TEST(ComposeNinePart, IdentitySizeReproducesThePiece) {
  const Image piece = NumberedPiece(20, 16);
  const SkinGeometry g{{4, 5, 15, 12}, {6, 7}, {13, 7}, {7, 10}, {12, 10}};
  Image out(3, 3, MakePixel(1, 2, 3));
  ComposeNinePart(piece.View(), g, ScaleSkinGeometry(g, 20, 16, 20, 16), 20, 16, true, out);
  EXPECT_TRUE(out == piece);
}

TEST(ComposeNinePart, TopEdgeTilesFromItsStartAndCutsTheLastTile) {
  // Top edge: source columns 5 … 16 (11 pixels) over 30 target columns.
  const Image piece = NumberedPiece(20, 8);
  const SkinGeometry g{{2, 2, 18, 6}, {5, 2}, {16, 2}, {5, 6}, {16, 6}};
  Image out;
  ComposeNinePart(piece.View(), g, ScaleSkinGeometry(g, 20, 8, 39, 8), 39, 8, false, out);
  ASSERT_EQ(out.Width(), 39);
  const std::vector<int> expected = {0,  1,  2,  3,  4,                                  // corner
                                     5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,         // tile 11
                                     5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,         // tile 11
                                     5,  6,  7,  8,  9,  10, 11, 12,                     // tile 8
                                     16, 17, 18, 19};                                    // corner
  EXPECT_EQ(SourceColumns(out, 0), expected);
  EXPECT_EQ(SourceColumns(out, 1), expected);
  EXPECT_EQ(PixelG(out.At(20, 1)), 1);
}

TEST(ComposeNinePart, NothingForAnEmptyPieceOrFlatCorners) {
  const Image piece = NumberedPiece(12, 10);
  SkinGeometry flat = kFrame;
  flat.rb.x = flat.lt.x;
  Image out;
  ComposeNinePart(piece.View(), flat, ScaleSkinGeometry(flat, 12, 10, 20, 15), 20, 15, true, out);
  EXPECT_EQ(out, Image(20, 15));
  ComposeNinePart(ImageView{}, kFrame, ScaleSkinGeometry(kFrame, 12, 10, 20, 15), 20, 15, true, out);
  EXPECT_EQ(out, Image(20, 15));
}

TEST(ComposeNinePartStretched, FlaggedEdgesUseNearestPixels) {
  // Top edge of 2 source columns (2, 3) over 4 target columns; left edge of 4
  // source rows (3 … 6) shrunk to 2.
  const Image piece = NumberedPiece(6, 10);
  const SkinGeometry g{{1, 2, 5, 8}, {2, 3}, {4, 3}, {2, 7}, {4, 7}};
  const SkinGeometry t{{1, 2, 7, 6}, {2, 3}, {6, 3}, {2, 5}, {6, 5}};
  Image out;
  ComposeNinePartStretched(piece.View(), g, t, 8, 8, false, {.left = true, .top = true}, out);
  EXPECT_EQ(SourceColumns(out, 0), (std::vector<int>{0, 1, 2, 2, 3, 3, 4, 5}));
  EXPECT_EQ(SourceRows(out, 0)[3], 4);
  EXPECT_EQ(SourceRows(out, 0)[4], 6);
}

TEST(ComposeHorizontal, FixedEndsAndTiledMiddle) {
  const Image piece = NumberedPiece(20, 3);
  Image out;
  ComposeHorizontal(piece.View(), 4, 5, 40, out);
  ASSERT_EQ(out.Width(), 40);
  ASSERT_EQ(out.Height(), 3);
  const std::vector<int> expected = {0, 1, 2, 3,                                  // left
                                     4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,        // 11
                                     4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,        // 11
                                     4, 5, 6, 7, 8, 9, 10, 11, 12,                // 9
                                     15, 16, 17, 18, 19};                         // right
  for (int y = 0; y < 3; ++y) EXPECT_EQ(SourceColumns(out, y), expected);
  EXPECT_EQ(PixelG(out.At(30, 2)), 2);
}

TEST(ComposeVertical, FixedEndsAndTiledMiddle) {
  const Image piece = NumberedPiece(2, 10);
  Image out;
  ComposeVertical(piece.View(), 2, 3, 17, out);
  ASSERT_EQ(out.Width(), 2);
  EXPECT_EQ(SourceRows(out, 1), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 2, 3, 4, 5, 6, 2, 3, 7, 8, 9}));
}

TEST(ComposeFrameBorders, FourBandsTiledOrStretched) {
  const Image piece = NumberedPiece(12, 10);
  const SkinGeometry t = ScaleSkinGeometry(kFrame, 12, 10, 20, 15);
  Image top, bottom, left, right;
  ComposeFrameBorders(piece.View(), kFrame, t, 20, 15, {}, top, bottom, left, right);
  ASSERT_EQ(top.Width(), 20);
  ASSERT_EQ(top.Height(), 3);
  // The top edge (source 3 … 8) is tiled from column 0, under the corners.
  EXPECT_EQ(SourceColumns(top, 2), (std::vector<int>{0, 1, 2, 6, 7, 3, 4, 5, 6, 7, 3, 4, 5, 6, 7, 3, 8, 9, 10, 11}));
  EXPECT_EQ(SourceRows(top, 5), (std::vector<int>{0, 1, 2}));
  // Bottom: the source's last two rows.
  ASSERT_EQ(bottom.Height(), 2);
  EXPECT_EQ(SourceRows(bottom, 0), (std::vector<int>{8, 9}));
  EXPECT_EQ(SourceColumns(bottom, 0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 4, 5, 6, 7, 4, 5, 6, 7, 8, 9, 10, 11}));
  // Sides: 2 × 10 between the bands; edge rows 4 … 7 tiled, fixed rows 3 and 7.
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 10);
  EXPECT_EQ(SourceRows(left, 1), (std::vector<int>{3, 5, 6, 4, 5, 6, 4, 5, 6, 7}));
  EXPECT_EQ(SourceColumns(left, 0), (std::vector<int>{0, 1}));
  ASSERT_EQ(right.Width(), 2);
  EXPECT_EQ(SourceRows(right, 0), (std::vector<int>{3, 5, 6, 4, 5, 6, 4, 5, 6, 7}));
  EXPECT_EQ(SourceColumns(right, 9), (std::vector<int>{10, 11}));

  // Stretched: the edges fill the span between the fixed parts.
  ComposeFrameBorders(piece.View(), kFrame, t, 20, 15, {true, false, true, false}, top, bottom, left, right);
  EXPECT_EQ(SourceRows(left, 0), (std::vector<int>{3, 4, 4, 4, 5, 5, 6, 6, 6, 7}));
  // 5 source columns over 13: nearest to each target column's centre.
  EXPECT_EQ(SourceColumns(top, 0), (std::vector<int>{0, 1, 2, 3, 3, 3, 4, 4, 5, 5, 5, 6, 6, 7, 7, 7, 8, 9, 10, 11}));

  // A band that can't be made keeps its old image.
  SkinGeometry flat = kFrame;
  flat.rt.x = flat.lt.x;
  Image kept(1, 1, MakePixel(9, 9, 9));
  ComposeFrameBorders(piece.View(), flat, t, 20, 15, {}, kept, bottom, left, right);
  EXPECT_EQ(kept, Image(1, 1, MakePixel(9, 9, 9)));
}

TEST(DrawGlyphCell, CellDrawnWithoutItsBottomLeftColour) {
  // Three 2 × 2 cells; cell 2 is {key, A / key, B} with key its bottom-left.
  const Pixel key = MakePixel(255, 0, 255), a = MakePixel(1, 2, 3), b = MakePixel(4, 5, 6);
  Image strip(6, 2, MakePixel(7, 7, 7));
  strip.At(2, 0) = key;
  strip.At(3, 0) = a;
  strip.At(2, 1) = key;
  strip.At(3, 1) = b;
  const Pixel c = MakePixel(8, 8, 8);
  strip.At(0, 0) = c;
  const Pixel bg = MakePixel(0, 0, 0);
  Image target(4, 4, bg);
  DrawGlyphCell(target.View(), 1, 1, 2, 3, strip.View());
  Image expected(4, 4, bg);
  expected.At(2, 1) = a;
  expected.At(2, 2) = b;
  EXPECT_EQ(target, expected);
  DrawGlyphCell(target.View(), 1, 1, 4, 3, strip.View());  // no such cell
  DrawGlyphCell(target.View(), 3, 3, 1, 3, strip.View());  // clipped at the corner
  expected.At(3, 3) = c;
  EXPECT_EQ(target, expected);
}

}  // namespace
}  // namespace kelmar
