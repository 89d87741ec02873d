#pragma once
// The two bitmaps behind an icon, owned.
#include <windows.h>

#include "framework/handles.h"

namespace kelmar {

// What GetIconInfo hands over. No colour bitmap (a monochrome icon, or a
// handle that is not an icon) leaves color empty.
struct IconBitmaps {
  BitmapHandle color;
  BitmapHandle mask;
};

inline IconBitmaps GetIconBitmaps(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  return {BitmapHandle(info.hbmColor), BitmapHandle(info.hbmMask)};
}

}  // namespace kelmar
