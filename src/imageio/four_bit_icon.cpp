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

namespace {

int NearestColour(const std::array<uint32_t, 16>& colours, Pixel p) {
  int best = 0;
  long best_distance = -1;
  for (int i = 0; i < 16; ++i) {
    const uint32_t c = colours[size_t(i)];
    const long dr = long(PixelR(p)) - long(c >> 16 & 0xFF), dg = long(PixelG(p)) - long(c >> 8 & 0xFF),
               db = long(PixelB(p)) - long(c & 0xFF);
    const long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
  }
  return best;
}

// The colour table of a 4-bit DIB (after a header of 40 bytes or more, four
// bytes an entry; after the 12-byte core header, three), as 0x00RRGGBB;
// entries the table lacks are black. The caller has decoded the DIB.
std::array<uint32_t, 16> DibPalette(std::span<const uint8_t> dib) {
  std::array<uint32_t, 16> palette{};
  const uint32_t header = Le32(dib, 0);
  const size_t entry = header == 12 ? 3 : 4;
  size_t count = header == 12 ? 16 : Le32(dib, 32);
  if (count == 0 || count > 16) count = 16;
  for (size_t i = 0; i < count && header + (i + 1) * entry <= dib.size(); ++i) {
    const uint8_t* q = dib.data() + header + i * entry;
    palette[i] = uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
  }
  return palette;
}

}  // namespace

int NearestStandardColour(Pixel p) { return NearestColour(kStandardColours, p); }

IconImage FourBitIcon::File() const {
  IconImage image;
  image.width = width;
  image.height = height;
  image.colors = colours;
  image.color_bits = color_bits;
  image.mask_bits = mask_bits;
  return image;
}

namespace {

// Packs colours and mask into the file's rows, each colour mapped to the
// nearest standard one; where clear_transparent is set, transparent pixels
// get colour 0 so that they leave the background as it is.
// `index` gives a pixel's colour index.
template <typename IndexOf>
FourBitIcon Pack(const Image& colours, const std::vector<bool>& mask, bool clear_transparent, IndexOf index_of) {
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
      const int index = transparent && clear_transparent ? 0 : index_of(colours.At(x, y));
      c[x / 2] |= uint8_t(x % 2 ? index : index << 4);
    }
  }
  return icon;
}

}  // namespace

FourBitIcon FourBitIconFromDrawn(const Image& drawn, const std::vector<bool>& mask) {
  // Without alpha the colours are the icon's own, also where the mask is set
  // (pixels that invert the background stay so).
  if (!HasAlpha(drawn)) return Pack(drawn, mask, false, NearestStandardColour);
  Image straight(drawn.Width(), drawn.Height());
  const Pixel* in = drawn.Data();
  Pixel* out = straight.Data();
  for (size_t i = 0, n = size_t(drawn.Width()) * size_t(drawn.Height()); i < n; ++i) {
    const unsigned a = PixelA(in[i]);
    auto channel = [a](unsigned c) { return uint8_t(a ? std::min(255u, (c * 255 + a / 2) / a) : c); };
    out[i] = MakePixel(channel(PixelR(in[i])), channel(PixelG(in[i])), channel(PixelB(in[i])), uint8_t(a));
  }
  return Pack(straight, mask, true, NearestStandardColour);
}

std::optional<FourBitIcon> GroupFourBitIcon(const IconGroup& group, int size) {
  for (const IconEntry& entry : group.entries) {
    if (entry.width != size || entry.height != size || entry.Image().empty() || entry.IsPng()) continue;
    try {
      DecodedIcon decoded = DecodeIconImage(entry.Image());
      if (decoded.bitsPerPixel != 4 || decoded.image.Width() != size || decoded.image.Height() != size) continue;
      const std::array<uint32_t, 16> palette = DibPalette(entry.Image());
      // Each pixel is one of the palette's colours (an index past the table
      // decodes as black, which the nearest entry stands for).
      auto own_index = [&palette](Pixel p) {
        const uint32_t rgb = p & 0xFFFFFF;
        for (int i = 0; i < 16; ++i)
          if (palette[size_t(i)] == rgb) return i;
        return NearestColour(palette, p);
      };
      FourBitIcon icon = Pack(decoded.image, decoded.mask, false, own_index);
      icon.colours = palette;
      return icon;
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
