#include "skin/data/gdi_owners_win32.h"

namespace kelmar::skin_gdi {
namespace {

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

DibSection::DibSection(int width, int height) {
  if (width <= 0 || height <= 0) return;
  const BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits) return;
  width_ = width;
  height_ = height;
  bits_ = static_cast<Pixel*>(bits);
}

void DrawImage(HDC dc, int x, int y, const ImageView& image) {
  if (image.IsEmpty()) return;
  // The rows are image.Stride() pixels apart: describe that many, draw Width().
  const BITMAPINFO info = TopDownInfo(int(image.Stride()), image.Height());
  SetDIBitsToDevice(dc, x, y, DWORD(image.Width()), DWORD(image.Height()), 0, 0, 0, UINT(image.Height()),
                    image.Row(0), &info, DIB_RGB_COLORS);
}

Image ImageFromBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
  Image image(bm.bmWidth, bm.bmHeight);
  BITMAPINFO info = TopDownInfo(bm.bmWidth, bm.bmHeight);
  WindowDc screen(nullptr);
  if (!GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), image.Data(), &info, DIB_RGB_COLORS)) return {};
  return image;
}

}  // namespace kelmar::skin_gdi
