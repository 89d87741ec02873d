#include "skin/form/menu_layout.h"

#include <algorithm>

namespace kelmar {

MenuLevelHeight ComputeMenuLevelHeight(const std::vector<int>& itemHeights, int itemHeight, int frameHeight,
                                       int maxItemsInWindow, int workAreaHeight, int scrollBand) {
  MenuLevelHeight r;
  int sum = 0;
  for (int h : itemHeights) sum += h;
  r.height = sum + frameHeight;
  if (maxItemsInWindow > 0 && maxItemsInWindow < int(itemHeights.size())) {
    r.height = itemHeight * maxItemsInWindow + frameHeight + 2 * scrollBand;
    r.scrolls = true;
  }
  if (r.height > workAreaHeight) {
    r.height = workAreaHeight;
    r.scrolls = true;
    r.cut = true;
  }
  return r;
}

int LayoutMenuItems(const Rect& itemsArea, const std::vector<int>& itemHeights, int first, bool scrolling,
                    std::vector<Rect>& rects, int scrollBand) {
  rects.assign(itemHeights.size(), Rect{});
  const int band = scrolling ? scrollBand : 0;
  int y = itemsArea.top + band;
  const int bottom = itemsArea.bottom - band;
  int count = 0;
  for (size_t i = size_t(std::max(first, 0)); i < itemHeights.size(); ++i) {
    if (y + itemHeights[i] > bottom) break;
    rects[i] = {itemsArea.left, y, itemsArea.right, y + itemHeights[i]};
    y += itemHeights[i];
    ++count;
  }
  return count;
}

int FirstShownFor(int index, int first, const Rect& itemsArea, const std::vector<int>& itemHeights,
                  int scrollBand) {
  if (index < first) return index;
  std::vector<Rect> rects;
  while (first < index && LayoutMenuItems(itemsArea, itemHeights, first, true, rects, scrollBand) <= index - first) ++first;
  return first;
}

namespace {

// Moves a span [start, start + size) inside [low, high) where it fits; a
// span larger than the range starts at low.
int KeepInside(int start, int size, int low, int high) {
  if (start + size > high) start = high - size;
  return std::max(start, low);
}

}  // namespace

Point PlaceMenuLevel(const MenuPlacement& p) {
  const Rect& a = p.area;
  const Rect& anchor = p.anchor;
  const int w = p.width, h = p.height;
  const bool upperHalf = anchor.top < a.top + a.Height() / 2;
  bool moved = false;
  int y = 0;
  if (p.cut) {
    y = a.top;
  } else if (p.subMenu) {
    const int t = p.itemsTop;
    if (anchor.top - t + h <= a.bottom)
      y = anchor.top - t;  // the first item level with the parent item
    else if (upperHalf)
      y = a.bottom - h;
    else
      y = std::max(anchor.bottom + t - h, a.top);
  } else if (!p.upward) {
    if (anchor.bottom + h <= a.bottom) {
      y = anchor.bottom;
    } else if (upperHalf) {
      y = a.bottom - h;
      moved = true;
    } else if (anchor.top - h >= a.top) {
      y = anchor.top - h;
    } else {
      y = a.top;
      moved = true;
    }
  } else {
    if (anchor.top - h >= a.top) {
      y = anchor.top - h;
    } else if (upperHalf) {
      if (anchor.bottom + h <= a.bottom) {
        y = anchor.bottom;
      } else {
        y = a.bottom - h;
        moved = true;
      }
    } else {
      y = a.top;
      moved = true;
    }
  }
  int x = 0;
  if (!p.subMenu && !moved && !p.cut) {
    x = anchor.left;
    if (x + w > a.right)
      x = a.right - w;
    else if (x < a.left)
      x = a.left;
  } else {
    // Beside the anchor: right of it when there is room, else left of it.
    x = anchor.right + w + 1 <= a.right ? anchor.right + 1 : anchor.left - w - 1;
  }
  return {KeepInside(x, w, a.left, a.right), KeepInside(y, h, a.top, a.bottom)};
}

int NextSelectableItem(const std::vector<bool>& selectable, int from, int step) {
  const int n = int(selectable.size());
  if (n == 0) return -1;
  int i = from < 0 ? (step > 0 ? -1 : n) : from;
  for (int k = 0; k < n; ++k) {
    i = ((i + step) % n + n) % n;
    if (selectable[size_t(i)]) return i;
  }
  return -1;
}

}  // namespace kelmar
