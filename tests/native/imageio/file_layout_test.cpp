// Byte layouts of the icon and bitmap files, checked against sizes and
// offsets worked out by hand from the formats' tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "base/error.h"
#include "base/little_endian.h"
#include "imageio/bitmap_file.h"
#include "imageio/icon_file.h"

namespace kelmar {
namespace {


std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(seed + i * 7);
  return v;
}

struct IconCase {
  int size;
  size_t color_bytes, mask_bytes, data_size, file_size;
};

TEST(IconFile, LayoutFor32And16PixelIcons) {
  // C = ((W*4+31)/32)*4*H, M = ((W+31)/32)*4*H, data = 104 + C + M, file = 22 + data.
  for (IconCase c : {IconCase{32, 512, 128, 744, 766}, IconCase{16, 128, 64, 296, 318}}) {
    SCOPED_TRACE(c.size);
    IconImage icon;
    icon.width = icon.height = c.size;
    for (uint32_t i = 0; i < 16; ++i) icon.colors[i] = 0x010203 * i;
    std::vector<uint8_t> color = Pattern(c.color_bytes, 1), mask = Pattern(c.mask_bytes, 99);
    icon.color_bits = color;
    icon.mask_bits = mask;
    std::vector<uint8_t> f = BuildIconFile(icon);

    ASSERT_EQ(f.size(), c.file_size);
    const std::vector<uint8_t> head = {0, 0, 1, 0, 1, 0, uint8_t(c.size), uint8_t(c.size), 4, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 14), head);
    EXPECT_EQ(Le32(f, 14), c.data_size);
    EXPECT_EQ(Le32(f, 18), 22u);
    // Information header at 22.
    EXPECT_EQ(Le32(f, 22), 40u);
    EXPECT_EQ(Le32(f, 26), uint32_t(c.size));
    EXPECT_EQ(Le32(f, 30), uint32_t(2 * c.size));
    EXPECT_EQ(Le16(f, 34), 1u);
    EXPECT_EQ(Le16(f, 36), 4u);
    EXPECT_EQ(Le32(f, 38), 0u);
    EXPECT_EQ(Le32(f, 42), c.color_bytes);
    EXPECT_EQ(Le32(f, 46), 0u);
    EXPECT_EQ(Le32(f, 50), 0u);
    EXPECT_EQ(Le32(f, 54), 16u);
    EXPECT_EQ(Le32(f, 58), 0u);
    // Colour table at 62: blue, green, red, 0.
    for (uint32_t i = 0; i < 16; ++i) {
      EXPECT_EQ(f[62 + 4 * i], 3 * i);
      EXPECT_EQ(f[62 + 4 * i + 1], 2 * i);
      EXPECT_EQ(f[62 + 4 * i + 2], 1 * i);
      EXPECT_EQ(f[62 + 4 * i + 3], 0);
    }
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 126, f.begin() + 126 + c.color_bytes), color);
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 126 + c.color_bytes, f.end()), mask);
  }
}

TEST(IconFile, OddWidthPadsRowsAnd256IsStoredAsZero) {
  IconImage icon;
  icon.width = 5;  // 4-bit rows: 20 bits -> 4 bytes; mask rows: 5 bits -> 4 bytes
  icon.height = 3;
  std::vector<uint8_t> color(12), mask(12);
  icon.color_bits = color;
  icon.mask_bits = mask;
  std::vector<uint8_t> f = BuildIconFile(icon);
  EXPECT_EQ(f.size(), 22u + 104 + 12 + 12);
  EXPECT_EQ(Le32(f, 42), 12u);

  icon.width = icon.height = 256;  // 128-byte colour rows, 32-byte mask rows
  std::vector<uint8_t> big_color(128 * 256), big_mask(32 * 256);
  icon.color_bits = big_color;
  icon.mask_bits = big_mask;
  f = BuildIconFile(icon);
  EXPECT_EQ(f[6], 0);
  EXPECT_EQ(f[7], 0);
  EXPECT_EQ(Le32(f, 14), 104u + 32768 + 8192);
}

TEST(IconFile, RefusesSizesThatDoNotFit) {
  IconImage icon;
  icon.width = icon.height = 32;
  std::vector<uint8_t> color(512), short_mask(127);
  icon.color_bits = color;
  icon.mask_bits = short_mask;
  EXPECT_THROW(BuildIconFile(icon), Error);
  icon.width = icon.height = 0;
  icon.color_bits = icon.mask_bits = {};
  EXPECT_THROW(BuildIconFile(icon), Error);
  icon.width = icon.height = 257;
  EXPECT_THROW(BuildIconFile(icon), Error);
}

TEST(BitmapFile, ThirtyTwoBitsPerPixel) {
  for (auto [size, file_size] : {std::pair{32, 4150u}, std::pair{16, 1078u}}) {
    SCOPED_TRACE(size);
    std::vector<uint8_t> bits = Pattern(size_t(size) * size * 4, 5);
    BitmapImage bmp{.width = size, .height = size, .bit_count = 32, .bits = bits};
    std::vector<uint8_t> f = BuildBitmapFile(bmp);
    ASSERT_EQ(f.size(), file_size);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(f, 2), file_size);
    EXPECT_EQ(Le32(f, 6), 0u);
    EXPECT_EQ(Le32(f, 10), 54u);
    EXPECT_EQ(Le32(f, 14), 40u);
    EXPECT_EQ(Le32(f, 18), uint32_t(size));
    EXPECT_EQ(Le32(f, 22), uint32_t(size));
    EXPECT_EQ(Le16(f, 26), 1u);
    EXPECT_EQ(f[28], 32);
    EXPECT_EQ(f[29], 0);
    EXPECT_EQ(Le32(f, 30), 0u);
    EXPECT_EQ(Le32(f, 34), file_size - 54);
    for (size_t at = 38; at < 54; ++at) EXPECT_EQ(f[at], 0) << at;
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 54, f.end()), bits);
  }
}

