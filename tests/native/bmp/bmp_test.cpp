// BMP decoding against files written by ImageMagick (tests/data/bmp/make.sh)
// from the known pixels below, and hostile or broken headers.
#include "base/bmp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/little_endian.h"

namespace kelmar {
namespace {

std::vector<uint8_t> Load(const std::string& name) {
  std::ifstream in(std::string(KELMAR_TEST_DATA) + "/bmp/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Rgba {
  int r, g, b, a = 255;
};

// The pixel tables of make.sh, row by row from the top.
const Rgba kTruecolor[3][5] = {
    {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}},
    {{10, 20, 30, 128}, {200, 100, 50, 0}, {1, 2, 3, 255}, {128, 128, 128, 64}, {250, 240, 230, 255}},
    {{17, 34, 51, 255}, {68, 85, 102, 255}, {119, 136, 153, 200}, {170, 187, 204, 255}, {221, 238, 255, 1}}};
const Rgba kPrimaries[2][4] = {
    {{0, 0, 0, 255}, {255, 0, 0, 255}, {0, 255, 0, 0}, {0, 0, 255, 255}},
    {{255, 255, 0, 255}, {255, 0, 255, 0}, {0, 255, 255, 255}, {255, 255, 255, 255}}};
const Rgba kColors6[3][5] = {
    {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}, {255, 0, 0}, {40, 50, 60}},
    {{0, 128, 0}, {255, 255, 0}, {9, 9, 9}, {40, 50, 60}, {255, 0, 0}},
    {{9, 9, 9}, {0, 0, 255}, {255, 255, 0}, {0, 128, 0}, {9, 9, 9}}};

template <int H, int W>
void ExpectPixels(const Image& image, const Rgba (&expected)[H][W], bool alpha, const std::string& what) {
  ASSERT_EQ(image.Width(), W) << what;
  ASSERT_EQ(image.Height(), H) << what;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const Rgba& e = expected[y][x];
      EXPECT_EQ(image.At(x, y), MakePixel(e.r, e.g, e.b, alpha ? e.a : 255))
          << what << " at " << x << "," << y;
    }
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

void ExpectInvalid(const std::vector<uint8_t>& bytes, const std::string& what) {
  try {
    DecodeBmp(bytes);
    ADD_FAILURE() << what << ": decoded";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Bitmap image is not valid") << what;
  }
}

TEST(Bmp, TruecolorDepths) {
  for (const char* name : {"rgb24.bmp", "rgb24_core.bmp", "rgb32.bmp"}) {
    DecodedBmp bmp = DecodeBmp(Load(name));
    ExpectPixels(bmp.image, kTruecolor, false, name);
  }
  EXPECT_EQ(DecodeBmp(Load("rgb24.bmp")).bitsPerPixel, 24);
  // Bit fields with an alpha mask keep the alpha.
  DecodedBmp v5 = DecodeBmp(Load("argb32_v5.bmp"));
  EXPECT_EQ(v5.bitsPerPixel, 32);
  ExpectPixels(v5.image, kTruecolor, true, "argb32_v5.bmp");
}

TEST(Bmp, TopDownRows) {
  // The same picture stored top-down: negative height, rows in reverse order.
  std::vector<uint8_t> b = Load("rgb24.bmp");
  const uint32_t off = Le32(b, 10), stride = 16, rows = 3;
  std::vector<uint8_t> flipped = b;
  for (uint32_t r = 0; r < rows; ++r)
    std::memcpy(&flipped[off + r * stride], &b[off + (rows - 1 - r) * stride], stride);
  Put32(flipped, 22, uint32_t(-3));
  ExpectPixels(DecodeBmp(flipped).image, kTruecolor, false, "top-down");
}

TEST(Bmp, SixteenBits) {
  ExpectPixels(DecodeBmp(Load("rgb565.bmp")).image, kPrimaries, false, "rgb565");
  ExpectPixels(DecodeBmp(Load("rgb555.bmp")).image, kPrimaries, false, "rgb555");
  ExpectPixels(DecodeBmp(Load("argb4444.bmp")).image, kPrimaries, true, "argb4444");
  // Without bit fields 16 bits are 5-5-5 (the masks in the header are then ignored).
  std::vector<uint8_t> plain = Load("rgb555.bmp");
  Put32(plain, 30, 0);
  ExpectPixels(DecodeBmp(plain).image, kPrimaries, false, "rgb555 as plain");
  // A 5-bit channel value in the middle scales to 8 bits with rounding: 16 -> 132.
  std::vector<uint8_t> mid = Load("rgb565.bmp");
  const uint32_t off = Le32(mid, 10);
  mid[off] = 0x10;  // bottom-left pixel: blue 16 of 31
  mid[off + 1] = 0;
  EXPECT_EQ(DecodeBmp(mid).image.At(0, 1), MakePixel(0, 0, 132));
}

TEST(Bmp, ColourTables) {
  for (const char* name : {"pal4.bmp", "pal4_core.bmp"}) {
    DecodedBmp bmp = DecodeBmp(Load(name));
    EXPECT_EQ(bmp.bitsPerPixel, 4) << name;
    ExpectPixels(bmp.image, kColors6, false, name);
  }
  for (const char* name : {"pal8.bmp", "pal8_rle.bmp"}) {
    DecodedBmp bmp = DecodeBmp(Load(name));
    EXPECT_EQ(bmp.bitsPerPixel, 8) << name;
    ASSERT_EQ(bmp.image.Width(), 5);
    ASSERT_EQ(bmp.image.Height(), 4);
    for (int i = 0; i < 20; ++i)
      EXPECT_EQ(bmp.image.At(i % 5, i / 5), MakePixel(i * 12, 255 - i * 10, i * 7)) << name << " " << i;
  }
  DecodedBmp one = DecodeBmp(Load("pal1.bmp"));
  EXPECT_EQ(one.bitsPerPixel, 1);
  ASSERT_EQ(one.image.Width(), 11);
  ASSERT_EQ(one.image.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 11; ++x)
      EXPECT_EQ(one.image.At(x, y), (x + y) % 3 == 0 ? MakePixel(200, 30, 40) : MakePixel(20, 60, 220))
          << x << "," << y;
}

TEST(Bmp, IndexPastTheTableIsBlack) {
  // Declare only 2 table entries: the colours with higher indexes become black.
  std::vector<uint8_t> b = Load("pal4.bmp");
  const Pixel first = DecodeBmp(b).image.At(0, 0);
  const uint32_t off = Le32(b, 10);
  const uint8_t topLeft = b[off + 2 * 4] >> 4;  // top row is stored last (row stride 4)
  Put32(b, 46, 2);
  const Pixel now = DecodeBmp(b).image.At(0, 0);
  EXPECT_EQ(now, topLeft < 2 ? first : MakePixel(0, 0, 0));
  int black = 0;
  Image image = DecodeBmp(b).image;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) black += image.At(x, y) == MakePixel(0, 0, 0);
  EXPECT_GT(black, 0);
}

