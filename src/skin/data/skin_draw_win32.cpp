#include "skin/data/skin_draw_win32.h"

#include "framework/graphics.h"
#include "framework/handles.h"
#include "skin/data/skin_compose.h"
#include "skin/data/text_fit.h"
#include "framework/wide.h"

namespace kelmar {
namespace {

// A one-pixel pen of the colour selected for the scope, with a hollow brush
// or (solid) a brush of the same colour.
class Drawing {
 public:
  Drawing(HDC dc, COLORREF colour, bool solid = false)
      : dc_(dc),
        pen_(CreatePen(PS_SOLID, 1, colour)),
        brush_(solid ? CreateSolidBrush(colour) : nullptr),
        pen_selected_(dc, pen_),
        brush_selected_(dc, solid ? HGDIOBJ(brush_.Get()) : GetStockObject(NULL_BRUSH)) {}

  // From (x1, y1) up to, not including, (x2, y2).
  void Line(int x1, int y1, int x2, int y2) const {
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
  }
  void Box(int left, int top, int right, int bottom) const { Rectangle(dc_, left, top, right, bottom); }

 private:
  HDC dc_;
  PenHandle pen_;
  BrushHandle brush_;
  ScopedSelect pen_selected_;
  ScopedSelect brush_selected_;
};

SIZE TextSize(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), int(text.size()), &size);
  return size;
}

}  // namespace

ScopedGlyphScale::ScopedGlyphScale(HDC dc, int x, int y, int dpi) : dc_(dc) {
  if (dpi == kDesignDpi) return;
  mode_ = SetGraphicsMode(dc, GM_ADVANCED);
  GetWorldTransform(dc, &before_);
  const float s = float(dpi) / float(kDesignDpi);
  const XFORM scale{s, 0, 0, s, float(x) * (1 - s), float(y) * (1 - s)};
  scaled_ = ModifyWorldTransform(dc, &scale, MWT_LEFTMULTIPLY) != 0;
}

ScopedGlyphScale::~ScopedGlyphScale() {
  if (!mode_) return;
  if (scaled_) SetWorldTransform(dc_, &before_);
  SetGraphicsMode(dc_, mode_);
}

void DrawGlyphCell(HDC dc, int x, int y, int n, int k, const ImageView& strip) {
  if (strip.IsEmpty() || k <= 0 || n < 1 || n > k) return;
  const int w = strip.Width() / k, h = strip.Height();
  if (w <= 0) return;
  TBitmap cell(w, h);
  if (cell.IsEmpty()) return;
  const ImageView pixels = cell.Pixels();
  CopyImageRect(pixels, {0, 0, w, h}, strip, {(n - 1) * w, 0, n * w, h});
  // TransparentBlt compares whole 32-bit values: the key has no alpha byte.
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) pixels.At(col, row) &= 0xFFFFFFu;
  const COLORREF key = ColorFromPixel(pixels.At(0, h - 1));
  TransparentBlt(dc, x, y, w, h, cell.Dc(), 0, 0, w, h, key);
}

void FitTextWithEllipsis(HDC dc, std::wstring& text, int max_width) {
  std::u16string units(text.begin(), text.end());
  FitTextWithEllipsis(units, max_width, [dc](std::u16string_view s) {
    const std::wstring wide(s.begin(), s.end());
    return int(TextSize(dc, wide).cx);
  });
  text.assign(units.begin(), units.end());
}

