#include "framework/graphics.h"

#include <cstring>
#include <map>
#include <tuple>

#include "framework/dib_header.h"

namespace kelmar {

TFont::TFont(std::wstring name, int height, TColor color)
    : name_(std::move(name)), height_(height), color_(color) {}

TFont::TFont(const TFont& o)
    : name_(o.name_), height_(o.height_), color_(o.color_), style_(o.style_), charset_(o.charset_) {}

TFont& TFont::operator=(const TFont& o) {
  if (this != &o) {
    name_ = o.name_;
    height_ = o.height_;
    color_ = o.color_;
    style_ = o.style_;
    charset_ = o.charset_;
    Changed();
  }
  return *this;
}

void TFont::SetColor(TColor color) { if (color != color_) { color_ = color; if (OnChange) OnChange(); } }
void TFont::SetHeight(int height) { if (height != height_) { height_ = height; Changed(); } }
void TFont::SetStyle(TFontStyles style) { if (!(style == style_)) { style_ = style; Changed(); } }
void TFont::SetCharset(BYTE charset) { if (charset != charset_) { charset_ = charset; Changed(); } }

void TFont::Changed() {
  handle_ = nullptr;
  if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
  if (handle_) return handle_;
  using Key = std::tuple<std::wstring, int, bool, bool, bool, bool, BYTE>;
  static auto* cache = new std::map<Key, HFONT>;
  const Key key{name_, height_, style_.bold, style_.italic, style_.underline, style_.strikeout, charset_};
  HFONT& cached = (*cache)[key];
  if (!cached) {
    LOGFONTW lf{};
    lf.lfHeight = -height_;
    lf.lfWeight = style_.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.italic;
    lf.lfUnderline = style_.underline;
    lf.lfStrikeOut = style_.strikeout;
    lf.lfCharSet = charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    cached = CreateFontIndirectW(&lf);
  }
  return handle_ = cached;
}

void TCanvas::FillRect(const Rect& r, TColor color) {
  BrushHandle brush(CreateSolidBrush(color));
  RECT rc = ToRECT(r);
  ::FillRect(dc_, &rc, brush);
}

void TCanvas::FrameRect(const Rect& r, TColor color) {
  BrushHandle brush(CreateSolidBrush(color));
  RECT rc = ToRECT(r);
  ::FrameRect(dc_, &rc, brush);
}

SIZE TCanvas::TextExtent(const TFont& font, const std::wstring& text) {
  ScopedSelect sel(dc_, font.Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &size);
  return size;
}

void TCanvas::TextOut(const TFont& font, int x, int y, const std::wstring& text) {
  ScopedDcState state(dc_);
  SelectObject(dc_, font.Handle());
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, font.Color());
  ::TextOutW(dc_, x, y, text.c_str(), int(text.size()));
}

void TCanvas::DrawText(const TFont& font, Rect r, const std::wstring& text, UINT flags) {
  ScopedDcState state(dc_);
  SelectObject(dc_, font.Handle());
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, font.Color());
  RECT rc = ToRECT(r);
  ::DrawTextW(dc_, text.c_str(), int(text.size()), &rc, flags);
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_ && width == stride_ && height == capacity_ && bitmap_) return;
  if (dc_ && old_) SelectObject(dc_, old_);
  old_ = nullptr;
  bitmap_.Reset();
  bits_ = nullptr;
  stride_ = capacity_ = 0;
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  if (width_ == 0 || height_ == 0) return;
  const BITMAPINFO bi = TopDownDibInfo(width_, height_);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  bits_ = static_cast<Pixel*>(bits);
  if (!bitmap_) width_ = height_ = 0;
  stride_ = width_;
  capacity_ = height_;
  if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
}

void TBitmap::Fit(int width, int height) {
  if (bitmap_ && width >= 0 && height >= 0 && width <= stride_ && height <= capacity_) {
    width_ = width;
    height_ = height;
    return;
  }
  SetSize(width, height);
}

HDC TBitmap::Dc() {
  if (!dc_) {
    dc_.Reset(CreateCompatibleDC(nullptr));
    if (bitmap_) old_ = SelectObject(dc_, bitmap_);
  }
  GdiFlush();
  return dc_;
}

void TBitmap::CopyFrom(const ImageView& image) {
  SetSize(image.Width(), image.Height());
  GdiFlush();
  for (int y = 0; y < height_; ++y) std::memcpy(bits_ + size_t(y) * stride_, image.Row(y), size_t(width_) * sizeof(Pixel));
}

void TBitmap::Draw(HDC dest, int x, int y) const {
  if (!bitmap_) return;
  MemoryDcHandle dc(CreateCompatibleDC(dest));
  ScopedSelect sel(dc, bitmap_);
  BitBlt(dest, x, y, width_, height_, dc, 0, 0, SRCCOPY);
}

}  // namespace kelmar
