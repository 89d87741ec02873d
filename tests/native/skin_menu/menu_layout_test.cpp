// The arithmetic of the skinned popup menus and the system menu's entries,
// against figures worked out by hand from the rules: level heights with the
// embedded skin's popup picture (60 × 40, items area 2,2,58,38, so the frame
// adds 4) and item height 22, placements on a 1280 × 1000 work area.
#include <gtest/gtest.h>

#include <vector>

#include "skin/form/menu_layout.h"
#include "skin/form/system_menu.h"

namespace kelmar {
namespace {

constexpr Rect kArea{0, 0, 1280, 1000};

TEST(MenuLevelHeightTest, AllItemsFitWithoutScrolling) {
  // Two items, a divider of 7, another item: 22 + 22 + 7 + 22 + 4.
  const MenuLevelHeight h = ComputeMenuLevelHeight({22, 22, 7, 22}, 22, 4, 0, 1000);
  EXPECT_EQ(h.height, 77);
  EXPECT_FALSE(h.scrolls);
  EXPECT_FALSE(h.cut);
  // A limit at or above the item count changes nothing.
  EXPECT_EQ(ComputeMenuLevelHeight({22, 22, 7, 22}, 22, 4, 4, 1000).height, 77);
  EXPECT_FALSE(ComputeMenuLevelHeight({22, 22, 7, 22}, 22, 4, 4, 1000).scrolls);
}

TEST(MenuLevelHeightTest, AtMostMaxItemsAndTwoScrollBands) {
  // Five of eight items: 5 × 22 + 4 + 20.
  const MenuLevelHeight h = ComputeMenuLevelHeight(std::vector<int>(8, 22), 22, 4, 5, 1000);
  EXPECT_EQ(h.height, 134);
  EXPECT_TRUE(h.scrolls);
  EXPECT_FALSE(h.cut);
}

TEST(MenuLevelHeightTest, TallerThanTheWorkAreaIsCutToIt) {
  // 50 × 22 + 4 = 1104 > 1000.
  const MenuLevelHeight h = ComputeMenuLevelHeight(std::vector<int>(50, 22), 22, 4, 0, 1000);
  EXPECT_EQ(h.height, 1000);
  EXPECT_TRUE(h.scrolls);
  EXPECT_TRUE(h.cut);
  // Also a limited level that would still be too high.
  EXPECT_TRUE(ComputeMenuLevelHeight(std::vector<int>(50, 22), 22, 4, 48, 1000).cut);
}

TEST(MenuItemLayoutTest, ItemsOneUnderTheOther) {
  std::vector<Rect> rects;
  EXPECT_EQ(LayoutMenuItems({2, 2, 128, 75}, {22, 22, 7, 22}, 0, false, rects), 4);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0], (Rect{2, 2, 128, 24}));
  EXPECT_EQ(rects[1], (Rect{2, 24, 128, 46}));
  EXPECT_EQ(rects[2], (Rect{2, 46, 128, 53}));
  EXPECT_EQ(rects[3], (Rect{2, 53, 128, 75}));
}

TEST(MenuItemLayoutTest, ScrollingLeavesTheBandsFreeAndStopsAtTheBottom) {
  // The 134-pixel level above: items area 2 … 132, items from 12 to 122.
  std::vector<Rect> rects;
  EXPECT_EQ(LayoutMenuItems({2, 2, 128, 132}, std::vector<int>(8, 22), 0, true, rects), 5);
  EXPECT_EQ(rects[0], (Rect{2, 12, 128, 34}));
  EXPECT_EQ(rects[4], (Rect{2, 100, 128, 122}));
  EXPECT_TRUE(rects[5].IsEmpty());
  // From the fourth item on: items 3 … 7.
  EXPECT_EQ(LayoutMenuItems({2, 2, 128, 132}, std::vector<int>(8, 22), 3, true, rects), 5);
  EXPECT_TRUE(rects[2].IsEmpty());
  EXPECT_EQ(rects[3], (Rect{2, 12, 128, 34}));
  EXPECT_EQ(rects[7], (Rect{2, 100, 128, 122}));
}

