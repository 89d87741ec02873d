// "Kelmar Dark" as the build packs it: the light skin's places and sizes in
// other colours, every text and every edge a control is told by standing out
// at each display scale, and the colours of the parts without pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "base/display_scale.h"
#include "base/file.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package.h"
#include "contrast.h"
#include "pieces.h"

namespace kelmar {
namespace {

struct Packages {
  TksCompressedStoredSkin base, drawn144, drawn192;
  explicit Packages(bool dark) {
    base.CompressedData() = ReadWholeFile(dark ? KELMAR_SKIN_DARK_PACKAGE : KELMAR_SKIN_PACKAGE);
    drawn144.CompressedData() = ReadWholeFile(dark ? KELMAR_SKIN_DARK_PACKAGE_144 : KELMAR_SKIN_PACKAGE_144);
    drawn192.CompressedData() = ReadWholeFile(dark ? KELMAR_SKIN_DARK_PACKAGE_192 : KELMAR_SKIN_PACKAGE_192);
  }
  // The skin as the program loads it at dpi: its drawings for 144 and 192.
  void Load(TksSkinData& skin, int dpi) const {
    skin.SetDrawings({&drawn144, &drawn192});
    skin.Dpi = dpi;
    skin.LoadCompressedSkin(base);
  }
};

const Packages& Dark() {
  static const Packages packages(true);
  return packages;
}
const Packages& Light() {
  static const Packages packages(false);
  return packages;
}

constexpr int kDpis[] = {96, 120, 144, 192};

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Line by line the light description, except the skin's name and comment
// and values of keys that are colours: no place, size, font or picture
// differs.
TEST(DarkSkin, IsTheLightSkinInOtherColours) {
  const SkinPackageContent light = Light().base.ReadPackage(), dark = Dark().base.ReadPackage();
  ASSERT_TRUE(light.loaded && dark.loaded);
  ASSERT_EQ(dark.descriptionLines.size(), light.descriptionLines.size());
  int colours = 0;
  for (size_t i = 0; i < light.descriptionLines.size(); ++i) {
    const std::string& a = light.descriptionLines[i];
    const std::string& b = dark.descriptionLines[i];
    if (a == b) continue;
    const std::string key = Lower(a.substr(0, a.find('=')));
    ASSERT_EQ(key, Lower(b.substr(0, b.find('=')))) << a << " / " << b;
    const bool named = key == "skinname" || key == "skincomments";
    EXPECT_TRUE(named || (key.size() > 5 && key.compare(key.size() - 5, 5, "color") == 0)) << a << " / " << b;
    colours += !named;
  }
  EXPECT_GE(colours, 25);

  TksSkinData a, b;
  Light().Load(a, kDesignDpi);
  Dark().Load(b, kDesignDpi);
  EXPECT_EQ(a.SkinName, "Kelmar Light");
  EXPECT_EQ(b.SkinName, "Kelmar Dark");
  ASSERT_EQ(b.ActivePictures.size(), a.ActivePictures.size());
  for (size_t i = 0; i < a.ActivePictures.size(); ++i) {
    EXPECT_EQ(b.ActivePictures[i].Width(), a.ActivePictures[i].Width()) << i;
    EXPECT_EQ(b.ActivePictures[i].Height(), a.ActivePictures[i].Height()) << i;
  }
  // The window's shape is the same: the masks are equal pixel for pixel.
  ASSERT_EQ(b.Mask.Width(), a.Mask.Width());
  EXPECT_TRUE(std::equal(a.Mask.Data(), a.Mask.Data() + size_t(a.Mask.Width()) * size_t(a.Mask.Height()), b.Mask.Data()));
}

// Every picture of the dark skin is dark where the window shows most of it:
// the frame's client area and the tool bar's middle.
TEST(DarkSkin, IsDark) {
  TksSkinData skin;
  Dark().Load(skin, kDesignDpi);
  auto luminance = [](Pixel p) { return Luminance(PixelR(p), PixelG(p), PixelB(p)); };
  const Rect client = skin.clientrect;
  EXPECT_LT(luminance(skin.Picture.At(client.left + client.Width() / 2, client.top + client.Height() / 2)), 0.05);
  const auto* panel = FindControlRecord<TksDataSkinPanelControl>(skin, "panel");
  ASSERT_TRUE(panel);
  const Image& controls = skin.ActivePictures[size_t(panel->pictureindex)];
  const Rect bar = panel->skinrect;
  EXPECT_LT(luminance(controls.At(bar.left + bar.Width() / 2, bar.top + bar.Height() / 2)), 0.05);
  EXPECT_LT(Luminance(uint8_t(skin.ClientColors.listcolor), uint8_t(skin.ClientColors.listcolor >> 8),
                      uint8_t(skin.ClientColors.listcolor >> 16)),
            0.05);
}

TEST(DarkSkin, EveryTextStandsOutFromThePictureUnderItAtEachScale) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    TksSkinData skin;
    Dark().Load(skin, dpi);
    ASSERT_FALSE(skin.Empty);
    ExpectEveryTextStandsOut(skin);
  }
}

// The strongest contrast with `beside` among the pixels of the middle row of
// a piece, from its left side inwards over `band` pixels: where the edge
// line is, with its smoothing.
double EdgeContrast(const Image& picture, const Rect& piece, int band, Pixel beside) {
  const int y = piece.top + piece.Height() / 2;
  double best = 0;
  for (int x = piece.left; x < piece.left + band; ++x) best = std::max(best, PixelContrast(picture.At(x, y), beside));
  return best;
}

Pixel Centre(const Image& picture, const Rect& r) { return picture.At(r.left + r.Width() / 2, r.top + r.Height() / 2); }

