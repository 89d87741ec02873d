#pragma once
// An icon flattened onto white in a bitmap of the display's format, and any
// bitmap written as a Windows bitmap file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/handles.h"

namespace kelmar {

// A new bitmap compatible with the screen, of the icon's size: transparent
// pixels (mask bit 1) white, opaque pixels their colour. Throws
// Error("Bitmap image is not valid") for an icon without a colour bitmap.
BitmapHandle RenderIconOnWhite(HICON icon);

// The bitmap file's bytes, at the bitmap's own bits per pixel (a colour table
// at 8 or fewer, channel masks for a bit-field section).
std::vector<uint8_t> BitmapFileBytes(HBITMAP bitmap);

// Builds the bytes, then writes them whole; an existing file is replaced.
// Throws Error (invalid bitmap) or FileError (file).
void SaveBitmapToFile(HBITMAP bitmap, const std::wstring& path);

// RenderIconOnWhite, then SaveBitmapToFile.
void SaveIconAsBitmapFile(HICON icon, const std::wstring& path);

}  // namespace kelmar