TEST(MenuItemLayoutTest, FirstShownIndexFollowsTheSelection) {
  // Ten items of 20 in 0 … 100: the bands leave 10 … 90, four items.
  const Rect area{0, 0, 100, 100};
  const std::vector<int> heights(10, 20);
  EXPECT_EQ(FirstShownFor(2, 0, area, heights), 0);  // already shown
  EXPECT_EQ(FirstShownFor(4, 0, area, heights), 1);  // one past the end
  EXPECT_EQ(FirstShownFor(6, 0, area, heights), 3);
  EXPECT_EQ(FirstShownFor(2, 3, area, heights), 2);  // above the shown part
  EXPECT_EQ(FirstShownFor(9, 0, area, heights), 6);  // wrapped to the end
  EXPECT_EQ(FirstShownFor(0, 6, area, heights), 0);  // wrapped to the start
  // Small dividers: from 0, items 20, 5, 5, 20, 20 fit in 80.
  EXPECT_EQ(FirstShownFor(4, 0, area, {20, 5, 5, 20, 20, 20, 20}), 0);
  EXPECT_EQ(FirstShownFor(5, 0, area, {20, 5, 5, 20, 20, 20, 20}), 1);
}

MenuPlacement Level(Rect anchor, int w, int h) {
  MenuPlacement p;
  p.area = kArea;
  p.anchor = anchor;
  p.width = w;
  p.height = h;
  return p;
}

TEST(MenuPlacementTest, TopLevelOpensUnderTheAnchor) {
  EXPECT_EQ(PlaceMenuLevel(Level({100, 100, 100, 100}, 130, 100)), (Point{100, 100}));
  // Under a button.
  EXPECT_EQ(PlaceMenuLevel(Level({7, 317, 23, 333}, 130, 100)), (Point{7, 333}));
  // Passing the right edge: moved left to end at it.
  EXPECT_EQ(PlaceMenuLevel(Level({1250, 100, 1250, 100}, 130, 100)), (Point{1150, 100}));
  // Left of the area: moved to its left.
  MenuPlacement p = Level({-40, 100, -40, 100}, 130, 100);
  EXPECT_EQ(PlaceMenuLevel(p), (Point{0, 100}));
}

TEST(MenuPlacementTest, NearTheBottomTheLevelOpensAboveTheAnchor) {
  EXPECT_EQ(PlaceMenuLevel(Level({100, 950, 100, 950}, 130, 100)), (Point{100, 850}));
}

TEST(MenuPlacementTest, ALevelThatFitsNeitherBelowNorAboveGoesBesideTheAnchor) {
  // Upper half: at the area's bottom, right of the anchor.
  EXPECT_EQ(PlaceMenuLevel(Level({100, 400, 200, 450}, 130, 700)), (Point{201, 300}));
  // Lower half: at the area's top, right of the anchor.
  EXPECT_EQ(PlaceMenuLevel(Level({100, 600, 200, 650}, 130, 700)), (Point{201, 0}));
  // No room on the right: left of the anchor.
  EXPECT_EQ(PlaceMenuLevel(Level({1100, 600, 1200, 650}, 130, 700)), (Point{969, 0}));
}

TEST(MenuPlacementTest, UpwardLevelsOpenAboveTheAnchor) {
  MenuPlacement p = Level({500, 900, 540, 917}, 130, 100);
  p.upward = true;
  EXPECT_EQ(PlaceMenuLevel(p), (Point{500, 800}));
  // No room above, upper half: under the anchor.
  p.anchor = {500, 50, 540, 67};
  EXPECT_EQ(PlaceMenuLevel(p), (Point{500, 67}));
  // Upper half, room neither above nor below: at the bottom, beside.
  p.anchor = {500, 50, 540, 67};
  p.height = 990;
  EXPECT_EQ(PlaceMenuLevel(p), (Point{541, 10}));
  // Lower half without room above: at the top, beside.
  p.anchor = {500, 600, 540, 617};
  p.height = 700;
  EXPECT_EQ(PlaceMenuLevel(p), (Point{541, 0}));
}

