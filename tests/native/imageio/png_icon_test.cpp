// Icons as PNG pictures: every stored depth against ImageMagick's decoding of
// the written file, stored PNG streams byte for byte, the area-averaging
// reduction against averages worked out here, the choice of image for a
// size, damaged images, and the group's image list for its tip.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

#include "base/error.h"
#include "imageio/four_bit_icon.h"
#include "imageio/icon_file.h"
#include "imageio/png_icon.h"
#include "native/run_command.h"

namespace kelmar {
namespace {

namespace fs = std::filesystem;
using Rgba = std::array<int, 4>;

void Put16(std::vector<uint8_t>& b, unsigned v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// A DIB icon image of w x h at `bits` per pixel, written out by hand: colour
// values per pixel (palette indices up to 8 bits, 0xAARRGGBB words above),
// rows top-down here and bottom-up in the bytes, then the AND mask.
std::vector<uint8_t> Dib(int w, int h, int bits, const std::vector<uint32_t>& palette,
                         const std::vector<uint32_t>& values, const std::vector<bool>& mask) {
  std::vector<uint8_t> b;
  const size_t row = (size_t(w) * size_t(bits) + 31) / 32 * 4, mask_row = (size_t(w) + 31) / 32 * 4;
  Put32(b, 40), Put32(b, uint32_t(w)), Put32(b, uint32_t(2 * h)), Put16(b, 1), Put16(b, unsigned(bits));
  Put32(b, 0), Put32(b, uint32_t((row + mask_row) * size_t(h))), Put32(b, 0), Put32(b, 0);
  Put32(b, uint32_t(palette.size())), Put32(b, 0);
  for (uint32_t c : palette) Put32(b, c & 0xFFFFFF);
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> r(row, 0);
    for (int x = 0; x < w; ++x) {
      const uint32_t v = values[size_t(y * w + x)];
      if (bits < 8) r[size_t(x * bits / 8)] |= uint8_t(v << (8 - bits - x * bits % 8));
      else
        for (int k = 0; k < bits / 8; ++k) r[size_t(x * bits / 8 + k)] = uint8_t(v >> (8 * k));
    }
    b.insert(b.end(), r.begin(), r.end());
  }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> r(mask_row, 0);
    for (int x = 0; x < w; ++x)
      if (mask[size_t(y * w + x)]) r[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    b.insert(b.end(), r.begin(), r.end());
  }
  return b;
}

IconEntry Entry(std::vector<uint8_t> bytes, uint8_t w = 0, uint8_t h = 0, uint16_t bits = 0) {
  IconEntry e;
  e.width = w, e.height = h, e.bitCount = bits, e.planes = 1;
  e.bytesInRes = uint32_t(bytes.size());
  e.bytes = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
  return e;
}

// A file in this run's scratch folder, which goes when the tests end.
fs::path Scratch(const std::string& name) {
  static const struct Folder {
    fs::path path = fs::temp_directory_path() / ("kelmar-png-" + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  } folder;
  return folder.path / name;
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ImageMagick's reading of a PNG file: its size and RGBA pixels, top-down.
struct Decoded {
  std::string size;
  std::vector<Rgba> pixels;
};
Decoded ImageMagick(const std::vector<uint8_t>& png, const std::string& name) {
  const fs::path file = Scratch(name + ".png");
  WriteFile(file, png);
  Decoded d;
  d.size = test::RunCommand("identify -format '%wx%h' '" + file.string() + "'");
  const std::string raw = test::RunCommand("/usr/bin/convert '" + file.string() + "' -depth 8 rgba:-");
  for (size_t i = 0; i + 3 < raw.size(); i += 4)
    d.pixels.push_back({uint8_t(raw[i]), uint8_t(raw[i + 1]), uint8_t(raw[i + 2]), uint8_t(raw[i + 3])});
  return d;
}

// Colours compared where a pixel shows; alpha everywhere.
void ExpectSamePixels(const std::vector<Rgba>& expected, const std::vector<Rgba>& got, const std::string& what) {
  ASSERT_EQ(expected.size(), got.size()) << what;
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(expected[i][3], got[i][3]) << what << " alpha at " << i;
    if (expected[i][3]) {
      ASSERT_EQ(expected[i], got[i]) << what << " at " << i;
    }
  }
}

Rgba FromWord(uint32_t v, int alpha) { return {int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255), alpha}; }

TEST(PngIcon, EveryStoredDepthDecodesToItsOwnPixelsWithTheMaskAsAlpha) {
  const int w = 7, h = 5;  // odd sizes: padded rows of every depth
  const std::vector<uint32_t> palette = {0x102030, 0xF0E0D0, 0x00FF80, 0x8000FF, 0x123456, 0xABCDEF, 0x777777,
                                         0x010203, 0xFEFDFC, 0x400000, 0x004000, 0x000040, 0xC0FFEE, 0xBADA55,
                                         0x0FF1CE, 0xFACADE};
  std::vector<bool> mask(size_t(w * h));
  for (size_t i = 0; i < mask.size(); ++i) mask[i] = i % 3 == 1;
  for (int bits : {1, 4, 8, 24, 32}) {
    std::vector<uint32_t> values(size_t(w * h)), colours(bits <= 8 ? size_t(1) << bits : 0);
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = palette[i % 16] ^ uint32_t(i * 0x010101);
    std::vector<Rgba> expected;
    for (size_t i = 0; i < values.size(); ++i) {
      // 32 bits without any alpha: the mask makes the transparency.
      values[i] = bits <= 8 ? uint32_t(i * 5 + 3) % uint32_t(colours.size()) : uint32_t(i * 0x071327) & 0xFFFFFF;
      const uint32_t colour = bits <= 8 ? colours[values[i]] : values[i];
      expected.push_back(FromWord(colour, mask[i] ? 0 : 255));
    }
    IconGroup group{u"", 1, {Entry(Dib(w, h, bits, colours, values, mask))}};
    const GroupPictures made = GroupPngPictures(group, {});
    ASSERT_EQ(made.pictures.size(), 1u) << bits;
    EXPECT_EQ(made.failed, 0);
    const Decoded d = ImageMagick(made.pictures[0].bytes, "depth" + std::to_string(bits));
    EXPECT_EQ(d.size, "7x5");
    ExpectSamePixels(expected, d.pixels, std::to_string(bits) + " bits");
  }
}

std::vector<uint8_t> ImageMagickPng(const std::string& spec, const std::string& name) {
  const fs::path file = Scratch(name + ".png");
  test::RunCommand("/usr/bin/convert " + spec + " PNG32:'" + file.string() + "'");
  return ReadFile(file);
}

TEST(PngIcon, StoredPngImagesArePassedOnByteForByte) {
  const std::vector<uint8_t> png = ImageMagickPng("-size 256x256 gradient:red-blue", "stored256");
  ASSERT_GT(png.size(), 100u);
  const std::vector<bool> mask(48 * 48, false);
  IconGroup group{u"", 1, {Entry(Dib(48, 48, 24, {}, std::vector<uint32_t>(48 * 48, 0x00FF00), mask)), Entry(png)}};
  const GroupPictures largest = GroupPngPictures(group, {});
  ASSERT_EQ(largest.pictures.size(), 1u);
  EXPECT_EQ(largest.pictures[0].width, 256);
  EXPECT_EQ(largest.pictures[0].bytes, png);
  const GroupPictures fixed = GroupPngPictures(group, {PngSizeChoice::kFixed, 256});
  EXPECT_EQ(fixed.pictures.at(0).bytes, png);
}

// A 2:1 reduction averages each 2 x 2 block, colours weighted by alpha.
TEST(PngIcon, ASizeTheGroupLacksIsTheAreaAverageOfTheNearestLargerImage) {
  const int w = 64, h = 64;
  std::vector<uint32_t> values(size_t(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t alpha = (x + y) % 4 == 0 ? 0 : uint32_t(60 * ((x + 2 * y) % 5));
      values[size_t(y * w + x)] = alpha << 24 | uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | uint32_t((x * y) & 255);
    }
  const std::vector<bool> mask(size_t(w * h), false);
  IconGroup group{u"", 1, {Entry(Dib(16, 16, 4, {0x123456}, std::vector<uint32_t>(256, 0), std::vector<bool>(256))),
                           Entry(Dib(w, h, 32, {}, values, mask))}};
  const GroupPictures made = GroupPngPictures(group, {PngSizeChoice::kFixed, 32});
  ASSERT_EQ(made.pictures.size(), 1u);
  const Decoded d = ImageMagick(made.pictures[0].bytes, "reduced");
  EXPECT_EQ(d.size, "32x32");
  ASSERT_EQ(d.pixels.size(), 32u * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      double a = 0, c[3] = {0, 0, 0};
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
          const uint32_t v = values[size_t((2 * y + dy) * w + 2 * x + dx)];
          const double alpha = v >> 24;
          a += alpha;
          for (int k = 0; k < 3; ++k) c[k] += alpha * (v >> (16 - 8 * k) & 255);
        }
      const Rgba& got = d.pixels[size_t(y * 32 + x)];
      ASSERT_NEAR(got[3], a / 4, 1.0) << x << "," << y;
      for (int k = 0; k < 3 && a > 0; ++k) {
        ASSERT_NEAR(got[size_t(k)], c[k] / a, 1.0) << x << "," << y << " channel " << k;
      }
    }
}

// Images of 16 (4 bits), 32 (8 and 32 bits), 48 (32 bits) and 256 (PNG),
// each of one flat colour that names it.
IconGroup SizesGroup(std::vector<uint8_t> png256) {
  auto flat = [](int size, int bits, uint32_t colour) {
    const size_t n = size_t(size * size);
    return bits <= 8 ? Dib(size, size, bits, {colour}, std::vector<uint32_t>(n, 0), std::vector<bool>(n))
                     : Dib(size, size, bits, {}, std::vector<uint32_t>(n, 0xFF000000u | colour), std::vector<bool>(n));
  };
  return {u"", 1,
          {Entry(flat(16, 4, 0x000016), 16, 16), Entry(flat(32, 8, 0x000832), 32, 32),
           Entry(flat(32, 32, 0x003232), 32, 32), Entry(flat(48, 32, 0x003248), 48, 48), Entry(png256)}};
}

TEST(PngIcon, TheImageChosenForEachSize) {
  const std::vector<uint8_t> png = ImageMagickPng("-size 256x256 xc:'#FF0000'", "red256");
  const IconGroup group = SizesGroup(png);
  auto first_pixel = [](const PngPicture& p, const std::string& name) { return ImageMagick(p.bytes, name).pixels.at(0); };

  EXPECT_EQ(GroupPngPictures(group, {PngSizeChoice::kLargest}).pictures.at(0).bytes, png);
  // Of two 32 x 32 images the one of more colours.
  const PngPicture p32 = GroupPngPictures(group, {PngSizeChoice::kFixed, 32}).pictures.at(0);
  EXPECT_EQ(first_pixel(p32, "c32"), (Rgba{0, 0x32, 0x32, 255}));
  EXPECT_EQ(first_pixel(GroupPngPictures(group, {PngSizeChoice::kFixed, 16}).pictures.at(0), "c16"),
            (Rgba{0, 0, 0x16, 255}));
  // 64 and 128 come from the 256 PNG (48 is smaller), reduced.
  for (int size : {64, 128}) {
    const PngPicture p = GroupPngPictures(group, {PngSizeChoice::kFixed, size}).pictures.at(0);
    EXPECT_EQ(p.width, size);
    const Decoded d = ImageMagick(p.bytes, "r" + std::to_string(size));
    EXPECT_EQ(d.size, std::to_string(size) + "x" + std::to_string(size));
    EXPECT_EQ(d.pixels.at(0), (Rgba{255, 0, 0, 255}));
  }
  // Nothing larger than 48 but the PNG: without it, 256 gives the 48 as it is.
  IconGroup small = group;
  small.entries.pop_back();
  const PngPicture p256 = GroupPngPictures(small, {PngSizeChoice::kFixed, 256}).pictures.at(0);
  EXPECT_EQ(ImageMagick(p256.bytes, "no256").size, "48x48");

  const GroupPictures every = GroupPngPictures(group, {PngSizeChoice::kEvery});
  std::vector<int> sizes;
  for (const PngPicture& p : every.pictures) sizes.push_back(p.width);
  EXPECT_EQ(sizes, (std::vector<int>{256, 48, 32, 16}));
  EXPECT_EQ(first_pixel(every.pictures[2], "every32"), (Rgba{0, 0x32, 0x32, 255}));
  EXPECT_EQ(every.failed, 0);
}

TEST(PngIcon, DamagedImagesAreCountedAndTheRestSaved) {
  const std::vector<uint8_t> png = ImageMagickPng("-size 64x64 xc:'#00FF00'", "green64");
  const std::vector<bool> mask(32 * 32, false);
  const std::vector<uint8_t> good32 = Dib(32, 32, 24, {}, std::vector<uint32_t>(32 * 32, 0x0000FF), mask);
  std::vector<uint8_t> corrupt = png;  // pixel data overwritten: its checksums no longer hold
  for (size_t i = 40; i < corrupt.size() - 20; ++i) corrupt[i] ^= 0x5A;
  std::vector<uint8_t> cut(png.begin(), png.begin() + long(png.size() / 2));
  std::vector<uint8_t> huge = png;  // the header claims 100000 x 100000
  huge[17] = 0x01, huge[18] = 0x86, huge[19] = 0xA0, huge[21] = 0x01, huge[22] = 0x86, huge[23] = 0xA0;
  std::vector<uint8_t> tall = good32;  // says 64 rows of colour, holds 32
  tall[8] = 128;
  std::vector<uint8_t> garbage(200, 0xEE);
  std::vector<uint8_t> short_png(png.begin(), png.begin() + 12);

  struct Case {
    const char* what;
    std::vector<uint8_t> bad;
  };
  const Case cases[] = {{"corrupt", corrupt}, {"cut", cut},     {"huge", huge},
                        {"tall", tall},       {"garbage", garbage}, {"short", short_png}};
  for (const Case& c : cases) {
    IconGroup group{u"", 1, {Entry(c.bad, 64, 64, 32), Entry(good32, 32, 32, 24)}};
    for (PngSizeChoice choice : {PngSizeChoice{PngSizeChoice::kLargest}, PngSizeChoice{PngSizeChoice::kEvery},
                                 PngSizeChoice{PngSizeChoice::kFixed, 64}}) {
      const GroupPictures made = GroupPngPictures(group, choice);
      EXPECT_EQ(made.failed, 1) << c.what << " " << choice.kind;
      ASSERT_EQ(made.pictures.size(), 1u) << c.what << " " << choice.kind;
      const Decoded d = ImageMagick(made.pictures[0].bytes, std::string("bad-") + c.what);
      EXPECT_EQ(d.size, "32x32") << c.what;
      EXPECT_EQ(d.pixels.at(0), (Rgba{0, 0, 255, 255})) << c.what;
    }
  }
  // Nothing left: nothing written, one counted.
  const GroupPictures none = GroupPngPictures(IconGroup{u"", 1, {Entry(corrupt)}}, {});
  EXPECT_TRUE(none.pictures.empty());
  EXPECT_EQ(none.failed, 1);
}

TEST(PngIcon, TheTipListsTheImagesLargestFirst) {
  const IconGroup group = SizesGroup(ImageMagickPng("-size 256x256 xc:white", "white256"));
  EXPECT_EQ(GroupImageSummary(group), "256×256 PNG · 48×48 32位 · 32×32 32位 · 32×32 8位 · 16×16 4位");
  // A directory without the images' bytes: its own values.
  IconGroup kept = group;
  for (IconEntry& e : kept.entries) e.bytes.reset();
  kept.entries[0].bitCount = 0, kept.entries[0].colorCount = 16;
  EXPECT_EQ(GroupImageSummary(kept), "256×256 · 48×48 · 32×32 · 32×32 · 16×16 4位");
}

// A 4-bit image with colours of its own keeps them, index for index.
TEST(FourBitArtwork, TheGroupsOwnPaletteIsKept) {
  std::vector<uint32_t> palette;
  for (uint32_t i = 0; i < 16; ++i) palette.push_back(0x000010 * i + 0x0A0000 + 0x000500 * (i % 3));
  std::vector<uint32_t> indices(32 * 32);
  std::vector<bool> mask(32 * 32);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = uint32_t(i * 7 % 16), mask[i] = i % 11 == 0;
  const std::vector<uint8_t> dib = Dib(32, 32, 4, palette, indices, mask);
  IconGroup group{u"", 1, {Entry(dib, 32, 32, 4)}};
  const std::optional<FourBitIcon> icon = GroupFourBitIcon(group, 32);
  ASSERT_TRUE(icon);
  const std::vector<uint8_t> file = BuildIconFile(icon->File());
  ASSERT_EQ(file.size(), 766u);
  // After the directory the file's image is the group's, byte for byte:
  // header (but for the size fields the icon writer sets), palette, pixels, mask.
  EXPECT_TRUE(std::equal(dib.begin() + 40, dib.end(), file.begin() + 22 + 40));
}

}  // namespace
}  // namespace kelmar
