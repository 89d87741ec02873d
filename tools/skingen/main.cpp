// skingen: draws the pictures of Kelmar's own skin ("Kelmar Light").
//
//   skingen OUTDIR    writes the BMP files that skins/default/skin.ini names
//
// Everything is computed from fixed numbers (no randomness, no fonts), so the
// same source gives the same bytes on every machine. The places of the pieces
// are the rectangles the description gives; a piece moved here must be moved
// there too (the skin tests check the figures that the program relies on).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "base/bmp.h"
#include "base/file.h"
#include "base/image.h"

namespace kelmar {
namespace {

// ---------------------------------------------------------------------------
// Drawing helpers: colours as doubles 0..255, coverage-based anti-aliasing.

struct Rgb {
  double r = 0, g = 0, b = 0;
};
constexpr Rgb Hex(uint32_t rgb) { return {double(rgb >> 16 & 255), double(rgb >> 8 & 255), double(rgb & 255)}; }
Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
uint8_t Channel(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }
Pixel ToPixel(Rgb c) { return MakePixel(Channel(c.r), Channel(c.g), Channel(c.b)); }
Rgb FromPixel(Pixel p) { return {double(PixelR(p)), double(PixelG(p)), double(PixelB(p))}; }

// The transparent colour of pieces drawn with a key colour (check marks,
// thumbs): magenta, 16711935 in the description.
constexpr Rgb kKey = Hex(0xFF00FF);

void Blend(Image& img, int x, int y, Rgb c, double alpha) {
  if (x < 0 || y < 0 || x >= img.Width() || y >= img.Height() || alpha <= 0) return;
  img.At(x, y) = ToPixel(Mix(FromPixel(img.At(x, y)), c, std::min(alpha, 1.0)));
}

void FillRect(Image& img, const Rect& r, Rgb c) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) img.At(x, y) = ToPixel(c);
}

// Top to bottom from `top` to `bottom` (both rows included).
void VGradient(Image& img, const Rect& r, Rgb top, Rgb bottom) {
  for (int y = r.top; y < r.bottom; ++y) {
    const double t = r.Height() > 1 ? double(y - r.top) / (r.Height() - 1) : 0;
    for (int x = r.left; x < r.right; ++x) img.At(x, y) = ToPixel(Mix(top, bottom, t));
  }
}

// How much of pixel (x, y) lies inside the rounded rectangle r (corner radius
// rad), sampled 4 x 4 per pixel.
double RoundRectCoverage(int x, int y, const Rect& r, double rad) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
      if (px < r.left || px > r.right || py < r.top || py > r.bottom) continue;
      const double cx = std::clamp(px, r.left + rad, r.right - rad);
      const double cy = std::clamp(py, r.top + rad, r.bottom - rad);
      if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= rad * rad) ++inside;
    }
  return inside / 16.0;
}

using RowColour = std::function<Rgb(int y)>;

void FillRoundRect(Image& img, const Rect& r, double rad, const RowColour& colour) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) Blend(img, x, y, colour(y), RoundRectCoverage(x, y, r, rad));
}

RowColour Gradient(const Rect& r, Rgb top, Rgb bottom) {
  return [=](int y) { return Mix(top, bottom, r.Height() > 1 ? double(y - r.top) / (r.Height() - 1) : 0); };
}

// A one-pixel ring along the inside of the rounded rectangle.
void StrokeRoundRect(Image& img, const Rect& r, double rad, Rgb c, double alpha = 1) {
  const Rect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const double ring = RoundRectCoverage(x, y, r, rad) - RoundRectCoverage(x, y, inner, std::max(rad - 1, 0.0));
      Blend(img, x, y, c, ring * alpha);
    }
}

// An anti-aliased line of the given width between two points (pixel centres
// at .5).
void Line(Image& img, double x0, double y0, double x1, double y1, double width, Rgb c) {
  const int left = int(std::floor(std::min(x0, x1) - width)), right = int(std::ceil(std::max(x0, x1) + width));
  const int top = int(std::floor(std::min(y0, y1) - width)), bottom = int(std::ceil(std::max(y0, y1) + width));
  const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0;
      const double d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
      Blend(img, x, y, c, std::clamp(width / 2 + 0.5 - d, 0.0, 1.0));
    }
}

