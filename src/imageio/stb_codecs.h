#pragma once
// The PNG codec and the resampler of the stb libraries behind the program's
// own pixel type (straight BGRA, rows top-down).
#include <cstdint>
#include <span>
#include <vector>

#include "base/image.h"

namespace kelmar {

// Raises Error("Bitmap image is not valid") for a stream that is not a whole
// PNG image of at most 1024 x 1024 pixels.
Image DecodePngPixels(std::span<const uint8_t> png);

// The source's pixels resampled onto the whole target (any sizes, either way)
// by area averaging, weighted by alpha. Raises Error("Bitmap image is not
// valid") for an empty source or target.
void ResizeArea(const ImageView& source, const ImageView& target);

}  // namespace kelmar
