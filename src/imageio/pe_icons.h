#pragma once
// Icons read from files' bytes without the system's loader: the icon groups
// (RT_GROUP_ICON) and their images (RT_ICON) of Windows executables (PE32,
// PE32+ and 16-bit NE), and the images of icon and cursor files.
//
// Every offset, size and count the file gives is checked against the bytes
// before it is followed. Headers and directories that are damaged or cut
// make a file unreadable; past them each group and each image is judged on
// its own: an image whose bytes are not all there is left out of its group.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/decoded_icon.h"

namespace kelmar {

// One image of an icon group: its entry in the group's directory and the
// bytes of its RT_ICON resource (a DIB or a PNG stream).
struct IconEntry {
  uint8_t width = 0;   // as stored: 0 stands for 256
  uint8_t height = 0;
  uint8_t colorCount = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t bytesInRes = 0;
  uint16_t id = 0;  // the RT_ICON resource it names
  // The resource's bytes, shared by all entries that name the same one (so
  // that a file naming one image many times cannot multiply its size); null
  // when the file has no such RT_ICON.
  std::shared_ptr<const std::vector<uint8_t>> bytes;
  std::span<const uint8_t> Image() const { return bytes ? std::span<const uint8_t>(*bytes) : std::span<const uint8_t>(); }
  bool IsPng() const;
};

// One RT_GROUP_ICON resource: named (name not empty) or numbered.
struct IconGroup {
  std::u16string name;
  uint16_t id = 0;
  std::vector<IconEntry> entries;
};

// The icon groups of an executable in the system's order. PE: named groups
// first, in the directory's order, then numbered ones by ascending ID; where
// a resource name has several languages the first one listed is taken. NE:
// the resource table's order. Empty for a readable executable without icons;
// nullopt when the bytes are no readable executable (not one at all, or its
// headers or resource directories damaged or cut). A group whose own data is
// damaged or cut is listed without entries.
std::optional<std::vector<IconGroup>> ReadPeIcons(std::span<const uint8_t> file);

// How many bytes from its start an executable needs to be read: PE, its
// headers and every section's data; NE, its resource table and resources
// (not what may follow them, such as an installer's payload). `start` is the
// beginning of the file, enough of it to hold the section or resource table;
// 0 when it does not, or is no executable.
uint64_t PeDataSize(std::span<const uint8_t> start);
// Where a PE file's resources usually end: its headers and everything up to
// the end of the section that holds the resource directory (the debugging
// sections and the like that follow it are left out). PeDataSize where that
// is not known (NE files, no resource directory).
uint64_t PeResourceDataSize(std::span<const uint8_t> start);

// The images of an icon (.ico) or cursor (.cur) file as one group, in the
// file's order, with IDs 1, 2, ...; a cursor's entries with one plane and
// the bit count of their image, as an icon file's that leave it 0. nullopt
// when the header or directory is damaged or cut; images that are cut are
// left out (possibly all of them).
std::optional<IconGroup> ReadIconFile(std::span<const uint8_t> file);

// How many bytes from its start an icon or cursor file needs: its directory
// and every image. 0 when `start` does not hold the whole directory or is
// no such file.
uint64_t IconFileDataSize(std::span<const uint8_t> start);

// The entry the system's best-match rule (BestIconMatch) chooses for an icon
// of cx x cy on a display of displayBits per pixel; -1 for a group without
// entries.
int BestIconEntry(const IconGroup& group, int cx, int cy, int displayBits);

// Decodes a DIB icon image; raises Error("Bitmap image is not valid") when it
// is malformed, cut or a PNG stream.
DecodedIcon DecodeIconImage(std::span<const uint8_t> image);

}  // namespace kelmar