void Disc(Image& img, double cx, double cy, double rad, Rgb c) {
  for (int y = int(cy - rad) - 1; y <= int(cy + rad) + 1; ++y)
    for (int x = int(cx - rad) - 1; x <= int(cx + rad) + 1; ++x)
      Blend(img, x, y, c, std::clamp(rad + 0.5 - std::hypot(x + 0.5 - cx, y + 0.5 - cy), 0.0, 1.0));
}

enum class Dir { Up, Down, Left, Right };

// A solid arrow head pointing `dir`, `size` pixels along its base, centred
// in r.
void Arrow(Image& img, const Rect& r, Dir dir, int size, Rgb c) {
  const int depth = (size + 1) / 2;
  const bool vertical = dir == Dir::Up || dir == Dir::Down;
  const int x0 = r.left + (r.Width() - (vertical ? size : depth)) / 2;
  const int y0 = r.top + (r.Height() - (vertical ? depth : size)) / 2;
  for (int k = 0; k < depth; ++k)  // k: distance from the base, which is `size` wide
    for (int i = k; i < size - k; ++i) {
      switch (dir) {
        case Dir::Down: Blend(img, x0 + i, y0 + k, c, 1); break;
        case Dir::Up: Blend(img, x0 + i, y0 + depth - 1 - k, c, 1); break;
        case Dir::Right: Blend(img, x0 + k, y0 + i, c, 1); break;
        case Dir::Left: Blend(img, x0 + depth - 1 - k, y0 + i, c, 1); break;
      }
    }
}

// A 1-bit mask: black where coverage reaches one half.
Image MaskOf(int w, int h, const std::function<double(int, int)>& coverage) {
  Image mask(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) mask.At(x, y) = coverage(x, y) >= 0.5 ? MakePixel(0, 0, 0) : MakePixel(255, 255, 255);
  return mask;
}

// ---------------------------------------------------------------------------
// The palette of the skin.

struct FrameColours {
  Rgb outline, glossTop, glossBottom, lowerTop, lowerBottom, border, innerLine, client, glyph;
};
const FrameColours kActive{Hex(0x5A6F8C), Hex(0xF7FAFE), Hex(0xE4EDF8), Hex(0xD2E0F1), Hex(0xDCE7F5),
                           Hex(0xD3E0F0), Hex(0x9DB0C8), Hex(0xF3F5F8), Hex(0x25354A)};
const FrameColours kInactive{Hex(0x9BA3AE), Hex(0xFBFBFC), Hex(0xF0F1F3), Hex(0xE6E8EB), Hex(0xEBEDF0),
                             Hex(0xE8EAED), Hex(0xBCC2CA), Hex(0xF3F5F8), Hex(0x98A1AC)};
constexpr Rgb kPanelTop = Hex(0xFDFEFF), kPanelBottom = Hex(0xE6EDF6);  // tool bar
constexpr Rgb kFieldBorder = Hex(0x9FB1C7), kFieldBorderHot = Hex(0x4A8AD4);
constexpr Rgb kHotTop = Hex(0xF4F9FF), kHotBottom = Hex(0xD6E8FB), kHotBorder = Hex(0x6FA4DC);
constexpr Rgb kDownTop = Hex(0xC4DCF6), kDownBottom = Hex(0xB2D0F1), kDownBorder = Hex(0x4F87C6);
constexpr Rgb kSelection = Hex(0xCDE6FB), kSelectionBorder = Hex(0x8DC1EE);
constexpr Rgb kDisabled = Hex(0xA7AFB9);

// ---------------------------------------------------------------------------
// The window frame: 704 x 292, client 8,28,696,284, caption band rows 1..26,
// rounded top corners (radius 7) and slightly rounded bottom ones (radius 2).

constexpr int kFrameW = 704, kFrameH = 292;
constexpr Rect kClient{8, 28, 696, 284};
constexpr double kTopRadius = 7, kBottomRadius = 2;

