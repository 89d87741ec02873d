#include "imageio/icon_writer_win32.h"

#include "base/error.h"
#include "imageio/dib.h"
#include "imageio/file_output_win32.h"
#include "imageio/icon_bitmaps_win32.h"
#include "imageio/icon_file.h"

namespace kelmar {
namespace {

template <int Colors>
struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[Colors]{};
};

// Rows 0..height-1 of bitmap, bottom-up, at bit_count bits per pixel, with
// the colour table the conversion chose (no palette selected: the system's
// standard colours).
template <int Colors>
std::vector<uint8_t> ReadBits(HDC dc, HBITMAP bitmap, int width, int height, int bit_count, DibInfo<Colors>& info) {
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = WORD(bit_count);
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = Colors;
  std::vector<uint8_t> bits(DibRowBytes(width, bit_count) * size_t(height));
  info.header.biSizeImage = DWORD(bits.size());
  if (GetDIBits(dc, bitmap, 0, UINT(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) !=
      height)
    throw Error("Bitmap image is not valid");
  return bits;
}

}  // namespace

std::vector<uint8_t> IconFileBytes(HICON icon) {
  IconBitmaps bitmaps = GetIconBitmaps(icon);
  BITMAP color{}, mask{};
  if (!bitmaps.color || !GetObjectW(bitmaps.color, sizeof color, &color) ||
      !GetObjectW(bitmaps.mask, sizeof mask, &mask))
    throw Error("Bitmap image is not valid");
  const int width = color.bmWidth;
  const int height = color.bmHeight < 0 ? -color.bmHeight : color.bmHeight;
  // A colour icon's mask covers the same pixels as its colour image.
  if (mask.bmWidth != width || mask.bmHeight != height || width < 1 || width > 256 || height < 1 || height > 256)
    throw Error("Bitmap image is not valid");

  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc) throw Error("Bitmap image is not valid");
  DibInfo<16> color_info;
  DibInfo<2> mask_info;
  std::vector<uint8_t> color_bits = ReadBits(dc, bitmaps.color, width, height, 4, color_info);
  std::vector<uint8_t> mask_bits = ReadBits(dc, bitmaps.mask, width, height, 1, mask_info);

  IconImage image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < 16; ++i) {
    const RGBQUAD& q = color_info.colors[i];
    image.colors[i] = uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
  }
  image.color_bits = color_bits;
  image.mask_bits = mask_bits;
  return BuildIconFile(image);
}

void SaveIconToFile(HICON icon, const std::wstring& path) {
  std::vector<uint8_t> bytes = IconFileBytes(icon);
  WriteFileWhole(path, bytes);
}

}  // namespace kelmar
