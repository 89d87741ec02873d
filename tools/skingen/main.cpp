// skingen: draws the pictures of Kelmar's own skin ("Kelmar Light").
//
//   skingen OUTDIR             writes the BMP files that skins/default/skin.ini names
//   skingen OUTDIR --dpi N     the same pictures drawn for N DPI (the build uses
//                              144 and 192: 150 % and 200 %)
//
// Everything is computed from fixed numbers (no randomness, no fonts), so the
// same source gives the same bytes on every machine. The places of the pieces
// are the rectangles the description gives; a piece moved here must be moved
// there too (the skin tests check the figures that the program relies on).
//
// The description's numbers are for 96 DPI at every scale. For N DPI every
// piece is drawn at its description rectangle with each edge scaled by
// ScaleLength (the rule the skin loader scales the description with), so
// pieces that touch at 96 DPI touch at N. Inside a piece, insets and line
// widths are scaled lengths measured from the piece's own edges (so a piece
// stays symmetric), and radii, glyph strokes and points are multiplied by
// N / 96: every piece is drawn at its size, none is a stretched copy. At 96
// DPI every length is the number written here.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "base/bmp.h"
#include "base/display_scale.h"
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

// A ring `width` pixels wide along the inside of the rounded rectangle.
void StrokeRoundRect(Image& img, const Rect& r, double rad, int width, Rgb c, double alpha = 1) {
  const Rect inner{r.left + width, r.top + width, r.right - width, r.bottom - width};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const double ring = RoundRectCoverage(x, y, r, rad) - RoundRectCoverage(x, y, inner, std::max(rad - width, 0.0));
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
// The scale the pictures are drawn at.

class Scale {
 public:
  explicit Scale(int dpi) : dpi_(dpi), factor_(dpi / double(kDesignDpi)) {}

  // A length or coordinate of the design.
  int L(int length) const { return ScaleLength(length, dpi_); }
  // A rectangle of the design: each edge scaled, as the loader scales the
  // description's rectangles.
  Rect R(const Rect& r) const { return {L(r.left), L(r.top), L(r.right), L(r.bottom)}; }
  // A radius, stroke width or glyph coordinate: exact, not rounded.
  double F(double length) const { return length * factor_; }
  // r with its edges moved inwards by design lengths.
  Rect Inset(const Rect& r, int left, int top, int right, int bottom) const {
    return {r.left + L(left), r.top + L(top), r.right - L(right), r.bottom - L(bottom)};
  }
  Rect Inset(const Rect& r, int by) const { return Inset(r, by, by, by, by); }
  // The width of a design line of one pixel.
  int Line() const { return L(1); }

 private:
  int dpi_;
  double factor_;
};

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
// The pictures, drawn at one scale.

class Painter {
 public:
  explicit Painter(int dpi) : s_(dpi) {}

  Image Frame(const FrameColours& c) const;
  Image FrameMask() const;
  Image CaptionButtons() const;
  Image Controls() const;
  Image PopupWindow() const;
  Image PopupMask() const;
  Image MenuItems() const;
  Image HintWindow() const;
  Image HintMask() const;
  Image ListBox() const;
  Image ScrollBars() const;

 private:
  enum class CapGlyph { Close, Maximize, Restore, Minimize };

  int L(int length) const { return s_.L(length); }
  Rect R(const Rect& r) const { return s_.R(r); }
  double F(double length) const { return s_.F(length); }

  double FrameCoverage(int x, int y) const;
  Rgb CaptionRow(const FrameColours& c, int y) const;
  void DrawCapGlyph(Image& img, const Rect& r, CapGlyph g, Rgb c, int shift) const;
  void DrawWindowIcon(Image& img, const Rect& r, bool active) const;
  void Button(Image& img, const Rect& r, Rgb top, Rgb bottom, Rgb border) const;
  void Mark(Image& img, const Rect& box, bool radio, bool checked, int state) const;
  void ScrollButton(Image& img, const Rect& r, Dir dir, int state) const;
  void Thumb(Image& img, const Rect& r, int state) const;

  Scale s_;
};

// A window outline of `w` x `h` at x, y: its top bar `top` thick, its other
// sides `side` thick (the maximize and restore glyphs).
void WindowOutline(Image& img, int x, int y, int w, int h, int top, int side, Rgb c) {
  FillRect(img, {x, y, x + w, y + top}, c);
  FillRect(img, {x, y + h - side, x + w, y + h}, c);
  FillRect(img, {x, y, x + side, y + h}, c);
  FillRect(img, {x + w - side, y, x + w, y + h}, c);
}

// ---------------------------------------------------------------------------
// The window frame: 704 x 292, client 8,28,696,284, caption band rows 1..26,
// rounded top corners (radius 7) and slightly rounded bottom ones (radius 2).

constexpr int kFrameW = 704, kFrameH = 292;
constexpr Rect kClient{8, 28, 696, 284};
constexpr double kTopRadius = 7, kBottomRadius = 2;

double Painter::FrameCoverage(int x, int y) const {
  // Rounded at the top by kTopRadius, at the bottom by kBottomRadius: the
  // union of two rounded rectangles, each square at the other end.
  const int w = L(kFrameW), h = L(kFrameH);
  const double top = RoundRectCoverage(x, y, {0, 0, w, h + L(8)}, F(kTopRadius));
  const double bottom = RoundRectCoverage(x, y, {0, -L(8), w, h}, F(kBottomRadius));
  return std::min(top, bottom);
}

// The caption band's colour in row y: a glossy upper half (rows 1..12) over
// a deeper lower half (13..26).
Rgb Painter::CaptionRow(const FrameColours& c, int y) const {
  if (y < L(13)) return Mix(c.glossTop, c.glossBottom, (y - L(1)) / double(L(13) - 1 - L(1)));
  return Mix(c.lowerTop, c.lowerBottom, (y - L(13)) / double(L(27) - 1 - L(13)));
}

Image Painter::Frame(const FrameColours& c) const {
  const int w = L(kFrameW), h = L(kFrameH), line = s_.Line();
  const Rect client = R(kClient);
  Image img(w, h, ToPixel(Hex(0xFFFFFF)));
  for (int y = 0; y < h; ++y) {
    const Rgb side = y < client.top ? CaptionRow(c, std::max(y, L(1)))
                                    : Mix(c.lowerBottom, c.border, (y - double(client.top)) / double(h - 1 - client.top));
    for (int x = 0; x < w; ++x) img.At(x, y) = ToPixel(side);
  }
  // A soft white line under the outline: the edge of the glass.
  for (int y = line; y < 2 * line; ++y)
    for (int x = 2 * line; x < w - 2 * line; ++x) Blend(img, x, y, Hex(0xFFFFFF), 0.7);
  for (int y = 2 * line; y < h - 2 * line; ++y)
    for (int k = 0; k < line; ++k) {
      Blend(img, line + k, y, Hex(0xFFFFFF), 0.45);
      Blend(img, w - 1 - line - k, y, Hex(0xFFFFFF), 0.45);
    }
  // The line around the client area and the client background.
  FillRect(img, s_.Inset(client, -1), c.innerLine);
  FillRect(img, client, c.client);
  // The outline, following the rounded shape; outside it, white (cut away by
  // the mask).
  const int nearEdge = L(9);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (x >= nearEdge && y >= nearEdge && x < w - nearEdge && y < h - nearEdge) continue;
      const double cover = FrameCoverage(x, y);
      // Inside minus inside-shrunk-by-a-line: the ring of the outline.
      const double inner =
          std::min(RoundRectCoverage(x, y, {line, line, w - line, h + L(8)}, F(kTopRadius) - line),
                   RoundRectCoverage(x, y, {line, -L(8), w - line, h - line}, F(kBottomRadius) - line));
      Blend(img, x, y, c.outline, cover - inner);
      if (cover < 1) Blend(img, x, y, Hex(0xFFFFFF), 1 - cover);
    }
  return img;
}