double FrameCoverage(int x, int y) {
  // Rounded at the top by kTopRadius, at the bottom by kBottomRadius: the
  // union of two rounded rectangles, each square at the other end.
  const double top = RoundRectCoverage(x, y, {0, 0, kFrameW, kFrameH + 8}, kTopRadius);
  const double bottom = RoundRectCoverage(x, y, {0, -8, kFrameW, kFrameH}, kBottomRadius);
  return std::min(top, bottom);
}

// The caption band's colour in row y: a glossy upper half over a deeper
// lower half.
Rgb CaptionRow(const FrameColours& c, int y) {
  if (y <= 12) return Mix(c.glossTop, c.glossBottom, (y - 1) / 11.0);
  return Mix(c.lowerTop, c.lowerBottom, (y - 13) / 13.0);
}

Image Frame(const FrameColours& c) {
  Image img(kFrameW, kFrameH, ToPixel(Hex(0xFFFFFF)));
  for (int y = 0; y < kFrameH; ++y) {
    const Rgb side = y < kClient.top ? CaptionRow(c, std::max(y, 1)) : Mix(c.lowerBottom, c.border, (y - 28.0) / 263);
    for (int x = 0; x < kFrameW; ++x) img.At(x, y) = ToPixel(side);
  }
  // A soft white line under the outline: the edge of the glass.
  for (int x = 2; x < kFrameW - 2; ++x) Blend(img, x, 1, Hex(0xFFFFFF), 0.7);
  for (int y = 2; y < kFrameH - 2; ++y) {
    Blend(img, 1, y, Hex(0xFFFFFF), 0.45);
    Blend(img, kFrameW - 2, y, Hex(0xFFFFFF), 0.45);
  }
  // The line around the client area and the client background.
  FillRect(img, {kClient.left - 1, kClient.top - 1, kClient.right + 1, kClient.bottom + 1}, c.innerLine);
  FillRect(img, kClient, c.client);
  // The outline, following the rounded shape; outside it, white (cut away by
  // the mask).
  for (int y = 0; y < kFrameH; ++y)
    for (int x = 0; x < kFrameW; ++x) {
      const double cover = FrameCoverage(x, y);
      const bool nearEdge = x < 9 || y < 9 || x >= kFrameW - 9 || y >= kFrameH - 9;
      if (!nearEdge) continue;
      // Inside minus inside-shrunk-by-one: the ring of the outline.
      const double inner = std::min(RoundRectCoverage(x, y, {1, 1, kFrameW - 1, kFrameH + 8}, kTopRadius - 1),
                                    RoundRectCoverage(x, y, {1, -8, kFrameW - 1, kFrameH - 1}, 1));
      Blend(img, x, y, c.outline, cover - inner);
      if (cover < 1) Blend(img, x, y, Hex(0xFFFFFF), 1 - cover);
    }
  return img;
}

Image FrameMask() { return MaskOf(kFrameW, kFrameH, FrameCoverage); }

// ---------------------------------------------------------------------------
// Caption buttons (active picture 0, capbuttons.bmp, 134 x 68): columns close
// (0, 43 wide), maximize (43), restore (68), minimize (93), each 25 wide, and
// the system menu icon (118, 16 x 16); rows normal (0), hot (17), pressed (34)
// and inactive window (51), 17 high. Buttons sit at y 1 of the window, so
// their normal background is caption rows 1..17.

enum class CapGlyph { Close, Maximize, Restore, Minimize };

