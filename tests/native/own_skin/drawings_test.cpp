// The program's own skins drawn for 144 and 192 DPI, as the build packs them:
// each package against the 96-DPI one of its skin, which is the design every
// scaled figure here is worked out from.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package.h"
#include "pieces.h"

namespace kelmar {
namespace {

SkinPackageContent Read(const char* path) {
  TksCompressedStoredSkin stored;
  stored.CompressedData() = ReadWholeFile(path);
  return stored.ReadPackage();
}

// A drawing and the 96-DPI package of its skin, the light or the dark one.
struct Drawing {
  int dpi;
  const char* path;
  const char* design;
  const char* name;
};
const Drawing kDrawings[] = {{144, KELMAR_SKIN_PACKAGE_144, KELMAR_SKIN_PACKAGE, "Light"},
                             {192, KELMAR_SKIN_PACKAGE_192, KELMAR_SKIN_PACKAGE, "Light"},
                             {144, KELMAR_SKIN_DARK_PACKAGE_144, KELMAR_SKIN_DARK_PACKAGE, "Dark"},
                             {192, KELMAR_SKIN_DARK_PACKAGE_192, KELMAR_SKIN_DARK_PACKAGE, "Dark"}};

// A design length at dpi: dpi / 96 times it, halves rounded up.
int Scaled(int length, int dpi) { return int(std::lround(length * dpi / 96.0)); }

// Every picture of a package with its name, slots first.
std::vector<std::pair<std::string, const Image*>> Pictures(const SkinPackageContent& c) {
  std::vector<std::pair<std::string, const Image*>> all;
  for (PackageSlot slot : {PackageSlot::Picture, PackageSlot::InactivePicture, PackageSlot::Mask})
    all.emplace_back(std::string(PackageSlotKey(slot)), &c.Slot(slot).image);
  for (size_t i = 0; i < c.activePictures.size(); ++i) all.emplace_back(std::to_string(i), &c.activePictures[i].image);
  return all;
}

class OwnSkinDrawings : public ::testing::TestWithParam<Drawing> {
 protected:
  void SetUp() override {
    designed = Read(GetParam().design);
    drawn = Read(GetParam().path);
  }

  int S(int length) const { return Scaled(length, GetParam().dpi); }

  SkinPackageContent designed;
  const SkinPackageContent* design = &designed;
  SkinPackageContent drawn;
};

// The same description, so the geometry stays that of 96 DPI, with the DPI
// of the pictures as the first entry of [VERSION].
TEST_P(OwnSkinDrawings, DescriptionIsTheDesignOneWithItsDpi) {
  ASSERT_TRUE(drawn.loaded);
  std::vector<std::string> expected = design->descriptionLines;
  const auto version = std::find(expected.begin(), expected.end(), "[VERSION]");
  ASSERT_NE(version, expected.end());
  expected.insert(version + 1, "dpi=" + std::to_string(GetParam().dpi));
  EXPECT_EQ(drawn.descriptionLines, expected);
  // No other package names a DPI.
  for (const std::string& line : design->descriptionLines) EXPECT_NE(line.rfind("dpi=", 0), 0u) << line;
}

// Every picture is its design size scaled, with the same colour depth; the
// masks stay two-coloured.
TEST_P(OwnSkinDrawings, PicturesAreTheDesignSizesScaled) {
  ASSERT_EQ(drawn.activePictures.size(), design->activePictures.size());
  EXPECT_EQ(drawn.version, design->version);
  const auto want = Pictures(*design), got = Pictures(drawn);
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].first);
    EXPECT_EQ(got[i].second->Width(), S(want[i].second->Width()));
    EXPECT_EQ(got[i].second->Height(), S(want[i].second->Height()));
  }
  // Masks stay 1-bit; a colour picture of few colours is run-length encoded
  // (the frames: what a start at this scale inflates), the others 24-bit.
  auto sameKind = [](const PackagePicture& drawn, const PackagePicture& design) {
    if (design.bitsPerPixel == 1) return drawn.bitsPerPixel == 1;
    return drawn.bitsPerPixel == 24 || drawn.bitsPerPixel == 8;
  };
  for (PackageSlot slot : {PackageSlot::Picture, PackageSlot::InactivePicture, PackageSlot::Mask})
    EXPECT_TRUE(sameKind(drawn.Slot(slot), design->Slot(slot))) << PackageSlotKey(slot);
  for (size_t i = 0; i < design->activePictures.size(); ++i)
    EXPECT_TRUE(sameKind(drawn.activePictures[i], design->activePictures[i])) << i;
  EXPECT_EQ(drawn.Slot(PackageSlot::Picture).bitsPerPixel, 8);
  EXPECT_EQ(drawn.Slot(PackageSlot::InactivePicture).bitsPerPixel, 8);
  for (const Image* mask : {&drawn.Slot(PackageSlot::Mask).image, &drawn.activePictures[6].image, &drawn.activePictures[7].image})
    for (int y = 0; y < mask->Height(); ++y)
      for (int x = 0; x < mask->Width(); ++x) {
        const Pixel p = mask->At(x, y) & 0xFFFFFF;
        ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
      }
}

