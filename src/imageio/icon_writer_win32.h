#pragma once
// An icon handle written as a one-image icon file with 16 colours.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kelmar {

// The icon file's bytes. The colour image is reduced to 4 bits per pixel by
// the system's own conversion (its 16 standard colours). Throws
// Error("Bitmap image is not valid") for an icon without a colour bitmap.
std::vector<uint8_t> IconFileBytes(HICON icon);

// Builds the bytes, then writes them whole (WriteFileWhole); an existing file
// is replaced. Throws Error (invalid icon) or FileError (file).
void SaveIconToFile(HICON icon, const std::wstring& path);

}  // namespace kelmar
