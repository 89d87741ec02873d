#pragma once
// The pixels of one decoded icon image: what the readers make of an icon's
// bytes and what the image lists draw from.
#include <vector>

#include "base/image.h"

namespace kelmar {

// An icon image decoded from a DIB entry: the colour pixels (alpha from the
// image where it has 32 bits and any pixel's alpha is not zero, else 255)
// and the AND mask (true where the icon is transparent).
struct DecodedIcon {
  Image image;
  std::vector<bool> mask;  // width * height, rows top-down
  int bitsPerPixel = 0;
  bool hasAlpha = false;
};

}  // namespace kelmar
