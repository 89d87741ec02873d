// The program's own skin as the build packs it: the figures the frame,
// controls and hints rely on, checked after a real load of the package.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <string>
#include <vector>

#include "base/file.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package.h"
#include "contrast.h"
#include "pieces.h"

namespace kelmar {
namespace {

bool Inside(const Rect& r, const Image& picture) {
  return !r.IsEmpty() && r.left >= 0 && r.top >= 0 && r.right <= picture.Width() && r.bottom <= picture.Height();
}

class OwnSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    stored = new TksCompressedStoredSkin;
    stored->CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE);
    skin = new TksSkinData;
    skin->LoadCompressedSkin(*stored);
  }
  static void TearDownTestSuite() {
    delete skin;
    delete stored;
  }

  template <typename T>
  static const T* Control(const char* name) {
    return FindControlRecord<T>(*skin, name);
  }
  template <typename T>
  static const T* Object(const char* name) {
    return FindObjectRecord<T>(*skin, name);
  }
  static TksCompressedStoredSkin* stored;
  static TksSkinData* skin;
};
TksCompressedStoredSkin* OwnSkin::stored = nullptr;
TksSkinData* OwnSkin::skin = nullptr;

TEST_F(OwnSkin, LoadsWholeWithTheRecordsItDeclares) {
  EXPECT_FALSE(skin->Empty);
  EXPECT_EQ(skin->SkinName, "Kelmar Light");
  // [SKINOBJECTS] and [SKINCONTROLS] of skins/default/skin.ini, in order.
  const std::vector<std::string> objects = {"menuitem", "caption", "closebutton", "minimizebutton",
                                            "maximizebutton", "sysmenubutton"};
  const std::vector<std::string> controls = {"button",     "radiobox",   "checkbox",       "combobox",
                                             "listbox",    "vscrollbar", "hscrollbar",     "bothhscrollbar",
                                             "panel",      "statusbar",  "statuspanel"};
  ASSERT_EQ(skin->ObjectData.size(), objects.size());
  for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(skin->ObjectData[i]->IDName, objects[i]);
  ASSERT_EQ(skin->ControlData.size(), controls.size());
  for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(skin->ControlData[i]->IDName, controls[i]);
  EXPECT_EQ(skin->ActivePictures.size(), 9u);
  EXPECT_TRUE(skin->SkinAreas.empty());
  // The sections the main window's controls name.
  for (const char* name : {"statusbar", "statuspanel", "panel", "button", "radiobox", "combobox"})
    EXPECT_GE(skin->FindControlData(name), 0) << name;
  EXPECT_EQ(skin->FindControlData("button"), 0);
}

TEST_F(OwnSkin, FrameGeometryAfterTheCorrections) {
  EXPECT_EQ(skin->Picture.Width(), 704);
  EXPECT_EQ(skin->Picture.Height(), 292);
  EXPECT_EQ(skin->InactivePicture.Width(), 704);
  EXPECT_EQ(skin->InactivePicture.Height(), 292);
  EXPECT_EQ(skin->Mask.Width(), 704);
  EXPECT_EQ(skin->Mask.Height(), 292);
  EXPECT_EQ(skin->lefttoppoint, (Point{8, 28}));
  EXPECT_EQ(skin->rightbottompoint, (Point{695, 283}));
  EXPECT_EQ(skin->clientrect, (Rect{8, 28, 696, 284}));
  EXPECT_EQ(skin->maskrectarea, (Rect{7, 3, 697, 284}));
  EXPECT_EQ(skin->captionrect, (Rect{7, 1, 697, 25}));
  EXPECT_TRUE(skin->buttonsrect.IsEmpty());
  EXPECT_EQ(skin->bgpictureindex, -1);
  // Not given: the mask's presence makes them the corner points.
  EXPECT_EQ(skin->hittestlefttoppoint, skin->lefttoppoint);
  EXPECT_EQ(skin->hittestrightbottompoint, skin->rightbottompoint);
  // Frame 8 left, right and bottom, 28 on top; at least 36 high.
  EXPECT_EQ(skin->Picture.Height() - skin->clientrect.Height(), 36);
}

TEST_F(OwnSkin, PicturesAndTheirDepths) {
  const std::vector<uint8_t> inflated = stored->InflatePackage();
  const SkinPackageContent c = ReadSkinPackage(inflated);
  EXPECT_EQ(c.Slot(PackageSlot::Picture).bitsPerPixel, 24);
  EXPECT_EQ(c.Slot(PackageSlot::InactivePicture).bitsPerPixel, 24);
  EXPECT_EQ(c.Slot(PackageSlot::Mask).bitsPerPixel, 1);
  // A 704 x 292 24-bit BMP: 54 header bytes + 292 rows of 2112 bytes; the
  // 1-bit mask: 62 + 292 rows of 88.
  EXPECT_EQ(c.Slot(PackageSlot::Picture).size, 54u + 292 * 2112);
  EXPECT_EQ(c.Slot(PackageSlot::Mask).size, 62u + 292 * 88);
  EXPECT_EQ(c.activePictures[6].bitsPerPixel, 1);  // the hint's mask
  EXPECT_EQ(c.activePictures[7].bitsPerPixel, 1);  // the popup's mask
}

