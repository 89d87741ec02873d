#include "skin/data/effect_bmp_win32.h"

#include "framework/dib_header.h"
#include "framework/handles.h"

namespace kelmar {

TksEffectBmp EffectBmpFromBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
  Image image(bm.bmWidth, bm.bmHeight);
  BITMAPINFO info = TopDownDibInfo(bm.bmWidth, bm.bmHeight);
  WindowDc screen(nullptr);
  if (GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), image.Data(), &info, DIB_RGB_COLORS) != bm.bmHeight) return {};
  return TksEffectBmp(std::move(image));
}

void DrawImage(HDC dc, int x, int y, const ImageView& image) {
  if (image.IsEmpty()) return;
  // The rows are Stride() pixels apart: describe that many, draw Width().
  const BITMAPINFO info = TopDownDibInfo(int(image.Stride()), image.Height());
  SetDIBitsToDevice(dc, x, y, DWORD(image.Width()), DWORD(image.Height()), 0, 0, 0, UINT(image.Height()),
                    image.Row(0), &info, DIB_RGB_COLORS);
}

void DrawEffectBmp(HDC dc, int x, int y, const TksEffectBmp& bmp) { DrawImage(dc, x, y, bmp.GetImage().View()); }

}  // namespace kelmar
