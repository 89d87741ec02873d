#include "imageio/four_bit_icon.h"

#include <algorithm>

#include "base/error.h"
#include "base/little_endian.h"
#include "imageio/bitmap_file.h"
#include "imageio/dib.h"

namespace kelmar {

const std::array<uint32_t, 16> kStandardColours = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                   0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                   0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

int NearestStandardColour(Pixel p) {
  int best = 0;
  long best_distance = -1;
  for (int i = 0; i < 16; ++i) {
    const uint32_t c = kStandardColours[size_t(i)];
    const long dr = long(PixelR(p)) - long(c >> 16 & 0xFF), dg = long(PixelG(p)) - long(c >> 8 & 0xFF),
               db = long(PixelB(p)) - long(c & 0xFF);
    const long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
  }
  return best;
}

IconImage FourBitIcon::File() const {
  IconImage image;
  image.width = width;
  image.height = height;
  std::copy(kStandardColours.begin(), kStandardColours.end(), image.colors.begin());
  image.color_bits = color_bits;
  image.mask_bits = mask_bits;
  return image;
}

namespace {

// Packs colours and mask into the file's rows, each colour mapped to the
// nearest standard one; where clear_transparent is set, transparent pixels
// get colour 0 so that they leave the background as it is.
FourBitIcon Pack(const Image& colours, const std::vector<bool>& mask, bool clear_transparent) {
  const int w = colours.Width(), h = colours.Height();
  if (w < 1 || h < 1 || mask.size() != size_t(w) * size_t(h)) throw Error("Bitmap image is not valid");
  FourBitIcon icon;
  icon.width = w;
  icon.height = h;
  const size_t color_row = DibRowBytes(w, 4), mask_row = DibRowBytes(w, 1);
  icon.color_bits.assign(color_row * size_t(h), 0);
  icon.mask_bits.assign(mask_row * size_t(h), 0);
  for (int y = 0; y < h; ++y) {
    uint8_t* c = icon.color_bits.data() + size_t(h - 1 - y) * color_row;  // bottom-up
    uint8_t* m = icon.mask_bits.data() + size_t(h - 1 - y) * mask_row;
    for (int x = 0; x < w; ++x) {
      const bool transparent = mask[size_t(y) * size_t(w) + size_t(x)];
      if (transparent) m[x / 8] |= uint8_t(0x80 >> (x % 8));
      const int index = transparent && clear_transparent ? 0 : NearestStandardColour(colours.At(x, y));
      c[x / 2] |= uint8_t(x % 2 ? index : index << 4);
    }
  }
  return icon;
}

}  // namespace

FourBitIcon FourBitIconFromDrawn(const Image& drawn, const std::vector<bool>& mask) {
  // Without alpha the colours are the icon's own, also where the mask is set
  // (pixels that invert the background stay so).
  if (!HasAlpha(drawn)) return Pack(drawn, mask, false);
  Image straight(drawn.Width(), drawn.Height());
  const Pixel* in = drawn.Data();
  Pixel* out = straight.Data();
  for (size_t i = 0, n = size_t(drawn.Width()) * size_t(drawn.Height()); i < n; ++i) {
    const unsigned a = PixelA(in[i]);
    auto channel = [a](unsigned c) { return uint8_t(a ? std::min(255u, (c * 255 + a / 2) / a) : c); };
    out[i] = MakePixel(channel(PixelR(in[i])), channel(PixelG(in[i])), channel(PixelB(in[i])), uint8_t(a));
  }
  return Pack(straight, mask, true);
}

std::optional<FourBitIcon> GroupFourBitIcon(const IconGroup& group, int size) {
  for (const IconEntry& entry : group.entries) {
    if (entry.width != size || entry.height != size || entry.Image().empty() || entry.IsPng()) continue;
    try {
      DecodedIcon decoded = DecodeIconImage(entry.Image());
      if (decoded.bitsPerPixel == 4 && decoded.image.Width() == size && decoded.image.Height() == size)
        return Pack(decoded.image, decoded.mask, false);
    } catch (const Error&) {
      // A malformed entry is no artwork to keep; another entry may be.
    }
  }
  return std::nullopt;
}

IconGroup FourBitArtworkOnly(const IconGroup& group, std::span<const int> sizes) {
  IconGroup kept{group.name, group.id, {}};
  kept.entries.reserve(group.entries.size());
  for (const IconEntry& entry : group.entries) {
    IconEntry& copy = kept.entries.emplace_back(entry);
    const std::span<const uint8_t> image = entry.Image();
    // The bit count as the DIB's own header gives it: at 14 after a header
    // of 40 bytes or more, at 10 after the 12-byte core header.
    const uint32_t header = image.size() >= 4 ? Le32(image, 0) : 0;
    const size_t at = header >= 40 ? 14 : header == 12 ? 10 : 0;
    const bool four_bit = at && image.size() >= at + 2 && Le16(image, at) == 4 && !entry.IsPng();
    const bool size = entry.width == entry.height && std::find(sizes.begin(), sizes.end(), entry.width) != sizes.end();
    if (!four_bit || !size) copy.bytes.reset();
  }
  return kept;
}

}  // namespace kelmar
