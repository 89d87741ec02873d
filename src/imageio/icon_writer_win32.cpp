#include "imageio/icon_writer_win32.h"

#include "base/error.h"
#include "framework/dib_header.h"
#include "imageio/dib.h"
#include "imageio/file_output_win32.h"
#include "imageio/four_bit_icon.h"
#include "imageio/icon_bitmap_win32.h"
#include "imageio/icon_bitmaps_win32.h"
#include "imageio/icon_file.h"

namespace kelmar {
namespace {

// Rows 0..height-1 of bitmap, top-down: 32-bit pixels, or the 1-bit mask.
std::vector<uint8_t> ReadRows(HDC dc, HBITMAP bitmap, int width, int height, int bit_count) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } info{TopDownDibHeader(width, height, bit_count), {}};
  std::vector<uint8_t> bits(DibRowBytes(width, bit_count) * size_t(height));
  if (GetDIBits(dc, bitmap, 0, UINT(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) !=
      height)
    throw Error("Bitmap image is not valid");
  return bits;
}

// The mask of the cell at (left, top) of w x h from top-down 1-bit rows.
std::vector<bool> MaskCell(const std::vector<uint8_t>& rows, size_t row_bytes, int left, int top, int w, int h) {
  std::vector<bool> mask(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = rows.data() + size_t(top + y) * row_bytes;
    for (int x = 0; x < w; ++x) mask[size_t(y) * size_t(w) + size_t(x)] = row[(left + x) / 8] & (0x80 >> ((left + x) % 8));
  }
  return mask;
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
  const std::vector<uint8_t> mask_rows = ReadRows(dc, bitmaps.mask, width, height, 1);
  const Image drawn = DrawIconOnBlack(icon);
  if (drawn.Width() != width || drawn.Height() != height) throw Error("Bitmap image is not valid");
  const FourBitIcon reduced =
      FourBitIconFromDrawn(drawn, MaskCell(mask_rows, DibRowBytes(width, 1), 0, 0, width, height));
  return BuildIconFile(reduced.File());
}

ImageListIconFiles::ImageListIconFiles(HIMAGELIST list) : list_(list) {
  IMAGEINFO info{};
  BITMAP color{}, mask{};
  if (!ImageList_GetImageInfo(list, 0, &info) || !info.hbmMask || !GetObjectW(info.hbmImage, sizeof color, &color) ||
      !GetObjectW(info.hbmMask, sizeof mask, &mask) || mask.bmWidth != color.bmWidth || mask.bmHeight != color.bmHeight)
    return;
  width_ = color.bmWidth;
  height_ = color.bmHeight < 0 ? -color.bmHeight : color.bmHeight;
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc || width_ < 1 || height_ < 1) return;
  try {
    color_rows_ = ReadRows(dc, info.hbmImage, width_, height_, 32);
    mask_rows_ = ReadRows(dc, info.hbmMask, width_, height_, 1);
  } catch (const Error&) {
    return;
  }
  read_ = true;
}

std::vector<uint8_t> ImageListIconFiles::Bytes(int index, const Image& drawn) const {
  IMAGEINFO info{};
  const bool found = ImageList_GetImageInfo(list_, index, &info);
  const RECT& r = info.rcImage;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!read_ || !found || w < 1 || h < 1 || r.left < 0 || r.top < 0 || r.right > width_ || r.bottom > height_)
    return IconFileBytes(IconHandle(ImageList_GetIcon(list_, index, ILD_NORMAL)));
  // The picture as it was drawn, alpha included, where the list kept it;
  // else the list's own colours.
  Image colours = drawn;
  if (colours.Width() != w || colours.Height() != h) {
    colours = Image(w, h);
    const auto* rows = reinterpret_cast<const Pixel*>(color_rows_.data());
    for (int y = 0; y < h; ++y)
      std::copy_n(rows + size_t(r.top + y) * size_t(width_) + size_t(r.left), size_t(w), colours.Row(y));
  }
  const FourBitIcon reduced =
      FourBitIconFromDrawn(colours, MaskCell(mask_rows_, DibRowBytes(width_, 1), r.left, r.top, w, h));
  return BuildIconFile(reduced.File());
}

void SaveIconToFile(HICON icon, const std::wstring& path) {
  std::vector<uint8_t> bytes = IconFileBytes(icon);
  WriteFileWhole(path, bytes);
}

}  // namespace kelmar
