#pragma once
// Icon files of many images: the original icons of a file (an icon group's
// images exactly as stored, PNG streams included) and icons assembled from
// 32-bit images with alpha.
#include <cstdint>
#include <span>
#include <vector>

#include "base/image.h"
#include "imageio/pe_icons.h"

namespace kelmar {

// One image of an icon file: its directory values and its bytes (a DIB
// without the file header, or a PNG stream).
struct IconFileImage {
  uint8_t width = 0;  // 0 stands for 256
  uint8_t height = 0;
  uint8_t colorCount = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  std::span<const uint8_t> bytes{};
};

// An icon file: the 6-byte header, one 16-byte directory entry per image in
// the given order, then the images' bytes one after the other. Each entry's
// size is that of its bytes. Throws Error("Bitmap image is not valid") for
// no image, an image without bytes, or more than a file can describe.
std::vector<uint8_t> BuildIconFileOfImages(std::span<const IconFileImage> images);

// The group as the icon file the system would have been given: every entry
// in the group's order with its directory values and its image's bytes as
// the executable stores them. Entries whose image the file lacks are left
// out (there are no bytes to write); a group with none left throws.
std::vector<uint8_t> BuildIconGroupFile(const IconGroup& group);

// A 32-bit icon image (DIB form) of straight (not premultiplied) BGRA
// pixels, at most 256 x 256: the colour rows with their alpha, and an AND
// mask that is set where the alpha is 0, for readers that take the mask.
std::vector<uint8_t> EncodeIconImage32(const Image& straight);

}  // namespace kelmar