TEST(BitmapFile, ColourTablesAndBitFields) {
  std::vector<uint32_t> table(256);
  std::iota(table.begin(), table.end(), 0xAB0000u);

  // 8 bits, 10 x 2: rows of 12 bytes; the whole 256-entry table.
  std::vector<uint8_t> bits8(24, 7);
  std::vector<uint8_t> f = BuildBitmapFile({.width = 10, .height = 2, .bit_count = 8, .colors = table, .bits = bits8});
  EXPECT_EQ(f.size(), 14u + 40 + 1024 + 24);
  EXPECT_EQ(Le32(f, 10), 1078u);
  EXPECT_EQ(Le32(f, 46), 256u);
  EXPECT_EQ(Le32(f, 54 + 4 * 255), 0xAB00FFu);  // blue FF, green 0, red AB, 0

  // 4 bits with colours used 6: six entries, and colours used says so.
  std::vector<uint8_t> bits4(4 * 3);
  f = BuildBitmapFile({.width = 3, .height = 3, .bit_count = 4, .colors = table, .colors_used = 6, .bits = bits4});
  EXPECT_EQ(Le32(f, 10), 14u + 40 + 24);
  EXPECT_EQ(Le32(f, 46), 6u);
  EXPECT_EQ(f.size(), 14u + 40 + 24 + 12);

  // 1 bit: no more entries than two, even from a longer table.
  std::vector<uint8_t> bits1(4);
  f = BuildBitmapFile({.width = 32, .height = 1, .bit_count = 1, .colors = table, .bits = bits1});
  EXPECT_EQ(Le32(f, 10), 14u + 40 + 8);
  EXPECT_EQ(Le32(f, 46), 2u);

  // 16 bits 5-6-5: three masks after the header, compression 3, pixels at 66.
  std::vector<uint8_t> bits16(4 * 2);  // 2 x 2: 4-byte rows
  f = BuildBitmapFile({.width = 2, .height = 2, .bit_count = 16, .bit_fields = true,
                       .masks = {0xF800, 0x07E0, 0x001F}, .bits = bits16});
  EXPECT_EQ(f.size(), 66u + 8);
  EXPECT_EQ(Le32(f, 10), 66u);
  EXPECT_EQ(Le32(f, 30), 3u);
  EXPECT_EQ(Le32(f, 54), 0xF800u);
  EXPECT_EQ(Le32(f, 58), 0x07E0u);
  EXPECT_EQ(Le32(f, 62), 0x001Fu);

  // 24 bits, 3 x 1: 9 bytes padded to 12; no table even if one is given.
  std::vector<uint8_t> bits24(12);
  f = BuildBitmapFile({.width = 3, .height = 1, .bit_count = 24, .colors = table, .bits = bits24});
  EXPECT_EQ(f.size(), 54u + 12);
  EXPECT_EQ(Le32(f, 46), 0u);
}

TEST(BitmapFile, WhiteCompositeOfAnImageDrawnOnBlack) {
  Image on_black(2, 2);
  // Straight (200, 100, 50) at alpha 128, premultiplied: 200*128/255 = 100.4.
  on_black.At(0, 0) = MakePixel(100, 50, 25, 128);
  on_black.At(1, 0) = MakePixel(0, 0, 0, 0);       // clear
  on_black.At(0, 1) = MakePixel(10, 20, 30, 255);  // opaque
  on_black.At(1, 1) = MakePixel(90, 10, 0, 40);    // red above its alpha
  std::vector<uint8_t> f = BuildWhiteCompositeBitmapFile(on_black);
  ASSERT_EQ(f.size(), 54u + 16);
  EXPECT_EQ(Le32(f, 22), 2u);  // bottom-up
  EXPECT_EQ(f[28], 32);
  // Bottom row first; blue, green, red, 255. Over white: colour + 255 - alpha.
  const std::vector<uint8_t> pixels = {30,  20,  10,  255, 215, 225, 255, 255,   // row 1
                                       152, 177, 227, 255, 255, 255, 255, 255};  // row 0
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 54, f.end()), pixels);

  EXPECT_TRUE(HasAlpha(on_black));
  Image opaque_colours(3, 1, MakePixel(1, 2, 3, 0));
  EXPECT_FALSE(HasAlpha(opaque_colours));
  opaque_colours.At(2, 0) = MakePixel(1, 2, 3, 1);
  EXPECT_TRUE(HasAlpha(opaque_colours));
}

TEST(BitmapFile, RefusesWhatItCannotDescribe) {
  std::vector<uint8_t> bits(4);
  EXPECT_THROW(BuildBitmapFile({.width = 1, .height = 1, .bit_count = 12, .bits = bits}), Error);
  EXPECT_THROW(BuildBitmapFile({.width = 1, .height = 1, .bit_count = 24, .bit_fields = true, .bits = bits}), Error);
  EXPECT_THROW(BuildBitmapFile({.width = 1, .height = 1, .bit_count = 8, .bits = bits}), Error);  // no table
  EXPECT_THROW(BuildBitmapFile({.width = 2, .height = 1, .bit_count = 32, .bits = bits}), Error);  // short
  EXPECT_THROW(BuildBitmapFile({.width = 0, .height = 1, .bit_count = 32, .bits = {}}), Error);
}

}  // namespace
}  // namespace kelmar