void DrawCapGlyph(Image& img, const Rect& r, CapGlyph g, Rgb c, int shift) {
  const double cx = r.left + r.Width() / 2.0 + shift, cy = r.top + r.Height() / 2.0 + shift;
  switch (g) {
    case CapGlyph::Close:
      Line(img, cx - 4, cy - 4, cx + 4, cy + 4, 1.4, c);
      Line(img, cx - 4, cy + 4, cx + 4, cy - 4, 1.4, c);
      break;
    case CapGlyph::Maximize: {
      const int x = int(cx) - 5, y = int(cy) - 4;
      FillRect(img, {x, y, x + 10, y + 2}, c);
      FillRect(img, {x, y + 8, x + 10, y + 9}, c);
      FillRect(img, {x, y, x + 1, y + 9}, c);
      FillRect(img, {x + 9, y, x + 10, y + 9}, c);
      break;
    }
    case CapGlyph::Restore: {
      const int x = int(cx) - 5, y = int(cy) - 5;
      FillRect(img, {x + 3, y, x + 11, y + 2}, c);  // the window behind
      FillRect(img, {x + 10, y, x + 11, y + 6}, c);
      FillRect(img, {x, y + 3, x + 8, y + 5}, c);  // the window in front
      FillRect(img, {x, y + 10, x + 8, y + 11}, c);
      FillRect(img, {x, y + 3, x + 1, y + 11}, c);
      FillRect(img, {x + 7, y + 3, x + 8, y + 11}, c);
      break;
    }
    case CapGlyph::Minimize: {
      const int x = int(cx) - 5, y = int(cy) + 2;
      FillRect(img, {x, y, x + 10, y + 2}, c);
      break;
    }
  }
}

// The generic window icon of the system menu button (the frame shows the
// form's own icon instead when it has one).
void DrawWindowIcon(Image& img, int x, int y, bool active) {
  const Rgb body = active ? Hex(0x3D7CC9) : Hex(0x9AA6B5);
  FillRoundRect(img, {x + 1, y + 2, x + 15, y + 14}, 2, Gradient({x, y + 2, x + 15, y + 14}, Mix(body, Hex(0xFFFFFF), 0.25), body));
  FillRect(img, {x + 3, y + 6, x + 13, y + 12}, Hex(0xFFFFFF));
}

Image CaptionButtons() {
  Image img(134, 68);
  struct Column {
    int x, w;
    CapGlyph glyph;
    bool close;
  };
  const Column columns[] = {{0, 43, CapGlyph::Close, true}, {43, 25, CapGlyph::Maximize, false},
                            {68, 25, CapGlyph::Restore, false}, {93, 25, CapGlyph::Minimize, false}};
  for (int row = 0; row < 4; ++row) {
    const FrameColours& fc = row == 3 ? kInactive : kActive;
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < img.Width(); ++x) img.At(x, row * 17 + y) = ToPixel(CaptionRow(fc, y + 1));
    for (const Column& col : columns) {
      const Rect r{col.x, row * 17, col.x + col.w, row * 17 + 17};
      const Rect plate{r.left + 1, r.top, r.right - 1, r.bottom - 1};
      Rgb glyph = fc.glyph;
      if (row == 1 || row == 2) {
        const bool down = row == 2;
        if (col.close) {
          FillRoundRect(img, plate, 3, Gradient(plate, down ? Hex(0xC8463C) : Hex(0xF0766B), down ? Hex(0xA9281F) : Hex(0xD8392D)));
          StrokeRoundRect(img, plate, 3, down ? Hex(0x86201A) : Hex(0xB02E25));
          glyph = Hex(0xFFFFFF);
        } else {
          FillRoundRect(img, plate, 3, Gradient(plate, down ? kDownTop : Hex(0xFFFFFF), down ? kDownBottom : kHotBottom));
          StrokeRoundRect(img, plate, 3, down ? kDownBorder : kHotBorder);
        }
        // Gloss on the upper half of the plate.
        for (int y = plate.top + 1; y < plate.top + plate.Height() / 2; ++y)
          for (int x = plate.left + 2; x < plate.right - 2; ++x) Blend(img, x, y, Hex(0xFFFFFF), down ? 0.1 : 0.3);
      }
      DrawCapGlyph(img, plate, col.glyph, glyph, row == 2 ? 1 : 0);
    }
    DrawWindowIcon(img, 118, row * 17, row != 3);
  }
  return img;
}