TEST(Bmp, TotalSizeDelimitsTheImage) {
  std::vector<uint8_t> b = Load("pal1.bmp");
  const size_t size = b.size();
  b.insert(b.end(), {'B', 'M', 1, 2, 3});
  EXPECT_EQ(DecodeBmp(b).size, size);
}

TEST(Bmp, BrokenAndHostileHeaders) {
  for (const char* name : {"rgb24.bmp", "pal8_rle.bmp", "argb32_v5.bmp", "pal4_core.bmp"}) {
    std::vector<uint8_t> b = Load(name);
    for (size_t n = 0; n < b.size(); ++n)
      ExpectInvalid(std::vector<uint8_t>(b.begin(), b.begin() + n), std::string(name) + " cut to " + std::to_string(n));
  }
  const std::vector<uint8_t> good = Load("rgb24.bmp");
  auto patched = [&](size_t at, uint32_t v, int bytes = 4) {
    std::vector<uint8_t> b = good;
    for (int i = 0; i < bytes; ++i) b[at + i] = uint8_t(v >> (8 * i));
    return b;
  };
  ExpectInvalid(patched(0, 'B' | 'A' << 8, 2), "magic");
  ExpectInvalid(patched(2, uint32_t(good.size() + 1)), "total size past the data");
  ExpectInvalid(patched(10, uint32_t(good.size() + 1)), "pixel offset past the end");
  ExpectInvalid(patched(10, 20), "pixel offset inside the header");
  ExpectInvalid(patched(14, 20), "unknown header size");
  ExpectInvalid(patched(14, 0xFFFFFFF0), "header size overflow");
  ExpectInvalid(patched(18, 0), "zero width");
  ExpectInvalid(patched(18, uint32_t(-5)), "negative width");
  ExpectInvalid(patched(22, 0), "zero height");
  ExpectInvalid(patched(22, 0x80000000), "smallest height");
  ExpectInvalid(patched(26, 2, 2), "two planes");
  ExpectInvalid(patched(28, 7, 2), "seven bits");
  ExpectInvalid(patched(30, 3), "bit fields for 24 bits");
  ExpectInvalid(patched(30, 1), "run lengths for 24 bits");
  // Sizes that would need gigabytes, claimed by a file of a hundred bytes.
  ExpectInvalid(patched(18, 0x40000000), "huge width");
  ExpectInvalid(patched(22, 0x7FFFFFFF), "huge height");
  ExpectInvalid(patched(22, uint32_t(-0x7FFFFFFF)), "huge top-down height");
  std::vector<uint8_t> rle = Load("pal8_rle.bmp");
  Put32(rle, 18, 100000);
  ExpectInvalid(rle, "run-length width beyond what the runs can fill");
  rle = Load("pal8_rle.bmp");
  Put32(rle, 22, uint32_t(-4));
  ExpectInvalid(rle, "top-down run lengths");
}

