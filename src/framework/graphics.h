#pragma once
// Fonts, a canvas over a device context, and a bitmap backed by a 32-bit
// top-down DIB section whose pixels portable code can touch directly.
#include <windows.h>

#include <functional>
#include <string>

#include "base/geometry.h"
#include "base/image.h"
#include "framework/handles.h"

namespace kelmar {

using TColor = COLORREF;  // 0x00BBGGRR; system colours are passed as GetSysColor values

struct TFontStyles {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  friend bool operator==(const TFontStyles&, const TFontStyles&) = default;
};

class TFont {
 public:
  TFont() = default;
  TFont(std::wstring name, int height, TColor color = RGB(0, 0, 0));
  TFont(const TFont& o);
  TFont& operator=(const TFont& o);

  const std::wstring& Name() const { return name_; }
  // Height in pixels of the characters (a negative LOGFONT height), as the
  // form definition gives it.
  int Height() const { return height_; }
  TColor Color() const { return color_; }
  const TFontStyles& Style() const { return style_; }
  BYTE Charset() const { return charset_; }

  void SetColor(TColor color);
  void SetHeight(int height);
  void SetStyle(TFontStyles style);
  void SetCharset(BYTE charset);

  // Shared by every font of the same face, height, style and character set:
  // made once per process, never freed (fonts are few and made often).
  HFONT Handle() const;
  std::function<void()> OnChange;

 private:
  void Changed();

  std::wstring name_ = L"Arial";
  int height_ = 11;
  TColor color_ = RGB(0, 0, 0);
  TFontStyles style_;
  BYTE charset_ = DEFAULT_CHARSET;
  mutable HFONT handle_ = nullptr;
};

// Text and fill operations on a device context. The canvas selects its font
// for each call and restores the context afterwards.
class TCanvas {
 public:
  explicit TCanvas(HDC dc) : dc_(dc) {}
  HDC Handle() const { return dc_; }

  void FillRect(const Rect& r, TColor color);
  void FrameRect(const Rect& r, TColor color);
  SIZE TextExtent(const TFont& font, const std::wstring& text);
  void TextOut(const TFont& font, int x, int y, const std::wstring& text);
  // DrawTextW with the given DT_* flags, transparent background.
  void DrawText(const TFont& font, Rect r, const std::wstring& text, UINT flags);

 private:
  HDC dc_;
};

// A 32-bit top-down DIB section with its own memory DC.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  void SetSize(int width, int height);
  // The same, but a bitmap at least as large in both directions is kept (the
  // pixels outside the new size are unused, the inside ones unspecified):
  // for pictures drawn again at every size change, as a new bitmap is fresh
  // memory that faults page by page when first drawn into. Handle() is then
  // the larger bitmap.
  void Fit(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
  HBITMAP Handle() const { return bitmap_; }
  HDC Dc();  // the bitmap selected into a memory DC, for GDI drawing
  // The pixels, after GDI has finished what it was drawing into them.
  ImageView Pixels() {
    GdiFlush();
    return {bits_, width_, height_, stride_};
  }

  void CopyFrom(const ImageView& image);  // resizes to the image
  void Draw(HDC dest, int x, int y) const;

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;    // the bitmap's own width
  int capacity_ = 0;  // and height
  Pixel* bits_ = nullptr;
  BitmapHandle bitmap_;
  MemoryDcHandle dc_;
  HGDIOBJ old_ = nullptr;
};

inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
// The system's dotted focus rectangle, black on white whatever colours the
// context holds.
inline void DrawDottedFocusRect(HDC dc, const RECT& r) {
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &r);
}
inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
// A window's rectangle in screen coordinates.
inline Rect WindowBounds(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  return FromRECT(rc);
}

}  // namespace kelmar