void DrawTextVCenter(HDC dc, std::wstring_view text, const Rect& r) {
  RECT rc = ToRECT(r);
  DrawTextW(dc, text.data(), int(text.size()), &rc, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void DrawTextInRect(HDC dc, std::wstring_view text, const Rect& r, int offset) {
  const RECT rc = ToRECT(r);
  const int y = r.top + r.Height() / 2 - int(TextSize(dc, text).cy) / 2;
  ExtTextOutW(dc, r.left + offset + 2, y, ETO_CLIPPED, &rc, text.data(), UINT(text.size()), nullptr);
}

void DrawArrow(HDC dc, const Rect& r, COLORREF colour, int kind) {
  const Drawing d(dc, colour);
  const int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2;
  for (int i = 0; i <= 3; ++i) {
    const int n = 3 - i;
    switch (kind) {
      case 1: d.Line(cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1); break;
      case 2: d.Line(cx + 2 - n, cy + n, cx + 2 - n, cy - n - 1); break;
      case 3: d.Line(cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i); break;
      case 4: d.Line(cx - n, cy + 2 - n, cx + n + 1, cy + 2 - n); break;
      default: return;
    }
  }
}

void DrawCheckMark(HDC dc, int x, int y, COLORREF colour) {
  const Drawing d(dc, colour);
  for (int i = 0; i <= 2; ++i) {
    MoveToEx(dc, x, y + 5 - i, nullptr);
    LineTo(dc, x + 2, y + 7 - i);
    LineTo(dc, x + 7, y + 2 - i);
  }
}

void DrawRadioDot(HDC dc, int x, int y, COLORREF colour) {
  Drawing(dc, colour, true).Box(x, y, x + 6, y + 6);
}

void DrawCloseGlyph(HDC dc, int x, int y, COLORREF colour) {
  const Drawing d(dc, colour);
  d.Line(x + 1, y + 1, x + 9, y + 9);
  d.Line(x + 9, y + 1, x + 1, y + 9);
  d.Line(x + 2, y + 1, x + 10, y + 9);
  d.Line(x + 8, y + 1, x, y + 9);
}

void DrawMinimizeGlyph(HDC dc, int x, int y, COLORREF colour) {
  const Drawing d(dc, colour);
  d.Line(x + 1, y + 8, x + 9, y + 8);
  d.Line(x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeGlyph(HDC dc, int x, int y, COLORREF colour) {
  const Drawing d(dc, colour);
  d.Box(x, y, x + 11, y + 10);
  d.Box(x, y, x + 11, y + 2);
}

void DrawRestoreGlyph(HDC dc, int x, int y, COLORREF colour) {
  const Drawing d(dc, colour);
  d.Box(x + 2, y, x + 10, y + 6);
  d.Box(x + 2, y, x + 10, y + 2);
  d.Box(x, y + 4, x + 7, y + 10);
  d.Box(x, y + 4, x + 7, y + 6);
}

void DrawBarGlyph(HDC dc, int x, int y, COLORREF colour) { Drawing(dc, colour).Box(x + 1, y + 3, x + 9, y + 6); }

void DrawDownTriangleGlyph(HDC dc, int x, int y, COLORREF colour) {
  const Drawing d(dc, colour);
  for (int i = 0; i <= 4; ++i) d.Line(x + 5 - i, y + 6 - i, x + 5 + i, y + 6 - i);
}

void DrawUpTriangleGlyph(HDC dc, int x, int y, COLORREF colour) {
  const Drawing d(dc, colour);
  for (int i = 0; i <= 4; ++i) d.Line(x + 5 - i, y + 2 + i, x + 5 + i, y + 2 + i);
}

void DrawSmallSquareGlyph(HDC dc, int x, int y, COLORREF colour) {
  Drawing(dc, colour, true).Box(x + 2, y + 2, x + 7, y + 7);
}

TFont SkinFontToFont(const SkinFont& font, COLORREF colour, BYTE charset, int dpi) {
  TFont f(WideFromCp936(font.name), ScaleLength(font.height, dpi), colour);
  TFontStyles style;
  style.bold = font.style & fsBold;
  style.italic = font.style & fsItalic;
  style.underline = font.style & fsUnderline;
  style.strikeout = font.style & fsStrikeout;
  f.SetStyle(style);
  f.SetCharset(charset);
  return f;
}

}  // namespace kelmar
