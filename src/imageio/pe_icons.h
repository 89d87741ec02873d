#pragma once
// Icon resources of Windows executables (PE32 and PE32+), read from the
// file's bytes without the system's loader: the resource directory, the icon
// groups (RT_GROUP_ICON) and their images (RT_ICON).
//
// Every offset, size and count the file gives is checked against the bytes
// before it is followed: a file that is cut, damaged or not a PE at all is
// reported as unreadable, never read past its end.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/image.h"

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

// The icon groups of a PE file in the system's order: named groups first, in
// the directory's order, then numbered ones by ascending ID. Empty for a
// readable PE without icons; nullopt when the bytes are not a readable PE
// (not one at all, cut short, or with a resource tree pointing outside the
// file). Where a resource name has several languages the first one listed
// is taken.
std::optional<std::vector<IconGroup>> ReadPeIcons(std::span<const uint8_t> file);

// How many bytes from its start a PE file needs to be read: its headers and
// every section's data (not what may follow them, such as an installer's
// payload). `start` is the beginning of the file, enough of it to hold the
// section table; 0 when it does not, or is no PE.
uint64_t PeDataSize(std::span<const uint8_t> start);

// The entry the system's best-match rule (BestIconMatch) chooses for an icon
// of cx x cy on a display of displayBits per pixel; -1 for a group without
// entries.
int BestIconEntry(const IconGroup& group, int cx, int cy, int displayBits);

// An icon image decoded from a DIB entry: the colour pixels (alpha from the
// image where it has 32 bits and any pixel's alpha is not zero, else 255)
// and the AND mask (true where the icon is transparent).
struct DecodedIcon {
  Image image;
  std::vector<bool> mask;  // width * height, rows top-down
  int bitsPerPixel = 0;
  bool hasAlpha = false;
};

// Decodes a DIB icon image; raises Error("Bitmap image is not valid") when it
// is malformed, cut or a PNG stream.
DecodedIcon DecodeIconImage(std::span<const uint8_t> image);

}  // namespace kelmar
