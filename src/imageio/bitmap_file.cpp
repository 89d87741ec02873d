#include "imageio/bitmap_file.h"

#include <algorithm>

#include "base/error.h"
#include "imageio/dib.h"

namespace kelmar {

std::vector<uint8_t> BuildBitmapFile(const BitmapImage& image) {
  const int b = image.bit_count;
  const bool known_depth = b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32;
  // Limits keep every size below 2^31, as the file's 32-bit fields need.
  if (!known_depth || image.width < 1 || image.height < 1 || image.width > 0x8000 || image.height > 0x8000 ||
      (image.bit_fields && b != 16 && b != 32))
    throw Error("Bitmap image is not valid");
  const size_t bits_size = DibRowBytes(image.width, b) * size_t(image.height);
  if (image.bits.size() != bits_size) throw Error("Bitmap image is not valid");

  size_t entries = 0;
  if (b <= 8) {
    entries = std::min(image.colors.size(), size_t(1) << b);
    if (image.colors_used != 0) entries = std::min(entries, size_t(image.colors_used));
    // Without a table the pixels have no colours; readers refuse such a file.
    if (entries == 0) throw Error("Bitmap image is not valid");
  }
  constexpr size_t kFileHeaderSize = 14;
  const size_t header_size = kDibHeaderSize + (image.bit_fields ? 12 : 0) + 4 * entries;
  const size_t file_size = kFileHeaderSize + header_size + bits_size;

  std::vector<uint8_t> out;
  out.reserve(file_size);
  ByteWriter put(out);
  put.U8('B');
  put.U8('M');
  put.U32(uint32_t(file_size));
  put.U16(0);
  put.U16(0);
  put.U32(uint32_t(kFileHeaderSize + header_size));

  DibHeader header;
  header.width = image.width;
  header.height = image.height;
  header.bit_count = uint16_t(b);
  header.compression = image.bit_fields ? kDibBitFields : kDibNoCompression;
  header.size_image = uint32_t(bits_size);
  header.clr_used = uint32_t(entries);
  put.Header(header);
  if (image.bit_fields)
    for (uint32_t m : image.masks) put.U32(m);
  put.ColorTable(image.colors.first(entries));
  put.Bytes(image.bits);
  return out;
}

bool HasAlpha(const Image& image) {
  const Pixel* p = image.Data();
  for (size_t i = 0, n = size_t(image.Width()) * size_t(image.Height()); i < n; ++i)
    if (PixelA(p[i])) return true;
  return false;
}

std::vector<uint8_t> BuildWhiteCompositeBitmapFile(const Image& on_black) {
  const int w = on_black.Width(), h = on_black.Height();
  std::vector<uint8_t> bits(DibRowBytes(w, 32) * size_t(h));
  uint8_t* out = bits.data();
  for (int y = h - 1; y >= 0; --y) {  // bottom row first
    const Pixel* row = on_black.Row(y);
    for (int x = 0; x < w; ++x) {
      // Over white: premultiplied colour + white * (1 - alpha). A colour
      // above its alpha (not truly premultiplied) saturates.
      const Pixel p = row[x];
      const unsigned white = 255u - PixelA(p);
      *out++ = uint8_t(std::min(255u, PixelB(p) + white));
      *out++ = uint8_t(std::min(255u, PixelG(p) + white));
      *out++ = uint8_t(std::min(255u, PixelR(p) + white));
      *out++ = 255;
    }
  }
  BitmapImage image;
  image.width = w;
  image.height = h;
  image.bit_count = 32;
  image.bits = bits;
  return BuildBitmapFile(image);
}

}  // namespace kelmar