TEST(MenuPlacementTest, SubMenusOpenBesideTheParentItem) {
  MenuPlacement p = Level({300, 200, 427, 222}, 130, 100);
  p.subMenu = true;
  p.itemsTop = 2;
  // The first item level with the parent item.
  EXPECT_EQ(PlaceMenuLevel(p), (Point{428, 198}));
  // Near the right edge: left of the parent.
  p.anchor = {1150, 200, 1270, 222};
  EXPECT_EQ(PlaceMenuLevel(p), (Point{1019, 198}));
  // Near the bottom, lower half: the last item level with the parent item.
  p.anchor = {300, 950, 427, 972};
  EXPECT_EQ(PlaceMenuLevel(p), (Point{428, 874}));
  // Upper half, too high to start at the parent item: at the bottom.
  p.anchor = {300, 400, 427, 422};
  p.height = 700;
  EXPECT_EQ(PlaceMenuLevel(p), (Point{428, 300}));
}

TEST(MenuPlacementTest, ALevelCutToTheAreaStartsAtItsTopBesideTheAnchor) {
  MenuPlacement p = Level({100, 500, 100, 500}, 130, 1000);
  p.cut = true;
  EXPECT_EQ(PlaceMenuLevel(p), (Point{101, 0}));
}

TEST(MenuPlacementTest, EveryWindowStaysOnTheArea) {
  // Wider than the room on either side of the parent: at the area's left.
  MenuPlacement p = Level({100, 100, 200, 120}, 150, 100);
  p.area = {0, 0, 300, 1000};
  p.subMenu = true;
  EXPECT_EQ(PlaceMenuLevel(p), (Point{0, 100}));
  // An area not at the origin.
  p = Level({1300, 20, 1300, 20}, 130, 100);
  p.area = {1280, 0, 2560, 1000};
  EXPECT_EQ(PlaceMenuLevel(p), (Point{1300, 20}));
  p.anchor = {1200, 20, 1200, 20};
  EXPECT_EQ(PlaceMenuLevel(p), (Point{1280, 20}));
}

TEST(MenuKeysTest, ArrowsSkipWhatCannotBeSelectedAndWrap) {
  // An item, a separator, an item, a disabled item.
  const std::vector<bool> selectable{true, false, true, false};
  EXPECT_EQ(NextSelectableItem(selectable, 0, 1), 2);
  EXPECT_EQ(NextSelectableItem(selectable, 2, 1), 0);
  EXPECT_EQ(NextSelectableItem(selectable, 0, -1), 2);
  EXPECT_EQ(NextSelectableItem(selectable, 2, -1), 0);
  EXPECT_EQ(NextSelectableItem(selectable, -1, 1), 0);
  EXPECT_EQ(NextSelectableItem(selectable, -1, -1), 2);
  // A disabled item that the mouse highlighted: onwards from it.
  EXPECT_EQ(NextSelectableItem(selectable, 3, 1), 0);
  EXPECT_EQ(NextSelectableItem({false, false}, 0, 1), -1);
  EXPECT_EQ(NextSelectableItem({}, -1, 1), -1);
  EXPECT_EQ(NextSelectableItem({true}, 0, 1), 0);
}

using E = SysMenuEntry;

TEST(SystemMenuTest, BuiltInMenuFollowsTheWindowState) {
  FrameMenuState s;  // normal, the main window's border icons
  EXPECT_EQ(BuiltInSystemMenu(s),
            (std::vector<E>{E::Move, E::Size, E::Minimize, E::Maximize, E::RollUp, E::Separator, E::Close}));
  s.maximized = true;  // neither moved nor sized
  EXPECT_EQ(BuiltInSystemMenu(s), (std::vector<E>{E::Minimize, E::Restore, E::RollUp, E::Separator, E::Close}));
  s = {};
  s.rolledUp = true;  // moved, not sized
  EXPECT_EQ(BuiltInSystemMenu(s),
            (std::vector<E>{E::Move, E::Minimize, E::Maximize, E::Restore, E::Separator, E::Close}));
  s = {};
  s.minimized = true;
  EXPECT_EQ(BuiltInSystemMenu(s), (std::vector<E>{E::Maximize, E::Restore, E::Separator, E::Close}));
  s = {};
  s.sizeable = false;
  EXPECT_EQ(BuiltInSystemMenu(s),
            (std::vector<E>{E::Move, E::Minimize, E::Maximize, E::RollUp, E::Separator, E::Close}));
  EXPECT_EQ(MergedTopEntries(s), (std::vector<E>{E::Move, E::Minimize, E::Maximize, E::RollUp}));
  EXPECT_EQ(std::string(EntryInfo(E::Move).caption), "移动(&M)");
  EXPECT_EQ(std::string(EntryInfo(E::Size).caption), "大小(&S)");
  EXPECT_TRUE(IsBuiltInEntryName("KSF_MOVE"));
  EXPECT_TRUE(IsBuiltInEntryName("KSF_SIZE"));
}

