#pragma once
// The bytes of a Windows bitmap file (14-byte file header, 40-byte information
// header, channel masks or colour table, pixel rows) for any uncompressed
// device-independent image.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/image.h"

namespace kelmar {

struct BitmapImage {
  int width = 0;
  int height = 0;     // rows bottom-up, as written
  int bit_count = 0;  // 1, 4, 8, 16, 24 or 32
  // 16 and 32 bits per pixel only: the pixels are described by three channel
  // masks (red, green, blue), written after the header.
  bool bit_fields = false;
  std::array<uint32_t, 3> masks{};
  // At most 8 bits per pixel: the colour table (0x00RRGGBB entries). At most
  // 2^bit_count entries are written, and no more than colors_used when that
  // is not 0; the number written becomes the header's colours used.
  std::span<const uint32_t> colors{};
  uint32_t colors_used = 0;
  std::span<const uint8_t> bits{};  // DibRowBytes(width, bit_count) * height bytes
};

// Throws Error("Bitmap image is not valid") for a format it cannot describe
// or pixel data of the wrong size.
std::vector<uint8_t> BuildBitmapFile(const BitmapImage& image);

// True where any pixel's fourth byte is not zero: the image carries alpha.
bool HasAlpha(const Image& image);

// An icon as drawn onto black with its alpha (colours premultiplied, alpha in
// the fourth byte) composited onto white, as a 32-bit bitmap file. Every
// pixel's fourth byte is 255: the format gives it no meaning, and readers
// that take it for alpha then show the picture opaque.
std::vector<uint8_t> BuildWhiteCompositeBitmapFile(const Image& on_black);

}  // namespace kelmar
