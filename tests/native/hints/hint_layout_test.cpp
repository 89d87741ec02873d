// Hint text lines, hint sizes, the place on the monitor and the cursor's
// lowest row, with widths from a fixed-pitch stand-in font: 10 pixels a
// character, 5 a space.
#include "base/hint_layout.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kelmar {
namespace {

int32_t FixedPitch(std::u16string_view s) {
  int32_t w = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] >= 0xDC00 && s[i] <= 0xDFFF) continue;  // second half of a pair
    w += s[i] == u' ' ? 5 : 10;
  }
  return w;
}

std::vector<std::u16string> Lines(std::u16string_view text, int max_width) {
  return BreakHintLines(text, max_width, FixedPitch);
}

using L = std::vector<std::u16string>;

TEST(HintLines, TextThatFitsStaysOneLine) {
  EXPECT_EQ(Lines(u"保存当前选中图标", 400), L{u"保存当前选中图标"});
  // Exactly the width still fits.
  EXPECT_EQ(Lines(u"abcd", 40), L{u"abcd"});
}

TEST(HintLines, LineBreaksOfTheTextAreKept) {
  EXPECT_EQ(Lines(u"a\r\nb\nc\rd", 400), (L{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(Lines(u"a\n\nb", 400), (L{u"a", u"", u"b"}));
}

TEST(HintLines, WordsBreakAfterTheLastSpaceThatFits) {
  // "aaa bbb" is 65 wide.
  EXPECT_EQ(Lines(u"aaa bbb ccc", 65), (L{u"aaa bbb", u"ccc"}));
  EXPECT_EQ(Lines(u"aaa bbb ccc", 64), (L{u"aaa", u"bbb", u"ccc"}));
  // The spaces at a break are dropped, on both sides.
  EXPECT_EQ(Lines(u"aaa     bbb", 40), (L{u"aaa", u"bbb"}));
}

TEST(HintLines, ChineseTextBreaksBetweenCharactersAndLosesNothing) {
  const std::u16string text = u"支持文件拖放您可以把文件拖入本程序进行图标提取";  // 23 characters
  const L lines = Lines(text, 100);
  EXPECT_EQ(lines, (L{u"支持文件拖放您可以把", u"文件拖入本程序进行图", u"标提取"}));
  EXPECT_EQ(std::accumulate(lines.begin(), lines.end(), std::u16string()), text);
}

TEST(HintLines, AClosingMarkNeverStartsALine) {
  // Four characters fit; the comma would start the second line, so the
  // character before it goes down with it.
  EXPECT_EQ(Lines(u"一二三四，五", 40), (L{u"一二三", u"四，五"}));
  EXPECT_EQ(Lines(u"一二三！！", 40), (L{u"一二", u"三！！"}));
}

TEST(HintLines, NarrowerThanOneCharacterStillShowsEveryCharacter) {
  EXPECT_EQ(Lines(u"ab", 5), (L{u"a", u"b"}));
  // A surrogate pair is one character: never split.
  EXPECT_EQ(Lines(u"\U0001D11E\U0001D11E", 10), (L{u"\U0001D11E", u"\U0001D11E"}));
}

TEST(HintText, BlockIsTheWidestLineByTheLinesHeight) {
  const HintTextBlock block = MeasureHintText(u"aaa bbbbb\ncc", 60, 14, FixedPitch);
  EXPECT_EQ(block.lines, (L{u"aaa", u"bbbbb", u"cc"}));
  EXPECT_EQ(block.size, (HintExtent{50, 42}));
}

TEST(HintSize, PlainHintHasTwoPixelsEachSide) {
  EXPECT_EQ(PlainHintSize({100, 14}), (HintExtent{104, 18}));
}

TEST(HintSize, SkinnedHintWrapsTheTextInThePictureFrame) {
  // Our skin: picture 40 x 20, client rectangle 2,2,38,18: the text plus 4
  // each way, at least the picture.
  const Rect ours{2, 2, 38, 18};
  EXPECT_EQ(SkinnedHintSize({100, 14}, {40, 20}, ours), (HintExtent{104, 20}));
  EXPECT_EQ(SkinnedHintSize({10, 14}, {40, 20}, ours), (HintExtent{40, 20}));
  EXPECT_EQ(SkinnedHintSize({100, 42}, {40, 20}, ours), (HintExtent{104, 46}));
  // A frame of uneven width: 5 left and 10 right, 3 top and 6 bottom.
  EXPECT_EQ(SkinnedHintSize({100, 30}, {60, 30}, {5, 3, 50, 24}), (HintExtent{115, 39}));
}

TEST(HintSize, TextIsCentredInTheMovedClientRectangle) {
  // A 104 x 46 hint of our skin: client 2,2,102,44 around a 100 x 42 block.
  EXPECT_EQ(CentredTextOrigin({2, 2, 102, 44}, {100, 42}), (Point{2, 2}));
  // The minimum size around a small text: 36 x 16 client, 11 x 14 text.
  EXPECT_EQ(CentredTextOrigin({2, 2, 38, 18}, {11, 14}), (Point{15, 3}));
}

TEST(HintPlace, StaysWhereItFits) {
  EXPECT_EQ(PlaceHint({100, 100}, {50, 20}, {0, 0, 1280, 1024}), (Point{100, 100}));
  EXPECT_EQ(PlaceHint({1230, 1004}, {50, 20}, {0, 0, 1280, 1024}), (Point{1230, 1004}));
}

TEST(HintPlace, NearTheRightOrBottomEdgeItGoesLeftOrUp) {
  const Rect screen{0, 0, 1280, 1024};
  EXPECT_EQ(PlaceHint({1270, 100}, {50, 20}, screen), (Point{1218, 100}));
  EXPECT_EQ(PlaceHint({100, 1015}, {50, 20}, screen), (Point{100, 993}));
  EXPECT_EQ(PlaceHint({1279, 1023}, {104, 46}, screen), (Point{1173, 975}));
  // A second monitor to the right of the first.
  EXPECT_EQ(PlaceHint({2550, 500}, {50, 20}, {1280, 0, 2560, 1024}), (Point{2498, 500}));
}

TEST(HintPlace, AHintThatStillSticksOutIsMovedInside) {
  // Moving left by its width would pass the left edge.
  EXPECT_EQ(PlaceHint({30, 10}, {50, 20}, {0, 0, 60, 25}), (Point{0, 0}));
  // Wider than the monitor: the left edge shows.
  EXPECT_EQ(PlaceHint({500, 10}, {2000, 20}, {0, 0, 1280, 1024}), (Point{0, 10}));
  // Wanted above or left of the monitor.
  EXPECT_EQ(PlaceHint({-40, -5}, {50, 20}, {0, 0, 1280, 1024}), (Point{0, 0}));
}

// A 1-bit mask of `width` x `rows`, 4 bytes a row, all bits `fill`.
struct Mask {
  Mask(int width, int rows, int fill) : width(width), rows(rows), bits(size_t(rows) * 4, fill ? 0xFF : 0) {}
  void Set(int row, int x, int value) {
    uint8_t& b = bits[size_t(row) * 4 + x / 8];
    const uint8_t m = uint8_t(0x80 >> (x % 8));
    b = value ? (b | m) : (b & ~m);
  }
  int32_t Lowest(bool and_xor) const { return LowestVisibleCursorRow(bits.data(), 4, width, rows, and_xor); }
  int width, rows;
  std::vector<uint8_t> bits;
};

TEST(CursorRows, MonochromeArrowEndsAtItsLowestOpaqueRow) {
  Mask m(32, 64, 1);               // AND rows 0..31 all 1, XOR rows 32..63 ...
  for (int r = 32; r < 64; ++r)
    for (int x = 0; x < 32; ++x) m.Set(r, x, 0);
  for (int r = 0; r <= 18; ++r) m.Set(r, r / 2, 0);
  EXPECT_EQ(m.Lowest(true), 18);
}

TEST(CursorRows, InvertingCursorIsFoundInTheXorHalf) {
  Mask m(32, 64, 1);
  for (int r = 32; r < 64; ++r)
    for (int x = 0; x < 32; ++x) m.Set(r, x, 0);
  for (int r = 4; r <= 20; ++r) m.Set(32 + r, 8, 1);  // an I-beam drawn by inversion
  EXPECT_EQ(m.Lowest(true), 20);
}

TEST(CursorRows, ColourCursorMaskIsOneAndMask) {
  Mask m(32, 32, 1);
  m.Set(25, 3, 0);
  EXPECT_EQ(m.Lowest(false), 25);
}

TEST(CursorRows, PaddingBitsPastTheWidthDoNotCount) {
  Mask m(20, 32, 1);
  for (int r = 0; r < 32; ++r)
    for (int x = 20; x < 32; ++x) m.Set(r, x, 0);
  EXPECT_EQ(m.Lowest(false), -1);
}

}  // namespace
}  // namespace kelmar