// The mask rounds the top corners only a little at the bottom; black is
// window, white is cut away.
TEST_F(OwnSkin, MaskRoundsTheTopCorners) {
  const Image& m = skin->Mask;
  auto black = [&](int x, int y) { return (m.At(x, y) & 0xFFFFFF) == 0; };
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {703, 0}, {702, 1}, {0, 2}, {0, 291}, {703, 291}})
    EXPECT_FALSE(black(x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{352, 0}, {7, 0}, {3, 3}, {0, 10}, {703, 10}, {352, 291}, {352, 150}, {2, 291}})
    EXPECT_TRUE(black(x, y)) << x << "," << y;
}

TEST_F(OwnSkin, CaptionAndItsButtons) {
  const auto* caption = Object<TksDataSkinCaption>("caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_TRUE(caption->defaultcaption);
  EXPECT_EQ(caption->skinrect.left, 23);
  EXPECT_EQ(caption->textrect.left, 4);
  EXPECT_EQ(caption->font.name, "Arial");
  EXPECT_EQ(caption->font.height, 14);
  EXPECT_EQ(caption->font.style, fsBold);
  EXPECT_EQ(caption->activefontcolor, 0u);

  struct Expect {
    const char* name;
    SkinCommand command;
    int width, height;
  };
  for (const Expect& e : {Expect{"closebutton", SkinCommand::cmClose, 43, 17},
                          Expect{"maximizebutton", SkinCommand::cmMaximize, 25, 17},
                          Expect{"minimizebutton", SkinCommand::cmMinimize, 25, 17},
                          Expect{"sysmenubutton", SkinCommand::cmSysMenu, 16, 16}}) {
    SCOPED_TRACE(e.name);
    const auto* b = Object<TksDataSkinStdButton>(e.name);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->command, e.command);
    EXPECT_TRUE(b->skinrectinapicture);
    EXPECT_EQ(b->skinrect.Width(), e.width);
    EXPECT_EQ(b->skinrect.Height(), e.height);
    ASSERT_GE(b->activepictureindex, 0);
    ASSERT_LT(size_t(b->activepictureindex), skin->ActivePictures.size());
    const Image& p = skin->ActivePictures[size_t(b->activepictureindex)];
    EXPECT_TRUE(Inside(b->skinrect, p));
    EXPECT_TRUE(Inside(b->inactiveskinrect, p));
    if (e.command != SkinCommand::cmSysMenu) {
      EXPECT_TRUE(Inside(b->activeskinrect, p));
      EXPECT_TRUE(Inside(b->downrect, p));
      EXPECT_EQ(b->activeskinrect.Width(), e.width);
      EXPECT_EQ(b->downrect.Height(), e.height);
    }
  }
  const auto* max = Object<TksDataSkinStdButton>("maximizebutton");
  EXPECT_EQ(max->restorerect.Width(), 25);

  // Close turns red under the mouse: a pixel of the plate beside the glyph.
  const auto* close = Object<TksDataSkinStdButton>("closebutton");
  const Image& p = skin->ActivePictures[size_t(close->activepictureindex)];
  const Pixel hot = p.At(close->activeskinrect.left + 6, close->activeskinrect.top + 8);
  const Pixel normal = p.At(close->skinrect.left + 6, close->skinrect.top + 8);
  EXPECT_GT(PixelR(hot), PixelG(hot) + 100);
  EXPECT_GT(PixelR(hot), PixelB(hot) + 100);
  EXPECT_LT(PixelR(normal), PixelB(normal));  // the caption's light blue
}

TEST_F(OwnSkin, HintAndPopupWindows) {
  const TksDataSkinHintWindow& h = skin->HintWindow;
  ASSERT_GE(h.windowpictureindex, 0);
  ASSERT_LT(size_t(h.windowpictureindex), skin->ActivePictures.size());
  EXPECT_EQ(h.windowpictureindex, 3);
  EXPECT_EQ(h.maskpictureindex, 6);
  EXPECT_EQ(skin->ActivePictures[3].Width(), 40);
  EXPECT_EQ(skin->ActivePictures[3].Height(), 20);
  EXPECT_EQ(skin->ActivePictures[6].Width(), 40);
  EXPECT_EQ(skin->ActivePictures[6].Height(), 20);
  EXPECT_EQ(h.clientrect, (Rect{2, 2, 38, 18}));
  EXPECT_EQ(h.font.name, "Arial");
  EXPECT_EQ(h.font.height, 14);
  EXPECT_EQ(h.font.color, 3881787u);

  const TksDataSkinPopupWindow& w = skin->PopupWindow;
  ASSERT_GE(w.windowpictureindex, 0);
  ASSERT_LT(size_t(w.windowpictureindex), skin->ActivePictures.size());
  const Image& popup = skin->ActivePictures[size_t(w.windowpictureindex)];
  EXPECT_TRUE(Inside(w.itemsrect, popup));
  const auto* item = Object<TksDataSkinMenuItem>("menuitem");
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->skinrect.IsEmpty());
  EXPECT_FALSE(item->dividerrect.IsEmpty());
}

