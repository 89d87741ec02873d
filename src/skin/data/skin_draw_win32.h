#pragma once
// Text, mark and glyph helpers of the skinned parts, drawn on a device
// context with its current font. Colours are platform colour values
// (0x00BBGGRR).
#include <windows.h>

#include <string>
#include <string_view>

#include "base/display_scale.h"
#include "base/geometry.h"
#include "base/image.h"
#include "framework/graphics.h"
#include "skin/data/skin_description.h"

namespace kelmar {

// A skin record's font (name in code page 936) in the given colour, made for
// `dpi` (the record's height is a 96-DPI one).
TFont SkinFontToFont(const SkinFont& font, COLORREF colour, BYTE charset = DEFAULT_CHARSET, int dpi = kDesignDpi);

// Glyphs and marks drawn below at their 96-DPI coordinates come out at
// `dpi`'s scale about (x, y), lines and boxes scaled by the system while this
// lives: drawn at the size, not a picture stretched.
class ScopedGlyphScale {
 public:
  ScopedGlyphScale(HDC dc, int x, int y, int dpi);
  ~ScopedGlyphScale();
  ScopedGlyphScale(const ScopedGlyphScale&) = delete;
  ScopedGlyphScale& operator=(const ScopedGlyphScale&) = delete;

 private:
  HDC dc_;
  bool scaled_ = false;
  int mode_ = 0;
  XFORM before_{};
};

// Cell n (from 1) of a strip of k equal cells at x, y, transparent where the
// cell shows its bottom-left colour.
void DrawGlyphCell(HDC dc, int x, int y, int n, int k, const ImageView& strip);

// FitTextWithEllipsis measured in the context's font.
void FitTextWithEllipsis(HDC dc, std::wstring& text, int max_width);
// One line, left-aligned, centred vertically in r.
void DrawTextVCenter(HDC dc, std::wstring_view text, const Rect& r);
// Clipped to r, at x = left + offset + 2, centred by the text height.
void DrawTextInRect(HDC dc, std::wstring_view text, const Rect& r, int offset = 0);

// kind 1 left, 2 right, 3 up, 4 down; a 7-pixel arrow centred in r.
void DrawArrow(HDC dc, const Rect& r, COLORREF colour, int kind);
void DrawCheckMark(HDC dc, int x, int y, COLORREF colour);
void DrawRadioDot(HDC dc, int x, int y, COLORREF colour);

// Caption-button glyphs for skins without images.
void DrawCloseGlyph(HDC dc, int x, int y, COLORREF colour);
void DrawMinimizeGlyph(HDC dc, int x, int y, COLORREF colour);
void DrawMaximizeGlyph(HDC dc, int x, int y, COLORREF colour);
void DrawRestoreGlyph(HDC dc, int x, int y, COLORREF colour);
void DrawBarGlyph(HDC dc, int x, int y, COLORREF colour);
void DrawDownTriangleGlyph(HDC dc, int x, int y, COLORREF colour);
void DrawUpTriangleGlyph(HDC dc, int x, int y, COLORREF colour);
void DrawSmallSquareGlyph(HDC dc, int x, int y, COLORREF colour);

}  // namespace kelmar
