#pragma once
// The original-icon output type: for a list entry, the icon file of the
// whole icon as its source holds it.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imageio/pe_icons.h"

namespace kelmar {

// The bytes of an icon file (".ICO") as they are; throws FileError when it
// cannot be read.
std::vector<uint8_t> ReadIconFileBytes(const std::wstring& path);

// The shell's icon of a file at every size the system's image lists offer,
// up to 256 x 256, each a 32-bit image with alpha, largest first. Throws
// Error("Bitmap image is not valid") when the shell has no icon for it.
std::vector<uint8_t> ShellIconFileBytes(const std::wstring& path);

// The original of an entry: its group's images exactly as the executable
// stores them where it has one; else the file's own bytes for an icon file;
// else the shell's icon at every size.
std::vector<uint8_t> OriginalIconFileBytes(const IconGroup* group, const std::wstring& path);

}  // namespace kelmar
