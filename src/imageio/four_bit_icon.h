#pragma once
// Icon images reduced to the 16 standard colours of an icon file: a picture
// as the program draws it, or a group's own 16-colour artwork.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/image.h"
#include "imageio/icon_file.h"
#include "imageio/pe_icons.h"

namespace kelmar {

// The system's 16 standard colours (0x00RRGGBB) in the order of its 4-bit
// conversion: dark grey before light grey.
extern const std::array<uint32_t, 16> kStandardColours;

// The index of the standard colour nearest to the pixel's colour (least
// squared distance in red, green and blue; the first of equals).
int NearestStandardColour(Pixel p);

// A 16-colour icon image, owning its bits: the standard colours, or the
// palette of the image it was taken from.
struct FourBitIcon {
  int width = 0;
  int height = 0;
  std::array<uint32_t, 16> colours = kStandardColours;  // 0x00RRGGBB
  std::vector<uint8_t> color_bits;  // 4 bits per pixel, bottom-up, rows padded to 4 bytes
  std::vector<uint8_t> mask_bits;   // 1 bit per pixel (1 = transparent), same row order
  IconImage File() const;           // for BuildIconFile
};

// A picture drawn onto black with its mask (true = transparent, rows
// top-down), each colour mapped to the nearest standard one. Where it has
// alpha (HasAlpha: colours premultiplied) they are un-premultiplied first, so
// that a soft edge the mask keeps keeps its hue instead of darkening, and
// transparent pixels get colour 0; without alpha every colour is mapped as
// it is.
FourBitIcon FourBitIconFromDrawn(const Image& drawn, const std::vector<bool>& mask);

// The group's own 4-bit image of size x size where it holds one (the first
// such DIB entry): its pixels, mask and palette as they are (artwork drawn
// with its own colours keeps them).
std::optional<FourBitIcon> GroupFourBitIcon(const IconGroup& group, int size);

// The group's directory with the bytes of only those images that
// GroupFourBitIcon can take at these sizes (4-bit DIBs of such a size); every
// other entry without bytes. What is worth keeping of a group once its icon
// is drawn: a few hundred bytes instead of every image.
IconGroup FourBitArtworkOnly(const IconGroup& group, std::span<const int> sizes);

}  // namespace kelmar