// Reads a BMP file with ImageMagick into 8-bit RGBA values; empty when
// ImageMagick is not installed.
std::vector<Rgba> ReadWithImageMagick(const std::vector<uint8_t>& bmp, int& w, int& h) {
  const std::string path = ::testing::TempDir() + "kelmar_encoded.bmp";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));
  std::vector<Rgba> out;
  FILE* f = popen(("convert '" + path + "' -depth 8 -alpha on txt:- 2>/dev/null").c_str(), "r");
  if (!f) return out;
  char line[256];
  w = h = 0;
  while (fgets(line, sizeof line, f)) {
    int x, y, r, g, b, a;
    if (line[0] == '#') {
      sscanf(line, "# ImageMagick pixel enumeration: %d,%d", &w, &h);
      continue;
    }
    if (sscanf(line, "%d,%d: (%d,%d,%d,%d)", &x, &y, &r, &g, &b, &a) == 6) out.push_back({r, g, b, a});
  }
  pclose(f);
  return out;
}

TEST(Bmp, EncodedFilesReadByImageMagick) {
  Image image(7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) image.At(x, y) = MakePixel(x * 30, y * 100, 255 - x * 20, 100 + x);
  for (int bpp : {24, 32, 1}) {
    int w, h;
    std::vector<Rgba> px = ReadWithImageMagick(EncodeBmp(image.View(), bpp), w, h);
    if (px.empty()) GTEST_SKIP() << "ImageMagick's convert is not available";
    ASSERT_EQ(w, 7);
    ASSERT_EQ(h, 3);
    ASSERT_EQ(px.size(), 21u);
    for (int i = 0; i < 21; ++i) {
      const Pixel p = image.At(i % 7, i / 7);
      if (bpp == 1) {
        const int v = PixelR(p) + PixelG(p) + PixelB(p) >= 384 ? 255 : 0;
        EXPECT_EQ(px[i].r, v) << i;
        EXPECT_EQ(px[i].b, v) << i;
      } else {
        EXPECT_EQ(px[i].r, PixelR(p)) << bpp << " " << i;
        EXPECT_EQ(px[i].g, PixelG(p)) << bpp << " " << i;
        EXPECT_EQ(px[i].b, PixelB(p)) << bpp << " " << i;
      }
    }
  }
}

// Run-length encoding of a picture of few colours: runs longer than one
// count byte, single pixels between them, and the size read back from the
// header alone. ImageMagick is the independent reader; our own decoder must
// agree with it.
TEST(Bmp, RunLengthEncodedPicturesOfFewColours) {
  const int w = 300, h = 4;
  const Pixel colours[] = {MakePixel(10, 20, 30), MakePixel(200, 100, 50), MakePixel(0, 0, 0),
                           MakePixel(255, 255, 255), MakePixel(1, 2, 3)};
  Image image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.At(x, y) = y == 0 ? colours[0]                    // one run of 300: 255 + 45
                       : y == 1 ? colours[1 + x % 2]          // alternating single pixels
                       : y == 2 ? colours[x < 7 ? 3 : 4]      // two runs
                                : colours[(x / 100) % 5];
  const std::vector<uint8_t> rle = EncodeBmpRle8(image.View());
  ASSERT_FALSE(rle.empty());
  EXPECT_LT(rle.size(), EncodeBmp(image.View(), 24).size() / 2);
  EXPECT_EQ(BmpDeclaredSize(rle), (Point{w, h}));

  const DecodedBmp ours = DecodeBmp(rle);
  EXPECT_EQ(ours.bitsPerPixel, 8);
  EXPECT_EQ(ours.size, rle.size());
  int iw = 0, ih = 0;
  const std::vector<Rgba> magick = ReadWithImageMagick(rle, iw, ih);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Pixel want = image.At(x, y);
      ASSERT_EQ(ours.image.At(x, y), want) << x << "," << y;
      if (magick.empty()) continue;
      const Rgba& m = magick[size_t(y * w + x)];
      ASSERT_EQ((Pixel(MakePixel(uint8_t(m.r), uint8_t(m.g), uint8_t(m.b)))), want) << x << "," << y;
    }

  // 257 colours do not fit a table of 256.
  Image many(257, 1);
  for (int x = 0; x < 257; ++x) many.At(x, 0) = MakePixel(uint8_t(x), uint8_t(x / 256), 7);
  EXPECT_TRUE(EncodeBmpRle8(many.View()).empty());
  // A header cut short, or of no known size, declares nothing.
  EXPECT_EQ(BmpDeclaredSize(std::span(rle).first(20)), (Point{}));
  std::vector<uint8_t> odd = rle;
  odd[14] = 41;
  EXPECT_EQ(BmpDeclaredSize(odd), (Point{}));
}

}  // namespace
}  // namespace kelmar
