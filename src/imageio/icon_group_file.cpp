#include "imageio/icon_group_file.h"

#include <limits>

#include "base/error.h"
#include "imageio/dib.h"

namespace kelmar {

std::vector<uint8_t> BuildIconFileOfImages(std::span<const IconFileImage> images) {
  constexpr size_t kFileHeaderSize = 6, kEntrySize = 16;
  if (images.empty() || images.size() > 0xFFFF) throw Error("Bitmap image is not valid");
  size_t total = kFileHeaderSize + kEntrySize * images.size();
  for (const IconFileImage& image : images) {
    if (image.bytes.empty()) throw Error("Bitmap image is not valid");
    total += image.bytes.size();
  }
  if (total > std::numeric_limits<uint32_t>::max()) throw Error("Bitmap image is not valid");

  std::vector<uint8_t> out;
  out.reserve(total);
  ByteWriter put(out);
  put.U16(0);  // reserved
  put.U16(1);  // icon
  put.U16(uint16_t(images.size()));
  size_t offset = kFileHeaderSize + kEntrySize * images.size();
  for (const IconFileImage& image : images) {
    put.U8(image.width);
    put.U8(image.height);
    put.U8(image.colorCount);
    put.U8(0);  // reserved
    put.U16(image.planes);
    put.U16(image.bitCount);
    put.U32(uint32_t(image.bytes.size()));
    put.U32(uint32_t(offset));
    offset += image.bytes.size();
  }
  for (const IconFileImage& image : images) put.Bytes(image.bytes);
  return out;
}

std::vector<uint8_t> BuildIconGroupFile(const IconGroup& group) {
  std::vector<IconFileImage> images;
  for (const IconEntry& e : group.entries)
    if (!e.Image().empty()) images.push_back({e.width, e.height, e.colorCount, e.planes, e.bitCount, e.Image()});
  return BuildIconFileOfImages(images);
}

std::vector<uint8_t> EncodeIconImage32(const Image& straight) {
  const int w = straight.Width(), h = straight.Height();
  if (w < 1 || h < 1 || w > 256 || h > 256) throw Error("Bitmap image is not valid");
  const size_t color_size = DibRowBytes(w, 32) * size_t(h), mask_row = DibRowBytes(w, 1);
  std::vector<uint8_t> out;
  out.reserve(kDibHeaderSize + color_size + mask_row * size_t(h));
  ByteWriter put(out);
  DibHeader header;
  header.width = w;
  header.height = 2 * h;  // colour and mask rows together
  header.bit_count = 32;
  header.size_image = uint32_t(color_size + mask_row * size_t(h));
  put.Header(header);
  for (int y = h - 1; y >= 0; --y)  // bottom row first
    for (int x = 0; x < w; ++x) put.U32(straight.At(x, y));
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(mask_row, 0);
    for (int x = 0; x < w; ++x)
      if (PixelA(straight.At(x, y)) == 0) row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
    put.Bytes(row);
  }
  return out;
}

}  // namespace kelmar