Image Painter::FrameMask() const {
  return MaskOf(L(kFrameW), L(kFrameH), [this](int x, int y) { return FrameCoverage(x, y); });
}

// ---------------------------------------------------------------------------
// Caption buttons (active picture 0, capbuttons.bmp, 134 x 68): columns close
// (0, 43 wide), maximize (43), restore (68), minimize (93), each 25 wide, and
// the system menu icon (118, 16 x 16); rows normal (0), hot (17), pressed (34)
// and inactive window (51), 17 high. Buttons sit at y 1 of the window, so
// their normal background is caption rows 1..17.

// The glyph of a caption button on its plate, given as the plate's design
// rectangle: the glyph keeps its design place at every scale.
void Painter::DrawCapGlyph(Image& img, const Rect& plate, CapGlyph g, Rgb c, int shift) const {
  const double cx = plate.left + plate.Width() / 2.0 + shift, cy = plate.top + plate.Height() / 2.0 + shift;
  const int x = int(cx), y = int(cy), line = s_.Line();  // the design pixel at the centre
  switch (g) {
    case CapGlyph::Close:
      Line(img, F(cx) - F(4), F(cy) - F(4), F(cx) + F(4), F(cy) + F(4), F(1.4), c);
      Line(img, F(cx) - F(4), F(cy) + F(4), F(cx) + F(4), F(cy) - F(4), F(1.4), c);
      break;
    case CapGlyph::Maximize:
      WindowOutline(img, L(x - 5), L(y - 4), L(10), L(9), L(2), line, c);
      break;
    case CapGlyph::Restore: {
      const int backLeft = L(x - 2), backRight = backLeft + L(8), top = L(y - 5);
      FillRect(img, {backLeft, top, backRight, top + L(2)}, c);  // the window behind
      FillRect(img, {backRight - line, top, backRight, top + L(6)}, c);
      WindowOutline(img, L(x - 5), L(y - 2), L(8), L(8), L(2), line, c);  // the window in front
      break;
    }
    case CapGlyph::Minimize:
      FillRect(img, {L(x - 5), L(y + 2), L(x - 5) + L(10), L(y + 2) + L(2)}, c);
      break;
  }
}

