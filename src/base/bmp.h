#pragma once
// Windows BMP file images: the pictures of a skin package and the files the
// writers produce.
//
// Decoding yields a BGRA Image (top-down). Alpha is 255 for every pixel unless
// the header declares an alpha mask (a V3+ info header, or the alpha bit-field
// compression, with a non-zero alpha mask); then alpha comes from that mask.
// The fourth byte of a plain 32-bit image is the "reserved" byte of an RGBQUAD
// and is ignored, as the platform's bit copies ignore it. A colour index past
// the end of the colour table reads as opaque black.
//
// Depths: 1, 4, 8 (colour table), 16 (5-5-5 or bit fields), 24, 32 (plain or
// bit fields); 4 and 8 also run-length encoded, where pixels the runs skip are
// opaque black. Info headers of 12 (core), 40, 52, 56, 108 and 124 bytes.
//
// Anything malformed raises Error("Bitmap image is not valid"). The reader
// never reads past the given bytes and never allocates more pixels than the
// pixel data present can describe: 8 pixels per byte at 1 bit per pixel, and
// for run-length data 128 per byte (runs of 255 pixels in two bytes).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/image.h"

namespace kelmar {

inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";

struct DecodedBmp {
  Image image;
  int bitsPerPixel = 0;  // as stored: 1, 4, 8, 16, 24 or 32
  size_t size = 0;       // bytes of the file image (its file header's total size)
};

// Decodes the BMP file image at the start of bytes. The file header's total-size
// field delimits the image: it must lie within bytes, and what follows it is
// not looked at (in a skin package the next item starts there).
DecodedBmp DecodeBmp(std::span<const uint8_t> bytes);

// The width and number of rows that a BMP file image's info header declares,
// read without decoding or checking the rest; {0, 0} when the headers are cut
// short or the info header's size is not one of the known ones.
Point BmpDeclaredSize(std::span<const uint8_t> bytes);

// Decodes the colour image of an icon resource: a packed DIB (info header,
// colour table, pixels straight after it) that declares twice the icon's
// height, the AND mask following the colours. The image has the icon's
// height; 32-bit pixels keep their fourth byte as alpha (other depths are
// opaque). `size` is the offset where the colour pixels end and the mask
// begins. Run-length data is not valid in an icon.
DecodedBmp DecodeIconDib(std::span<const uint8_t> dib);

// Encodes a bottom-up BI_RGB file image with a 40-byte info header.
//  24, 32: the pixels' colours (32 keeps the alpha byte);
//  1: a black (index 0) and white (index 1) colour table; a pixel is white
//     when its red + green + blue is at least 384.
std::vector<uint8_t> EncodeBmp(const ImageView& image, int bitsPerPixel);

// Encodes an image of at most 256 colours as a bottom-up 8-bit run-length
// file image (BI_RLE8), its colour table holding the image's colours; alpha
// is left out. A picture of flat colours so takes a fraction of the bytes of
// its 24-bit form, and decoding it writes each run at once. Empty when the
// image has more than 256 colours.
std::vector<uint8_t> EncodeBmpRle8(const ImageView& image);

}  // namespace kelmar
