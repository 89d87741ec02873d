#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/data/effect_bmp.h"

namespace kelmar {
namespace {

Pixel Grey(int v) { return MakePixel(uint8_t(v), uint8_t(v), uint8_t(v)); }

// One row of grey pixels.
TksEffectBmp Row(std::vector<int> values) {
  TksEffectBmp bmp(int(values.size()), 1);
  for (size_t i = 0; i < values.size(); ++i) bmp.SetPixel(int(i), 0, Grey(values[i]));
  return bmp;
}

// One column of grey pixels.
TksEffectBmp Column(std::vector<int> values) {
  TksEffectBmp bmp(1, int(values.size()));
  for (size_t i = 0; i < values.size(); ++i) bmp.SetPixel(0, int(i), Grey(values[i]));
  return bmp;
}

// The grey values along the image, checking that the pixels stayed grey.
std::vector<int> Values(const TksEffectBmp& bmp) {
  std::vector<int> out;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      const Pixel p = bmp.GetPixel(x, y);
      EXPECT_TRUE(PixelR(p) == PixelG(p) && PixelG(p) == PixelB(p)) << x << "," << y;
      out.push_back(PixelB(p));
    }
  return out;
}

using V = std::vector<int>;

TEST(EffectBmpBlend, ProgressZeroOneAndBeyond) {
  const TksEffectBmp other = Row({13, 11, 200, 0});
  const V self_values = {10, 10, 100, 255};
  for (double k : {0.0, -1.0}) {
    TksEffectBmp self = Row(self_values);
    self.BlendWith(other, k);
    EXPECT_EQ(Values(self), self_values);
  }
  for (double k : {1.0, 2.0}) {
    TksEffectBmp self = Row(self_values);
    self.BlendWith(other, k);
    EXPECT_EQ(self.GetImage(), other.GetImage());
  }
  // 11.5 → 12 and 10.5 → 10 (halves to even); 150; 127.5 → 128.
  TksEffectBmp self = Row(self_values);
  self.BlendWith(other, 0.5);
  EXPECT_EQ(Values(self), (V{12, 10, 150, 128}));
  // 0.75·100 + 0.25·200 = 125.
  self = Row({100});
  self.BlendWith(Row({200}), 0.25);
  EXPECT_EQ(Values(self), (V{125}));
  // Different sizes: nothing.
  self = Row(self_values);
  self.BlendWith(Row({1, 2}), 0.5);
  EXPECT_EQ(Values(self), self_values);
}

TEST(EffectBmpBlend, RectWithOffsetsAndClipping) {
  TksEffectBmp self(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) self.SetPixel(x, y, Grey(0));
  TksEffectBmp other(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) other.SetPixel(x, y, Grey(10 * (3 * y + x) + 20));
  // Rect (1,1)-(5,4) reaches past both images; other from row 0, column 1.
  self.BlendRectWith({1, 1, 5, 4}, other, 0, 1, 0.5);
  // other rows 0, 1 (row 2 would be self row 3), columns 1, 2.
  EXPECT_EQ(Values(self), (V{0, 0, 0, 0,     //
                             0, 15, 20, 0,   // 0.5·30, 0.5·40
                             0, 30, 35, 0}));  // 0.5·60, 0.5·70
}

TEST(EffectBmpMorph, LeftAndRightGradient) {
  const V self_values = {10, 20, 30, 40, 50};
  TksEffectBmp self = Row(self_values);
  // a = round(2.5) = 2: column 0 other, 1 half (70.5 → 70), 2 self.
  self.MorphLeftGradient(Row({110, 121, 130, 140, 150}), 0.5);
  EXPECT_EQ(Values(self), (V{110, 70, 30, 40, 50}));
  // k = 0: a is raised to 1.
  self = Row(self_values);
  self.MorphLeftGradient(Row({110, 121, 130, 140, 150}), 0.0);
  EXPECT_EQ(Values(self), (V{110, 20, 30, 40, 50}));

  // a = 5 − 2 = 3, t = (4 − j)/2: column 4 other, 3 half (90.5 → 90).
  self = Row(self_values);
  self.MorphRightGradient(Row({110, 121, 130, 141, 150}), 0.5);
  EXPECT_EQ(Values(self), (V{10, 20, 30, 90, 150}));
  // k = 1: a = 0, t = (4 − j)/5 from column 4 to 0.
  self = Row({0, 0, 0, 0, 0});
  self.MorphRightGradient(Row({100, 100, 100, 100, 100}), 1.0);
  EXPECT_EQ(Values(self), (V{20, 40, 60, 80, 100}));
}

TEST(EffectBmpMorph, SlidesAndPush) {
  const V self_values = {1, 2, 3, 4, 5};
  const TksEffectBmp other = Row({11, 12, 13, 14, 15});
  auto run = [&](void (TksEffectBmp::*morph)(const TksEffectBmp&, double), double k) {
    TksEffectBmp self = Row(self_values);
    (self.*morph)(other, k);
    return Values(self);
  };
  // b = round(5k) limited to 1 … 4.
  EXPECT_EQ(run(&TksEffectBmp::MorphLeftSlide, 0.5), (V{14, 15, 3, 4, 5}));
  EXPECT_EQ(run(&TksEffectBmp::MorphLeftSlide, 0.0), (V{15, 2, 3, 4, 5}));
  EXPECT_EQ(run(&TksEffectBmp::MorphLeftSlide, 1.0), (V{12, 13, 14, 15, 5}));
  EXPECT_EQ(run(&TksEffectBmp::MorphRightSlide, 0.5), (V{1, 2, 3, 11, 12}));
  EXPECT_EQ(run(&TksEffectBmp::MorphRightSlide, 1.0), (V{1, 11, 12, 13, 14}));
  // a = round(5k) limited to 0 … 4; self moves right by a + 1.
  EXPECT_EQ(run(&TksEffectBmp::MorphPush, 0.5), (V{13, 14, 15, 1, 2}));
  EXPECT_EQ(run(&TksEffectBmp::MorphPush, 0.0), (V{15, 1, 2, 3, 4}));
  EXPECT_EQ(run(&TksEffectBmp::MorphPush, 1.0), (V{11, 12, 13, 14, 15}));
  EXPECT_EQ(run(&TksEffectBmp::MorphPush, 0.2), (V{14, 15, 1, 2, 3}));
  // 5 · 0.1 = 0.5 rounds to 0 (half to even), 5 · 0.3 = 1.5 to 2.
  EXPECT_EQ(run(&TksEffectBmp::MorphPush, 0.1), (V{15, 1, 2, 3, 4}));
  EXPECT_EQ(run(&TksEffectBmp::MorphPush, 0.3), (V{13, 14, 15, 1, 2}));
}

TEST(EffectBmpMorph, GradientAcrossColumnsAndRows) {
  // Columns (8 × 1), k = 0.25: b = 2, c = 3, columns 3 … 5 other, self's
  // weight grows by 1/3 outward.
  TksEffectBmp self = Row(V(8, 0));
  self.MorphGradient(Row(V(8, 90)), 0.25);
  EXPECT_EQ(Values(self), (V{0, 30, 60, 90, 90, 90, 60, 30}));
  // k = 0: b = 0, c = 4, only column 4 other, steps of 1/4.
  self = Row(V(8, 0));
  self.MorphGradient(Row(V(8, 100)), 0.0);
  EXPECT_EQ(Values(self), (V{0, 25, 50, 75, 100, 75, 50, 25}));

  // Rows (1 × 6), k = 0.5: c' = 3, rows 2 … 4 other, e = 1: the next row is self.
  self = Column(V(6, 0));
  self.MorphGradient(Column(V(6, 100)), 0.5);
  EXPECT_EQ(Values(self), (V{0, 0, 100, 100, 100, 0}));
  // Rows (1 × 7), k = 0: only row 3 other, e = 3.
  self = Column(V(7, 0));
  self.MorphGradient(Column(V(7, 90)), 0.0);
  EXPECT_EQ(Values(self), (V{0, 30, 60, 90, 60, 30, 0}));
  // k = 1, even and odd heights: all other (e = −1 + 1 = 0).
  for (int h : {6, 5}) {
    self = Column(V(size_t(h), 0));
    self.MorphGradient(Column(V(size_t(h), 77)), 1.0);
    EXPECT_EQ(Values(self), V(size_t(h), 77));
  }
}

TEST(EffectBmpEffects, ColourRules) {
  TksEffectBmp bmp(1, 1);
  bmp.SetPixel(0, 0, MakePixel(255, 0, 0));
  bmp.Grayscale();
  EXPECT_EQ(bmp.GetPixel(0, 0), MakePixel(76, 76, 76));  // 76.5 → 76
  bmp.SetPixel(0, 0, MakePixel(0, 255, 0, 9));
  bmp.Grayscale();
  EXPECT_EQ(bmp.GetPixel(0, 0), MakePixel(150, 150, 150, 9));  // 150.45; alpha kept
  bmp.SetPixel(0, 0, MakePixel(10, 20, 30));
  bmp.Grayscale();
  EXPECT_EQ(bmp.GetPixel(0, 0), MakePixel(18, 18, 18));  // 3 + 11.8 + 3.3

  // 0.5·v + 127.5: 0 → 127.5 → 128, 100 → 177.5 → 178, 255 → 255, 1 → 128.
  TksEffectBmp row = Row({0, 100, 255, 1});
  row.Brighten(0.5);
  EXPECT_EQ(Values(row), (V{128, 178, 255, 128}));
  // 0.7·v: 200 → 140, 10 → 7, 3 → 2.1 → 2.
  row = Row({200, 10, 3, 0});
  row.Darken(0.3);
  EXPECT_EQ(Values(row), (V{140, 7, 2, 0}));
  row = Row({0, 100, 255, 1});
  row.Invert();
  EXPECT_EQ(Values(row), (V{255, 155, 0, 254}));
}

TEST(EffectBmpEffects, NoiseFromASeededSourceAndClamped) {
  const V values = {0, 5, 100, 250, 255, 128};
  TksEffectBmp bmp = Row(values);
  NoiseSource noise(1234);
  bmp.AddNoise(50, noise);
  // The source is the standard 32-bit Mersenne twister, taken modulo 50.
  std::mt19937 reference(1234);
  V expected;
  for (int v : values) expected.push_back(std::clamp(v + int(reference() % 50u) - 25, 0, 255));
  EXPECT_EQ(Values(bmp), expected);
  // Amount 0 adds nothing (and divides by nothing).
  bmp.AddNoise(0, noise);
  EXPECT_EQ(Values(bmp), expected);
}

TEST(EffectBmpEffects, SplitBlurInPlaceWithItsEdgeRule) {
  // 3 × 2. Neighbour rows of row 0: 0 and 1; of row 1: 0 and 2 − 1 = 1.
  // Neighbour columns of 0: 0, 1; of 1: 0, 2; of 2: 1 and 3 − 2 = 1.
  // In place: (0,1) already sees the new (0,0) = (0+120+40+160)/4 = 80, and so on;
  // (1,2) = (120+135+120+135) div 4 = 127.
  TksEffectBmp bmp(3, 2);
  const int v[2][3] = {{0, 40, 80}, {120, 160, 200}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) bmp.SetPixel(x, y, MakePixel(uint8_t(v[y][x]), uint8_t(v[y][x]), uint8_t(v[y][x]), 33));
  bmp.SplitBlur(1);
  EXPECT_EQ(Values(bmp), (V{80, 120, 140, 120, 135, 127}));
  EXPECT_EQ(PixelA(bmp.GetPixel(2, 1)), 33);
  // An amount as large as the image stays inside it.
  bmp.SplitBlur(5);
}

TEST(EffectBmp, CopyFlipped) {
  const TksEffectBmp bmp = Column({1, 2, 3});
  TksEffectBmp target;
  bmp.CopyFlipped(target);
  EXPECT_EQ(Values(target), (V{3, 2, 1}));
}

}  // namespace
}  // namespace kelmar
