#pragma once
// The bytes of a one-image Windows icon file whose colour image has 4 bits per
// pixel and a 16-entry colour table, with the directory values this program
// has always written (colour count 4, planes and bit count 0).
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kelmar {

// The icon's image as the platform's conversion to 4 bits per pixel gave it.
struct IconImage {
  int width = 0;   // 1..256
  int height = 0;  // 1..256, the icon's own height (not doubled)
  std::array<uint32_t, 16> colors{};    // 0x00RRGGBB
  std::span<const uint8_t> color_bits{};  // 4 bits per pixel, bottom-up, rows padded to 4 bytes
  std::span<const uint8_t> mask_bits{};   // 1 bit per pixel (1 = transparent), same row order
};

// Throws Error("Bitmap image is not valid") when the sizes do not fit together.
std::vector<uint8_t> BuildIconFile(const IconImage& image);

}  // namespace kelmar
