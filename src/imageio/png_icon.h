#pragma once
// Icons as PNG pictures with their transparency: the images of an icon group
// chosen for a size, turned into straight-alpha pixels, made smaller where
// the group lacks the size, and encoded; PNG images the group stores are
// passed on as they are.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/image.h"
#include "imageio/pe_icons.h"

namespace kelmar {

// Which image of a group becomes a picture: the largest, one size (made from
// the nearest larger image where the group lacks it), or every size the
// group holds (one picture each).
struct PngSizeChoice {
  enum Kind { kLargest, kFixed, kEvery } kind = kLargest;
  int size = 0;  // for kFixed
  friend bool operator==(const PngSizeChoice&, const PngSizeChoice&) = default;
};

// What an image is by its own bytes (a group's directory may say otherwise):
// its size, its bits per pixel (32 for a PNG stream) and whether it is PNG.
// nullopt when its bytes are missing or too short for a header, or give a
// size of 0 or over 1024 pixels.
struct IconImageFacts {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  bool png = false;
};
std::optional<IconImageFacts> ReadIconImageFacts(std::span<const uint8_t> image);

// The image's pixels as straight (not premultiplied) BGRA equal to its own:
// a 32-bit image with alpha keeps it; any other is opaque where its mask is
// clear and has alpha 0 where the mask is set.
Image StraightIconPixels(const DecodedIcon& icon);

// Any stored image (a DIB with its mask or a PNG stream) as straight BGRA.
// Raises Error("Bitmap image is not valid") for what cannot be decoded.
Image DecodeStoredIconImage(std::span<const uint8_t> image);

// The picture made smaller by averaging the area each new pixel covers
// (weighted by alpha, so that transparent pixels lend no colour).
Image Downscale(const Image& straight, int width, int height);

// A PNG file of straight BGRA pixels (8 bits per channel, with alpha).
std::vector<uint8_t> EncodePng(const Image& straight);

// One picture made of a group: its size and the PNG file's bytes.
struct PngPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bytes;
};
struct GroupPictures {
  std::vector<PngPicture> pictures;
  // Images chosen that could not be decoded (damaged, cut, or not what their
  // header says); where one of the same size or a larger one can stand in,
  // it does.
  int failed = 0;
};

// The sizes of the group's images that have a readable header, each once,
// largest first: the pictures of every size (less those that fail).
std::vector<std::pair<int, int>> GroupImageSizes(const IconGroup& group);

// The pictures of a group for a choice of size, largest first for kEvery.
// Among images of one size the one of the most colours is taken (PNG counts
// as 32 bits). A size larger than every image the group holds is not made
// larger: the largest image stands in (enlarging invents no detail).
GroupPictures GroupPngPictures(const IconGroup& group, PngSizeChoice choice);

// The group's images for a tip, largest first, each its size and its colour
// depth or "PNG": "256×256 PNG · 48×48 32位 · 32×32 8位" (UTF-8). The
// images' own bytes where the group has them, else the directory's values.
std::string GroupImageSummary(const IconGroup& group);

}  // namespace kelmar
