#pragma once
// Headers of top-down device-independent bitmaps: rows from the top, as
// kelmar::Image keeps them; at 32 bits one 0xAARRGGBB word per pixel.
#include <windows.h>

namespace kelmar {

inline BITMAPINFOHEADER TopDownDibHeader(int width, int height, int bit_count = 32) {
  return {sizeof(BITMAPINFOHEADER), width, -height, 1, WORD(bit_count), BI_RGB, 0, 0, 0, 0, 0};
}

// For CreateDIBSection, GetDIBits and SetDIBitsToDevice at 32 bits, which
// take no colour table.
inline BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = TopDownDibHeader(width, height);
  return info;
}

}  // namespace kelmar