// The edge of every control stands 3 : 1 or more from what lies beside it
// (the tool bar, a scroll bar's track), and so does the mark of the row with
// the focus or the hot menu item from an ordinary row.
TEST(DarkSkin, EdgesAndFocusMarksStandOutAtEachScale) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    TksSkinData skin;
    Dark().Load(skin, dpi);
    const int band = ScaleLength(2, dpi);
    const OwnSkinRecords records(skin);
    ASSERT_TRUE(records.Complete());
    const auto [caption, item, button, radio, check, combo, list, panel, statusBar, label, bar] = records;
    struct Case {
      const char* what;
      const Image* picture;
      Rect piece;
      Pixel beside;
    };
    const Image& controls = skin.ActivePictures[size_t(button->pictureindex)];
    // The tool buttons and the combo box sit on the tool bar.
    const Pixel toolBar = Centre(controls, panel->skinrect);
    std::vector<Case> cases;
    for (const Rect& r : {button->skinrect, button->activeskinrect, button->downskinrect})
      cases.push_back({"tool button", &controls, r, toolBar});
    cases.push_back({"combo box", &controls, combo->skinrect, toolBar});
    // The marks sit on the framed box's tool bar.
    for (const auto* box : {radio, check})
      for (const Rect& r : {box->uncheckimagerect, box->checkimagerect, box->activeuncheckimagerect, box->activecheckimagerect})
        cases.push_back({box->IDName.c_str(), &controls, r, controls.At(box->skinrect.left + 1, box->skinrect.top + 1)});
    const Image& bars = skin.ActivePictures[size_t(bar->pictureindex)];
    const Pixel track = Centre(bars, InPiece(bar->trackarea, bar->skinrect));
    for (const Rect& r : {bar->thumbrect, bar->activethumbrect, bar->downthumbrect})
      cases.push_back({"scroll thumb", &bars, r, track});
    // Rows with the focus, or chosen, against an ordinary row.
    cases.push_back({"combo box, chosen row", &controls, combo->focusitemrect, Centre(controls, combo->itemrect)});
    const Image& rows = skin.ActivePictures[size_t(list->pictureindex)];
    for (const Rect& r : {list->activeitemrect, list->focusitemrect})
      cases.push_back({"drop-down row", &rows, r, Centre(rows, list->itemrect)});
    const Image& items = skin.ActivePictures[size_t(item->activepictureindex)];
    const Rect plain = item->skinrect;
    cases.push_back({"hot menu item", &items, item->activeskinrect, items.At(plain.right - band - 1, plain.top + plain.Height() / 2)});
    for (const Case& c : cases) {
      ASSERT_TRUE(InsidePicture(c.piece, *c.picture)) << c.what;
      EXPECT_GE(EdgeContrast(*c.picture, c.piece, band, c.beside), 3.0) << c.what;
    }
  }
}

// The list, the labels and the links take their colours from the skin: in
// the light skin today's (white list, black text, the links' blue-grey and
// brown), in the dark one texts that stand out from the list and the tool bar.
TEST(OwnSkins, ClientColoursOfTheListLabelsAndLinks) {
  TksSkinData light;
  Light().Load(light, kDesignDpi);
  const TksDataSkinClientColors& l = light.ClientColors;
  EXPECT_TRUE(l.Present);
  EXPECT_EQ(l.listcolor, 0xFFFFFFu);
  EXPECT_EQ(l.listfontcolor, 0u);
  EXPECT_EQ(l.listedgecolor, TksDataSkinClientColors::kNoColor);
  EXPECT_EQ(l.labelfontcolor, 0u);
  EXPECT_EQ(l.linkfontcolor, 0x783C3Cu);         // RGB(60, 60, 120)
  EXPECT_EQ(l.visitedlinkfontcolor, 0x465F82u);  // RGB(130, 95, 70)

  for (const Packages* packages : {&Light(), &Dark()})
    for (int dpi : kDpis) {
      TksSkinData skin;
      packages->Load(skin, dpi);
      SCOPED_TRACE(skin.SkinName + " at " + std::to_string(dpi));
      const TksDataSkinClientColors& c = skin.ClientColors;
      const Image list(1, 1, PixelFromColor(c.listcolor));
      EXPECT_GE(WorstContrast(c.listfontcolor, list, {0, 0, 1, 1}), 4.5);
      const auto* panel = FindControlRecord<TksDataSkinPanelControl>(skin, "panel");
      ASSERT_TRUE(panel);
      const Image& controls = skin.ActivePictures[size_t(panel->pictureindex)];
      const Rect area = InPiece(panel->clientrect, panel->skinrect);
      for (uint32_t colour : {c.labelfontcolor, c.linkfontcolor, c.visitedlinkfontcolor})
        EXPECT_GE(WorstContrast(colour, controls, area), 4.5) << std::hex << colour;
    }
}

// A skin without the section leaves the program its own colours.
TEST(OwnSkins, ASkinWithoutClientColoursSaysSo) {
  const SkinPackageContent light = Light().base.ReadPackage();
  std::vector<std::string> lines;
  bool inSection = false;
  for (const std::string& line : light.descriptionLines) {
    if (!line.empty() && line[0] == '[') inSection = line == "[CLIENTCOLORS]";
    if (!inSection) lines.push_back(line);
  }
  ASSERT_LT(lines.size(), light.descriptionLines.size());
  TksSkinData skin;
  Light().Load(skin, kDesignDpi);
  ASSERT_TRUE(skin.ClientColors.Present);
  const IniTable ini = IniTable::FromLines(lines);
  skin.ClientColors.ReadSection(ini);
  EXPECT_FALSE(skin.ClientColors.Present);
}

}  // namespace
}  // namespace kelmar
