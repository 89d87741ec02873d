#pragma once
// An icon flattened onto white in a bitmap of the display's format, and any
// bitmap written as a Windows bitmap file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/image.h"
#include "framework/handles.h"
#include "imageio/bitmap_file.h"

namespace kelmar {

// A new bitmap compatible with the screen, of the icon's size: transparent
// pixels (mask bit 1) white, opaque pixels their colour. Throws
// Error("Bitmap image is not valid") for an icon without a colour bitmap.
BitmapHandle RenderIconOnWhite(HICON icon);

// The bitmap file's bytes, at the bitmap's own bits per pixel (a colour table
// at 8 or fewer, channel masks for a bit-field section).
std::vector<uint8_t> BitmapFileBytes(HBITMAP bitmap);

// The icon drawn onto black at its own size, 32 bits per pixel: colours
// blended by its alpha where it has one, the alpha in the fourth byte.
// Empty where the icon cannot be drawn.
Image DrawIconOnBlack(HICON icon);

// The bitmap file of an icon as the picture type writes it, given the icon
// as drawn onto black (DrawIconOnBlack, or an image list's DrawnImage): with
// alpha, the composite onto white; without, RenderIconOnWhite's bitmap of
// the icon (asked of `icon` only then) in the display's format, as it
// always was.
template <typename IconSource>
std::vector<uint8_t> IconBitmapFileBytes(const Image& drawn, IconSource&& icon) {
  if (HasAlpha(drawn)) return BuildWhiteCompositeBitmapFile(drawn);
  return BitmapFileBytes(RenderIconOnWhite(icon()));
}

// IconBitmapFileBytes of the icon drawn here, written whole.
void SaveIconAsBitmapFile(HICON icon, const std::wstring& path);

}  // namespace kelmar
