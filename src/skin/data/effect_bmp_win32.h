#pragma once
// The effect bitmap's Win32 side: filled from a platform bitmap, drawn with
// one DIB call.
#include <windows.h>

#include "skin/data/effect_bmp.h"

namespace kelmar {

// The pixels of a device-dependent or DIB bitmap (empty when unreadable).
TksEffectBmp EffectBmpFromBitmap(HBITMAP bitmap);
// Draws the pixels at x, y (alpha is not blended).
void DrawEffectBmp(HDC dc, int x, int y, const TksEffectBmp& bmp);
void DrawImage(HDC dc, int x, int y, const ImageView& image);

}  // namespace kelmar