// ---------------------------------------------------------------------------
// Controls (active picture 1, controls.bmp, 160 x 270).
//   button states, 30 x 25 each:        normal 0,0  hot 30,0  down 60,0  disabled 90,0
//   framed check/radio box, 60 x 25:    normal 0,25  hot 60,25
//   check box marks, 14 x 14 at y 50:   unchecked, checked, hot unchecked, hot checked,
//                                       disabled unchecked, disabled checked (x 0, 14, ... 70)
//   radio box marks, the same at y 64
//   panel (tool bar), 40 x 41:          0,78
//   combo box, 60 x 19:                 0,120; its button hot / down / disabled, 16 x 17,
//                                       at 60,121  76,121  92,121
//   combo item, 20 x 15:                normal 0,140  focused 20,140
//   status panel, 68 x 16:              0,222
//   status bar, 68 x 19:                6,242

void Button(Image& img, const Rect& r, Rgb top, Rgb bottom, Rgb border) {
  FillRoundRect(img, r, 3, Gradient(r, top, bottom));
  StrokeRoundRect(img, r, 3, border);
  for (int x = r.left + 3; x < r.right - 3; ++x) Blend(img, x, r.top + 1, Hex(0xFFFFFF), 0.8);
}

// Rounded box (check box) or circle (radio box) of 14 x 14 on the key colour.
void Mark(Image& img, int x, int y, bool radio, bool checked, int state /*0 normal, 1 hot, 2 disabled*/) {
  const Rect box{x, y, x + 14, y + 14};
  FillRect(img, box, kKey);
  // Edges are blended toward the tool bar colour, not the key, so they look
  // right where the mark is drawn.
  for (int yy = y; yy < y + 14; ++yy)
    for (int xx = x; xx < x + 14; ++xx) {
      const double cover = radio ? std::clamp(7.5 - std::hypot(xx + 0.5 - (x + 7), yy + 0.5 - (y + 7)), 0.0, 1.0)
                                 : RoundRectCoverage(xx, yy, {x, y, x + 13, y + 13}, 2.5);
      if (cover <= 0) continue;
      const Rgb border = state == 2 ? kDisabled : state == 1 ? kFieldBorderHot : Hex(0x7F93AD);
      const Rgb inner = state == 2 ? Hex(0xF1F3F5) : Mix(Hex(0xFFFFFF), state == 1 ? Hex(0xDCEBFB) : Hex(0xE8EEF5), (yy - y) / 13.0);
      const double ring = radio ? std::clamp(6.5 - std::hypot(xx + 0.5 - (x + 7), yy + 0.5 - (y + 7)), 0.0, 1.0)
                                : RoundRectCoverage(xx, yy, {x + 1, y + 1, x + 12, y + 12}, 1.5);
      const Rgb c = Mix(border, inner, ring);
      img.At(xx, yy) = ToPixel(Mix(kPanelBottom, c, cover));
    }
  if (!checked) return;
  const Rgb mark = state == 2 ? kDisabled : Hex(0x1F5FA8);
  if (radio) {
    Disc(img, x + 7, y + 7, 3, mark);
  } else {
    Line(img, x + 3.5, y + 6.5, x + 5.5, y + 9.5, 1.6, mark);
    Line(img, x + 5.5, y + 9.5, x + 10, y + 3.5, 1.6, mark);
  }
}

