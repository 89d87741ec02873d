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

ImageListIconFiles::ImageListIconFiles(HIMAGELIST list) : list_(list) {
  IMAGEINFO info{};
  BITMAP color{}, mask{};
  if (!ImageList_GetImageInfo(list, 0, &info) || !info.hbmMask || !GetObjectW(info.hbmImage, sizeof color, &color) ||
      !GetObjectW(info.hbmMask, sizeof mask, &mask) || mask.bmWidth != color.bmWidth || mask.bmHeight != color.bmHeight)
    return;
  const int width = color.bmWidth;
  height_ = color.bmHeight < 0 ? -color.bmHeight : color.bmHeight;
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc || width < 1 || height_ < 1) return;
  try {
    DibInfo<16> color_info;
    DibInfo<2> mask_info;
    color_bits_ = ReadBits(dc, info.hbmImage, width, height_, 4, color_info);
    mask_bits_ = ReadBits(dc, info.hbmMask, width, height_, 1, mask_info);
    for (int i = 0; i < 16; ++i) {
      const RGBQUAD& q = color_info.colors[i];
      colors_[size_t(i)] = uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
    }
  } catch (const Error&) {
    return;
  }
  color_row_ = DibRowBytes(width, 4);
  mask_row_ = DibRowBytes(width, 1);
  read_ = true;
}

std::vector<uint8_t> ImageListIconFiles::Bytes(int index) const {
  IMAGEINFO info{};
  const bool found = ImageList_GetImageInfo(list_, index, &info);
  const RECT& r = info.rcImage;
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Whole bytes of both conversions: the cell starts on a byte of the mask.
  if (!read_ || !found || r.left % 8 != 0 || w < 1 || h < 1 || r.top < 0 || r.bottom > height_ ||
      size_t(r.left + w) * 4 > color_row_ * 8 || size_t(r.left + w) > mask_row_ * 8)
    return IconFileBytes(IconHandle(ImageList_GetIcon(list_, index, ILD_NORMAL)));

  const size_t color_bytes = DibRowBytes(w, 4), mask_bytes = DibRowBytes(w, 1);
  std::vector<uint8_t> color(color_bytes * size_t(h)), mask(mask_bytes * size_t(h));
  for (int y = 0; y < h; ++y) {
    // Both sets of rows run bottom-up; row y of the cell from its bottom.
    const size_t source_row = size_t(height_ - r.bottom + y);
    const uint8_t* c = color_bits_.data() + source_row * color_row_ + size_t(r.left) / 2;
    const uint8_t* m = mask_bits_.data() + source_row * mask_row_ + size_t(r.left) / 8;
    // Bits past the cell's right edge are padding in a file of its own: zero.
    for (size_t b = 0; b < (size_t(w) * 4 + 7) / 8; ++b) color[size_t(y) * color_bytes + b] = c[b];
    if (w % 2) color[size_t(y) * color_bytes + size_t(w) / 2] &= 0xF0;
    for (size_t b = 0; b < (size_t(w) + 7) / 8; ++b) mask[size_t(y) * mask_bytes + b] = m[b];
    if (w % 8) mask[size_t(y) * mask_bytes + size_t(w) / 8] &= uint8_t(0xFF00 >> (w % 8));
  }
  IconImage image;
  image.width = w;
  image.height = h;
  image.colors = colors_;
  image.color_bits = color;
  image.mask_bits = mask;
  return BuildIconFile(image);
}

void SaveIconToFile(HICON icon, const std::wstring& path) {
  std::vector<uint8_t> bytes = IconFileBytes(icon);
  WriteFileWhole(path, bytes);
}

}  // namespace kelmar
