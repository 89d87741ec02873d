#pragma once
// Contrast of the own skins' texts and edges with what lies under and beside
// them, measured on the loaded skin's pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/geometry.h"
#include "base/image.h"
#include "skin/data/skin_data.h"

namespace kelmar {

inline bool InsidePicture(const Rect& r, const Image& picture) {
  return !r.IsEmpty() && r.left >= 0 && r.top >= 0 && r.right <= picture.Width() && r.bottom <= picture.Height();
}

// The records of the own skins whose texts and edges are measured.
struct OwnSkinRecords {
  explicit OwnSkinRecords(const TksSkinData& skin)
      : caption(FindObjectRecord<TksDataSkinCaption>(skin, "caption")),
        item(FindObjectRecord<TksDataSkinMenuItem>(skin, "menuitem")),
        button(FindControlRecord<TksDataSkinButtonControl>(skin, "button")),
        radio(FindControlRecord<TksDataSkinCheckRadioControl>(skin, "radiobox")),
        check(FindControlRecord<TksDataSkinCheckRadioControl>(skin, "checkbox")),
        combo(FindControlRecord<TksDataSkinComboBox>(skin, "combobox")),
        list(FindControlRecord<TksDataSkinListBox>(skin, "listbox")),
        panel(FindControlRecord<TksDataSkinPanelControl>(skin, "panel")),
        bar(FindControlRecord<TksDataSkinPanelControl>(skin, "statusbar")),
        label(FindControlRecord<TksDataSkinLabelControl>(skin, "statuspanel")),
        scrollBar(FindControlRecord<TksDataSkinScrollBarControl>(skin, "vscrollbar")) {}
  bool Complete() const {
    return caption && item && button && radio && check && combo && list && panel && bar && label && scrollBar;
  }
  const TksDataSkinCaption* caption;
  const TksDataSkinMenuItem* item;
  const TksDataSkinButtonControl* button;
  const TksDataSkinCheckRadioControl *radio, *check;
  const TksDataSkinComboBox* combo;
  const TksDataSkinListBox* list;
  const TksDataSkinPanelControl *panel, *bar;
  const TksDataSkinLabelControl* label;
  const TksDataSkinScrollBarControl* scrollBar;
};

// The contrast of two colours as the web's accessibility rules define it:
// (lighter + 0.05) / (darker + 0.05) of their relative luminances.
inline double Luminance(uint8_t r, uint8_t g, uint8_t b) {
  auto linear = [](uint8_t v) {
    const double c = v / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

// The lowest contrast of a text colour (0x00BBGGRR) against any pixel of a
// picture's area.
inline double WorstContrast(uint32_t colour, const Image& picture, const Rect& area) {
  const double text = Luminance(uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16));
  double worst = 1e9;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const Pixel p = picture.At(x, y);
      const double back = Luminance(PixelR(p), PixelG(p), PixelB(p));
      worst = std::min(worst, (std::max(text, back) + 0.05) / (std::min(text, back) + 0.05));
    }
  return worst;
}

// A rectangle given relative to a piece, in the piece's picture: the part
// inside the piece, which is all the text is drawn on (scaled each on its own,
// the rectangle can reach a pixel past the scaled piece).
inline Rect InPiece(const Rect& r, const Rect& piece) { return r.Offset(piece.left, piece.top).Intersect(piece); }

// Every text the skin draws stands out from the picture under it by at
// least 4.5 : 1 (disabled texts aside: they are meant to recede).
inline void ExpectEveryTextStandsOut(const TksSkinData& skin) {
  struct Case {
    const char* what;
    uint32_t colour;
    const Image* picture;
    Rect area;
  };
  std::vector<Case> cases;
  const auto& pictures = skin.ActivePictures;
  const OwnSkinRecords records(skin);
  ASSERT_TRUE(records.Complete());
  const auto [caption, item, button, radio, check, combo, list, panel, bar, label, scrollBar] = records;
  const Rect captionText = InPiece(caption->textrect, caption->skinrect);
  cases.push_back({"caption, active window", caption->activefontcolor, &skin.Picture, captionText});
  cases.push_back({"caption, inactive window", caption->font.color, &skin.InactivePicture, captionText});
  const Image& items = pictures[item->activepictureindex];
  cases.push_back({"menu item", item->font.color, &items, InPiece(item->textrect, item->skinrect)});
  cases.push_back({"menu item, hot", item->activefontcolor, &items, InPiece(item->textrect, item->activeskinrect)});
  cases.push_back({"hint", skin.HintWindow.font.color, &pictures[skin.HintWindow.windowpictureindex],
                   skin.HintWindow.clientrect});
  const Image& controls = pictures[button->pictureindex];
  cases.push_back({"button", button->font.color, &controls, InPiece(button->clientrect, button->skinrect)});
  cases.push_back({"button, hot", button->activefontcolor, &controls, InPiece(button->clientrect, button->activeskinrect)});
  cases.push_back({"button, down", button->downfontcolor, &controls, InPiece(button->clientrect, button->downskinrect)});
  for (const auto* box : {radio, check}) {
    cases.push_back({box->IDName.c_str(), box->font.color, &controls, InPiece(box->textarea, box->skinrect)});
    cases.push_back({box->IDName.c_str(), box->activefontcolor, &controls, InPiece(box->textarea, box->activeskinrect)});
    // Flat boxes show their caption on the tool bar.
    cases.push_back({box->IDName.c_str(), box->framefontcolor, &controls, InPiece(panel->clientrect, panel->skinrect)});
  }
  cases.push_back({"combo box", combo->font.color, &controls, combo->itemrect});
  cases.push_back({"combo box, focused", combo->focusfontcolor, &controls, combo->focusitemrect});
  const Image& rows = pictures[list->pictureindex];
  cases.push_back({"list row", list->font.color, &rows, list->itemrect});
  cases.push_back({"list row, hot", list->activefontcolor, &rows, list->activeitemrect});
  cases.push_back({"list row, chosen", list->focusfontcolor, &rows, list->focusitemrect});
  cases.push_back({"tool bar", panel->font.color, &controls, InPiece(panel->clientrect, panel->skinrect)});
  cases.push_back({"status bar", bar->font.color, &controls, InPiece(bar->clientrect, bar->skinrect)});
  cases.push_back({"status panel", label->font.color, &controls, InPiece(label->clientrect, label->skinrect)});
  for (const Case& c : cases) {
    ASSERT_TRUE(InsidePicture(c.area, *c.picture)) << c.what;
    EXPECT_GE(WorstContrast(c.colour, *c.picture, c.area), 4.5) << c.what;
  }
}

// The contrast of two pixels.
inline double PixelContrast(Pixel a, Pixel b) {
  const double la = Luminance(PixelR(a), PixelG(a), PixelB(a)), lb = Luminance(PixelR(b), PixelG(b), PixelB(b));
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace kelmar