Image Controls() {
  Image img(160, 270, ToPixel(kKey));
  // Tool buttons: a light plate that reads as a button on the tool bar. The
  // pieces are drawn opaque, so the corners show the tool bar's rows 8..32,
  // where the main window's buttons sit.
  VGradient(img, {0, 0, 120, 25}, Mix(kPanelTop, kPanelBottom, 8 / 40.0), Mix(kPanelTop, kPanelBottom, 32 / 40.0));
  Button(img, {0, 0, 30, 25}, Hex(0xFFFFFF), Hex(0xE9EFF7), Hex(0xB3C1D3));
  Button(img, {30, 0, 60, 25}, kHotTop, kHotBottom, kHotBorder);
  Button(img, {60, 0, 90, 25}, kDownTop, kDownBottom, kDownBorder);
  Button(img, {90, 0, 120, 25}, Hex(0xF7F8FA), Hex(0xEEF0F3), Hex(0xCDD3DA));
  // Framed check/radio box: tool bar background, hot with a soft plate.
  VGradient(img, {0, 25, 120, 50}, Mix(kPanelTop, kPanelBottom, 8 / 40.0), Mix(kPanelTop, kPanelBottom, 32 / 40.0));
  FillRoundRect(img, {60, 25, 120, 50}, 3, Gradient({60, 25, 120, 50}, kHotTop, kHotBottom));
  StrokeRoundRect(img, {60, 25, 120, 50}, 3, kHotBorder, 0.6);
  for (int radio = 0; radio < 2; ++radio)
    for (int i = 0; i < 6; ++i) Mark(img, i * 14, 50 + radio * 14, radio == 1, i % 2 == 1, i / 2);
  // Tool bar: white to light blue, a white top line and a grey line below.
  VGradient(img, {0, 78, 40, 119}, kPanelTop, kPanelBottom);
  FillRect(img, {0, 78, 40, 79}, Hex(0xFFFFFF));
  FillRect(img, {0, 118, 40, 119}, Hex(0xB9C6D6));
  // Combo box: a white field with a rounded border and the drop button at the
  // right (its normal look is part of the field).
  const Rect combo{0, 120, 60, 139};
  VGradient(img, combo, Mix(kPanelTop, kPanelBottom, 10 / 40.0), Mix(kPanelTop, kPanelBottom, 29 / 40.0));
  FillRoundRect(img, combo, 2.5, [](int) { return Hex(0xFFFFFF); });
  StrokeRoundRect(img, combo, 2.5, kFieldBorder);
  FillRect(img, {43, 122, 44, 137}, Hex(0xDCE3EC));
  Arrow(img, {44, 120, 59, 139}, Dir::Down, 7, Hex(0x3A4B60));
  const Rect comboButtons[] = {{60, 121, 76, 138}, {76, 121, 92, 138}, {92, 121, 108, 138}};
  FillRect(img, {60, 121, 108, 138}, Hex(0xFFFFFF));  // the field under the button
  Button(img, comboButtons[0], kHotTop, kHotBottom, kHotBorder);
  Button(img, comboButtons[1], kDownTop, kDownBottom, kDownBorder);
  Button(img, comboButtons[2], Hex(0xF4F5F7), Hex(0xF4F5F7), Hex(0xDADFE5));
  for (int i = 0; i < 3; ++i) Arrow(img, comboButtons[i].Offset(i == 1 ? 1 : 0, i == 1 ? 1 : 0), Dir::Down, 7, i == 2 ? kDisabled : Hex(0x3A4B60));
  FillRect(img, {0, 140, 40, 155}, Hex(0xFFFFFF));
  FillRoundRect(img, {20, 140, 40, 155}, 2, [](int) { return kSelection; });
  StrokeRoundRect(img, {20, 140, 40, 155}, 2, kSelectionBorder);
  // Status panel: a quiet inset field.
  const Rect panel{0, 222, 68, 238};
  VGradient(img, panel, Hex(0xE3EAF3), Hex(0xDDE5EF));
  FillRoundRect(img, panel, 2, Gradient(panel, Hex(0xF6F8FB), Hex(0xFDFEFF)));
  StrokeRoundRect(img, panel, 2, Hex(0xC3CEDB));
  // Status bar: a grey line on top, then a light gradient.
  const Rect bar{6, 242, 74, 261};
  VGradient(img, bar, Hex(0xE9EEF5), Hex(0xDDE5EF));
  FillRect(img, {6, 242, 74, 243}, Hex(0xB9C6D6));
  FillRect(img, {6, 243, 74, 244}, Hex(0xFFFFFF));
  return img;
}

// ---------------------------------------------------------------------------
// Popup menu window (active picture 2, 60 x 40) and its mask (7); menu items
// (4, 60 x 51: item 0,0; hot item 0,22; divider 0,44, 60 x 7).

constexpr Rect kPopup{0, 0, 60, 40};

Image PopupWindow() {
  Image img(60, 40, ToPixel(Hex(0xFFFFFF)));
  FillRect(img, {1, 1, 27, 39}, Hex(0xF2F5F9));  // the icon column
  FillRect(img, {27, 1, 28, 39}, Hex(0xE1E7EE));
  StrokeRoundRect(img, kPopup, 3, Hex(0x8E9CAD));
  return img;
}

