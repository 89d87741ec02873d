#pragma once
// The arithmetic of the skinned popup menus: how high a level is and whether
// it scrolls, where its items lie, where its window goes on the monitor, and
// which item the arrow keys reach. Screen or window coordinates as noted.
#include <vector>

#include "base/geometry.h"

namespace kelmar {

// The band at the top and at the bottom of a scrolling level that holds its
// scroll mark, at 96 DPI (the functions below take it at the menu's DPI).
constexpr int kMenuScrollBand = 10;

struct MenuLevelHeight {
  int height = 0;
  bool scrolls = false;
  bool cut = false;  // cut to the work area's height
};

// itemHeights: every item of the level; itemHeight: the height of one
// ordinary item; frameHeight: what the window adds around its items.
MenuLevelHeight ComputeMenuLevelHeight(const std::vector<int>& itemHeights, int itemHeight, int frameHeight,
                                       int maxItemsInWindow, int workAreaHeight, int scrollBand = kMenuScrollBand);

// Lays the items out from `first` on, one under the other, inside the items
// area (window coordinates), leaving the scroll bands free when scrolling;
// the first item that would pass the bottom stops the layout. rects gets one
// rectangle per item (empty for items not laid out); returns how many were.
int LayoutMenuItems(const Rect& itemsArea, const std::vector<int>& itemHeights, int first, bool scrolling,
                    std::vector<Rect>& rects, int scrollBand = kMenuScrollBand);

// The first shown index that brings `index` into view: itself when it lies
// above the shown part, else the smallest first index from `first` on whose
// layout holds it.
int FirstShownFor(int index, int first, const Rect& itemsArea, const std::vector<int>& itemHeights,
                  int scrollBand = kMenuScrollBand);

struct MenuPlacement {
  Rect area;     // work area of the monitor (screen)
  Rect anchor;   // screen; an empty rectangle at a point for a menu at the cursor
  int width = 0, height = 0;
  bool subMenu = false;
  bool upward = false;
  bool cut = false;     // the level's height was cut to the area's
  int itemsTop = 0;     // top of the level's items area in its window (sub-menus)
};

// The window's top-left corner (screen). Besides the rules of the level
// kind, the window is kept inside the area wherever it fits there.
Point PlaceMenuLevel(const MenuPlacement& p);

// The next item from `from` in direction step (+1 or -1) that can be
// selected, wrapping at the ends; -1 when none can. from -1 starts at the
// first (step +1) or the last item (step -1).
int NextSelectableItem(const std::vector<bool>& selectable, int from, int step);

}  // namespace kelmar