// The mean of each channel over a rectangle.
struct Mean {
  double r = 0, g = 0, b = 0;
};
Mean MeanOf(const Image& img, int left, int top, int right, int bottom) {
  Mean m;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const Pixel p = img.At(x, y);
      m.r += PixelR(p), m.g += PixelG(p), m.b += PixelB(p);
    }
  const double n = double(right - left) * (bottom - top);
  return {m.r / n, m.g / n, m.b / n};
}

// Every part of every picture looks as in the design: the design picture cut
// into tiles of kTile pixels, each tile's mean colour against the mean over
// the tile's scaled rectangle. A piece drawn away from its scaled place, or
// left at its design size, moves colour from tile to tile; drawing the same
// shapes anew at the scale only moves anti-aliased rims and rounds line
// widths to whole pixels (steps of up to about 33 of 255 in the own skin).
constexpr int kTile = 6;
constexpr double kMostMeanStep = 42;
TEST_P(OwnSkinDrawings, EveryPartLooksAsInTheDesign) {
  const auto want = Pictures(*design), got = Pictures(drawn);
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].first);
    const Image& a = *want[i].second;
    const Image& b = *got[i].second;
    ASSERT_EQ(b.Width(), S(a.Width()));
    ASSERT_EQ(b.Height(), S(a.Height()));
    for (int y = 0; y < a.Height(); y += kTile)
      for (int x = 0; x < a.Width(); x += kTile) {
        const int right = std::min(x + kTile, a.Width()), bottom = std::min(y + kTile, a.Height());
        const Mean m = MeanOf(a, x, y, right, bottom), n = MeanOf(b, S(x), S(y), S(right), S(bottom));
        const double step = std::max({std::abs(m.r - n.r), std::abs(m.g - n.g), std::abs(m.b - n.b)});
        EXPECT_LE(step, kMostMeanStep) << "the tile at " << x << "," << y;
      }
  }
}

constexpr Pixel kKey = MakePixel(255, 0, 255);

bool AllKey(const Image& img, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (img.At(x, y) != kKey) return false;
  return true;
}

// Every piece a control record places lies exactly at its scaled rectangle,
// told by the key colour around and inside it: where the design has the key
// colour all along a side of a piece (just outside it) or in a corner, the
// drawing has it along the same side of the scaled piece, or in that corner;
// a design piece without the key colour inside has none inside at the scale.
TEST_P(OwnSkinDrawings, PiecesLieExactlyAtTheirScaledRectangles) {
  TksCompressedStoredSkin stored;
  stored.CompressedData() = ReadWholeFile(GetParam().design);
  TksSkinData skin;
  skin.LoadCompressedSkin(stored);
  int keyedSides = 0;
  for (const SkinPiece& piece : ControlPieces(skin)) {
    SCOPED_TRACE(piece.record);
    ASSERT_GE(piece.picture, 0);
    ASSERT_LT(size_t(piece.picture), drawn.activePictures.size());
    const Image& a = design->activePictures[size_t(piece.picture)].image;
    const Image& b = drawn.activePictures[size_t(piece.picture)].image;
    const Rect& r = piece.rect;
    const Rect s{S(r.left), S(r.top), S(r.right), S(r.bottom)};
    if (!AllKey(a, r.left, r.top, r.right, r.bottom)) {
      bool keyInside = false;
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) keyInside |= a.At(x, y) == kKey;
      if (!keyInside) {
        for (int y = s.top; y < s.bottom; ++y)
          for (int x = s.left; x < s.right; ++x) ASSERT_NE(b.At(x, y), kKey) << "inside at " << x << "," << y;
      }
    }
    struct Side {
      const char* name;
      bool present;
      Rect design, scaled;  // the line of pixels just outside the piece
    };
    const Side sides[] = {
        {"left", r.left > 0, {r.left - 1, r.top, r.left, r.bottom}, {s.left - 1, s.top, s.left, s.bottom}},
        {"top", r.top > 0, {r.left, r.top - 1, r.right, r.top}, {s.left, s.top - 1, s.right, s.top}},
        {"right", r.right < a.Width(), {r.right, r.top, r.right + 1, r.bottom}, {s.right, s.top, s.right + 1, s.bottom}},
        {"bottom", r.bottom < a.Height(), {r.left, r.bottom, r.right, r.bottom + 1}, {s.left, s.bottom, s.right, s.bottom + 1}},
    };
    for (const Side& side : sides) {
      if (!side.present || !AllKey(a, side.design.left, side.design.top, side.design.right, side.design.bottom)) continue;
      ++keyedSides;
      EXPECT_TRUE(AllKey(b, side.scaled.left, side.scaled.top, side.scaled.right, side.scaled.bottom)) << side.name;
    }
    for (auto [x, y, sx, sy] : {std::array{r.left, r.top, s.left, s.top}, {r.right - 1, r.top, s.right - 1, s.top},
                                {r.left, r.bottom - 1, s.left, s.bottom - 1}, {r.right - 1, r.bottom - 1, s.right - 1, s.bottom - 1}})
      if (a.At(x, y) == kKey) {
        EXPECT_EQ(b.At(sx, sy), kKey) << "corner " << x << "," << y;
      }
  }
  EXPECT_GT(keyedSides, 20);  // the check saw the key colour around many pieces
}

