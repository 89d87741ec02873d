#include "imageio/icon_bitmap_win32.h"

#include <algorithm>

#include "base/error.h"
#include "framework/dib_header.h"
#include "imageio/bitmap_file.h"
#include "imageio/dib.h"
#include "imageio/file_output_win32.h"
#include "imageio/icon_bitmaps_win32.h"

namespace kelmar {

BitmapHandle RenderIconOnWhite(HICON icon) {
  IconBitmaps bitmaps = GetIconBitmaps(icon);
  BITMAP color{};
  if (!bitmaps.color || !bitmaps.mask || !GetObjectW(bitmaps.color, sizeof color, &color))
    throw Error("Bitmap image is not valid");
  const int width = color.bmWidth;
  const int height = color.bmHeight < 0 ? -color.bmHeight : color.bmHeight;

  BitmapHandle out(CreateCompatibleBitmap(WindowDc(nullptr), width, height));
  MemoryDcHandle dst(CreateCompatibleDC(nullptr)), src(CreateCompatibleDC(nullptr));
  if (!out || !dst || !src) throw Error("Out of system resources");
  ScopedSelect out_selected(dst, out);
  bool drawn;
  {
    ScopedSelect color_selected(src, bitmaps.color);
    drawn = BitBlt(dst, 0, 0, width, height, src, 0, 0, SRCCOPY);
  }
  // The monochrome mask blits as colour through the destination's colours:
  // bit 1 (transparent) as the background colour white, bit 0 as the text
  // colour black; OR-ing it in whitens exactly the transparent pixels.
  SetBkColor(dst, RGB(255, 255, 255));
  SetTextColor(dst, RGB(0, 0, 0));
  ScopedSelect mask_selected(src, bitmaps.mask);
  drawn = drawn && BitBlt(dst, 0, 0, width, height, src, 0, 0, SRCPAINT);
  if (!drawn) throw Error("Bitmap image is not valid");
  return out;
}

std::vector<uint8_t> BitmapFileBytes(HBITMAP bitmap) {
  DIBSECTION section{};
  const int described = GetObjectW(bitmap, sizeof section, &section);
  if (described < int(sizeof(BITMAP))) throw Error("Bitmap image is not valid");
  const BITMAP& bm = section.dsBm;
  const bool is_section = described == int(sizeof(DIBSECTION));
  const int width = bm.bmWidth;
  const int height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  const int bit_count = bm.bmBitsPixel * bm.bmPlanes;
  const bool bit_fields = is_section && section.dsBmih.biCompression == BI_BITFIELDS;

  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];  // the colour table, or the three channel masks
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = WORD(bit_count);
  info.header.biCompression = bit_fields ? BI_BITFIELDS : BI_RGB;
  if (width < 1 || height < 1 || bit_count < 1 || bit_count > 32) throw Error("Bitmap image is not valid");
  std::vector<uint8_t> bits(DibRowBytes(width, bit_count) * size_t(height));
  {
    MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    if (!dc || GetDIBits(dc, bitmap, 0, UINT(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS) != height)
      throw Error("Bitmap image is not valid");
  }

  BitmapImage image;
  image.width = width;
  image.height = height;
  image.bit_count = bit_count;
  image.bits = bits;
  std::vector<uint32_t> colors;
  if (bit_count <= 8) {
    const size_t entries = info.header.biClrUsed ? info.header.biClrUsed : size_t(1) << bit_count;
    for (size_t i = 0; i < entries && i < 256; ++i) {
      const RGBQUAD& q = info.colors[i];
      colors.push_back(uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue);
    }
    image.colors = colors;
  } else if (bit_fields) {
    image.bit_fields = true;
    const auto* masks = reinterpret_cast<const DWORD*>(info.colors);
    image.masks = {masks[0], masks[1], masks[2]};
  }
  return BuildBitmapFile(image);
}

Image DrawIconOnBlack(HICON icon) {
  IconBitmaps bitmaps = GetIconBitmaps(icon);
  BITMAP color{};
  if (!bitmaps.color || !GetObjectW(bitmaps.color, sizeof color, &color)) return {};
  const int width = color.bmWidth;
  const int height = color.bmHeight < 0 ? -color.bmHeight : color.bmHeight;
  const BITMAPINFO info = TopDownDibInfo(width, height);
  void* bits = nullptr;
  BitmapHandle section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!section || !dc) return {};
  {
    ScopedSelect selected(dc, section);  // a new section is all zero: black, alpha 0
    if (!DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_IMAGE)) return {};
  }
  GdiFlush();
  Image image(width, height);
  std::copy_n(static_cast<const Pixel*>(bits), size_t(width) * size_t(height), image.Data());
  return image;
}

void SaveIconAsBitmapFile(HICON icon, const std::wstring& path) {
  WriteFileWhole(path, IconBitmapFileBytes(DrawIconOnBlack(icon), [icon] { return icon; }));
}

}  // namespace kelmar