// The generic window icon of the system menu button (the frame shows the
// form's own icon instead when it has one), in its 16 x 16 piece r.
void Painter::DrawWindowIcon(Image& img, const Rect& r, bool active) const {
  const Rgb body = active ? Hex(0x3D7CC9) : Hex(0x9AA6B5);
  FillRoundRect(img, s_.Inset(r, 1, 2, 1, 2), F(2),
                Gradient(s_.Inset(r, 0, 2, 1, 2), Mix(body, Hex(0xFFFFFF), 0.25), body));
  FillRect(img, s_.Inset(r, 3, 6, 3, 4), Hex(0xFFFFFF));
}

Image Painter::CaptionButtons() const {
  Image img(L(134), L(68));
  struct Column {
    int x, w;
    CapGlyph glyph;
    bool close;
  };
  const Column columns[] = {{0, 43, CapGlyph::Close, true}, {43, 25, CapGlyph::Maximize, false},
                            {68, 25, CapGlyph::Restore, false}, {93, 25, CapGlyph::Minimize, false}};
  const int line = s_.Line();
  for (int row = 0; row < 4; ++row) {
    const FrameColours& fc = row == 3 ? kInactive : kActive;
    const Rect band = R({0, row * 17, 134, row * 17 + 17});
    for (int y = band.top; y < band.bottom; ++y)
      for (int x = 0; x < img.Width(); ++x) img.At(x, y) = ToPixel(CaptionRow(fc, y - band.top + L(1)));
    for (const Column& col : columns) {
      const Rect r = R({col.x, row * 17, col.x + col.w, row * 17 + 17});
      const Rect plate = s_.Inset(r, 1, 0, 1, 1);
      const Rect designPlate{col.x + 1, row * 17, col.x + col.w - 1, row * 17 + 16};
      Rgb glyph = fc.glyph;
      if (row == 1 || row == 2) {
        const bool down = row == 2;
        if (col.close) {
          FillRoundRect(img, plate, F(3), Gradient(plate, down ? Hex(0xC8463C) : Hex(0xF0766B), down ? Hex(0xA9281F) : Hex(0xD8392D)));
          StrokeRoundRect(img, plate, F(3), line, down ? Hex(0x86201A) : Hex(0xB02E25));
          glyph = Hex(0xFFFFFF);
        } else {
          FillRoundRect(img, plate, F(3), Gradient(plate, down ? kDownTop : Hex(0xFFFFFF), down ? kDownBottom : kHotBottom));
          StrokeRoundRect(img, plate, F(3), line, down ? kDownBorder : kHotBorder);
        }
        // Gloss on the upper half of the plate.
        for (int y = plate.top + line; y < plate.top + plate.Height() / 2; ++y)
          for (int x = plate.left + L(2); x < plate.right - L(2); ++x) Blend(img, x, y, Hex(0xFFFFFF), down ? 0.1 : 0.3);
      }
      DrawCapGlyph(img, designPlate, col.glyph, glyph, row == 2 ? 1 : 0);
    }
    DrawWindowIcon(img, R({118, row * 17, 134, row * 17 + 16}), row != 3);
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

void Painter::Button(Image& img, const Rect& r, Rgb top, Rgb bottom, Rgb border) const {
  const int line = s_.Line();
  FillRoundRect(img, r, F(3), Gradient(r, top, bottom));
  StrokeRoundRect(img, r, F(3), line, border);
  for (int y = r.top + line; y < r.top + 2 * line; ++y)
    for (int x = r.left + L(3); x < r.right - L(3); ++x) Blend(img, x, y, Hex(0xFFFFFF), 0.8);
}

// Rounded box (check box) or circle (radio box) of 14 x 14 on the key colour.
void Painter::Mark(Image& img, const Rect& box, bool radio, bool checked, int state /*0 normal, 1 hot, 2 disabled*/) const {
  const int x = box.left, y = box.top, line = s_.Line();
  FillRect(img, box, kKey);
  // Edges are blended toward the tool bar colour, not the key, so they look
  // right where the mark is drawn.
  const double cx = x + F(7), cy = y + F(7);
  const Rect outer{x, y, x + L(13), y + L(13)};
  const Rect inner{outer.left + line, outer.top + line, outer.right - line, outer.bottom - line};
  for (int yy = box.top; yy < box.bottom; ++yy)
    for (int xx = box.left; xx < box.right; ++xx) {
      const double cover = radio ? std::clamp(F(7) + 0.5 - std::hypot(xx + 0.5 - cx, yy + 0.5 - cy), 0.0, 1.0)
                                 : RoundRectCoverage(xx, yy, outer, F(2.5));
      if (cover <= 0) continue;
      const Rgb border = state == 2 ? kDisabled : state == 1 ? kFieldBorderHot : Hex(0x7F93AD);
      const Rgb fill = state == 2 ? Hex(0xF1F3F5) : Mix(Hex(0xFFFFFF), state == 1 ? Hex(0xDCEBFB) : Hex(0xE8EEF5), (yy - y) / double(L(13)));
      const double ring = radio ? std::clamp(F(7) - line + 0.5 - std::hypot(xx + 0.5 - cx, yy + 0.5 - cy), 0.0, 1.0)
                                : RoundRectCoverage(xx, yy, inner, F(2.5) - line);
      const Rgb c = Mix(border, fill, ring);
      img.At(xx, yy) = ToPixel(Mix(kPanelBottom, c, cover));
    }
  if (!checked) return;
  const Rgb mark = state == 2 ? kDisabled : Hex(0x1F5FA8);
  if (radio) {
    Disc(img, cx, cy, F(3), mark);
  } else {
    Line(img, x + F(3.5), y + F(6.5), x + F(5.5), y + F(9.5), F(1.6), mark);
    Line(img, x + F(5.5), y + F(9.5), x + F(10), y + F(3.5), F(1.6), mark);
  }
}

Image Painter::Controls() const {
  const int line = s_.Line();
  Image img(L(160), L(270), ToPixel(kKey));
  // Tool buttons: a light plate that reads as a button on the tool bar. The
  // pieces are drawn opaque, so the corners show the tool bar's rows 8..32,
  // where the main window's buttons sit.
  VGradient(img, R({0, 0, 120, 25}), Mix(kPanelTop, kPanelBottom, 8 / 40.0), Mix(kPanelTop, kPanelBottom, 32 / 40.0));
  Button(img, R({0, 0, 30, 25}), Hex(0xFFFFFF), Hex(0xE9EFF7), Hex(0xB3C1D3));
  Button(img, R({30, 0, 60, 25}), kHotTop, kHotBottom, kHotBorder);
  Button(img, R({60, 0, 90, 25}), kDownTop, kDownBottom, kDownBorder);
  Button(img, R({90, 0, 120, 25}), Hex(0xF7F8FA), Hex(0xEEF0F3), Hex(0xCDD3DA));
  // Framed check/radio box: tool bar background, hot with a soft plate.
  VGradient(img, R({0, 25, 120, 50}), Mix(kPanelTop, kPanelBottom, 8 / 40.0), Mix(kPanelTop, kPanelBottom, 32 / 40.0));
  const Rect hotBox = R({60, 25, 120, 50});
  FillRoundRect(img, hotBox, F(3), Gradient(hotBox, kHotTop, kHotBottom));
  StrokeRoundRect(img, hotBox, F(3), line, kHotBorder, 0.6);
  for (int radio = 0; radio < 2; ++radio)
    for (int i = 0; i < 6; ++i) {
      const int y = 50 + radio * 14;
      Mark(img, R({i * 14, y, i * 14 + 14, y + 14}), radio == 1, i % 2 == 1, i / 2);
    }
  // Tool bar: white to light blue, a white top line and a grey line below.
  const Rect bar = R({0, 78, 40, 119});
  VGradient(img, bar, kPanelTop, kPanelBottom);
  FillRect(img, {bar.left, bar.top, bar.right, bar.top + line}, Hex(0xFFFFFF));
  FillRect(img, {bar.left, bar.bottom - line, bar.right, bar.bottom}, Hex(0xB9C6D6));
  // Combo box: a white field with a rounded border and the drop button at the
  // right (its normal look is part of the field; "buttonrect" 43,1,59,18).
  const Rect combo = R({0, 120, 60, 139});
  const int buttonLeft = L(43);
  VGradient(img, combo, Mix(kPanelTop, kPanelBottom, 10 / 40.0), Mix(kPanelTop, kPanelBottom, 29 / 40.0));
  FillRoundRect(img, combo, F(2.5), [](int) { return Hex(0xFFFFFF); });
  StrokeRoundRect(img, combo, F(2.5), line, kFieldBorder);
  FillRect(img, {buttonLeft, combo.top + L(2), buttonLeft + line, combo.bottom - L(2)}, Hex(0xDCE3EC));
  const int arrow = L(7);
  Arrow(img, {buttonLeft + line, combo.top, combo.right - line, combo.bottom}, Dir::Down, arrow, Hex(0x3A4B60));
  const Rect comboButtons[] = {R({60, 121, 76, 138}), R({76, 121, 92, 138}), R({92, 121, 108, 138})};
  FillRect(img, R({60, 121, 108, 138}), Hex(0xFFFFFF));  // the field under the button
  Button(img, comboButtons[0], kHotTop, kHotBottom, kHotBorder);
  Button(img, comboButtons[1], kDownTop, kDownBottom, kDownBorder);
  Button(img, comboButtons[2], Hex(0xF4F5F7), Hex(0xF4F5F7), Hex(0xDADFE5));
  for (int i = 0; i < 3; ++i) {
    const int shift = i == 1 ? line : 0;
    Arrow(img, comboButtons[i].Offset(shift, shift), Dir::Down, arrow, i == 2 ? kDisabled : Hex(0x3A4B60));
  }
  FillRect(img, R({0, 140, 40, 155}), Hex(0xFFFFFF));
  const Rect focused = R({20, 140, 40, 155});
  FillRoundRect(img, focused, F(2), [](int) { return kSelection; });
  StrokeRoundRect(img, focused, F(2), line, kSelectionBorder);
  // Status panel: a quiet inset field.
  const Rect panel = R({0, 222, 68, 238});
  VGradient(img, panel, Hex(0xE3EAF3), Hex(0xDDE5EF));
  FillRoundRect(img, panel, F(2), Gradient(panel, Hex(0xF6F8FB), Hex(0xFDFEFF)));
  StrokeRoundRect(img, panel, F(2), line, Hex(0xC3CEDB));
  // Status bar: a grey line on top, then a white one, then a light gradient.
  const Rect status = R({6, 242, 74, 261});
  VGradient(img, status, Hex(0xE9EEF5), Hex(0xDDE5EF));
  FillRect(img, {status.left, status.top, status.right, status.top + line}, Hex(0xB9C6D6));
  FillRect(img, {status.left, status.top + line, status.right, status.top + 2 * line}, Hex(0xFFFFFF));
  return img;
}

// ---------------------------------------------------------------------------
// Popup menu window (active picture 2, 60 x 40) and its mask (7); menu items
// (4, 60 x 51: item 0,0; hot item 0,22; divider 0,44, 60 x 7).

constexpr Rect kPopup{0, 0, 60, 40};

Image Painter::PopupWindow() const {
  const Rect popup = R(kPopup);
  const int line = s_.Line(), column = L(27);
  Image img(popup.right, popup.bottom, ToPixel(Hex(0xFFFFFF)));
  FillRect(img, {line, line, column, popup.bottom - line}, Hex(0xF2F5F9));  // the icon column
  FillRect(img, {column, line, column + line, popup.bottom - line}, Hex(0xE1E7EE));
  StrokeRoundRect(img, popup, F(3), line, Hex(0x8E9CAD));
  return img;
}

Image Painter::PopupMask() const {
  const Rect popup = R(kPopup);
  return MaskOf(popup.right, popup.bottom, [&](int x, int y) { return RoundRectCoverage(x, y, popup, F(3)); });
}

Image Painter::MenuItems() const {
  const int line = s_.Line(), column = L(24);
  Image img(L(60), L(51), ToPixel(Hex(0xFFFFFF)));
  // The popup's icon column continues through every piece.
  auto iconColumn = [&](const Rect& piece) {
    FillRect(img, {0, piece.top, column, piece.bottom}, Hex(0xF2F5F9));
    FillRect(img, {column, piece.top, column + line, piece.bottom}, Hex(0xE1E7EE));
  };
  for (int item = 0; item < 2; ++item) iconColumn(R({0, item * 22, 60, item * 22 + 22}));
  const Rect hot = s_.Inset(R({0, 22, 60, 44}), 1);
  FillRoundRect(img, hot, F(3), Gradient(hot, Hex(0xE3F0FD), kSelection));
  StrokeRoundRect(img, hot, F(3), line, kSelectionBorder);
  const Rect divider = R({0, 44, 60, 51});
  iconColumn(divider);
  FillRect(img, {L(28), divider.top + L(3), divider.right - L(2), divider.top + L(3) + line}, Hex(0xD7DEE7));
  return img;
}

// ---------------------------------------------------------------------------
// Hint window (active picture 3, 40 x 20, client 2,2,38,18) and its mask (6).

constexpr Rect kHint{0, 0, 40, 20};

Image Painter::HintWindow() const {
  const Rect hint = R(kHint);
  Image img(hint.right, hint.bottom, ToPixel(Hex(0xFFFFFF)));
  FillRoundRect(img, hint, F(3), Gradient(hint, Hex(0xFFFFFF), Hex(0xE6ECF4)));
  StrokeRoundRect(img, hint, F(3), s_.Line(), Hex(0x7D8896));
  return img;
}

Image Painter::HintMask() const {
  const Rect hint = R(kHint);
  return MaskOf(hint.right, hint.bottom, [&](int x, int y) { return RoundRectCoverage(x, y, hint, F(3)); });
}

// ---------------------------------------------------------------------------
// List box of the combo box (active picture 5, 40 x 94): frame 0,0,40,40;
// rows 40 x 18: item 0,40  selected 0,58  selected with focus 0,76.

Image Painter::ListBox() const {
  Image img(L(40), L(94), ToPixel(Hex(0xFFFFFF)));
  const Rect frame = R({0, 0, 40, 40});
  FillRect(img, frame, kFieldBorder);
  FillRect(img, s_.Inset(frame, 1), Hex(0xFFFFFF));
  const Rect selected = R({1, 58, 39, 76}), focused = R({1, 76, 39, 94});
  FillRoundRect(img, selected, F(2), Gradient(selected, Hex(0xE5F1FD), kSelection));
  StrokeRoundRect(img, selected, F(2), s_.Line(), kSelectionBorder);
  FillRoundRect(img, focused, F(2), Gradient(focused, Hex(0xD9EBFC), Hex(0xBFDDF8)));
  StrokeRoundRect(img, focused, F(2), s_.Line(), Hex(0x69A9E6));
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

void Painter::ScrollButton(Image& img, const Rect& r, Dir dir, int state /*0 normal, 1 hot, 2 down*/) const {
  FillRect(img, r, kTrack);
  if (state != 0)
    Button(img, s_.Inset(r, 1), state == 2 ? kDownTop : kHotTop, state == 2 ? kDownBottom : kHotBottom,
           state == 2 ? kDownBorder : kHotBorder);
  Arrow(img, r, dir, L(7), state == 0 ? kArrow : Hex(0x1F3550));
}

void Painter::Thumb(Image& img, const Rect& r, int state) const {
  FillRect(img, r, kKey);
  const Rgb top = state == 2 ? Hex(0x7C9BC2) : state == 1 ? Hex(0xA9C3E3) : Hex(0xC4CFDC);
  const Rgb bottom = state == 2 ? Hex(0x6C8DB8) : state == 1 ? Hex(0x93B4DC) : Hex(0xB3C0D0);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const double cover = RoundRectCoverage(x, y, r, F(4));
      const bool vertical = r.Height() > r.Width();
      const double t = vertical ? double(x - r.left) / (r.Width() - 1) : double(y - r.top) / (r.Height() - 1);
      if (cover > 0) img.At(x, y) = ToPixel(Mix(kTrack, Mix(top, bottom, t), cover));
    }
}

Image Painter::ScrollBars() const {
  const int line = s_.Line();
  Image img(L(136), L(117), ToPixel(kKey));
  // Vertical bar: decrease (up) at the top, increase (down) at the bottom.
  ScrollButton(img, R({0, 0, 17, 17}), Dir::Up, 0);
  FillRect(img, R({0, 17, 17, 43}), kTrack);
  ScrollButton(img, R({0, 43, 17, 60}), Dir::Down, 0);
  for (int y : {0, 20}) {
    ScrollButton(img, R({20, y, 37, y + 17}), Dir::Left, 0);
    FillRect(img, R({37, y, 63, y + 17}), kTrack);
    ScrollButton(img, R({63, y, 80, y + 17}), Dir::Right, 0);
  }
  FillRect(img, R({80, 20, 97, 37}), Hex(0xE2E7EE));  // the corner shared with a vertical bar
  const Dir dirs[] = {Dir::Up, Dir::Down, Dir::Left, Dir::Right};
  for (int i = 0; i < 8; ++i) ScrollButton(img, R({i * 17, 64, i * 17 + 17, 81}), dirs[i / 2], 1 + i % 2);
  for (int s = 0; s < 3; ++s) {
    Thumb(img, R({s * 11, 84, s * 11 + 11, 114}), s);
    Thumb(img, R({40, 84 + s * 11, 70, 95 + s * 11}), s);
  }
  // Grips: three short lines across the thumb.
  const Rect across = R({80, 84, 87, 89}), along = R({90, 84, 95, 91});
  FillRect(img, across, Hex(0xB3C0D0));
  for (int k = 0; k < 3; ++k)
    FillRect(img, {across.left, across.top + L(2 * k), across.right, across.top + L(2 * k) + line}, Hex(0x5E7390));
  FillRect(img, along, Hex(0xB3C0D0));
  for (int k = 0; k < 3; ++k)
    FillRect(img, {along.left + L(2 * k), along.top, along.left + L(2 * k) + line, along.bottom}, Hex(0x5E7390));
  return img;
}

// ---------------------------------------------------------------------------

void Write(const std::filesystem::path& dir, const char* name, const Image& image, int bits) {
  WriteWholeFile(Utf8FromPath(dir / name), EncodeBmp(image.View(), bits));
}

// The DPIs the pictures can be drawn for: 100 % to 500 %.
constexpr int kLeastDpi = kDesignDpi, kMostDpi = 5 * kDesignDpi;

int Usage() {
  std::fputs("usage: skingen OUTDIR [--dpi N]   (N from 96 to 480; 96 when not given)\n", stderr);
  return 2;
}

int Main(int argc, char** argv) {
  int dpi = kDesignDpi;
  if (argc == 4 && std::strcmp(argv[2], "--dpi") == 0) {
    const char* end = argv[3] + std::strlen(argv[3]);
    const auto [rest, error] = std::from_chars(argv[3], end, dpi);
    if (error != std::errc() || rest != end || dpi < kLeastDpi || dpi > kMostDpi) return Usage();
  } else if (argc != 2) {
    return Usage();
  }
  try {
    const std::filesystem::path dir = PathFromUtf8(argv[1]);
    std::filesystem::create_directories(dir);
    const Painter p(dpi);
    Write(dir, "frame.bmp", p.Frame(kActive), 24);
    Write(dir, "frame_inactive.bmp", p.Frame(kInactive), 24);
    Write(dir, "frame_mask.bmp", p.FrameMask(), 1);
    Write(dir, "capbuttons.bmp", p.CaptionButtons(), 24);
    Write(dir, "controls.bmp", p.Controls(), 24);
    Write(dir, "popup.bmp", p.PopupWindow(), 24);
    Write(dir, "hint.bmp", p.HintWindow(), 24);
    Write(dir, "menuitem.bmp", p.MenuItems(), 24);
    Write(dir, "listbox.bmp", p.ListBox(), 24);
    Write(dir, "hint_mask.bmp", p.HintMask(), 1);
    Write(dir, "popup_mask.bmp", p.PopupMask(), 1);
    Write(dir, "scrollbars.bmp", p.ScrollBars(), 24);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}

}  // namespace
}  // namespace kelmar

int main(int argc, char** argv) { return kelmar::Main(argc, argv); }
