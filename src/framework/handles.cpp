#include "framework/handles.h"

#include <commctrl.h>

namespace kelmar {

void ImageListDeleter::operator()(HIMAGELIST h) const { ImageList_Destroy(h); }

bool ReshapeWindow(HWND hwnd, RegionHandle region) {
  RECT window;
  if (!GetWindowRect(hwnd, &window)) return false;
  const int w = window.right - window.left, h = window.bottom - window.top;
  // The old shape: the window's region, or its whole rectangle without one.
  RegionHandle old(CreateRectRgn(0, 0, w, h));
  if (RegionHandle current(CreateRectRgn(0, 0, 0, 0)); GetWindowRgn(hwnd, current) != ERROR) old = std::move(current);
  RegionHandle gained(CreateRectRgn(0, 0, w, h));
  if (region) CombineRgn(gained, region, nullptr, RGN_COPY);
  CombineRgn(gained, gained, old, RGN_DIFF);
  if (!SetWindowShape(hwnd, std::move(region), false)) return false;
  // RedrawWindow takes client coordinates; the region is the window's.
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  OffsetRgn(gained, window.left - origin.x, window.top - origin.y);
  RedrawWindow(hwnd, nullptr, gained, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return true;
}

}  // namespace kelmar