Image PopupMask() { return MaskOf(60, 40, [](int x, int y) { return RoundRectCoverage(x, y, kPopup, 3); }); }

Image MenuItems() {
  Image img(60, 51, ToPixel(Hex(0xFFFFFF)));
  for (int item = 0; item < 2; ++item) {
    const int y = item * 22;
    FillRect(img, {0, y, 24, y + 22}, Hex(0xF2F5F9));  // continues the popup's icon column
    FillRect(img, {24, y, 25, y + 22}, Hex(0xE1E7EE));
  }
  const Rect hot{1, 23, 59, 43};
  FillRoundRect(img, hot, 3, Gradient(hot, Hex(0xE3F0FD), kSelection));
  StrokeRoundRect(img, hot, 3, kSelectionBorder);
  FillRect(img, {0, 44, 24, 51}, Hex(0xF2F5F9));
  FillRect(img, {24, 44, 25, 51}, Hex(0xE1E7EE));
  FillRect(img, {28, 47, 58, 48}, Hex(0xD7DEE7));
  return img;
}

// ---------------------------------------------------------------------------
// Hint window (active picture 3, 40 x 20, client 2,2,38,18) and its mask (6).

constexpr Rect kHint{0, 0, 40, 20};

Image HintWindow() {
  Image img(40, 20, ToPixel(Hex(0xFFFFFF)));
  FillRoundRect(img, kHint, 3, Gradient(kHint, Hex(0xFFFFFF), Hex(0xE6ECF4)));
  StrokeRoundRect(img, kHint, 3, Hex(0x7D8896));
  return img;
}

Image HintMask() { return MaskOf(40, 20, [](int x, int y) { return RoundRectCoverage(x, y, kHint, 3); }); }

// ---------------------------------------------------------------------------
// List box of the combo box (active picture 5, 40 x 94): frame 0,0,40,40;
// rows 40 x 18: item 0,40  selected 0,58  selected with focus 0,76.

Image ListBox() {
  Image img(40, 94, ToPixel(Hex(0xFFFFFF)));
  FillRect(img, {0, 0, 40, 40}, kFieldBorder);
  FillRect(img, {1, 1, 39, 39}, Hex(0xFFFFFF));
  const Rect selected{1, 58, 39, 76}, focused{1, 76, 39, 94};
  FillRoundRect(img, selected, 2, Gradient(selected, Hex(0xE5F1FD), kSelection));
  StrokeRoundRect(img, selected, 2, kSelectionBorder);
  FillRoundRect(img, focused, 2, Gradient(focused, Hex(0xD9EBFC), Hex(0xBFDDF8)));
  StrokeRoundRect(img, focused, 2, Hex(0x69A9E6));
  return img;
}

// ---------------------------------------------------------------------------
// Scroll bars (active picture 8, 136 x 117):
//   vertical bar 0,0,17,60 (decrease button 0..17, track 17..43, increase 43..60)
//   horizontal bar 20,0,80,17; the same with the corner box 20,20,97,37
//   button plates 17 x 17 at y 64, x: up hot 0, up down 17, down hot 34,
//     down down 51, left hot 68, left down 85, right hot 102, right down 119
//   vertical thumbs 11 x 30 at y 84: normal 0, hot 11, dragged 22
//   horizontal thumbs 30 x 11 at x 40: normal y 84, hot 95, dragged 106
//   grips: vertical 7 x 5 at 80,84; horizontal 5 x 7 at 90,84

constexpr Rgb kTrack = Hex(0xEEF1F5), kArrow = Hex(0x56667A);

void Track(Image& img, const Rect& r) {
  FillRect(img, r, kTrack);
}

