#include "imageio/icon_file.h"

#include "base/error.h"
#include "imageio/dib.h"

namespace kelmar {

std::vector<uint8_t> BuildIconFile(const IconImage& image) {
  const int w = image.width;
  const int h = image.height;
  if (w < 1 || w > 256 || h < 1 || h > 256) throw Error("Bitmap image is not valid");
  const size_t color_size = DibRowBytes(w, 4) * size_t(h);
  const size_t mask_size = DibRowBytes(w, 1) * size_t(h);
  if (image.color_bits.size() != color_size || image.mask_bits.size() != mask_size)
    throw Error("Bitmap image is not valid");

  constexpr uint32_t kFileHeaderSize = 6;
  constexpr uint32_t kEntrySize = 16;
  const uint32_t header_size = uint32_t(kDibHeaderSize + 4 * image.colors.size());
  const uint32_t data_size = header_size + uint32_t(color_size + mask_size);

  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kEntrySize + data_size);
  ByteWriter put(out);
  put.U16(0);  // reserved
  put.U16(1);  // icon
  put.U16(1);  // one image

  // Directory entry. A width or height of 256 is stored as 0.
  put.U8(uint8_t(w));
  put.U8(uint8_t(h));
  put.U16(1 * 4);  // planes x bits per pixel where a colour count belongs
  put.U16(0);      // planes
  put.U16(0);      // bit count
  put.U32(data_size);
  put.U32(kFileHeaderSize + kEntrySize);

  DibHeader header;
  header.width = w;
  header.height = 2 * h;  // colour and mask rows together
  header.bit_count = 4;
  header.size_image = uint32_t(color_size);
  header.clr_used = uint32_t(image.colors.size());
  put.Header(header);
  put.ColorTable(image.colors);
  put.Bytes(image.color_bits);
  put.Bytes(image.mask_bits);
  return out;
}

}  // namespace kelmar
