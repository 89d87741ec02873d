// The combo box's arithmetic, with the own skin's [combobox] and [listbox]
// numbers and figures worked out by hand.
#include <gtest/gtest.h>

#include "native/own_skin_package.h"
#include "skin/controls/combo_box_geometry.h"
#include "skin/data/skin_data.h"

namespace kelmar {
namespace {

const TksDataSkinComboBox& Combo() { return *FindControlRecord<TksDataSkinComboBox>(OwnSkinPackage(), "combobox"); }
// A record with the own skin's geometry, to vary.
struct ComboRecord : TksDataSkinComboBox {
  ComboRecord() : TksDataSkinComboBox("combobox") {
    skinrect = {0, 120, 60, 139};
    righttoppoint = {42, 0};
    clientrect = {2, 2, 42, 17};
    buttonrect = {43, 1, 59, 18};
    itemrect = {0, 140, 20, 155};
    itemtextrect = {1, 0, 19, 15};
  }
};

const TksDataSkinListBox& List() { return *FindControlRecord<TksDataSkinListBox>(OwnSkinPackage(), "listbox"); }

TEST(ComboBoxAreas, FollowTheRightEdgeOfTheSkinOrThePlainBorder) {
  // [combobox]: skin 60 × 19, button 43,1–59,18, client 2,2–42,17. At 54
  // wide everything right of the fixed left part moves 6 to the left.
  TksComboBoxAreas a = SkinComboBoxAreas(Combo(), true, 54, 19);
  EXPECT_EQ(a.button, (Rect{37, 1, 53, 18}));
  EXPECT_EQ(a.item, (Rect{2, 2, 36, 17}));
  a = SkinComboBoxAreas(Combo(), true, 100, 19);
  EXPECT_EQ(a.button, (Rect{83, 1, 99, 18}));
  EXPECT_EQ(a.item, (Rect{2, 2, 82, 17}));
  // Without the skin's size the areas grow downwards too.
  a = SkinComboBoxAreas(Combo(), false, 54, 25);
  EXPECT_EQ(a.button, (Rect{37, 1, 53, 24}));
  EXPECT_EQ(a.item, (Rect{2, 2, 36, 23}));

  // A button left of the right part's width (60 − 42 = 18) stays put.
  ComboRecord left_button;
  left_button.buttonrect = {2, 1, 17, 18};
  EXPECT_EQ(SkinComboBoxAreas(left_button, true, 100, 19).button, (Rect{2, 1, 17, 18}));

  a = DefaultComboBoxAreas(120, 20);
  EXPECT_EQ(a.button, (Rect{101, 2, 118, 18}));
  EXPECT_EQ(a.item, (Rect{2, 2, 100, 18}));
}

TEST(ComboBoxItem, PictureHeightAndTextRectangleFallBackInTurn) {
  // "itemrect" 0,140–20,155 (15 high), "itemtextrect" 1,0–19,15.
  const Rect area{2, 2, 36, 17};
  EXPECT_EQ(ComboItemImageHeight(Combo(), area), 15);
  EXPECT_EQ(ComboItemTextRect(Combo(), 34), (Rect{1, 0, 33, 15}));
  ComboRecord r;
  r.itemrect = {};
  r.focusitemrect = {0, 0, 10, 12};
  EXPECT_EQ(ComboItemImageHeight(r, area), 12);
  // Without "itemrect" the text widens with the client rect's width (40).
  EXPECT_EQ(ComboItemTextRect(r, 34), (Rect{1, 0, 13, 15}));
  r.focusitemrect = {};
  EXPECT_EQ(ComboItemImageHeight(r, area), 15);
}

TEST(DropDown, HeightAndPlace) {
  // [listbox]: frame 40 high around a client part of 38, rows of 18.
  EXPECT_EQ(DropDownHeight(&List(), 2, 18), 38);
  EXPECT_EQ(DropDownHeight(&List(), 8, 18), 146);
  EXPECT_EQ(DropDownHeight(nullptr, 3, 20), 64);
  const Rect work{0, 0, 1280, 994};
  EXPECT_EQ(DropDownOrigin({100, 200, 154, 219}, 146, work), (Point{100, 219}));
  // Ends exactly at the bottom of the work area: still below.
  EXPECT_EQ(DropDownOrigin({100, 829, 154, 848}, 146, work), (Point{100, 848}));
  EXPECT_EQ(DropDownOrigin({100, 830, 154, 849}, 146, work), (Point{100, 684}));
}

TEST(ComboBoxKeys, PageStepsAreOneMoreUpThanDown) {
  EXPECT_EQ(PageUpIndex(10, 8), 1);
  EXPECT_EQ(PageUpIndex(5, 8), 0);
  EXPECT_EQ(PageDownIndex(1, 8, 20), 8);
  EXPECT_EQ(PageDownIndex(15, 8, 20), 19);
  EXPECT_EQ(PageDownIndex(-1, 8, 3), 2);
}

TEST(TypeAhead, CharactersWithinHalfASecondMakeOneText) {
  TksTypeAhead t;
  EXPECT_EQ(t.Add(L'a', 1000, true), L"a");
  EXPECT_EQ(t.Add(L'b', 1499, true), L"ab");  // 499 ms later
  EXPECT_EQ(t.Add(L'c', 1999, true), L"c");   // 500 ms later
  EXPECT_EQ(t.Add(L'd', 2000, false), L"d");
  // Across the wrap of the tick count.
  TksTypeAhead w;
  w.Add(L'x', 0xFFFFFF00u, true);
  EXPECT_EQ(w.Add(L'y', 0x00000010u, true), L"xy");
}

TEST(ListScroll, TheBarMirrorsRowsAndTopIndex) {
  TksListScrollState s = ListScrollState(20, 15, 144, 18);
  EXPECT_EQ(s.rows, 8);
  EXPECT_TRUE(s.needed);
  EXPECT_EQ(s.min, 0);
  EXPECT_EQ(s.max, 19);
  EXPECT_EQ(s.page, 8);
  EXPECT_EQ(s.position, 12);  // the last top row that fills the page
  s = ListScrollState(8, 0, 144, 18);
  EXPECT_FALSE(s.needed);
  s = ListScrollState(3, 0, 150, 18);  // a part row does not count
  EXPECT_EQ(s.rows, 8);
  EXPECT_FALSE(ListScrollState(0, 0, 0, 18).needed);
}

}  // namespace
}  // namespace kelmar