void ScrollButton(Image& img, const Rect& r, Dir dir, int state /*0 normal, 1 hot, 2 down*/) {
  if (state == 0) {
    Track(img, r);
  } else {
    const Rect plate{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    Track(img, r);
    Button(img, plate, state == 2 ? kDownTop : kHotTop, state == 2 ? kDownBottom : kHotBottom,
           state == 2 ? kDownBorder : kHotBorder);
  }
  Arrow(img, r, dir, 7, state == 0 ? kArrow : Hex(0x1F3550));
}

void Thumb(Image& img, const Rect& r, int state) {
  FillRect(img, r, kKey);
  const Rgb top = state == 2 ? Hex(0x7C9BC2) : state == 1 ? Hex(0xA9C3E3) : Hex(0xC4CFDC);
  const Rgb bottom = state == 2 ? Hex(0x6C8DB8) : state == 1 ? Hex(0x93B4DC) : Hex(0xB3C0D0);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const double cover = RoundRectCoverage(x, y, r, 4);
      const bool vertical = r.Height() > r.Width();
      const double t = vertical ? double(x - r.left) / (r.Width() - 1) : double(y - r.top) / (r.Height() - 1);
      if (cover > 0) img.At(x, y) = ToPixel(Mix(kTrack, Mix(top, bottom, t), cover));
    }
}

Image ScrollBars() {
  Image img(136, 117, ToPixel(kKey));
  // Vertical bar: decrease (up) at the top, increase (down) at the bottom.
  ScrollButton(img, {0, 0, 17, 17}, Dir::Up, 0);
  Track(img, {0, 17, 17, 43});
  ScrollButton(img, {0, 43, 17, 60}, Dir::Down, 0);
  for (int y : {0, 20}) {
    ScrollButton(img, {20, y, 37, y + 17}, Dir::Left, 0);
    Track(img, {37, y, 63, y + 17});
    ScrollButton(img, {63, y, 80, y + 17}, Dir::Right, 0);
  }
  FillRect(img, {80, 20, 97, 37}, Hex(0xE2E7EE));  // the corner shared with a vertical bar
  const Dir dirs[] = {Dir::Up, Dir::Down, Dir::Left, Dir::Right};
  for (int i = 0; i < 8; ++i) ScrollButton(img, {i * 17, 64, i * 17 + 17, 81}, dirs[i / 2], 1 + i % 2);
  for (int s = 0; s < 3; ++s) {
    Thumb(img, {s * 11, 84, s * 11 + 11, 114}, s);
    Thumb(img, {40, 84 + s * 11, 70, 95 + s * 11}, s);
  }
  // Grips: three short lines across the thumb.
  FillRect(img, {80, 84, 87, 89}, Hex(0xB3C0D0));
  for (int k = 0; k < 3; ++k) FillRect(img, {80, 84 + 2 * k, 87, 85 + 2 * k}, Hex(0x5E7390));
  FillRect(img, {90, 84, 95, 91}, Hex(0xB3C0D0));
  for (int k = 0; k < 3; ++k) FillRect(img, {90 + 2 * k, 84, 91 + 2 * k, 91}, Hex(0x5E7390));
  return img;
}

// ---------------------------------------------------------------------------

void Write(const std::filesystem::path& dir, const char* name, const Image& image, int bits) {
  WriteWholeFile(Utf8FromPath(dir / name), EncodeBmp(image.View(), bits));
}

int Main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: skingen OUTDIR\n", stderr);
    return 2;
  }
  try {
    const std::filesystem::path dir = PathFromUtf8(argv[1]);
    std::filesystem::create_directories(dir);
    Write(dir, "frame.bmp", Frame(kActive), 24);
    Write(dir, "frame_inactive.bmp", Frame(kInactive), 24);
    Write(dir, "frame_mask.bmp", FrameMask(), 1);
    Write(dir, "capbuttons.bmp", CaptionButtons(), 24);
    Write(dir, "controls.bmp", Controls(), 24);
    Write(dir, "popup.bmp", PopupWindow(), 24);
    Write(dir, "hint.bmp", HintWindow(), 24);
    Write(dir, "menuitem.bmp", MenuItems(), 24);
    Write(dir, "listbox.bmp", ListBox(), 24);
    Write(dir, "hint_mask.bmp", HintMask(), 1);
    Write(dir, "popup_mask.bmp", PopupMask(), 1);
    Write(dir, "scrollbars.bmp", ScrollBars(), 24);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}

}  // namespace
}  // namespace kelmar

int main(int argc, char** argv) { return kelmar::Main(argc, argv); }