// Drawn at the scale, not stretched from the design: lines stay one colour
// with sharp edges at their scaled width, and round shapes do not repeat
// columns as a stretched copy does.
TEST_P(OwnSkinDrawings, LinesAreSharpAndCurvesDrawnAnew) {
  // The frame: the client area at its scaled rectangle, in the design's
  // client colour, ringed by the design's inner line, one scaled pixel wide.
  for (PackageSlot slot : {PackageSlot::Picture, PackageSlot::InactivePicture}) {
    const Image& a = design->Slot(slot).image;
    const Image& b = drawn.Slot(slot).image;
    const Rect client{8, 28, 696, 284};  // [FORMINFO] clientrect
    const Pixel fill = a.At(client.left, client.top), line = a.At(client.left - 1, client.top - 1);
    ASSERT_NE(fill, line);
    const Rect s{S(client.left), S(client.top), S(client.right), S(client.bottom)};
    const int w = S(1);
    for (int y = s.top - w - 1; y < s.bottom + w + 1; ++y)
      for (int x = s.left - w - 1; x < s.right + w + 1; ++x) {
        const bool inClient = x >= s.left && x < s.right && y >= s.top && y < s.bottom;
        const bool inLine = !inClient && x >= s.left - w && x < s.right + w && y >= s.top - w && y < s.bottom + w;
        const Pixel p = b.At(x, y);
        ASSERT_TRUE(inClient ? p == fill : inLine ? p == line : p != line) << x << "," << y;
      }
  }
  // The checked radio mark (controls picture, 14,64,28,78 in the design): a
  // circle centred between two columns repeats at most that pair.
  const Image& controls = drawn.activePictures[1].image;
  const Rect mark{S(14), S(64), S(28), S(78)};
  int repeated = 0;
  for (int x = mark.left + 1; x < mark.right; ++x) {
    bool same = true;
    for (int y = mark.top; y < mark.bottom; ++y) same &= controls.At(x, y) == controls.At(x - 1, y);
    repeated += same;
  }
  EXPECT_LE(repeated, 1);
}

// The skin data made for the DPI of a drawing shows that drawing's pictures
// as they are: they fit (a picture of another size would be passed over and
// the 96-DPI one scaled instead).
TEST_P(OwnSkinDrawings, SkinDataAtTheirDpiShowsThemAsTheyAre) {
  TksCompressedStoredSkin stored, drawing;
  stored.CompressedData() = ReadWholeFile(GetParam().design);
  drawing.CompressedData() = ReadWholeFile(GetParam().path);
  TksSkinData skin;
  skin.SetDrawings({&drawing});
  skin.Dpi = GetParam().dpi;
  skin.LoadCompressedSkin(stored);
  ASSERT_FALSE(skin.Empty);
  const Image* shown[] = {&skin.Picture, &skin.InactivePicture, &skin.Mask};
  const auto pictures = Pictures(drawn);
  ASSERT_EQ(skin.ActivePictures.size() + 3, pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    const Image& picture = i < 3 ? *shown[i] : skin.ActivePictures[i - 3];
    const Image& want = *pictures[i].second;
    ASSERT_EQ(picture.Width(), want.Width()) << pictures[i].first;
    ASSERT_EQ(picture.Height(), want.Height()) << pictures[i].first;
    EXPECT_TRUE(std::equal(picture.Data(), picture.Data() + size_t(picture.Width()) * size_t(picture.Height()), want.Data()))
        << pictures[i].first;
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, OwnSkinDrawings, ::testing::ValuesIn(kDrawings),
                         [](const auto& info) { return std::string(info.param.name) + std::to_string(info.param.dpi); });

}  // namespace
}  // namespace kelmar
