#pragma once
// The system's choice among the images of one icon (the entries of an icon
// group or of an icon file's directory) for a wanted size and the display's
// colour depth.
#include <cstdint>
#include <span>

namespace kelmar {

// One image as the rule sees it: its size in pixels and its bits per pixel.
struct IconCandidate {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  // From a directory entry's stored bytes, where 0 stands for 256.
  static IconCandidate Stored(uint8_t width, uint8_t height, int bitCount) {
    return {width ? width : 256, height ? height : 256, bitCount};
  }
};

// The index of the image the system shows for an icon of cx x cy on a
// display of displayBits per pixel; -1 when there is none.
//
// The rule of the system's icon matcher (LookupIconIdFromDirectoryEx on
// Windows), size before colours:
// 1. Size: each image scores |width - cx| + |height - cy|, where a side
//    smaller than wanted counts twice: an image made larger from less
//    information looks worse than one made smaller from more. The first image
//    with the lowest score sets the size.
// 2. Colours, among the images of exactly that width and height: the first of
//    the display's depth; else the first of the greatest depth below it; else
//    the first of the lowest depth.
// Wine's matcher differs where no image has the wanted size (it counts both
// directions alike) and in the colours on displays of less than 32 bits (the
// nearest depth either way); with the wanted size present on a 32-bit
// display the two agree.
int BestIconMatch(std::span<const IconCandidate> images, int cx, int cy, int displayBits);

}  // namespace kelmar