TEST_F(OwnSkin, StatusBarComboBoxAndItsList) {
  const auto* bar = Control<TksDataSkinPanelControl>("statusbar");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->skinrect, (Rect{6, 242, 74, 261}));
  EXPECT_EQ(bar->bgpictureindex, -1);
  // Stretches horizontally: right-top point set, right-bottom point zero.
  EXPECT_NE(bar->righttoppoint, (Point{0, 0}));
  EXPECT_EQ(bar->rightbottompoint, (Point{0, 0}));
  EXPECT_NE(Control<TksDataSkinLabelControl>("statuspanel"), nullptr);
  EXPECT_NE(Control<TksDataSkinPanelControl>("panel"), nullptr);
  EXPECT_NE(Control<TksDataSkinButtonControl>("button"), nullptr);
  EXPECT_NE(Control<TksDataSkinCheckRadioControl>("radiobox"), nullptr);
  EXPECT_NE(Control<TksDataSkinCheckRadioControl>("checkbox"), nullptr);

  const auto* combo = Control<TksDataSkinComboBox>("combobox");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->skinrect.Height(), 19);
  EXPECT_EQ(combo->listboxname, "listbox");
  const auto* list = Control<TksDataSkinListBox>(combo->listboxname.c_str());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->vscrollbarname, "vscrollbar");
  for (const std::string& name : {list->vscrollbarname, list->hscrollbarname, list->bothhscrollbarname})
    EXPECT_NE(Control<TksDataSkinScrollBarControl>(name.c_str()), nullptr) << name;
}

// Check marks are drawn transparently with the colour of their bottom-left
// pixel; thumbs with "thumbtransparentcolor". Both must be the key colour
// around the mark and something else inside it.
TEST_F(OwnSkin, MarksAndThumbsAreKeyedOnMagenta) {
  constexpr Pixel kMagenta = MakePixel(255, 0, 255);
  for (const char* name : {"radiobox", "checkbox"}) {
    const auto* c = Control<TksDataSkinCheckRadioControl>(name);
    ASSERT_NE(c, nullptr);
    const Image& p = skin->ActivePictures[size_t(c->pictureindex)];
    for (const Rect& r : {c->checkimagerect, c->uncheckimagerect, c->activecheckimagerect, c->activeuncheckimagerect,
                          c->unenabledcheckimagerect, c->unenableduncheckimagerect}) {
      EXPECT_EQ(r.Width(), 14) << name;
      EXPECT_EQ(r.Height(), 14) << name;
      EXPECT_EQ(p.At(r.left, r.bottom - 1), kMagenta) << name;
      EXPECT_NE(p.At(r.left + 7, r.top + 7), kMagenta) << name;
    }
  }
  const auto* bar = Control<TksDataSkinScrollBarControl>("vscrollbar");
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->thumbtransparent);
  EXPECT_EQ(PixelFromColor(bar->thumbtransparentcolor), kMagenta);
  const Image& p = skin->ActivePictures[size_t(bar->pictureindex)];
  EXPECT_EQ(p.At(bar->thumbrect.left, bar->thumbrect.top), kMagenta);
  EXPECT_NE(p.At(bar->thumbrect.left + 5, bar->thumbrect.top + 15), kMagenta);
}

// Every piece a control names lies inside the picture it names: the
// description and the generator agree.
TEST_F(OwnSkin, PiecesLieInsideTheirPictures) {
  for (const SkinPiece& piece : ControlPieces(*skin)) {
    SCOPED_TRACE(piece.record);
    ASSERT_GE(piece.picture, 0);
    ASSERT_LT(size_t(piece.picture), skin->ActivePictures.size());
    EXPECT_TRUE(Inside(piece.rect, skin->ActivePictures[size_t(piece.picture)]));
  }
}

TEST_F(OwnSkin, EveryTextStandsOutFromThePictureUnderIt) { ExpectEveryTextStandsOut(*skin); }

// The same at the display scales, where the skin's pictures come from the
// packages drawn for 144 and 192 DPI (as they are, or scaled down from the
// next larger one) and its rectangles are scaled.
TEST(OwnSkinAtScale, EveryTextStandsOutFromThePictureUnderIt) {
  TksCompressedStoredSkin stored, drawn144, drawn192;
  stored.CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE);
  drawn144.CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE_144);
  drawn192.CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE_192);
  for (int dpi : {120, 144, 168, 192}) {
    SCOPED_TRACE(dpi);
    TksSkinData skin;
    skin.SetDrawings({&drawn144, &drawn192});
    skin.Dpi = dpi;
    skin.LoadCompressedSkin(stored);
    ASSERT_FALSE(skin.Empty);
    ExpectEveryTextStandsOut(skin);
  }
}

}  // namespace
}  // namespace kelmar
