// The program's own skin loaded at the display scales it meets: sizes from
// ScaleLength of the 96-DPI ones, masks still black and white with the top
// corners cut, pieces inside their pictures.
#include <gtest/gtest.h>

#include <set>

#include "base/display_scale.h"
#include "base/file.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_control_data.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {
namespace {

constexpr Pixel kBlack = MakePixel(0, 0, 0), kWhite = MakePixel(255, 255, 255);

bool TwoColoured(const Image& m) {
  std::set<Pixel> colours(m.Data(), m.Data() + size_t(m.Width()) * size_t(m.Height()));
  return colours == std::set<Pixel>{kBlack, kWhite};
}

TEST(OwnSkinAtScale, PicturesGrowByTheScaleAndMasksStayBlackAndWhite) {
  TksCompressedStoredSkin stored;
  stored.CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE);
  TksSkinData base;
  base.LoadCompressedSkin(stored);
  for (int dpi : {120, 144, 168, 192}) {
    SCOPED_TRACE(dpi);
    TksSkinData skin;
    skin.Dpi = dpi;
    skin.LoadCompressedSkin(stored);
    ASSERT_FALSE(skin.Empty);
    auto scaled = [dpi](const Image& at96, const Image& at) {
      return at.Width() == ScaleLength(at96.Width(), dpi) && at.Height() == ScaleLength(at96.Height(), dpi);
    };
    EXPECT_TRUE(scaled(base.Picture, skin.Picture));
    EXPECT_TRUE(scaled(base.InactivePicture, skin.InactivePicture));
    EXPECT_TRUE(scaled(base.Mask, skin.Mask));
    ASSERT_EQ(skin.ActivePictures.size(), base.ActivePictures.size());
    for (size_t i = 0; i < skin.ActivePictures.size(); ++i)
      EXPECT_TRUE(scaled(base.ActivePictures[i], skin.ActivePictures[i])) << i;

    EXPECT_TRUE(TwoColoured(skin.Mask));
    EXPECT_TRUE(TwoColoured(skin.ActivePictures[size_t(base.PopupWindow.maskpictureindex)]));
    EXPECT_TRUE(TwoColoured(skin.ActivePictures[size_t(base.HintWindow.maskpictureindex)]));
    // The top corners are cut, the middle of the top row and the bottom
    // corners are window.
    const Image& m = skin.Mask;
    EXPECT_EQ(m.At(0, 0), kWhite);
    EXPECT_EQ(m.At(m.Width() - 1, 0), kWhite);
    EXPECT_EQ(m.At(m.Width() / 2, 0), kBlack);
    EXPECT_EQ(m.At(ScaleLength(3, dpi), m.Height() / 2), kBlack);

    const auto* button = FindControlRecord<TksDataSkinButtonControl>(skin, "button");
    ASSERT_TRUE(button);
    const Image& controls = skin.ActivePictures[size_t(button->pictureindex)];
    for (const Rect& r : {button->skinrect, button->activeskinrect, button->downskinrect, button->disabledskinrect}) {
      EXPECT_GE(r.left, 0);
      EXPECT_LE(r.right, controls.Width());
      EXPECT_LE(r.bottom, controls.Height());
    }
  }
}

TEST(OwnSkinAtScale, EveryControlsClientRectAndCornerPointsStayInItsPiece) {
  TksCompressedStoredSkin stored;
  stored.CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE);
  for (int dpi : {120, 144, 168, 192}) {
    TksSkinData skin;
    skin.Dpi = dpi;
    skin.LoadCompressedSkin(stored);
    for (const auto& record : skin.ControlData) {
      const auto* c = dynamic_cast<const TksDataSkinCustomControl*>(record.get());
      if (!c || RectIsEmpty(c->skinrect)) continue;
      SCOPED_TRACE(std::to_string(dpi) + " " + c->IDName);
      const Rect piece{0, 0, RectWidth(c->skinrect), RectHeight(c->skinrect)};
      EXPECT_TRUE(c->clientrect.left >= 0 && c->clientrect.top >= 0 && c->clientrect.right <= piece.right &&
                  c->clientrect.bottom <= piece.bottom);
      for (Point p : {c->lefttoppoint, c->righttoppoint, c->leftbottompoint, c->rightbottompoint})
        EXPECT_TRUE(PointInRectInclusive(piece, p)) << p.x << "," << p.y;
    }
  }
}

}  // namespace
}  // namespace kelmar