TEST(SystemMenuTest, BorderIconsSwitchEntriesOff) {
  FrameMenuState s;
  s.icons = biSystemMenu;  // moving and sizing stay
  EXPECT_EQ(BuiltInSystemMenu(s), (std::vector<E>{E::Move, E::Size, E::Separator, E::Close}));
  s.maximized = true;
  EXPECT_EQ(BuiltInSystemMenu(s), (std::vector<E>{E::Restore, E::Separator, E::Close}));
  s = {};
  s.icons = biSystemMenu | biMinimizeToTray;
  s.sizeable = false;
  EXPECT_EQ(BuiltInSystemMenu(s), (std::vector<E>{E::Move, E::MinimizeToTray, E::Separator, E::Close}));
  s.icons = kDefaultBorderIcons;
  s.maximized = true;
  s.maximizedMdiChild = true;
  EXPECT_EQ(BuiltInSystemMenu(s), (std::vector<E>{E::Minimize, E::Restore, E::Separator, E::Close}));
}

TEST(SystemMenuTest, MergedEntriesPutRestoreBeforeMaximize) {
  FrameMenuState s;
  s.rolledUp = true;
  EXPECT_EQ(MergedTopEntries(s), (std::vector<E>{E::Move, E::Minimize, E::Restore, E::Maximize}));
  s = {};
  s.icons = kDefaultBorderIcons | biMinimizeToTray;
  EXPECT_EQ(MergedTopEntries(s),
            (std::vector<E>{E::Move, E::Size, E::Minimize, E::Maximize, E::RollUp, E::MinimizeToTray}));
}

TEST(SystemMenuTest, EntryNamesAndCaptions) {
  EXPECT_STREQ(EntryInfo(E::Minimize).name, "KSF_MINITEM");
  EXPECT_STREQ(EntryInfo(E::Minimize).captionKey, "MI_MINCAPTION");
  EXPECT_STREQ(EntryInfo(E::Minimize).caption, "最小化(&N)");
  EXPECT_STREQ(EntryInfo(E::MinimizeToTray).caption, "最小化到系统托盘区(&T)");
  EXPECT_STREQ(EntryInfo(E::Close).caption, "关闭(&C)");
  EXPECT_STREQ(EntryInfo(E::TrayRestore).name, "TRAY_KSF_RESTORE");
  EXPECT_STREQ(EntryInfo(E::TrayRestore).captionKey, "MI_RESTORECAPTION");
  EXPECT_STREQ(EntryInfo(E::Separator).caption, "-");
  EXPECT_EQ(TrayMenuEntries(), (std::vector<E>{E::TrayRestore, E::Separator, E::TrayClose}));
  for (const char* name : {"KSF_MINITEM", "KSF_MAXITEM", "KSF_RESTORE", "KSF_ROLLUP", "KSF_MINTOTRAY", "KSF_CLOSE"})
    EXPECT_TRUE(IsBuiltInEntryName(name)) << name;
  EXPECT_FALSE(IsBuiltInEntryName("TRAY_KSF_CLOSE"));
  EXPECT_FALSE(IsBuiltInEntryName(""));
  EXPECT_FALSE(IsBuiltInEntryName("ksf_close"));
}

}  // namespace
}  // namespace kelmar
