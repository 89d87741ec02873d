// skingen: draws the pictures of Kelmar's own skins, "Kelmar Light" and
// "Kelmar Dark": one drawing, two palettes.
//
//   skingen OUTDIR             writes the BMP files that skins/default/skin.ini names
//   skingen OUTDIR --dpi N     the same pictures drawn for N DPI (the build uses
//                              144 and 192: 150 % and 200 %)
//   ... --palette dark         in the dark palette (skins/dark); light when not given
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
// The palettes: every colour of the drawing by its role. The pictures of both
// skins come from the same drawing code; only these colours differ.

struct FrameColours {
  Rgb outline, glossTop, glossBottom, lowerTop, lowerBottom, border, innerLine, client, glyph;
};

// Top and bottom of a gradient, and a plate of one with the line around it.
struct Shade {
  Rgb top, bottom;
};
struct Plate {
  Rgb top, bottom, border;
};

struct Palette {
  FrameColours active, inactive;
  Rgb outside;      // around the window's shape (cut away by the masks)
  Rgb gloss;        // the light line along the top of plates and the frame
  Rgb panelTop, panelBottom, panelTopLine, panelBottomLine;  // tool bar
  Plate button, hot, down, disabled;
  Rgb hotFrame;  // the soft line around a framed check or radio box under the mouse
  Rgb capHotTop, capDownTop;  // the upper colour of the caption buttons' plates
  Rgb closeHotTop, closeHotBottom, closeHotBorder, closeDownTop, closeDownBottom, closeDownBorder, closeGlyph;
  Rgb windowIcon, windowIconInactive;
  // Check and radio marks: their ring, fill (top to bottom) and the mark.
  Rgb markBorder, markBorderHot, markFillTop, markFillBottom, markFillBottomHot, markFillDisabled, mark;
  Rgb fieldFill, fieldBorder, comboSeparator, arrow;
  Rgb disabledGlyph;  // arrows and marks of disabled controls
  Plate comboDisabled;
  // A chosen row: the top of its gradient in a list and on a menu, its
  // bottom and its line.
  Rgb selectionTop, menuHotTop, selection, selectionBorder;
  Rgb focusTop, focusBottom, focusBorder;        // the row with the focus in a drop-down list
  Rgb statusBackTop, statusBackBottom, statusFieldTop, statusFieldBottom, statusFieldBorder;
  Rgb statusTop, statusBottom, statusLine, statusLight;
  Rgb menuBack, menuColumn, menuColumnLine, menuBorder, menuDivider;
  Plate hint;
  Rgb track, trackCorner, scrollArrow, scrollArrowHot;
  Shade thumb, thumbHot, thumbDown;
  Rgb grip;
};

// "Kelmar Light": a white and light blue window.
const Palette kLight{
    .active = {Hex(0x5A6F8C), Hex(0xF7FAFE), Hex(0xE4EDF8), Hex(0xD2E0F1), Hex(0xDCE7F5), Hex(0xD3E0F0),
               Hex(0x9DB0C8), Hex(0xF3F5F8), Hex(0x25354A)},
    .inactive = {Hex(0x9BA3AE), Hex(0xFBFBFC), Hex(0xF0F1F3), Hex(0xE6E8EB), Hex(0xEBEDF0), Hex(0xE8EAED),
                 Hex(0xBCC2CA), Hex(0xF3F5F8), Hex(0x98A1AC)},
    .outside = Hex(0xFFFFFF),
    .gloss = Hex(0xFFFFFF),
    .panelTop = Hex(0xFDFEFF), .panelBottom = Hex(0xE6EDF6), .panelTopLine = Hex(0xFFFFFF), .panelBottomLine = Hex(0xB9C6D6),
    .button = {Hex(0xFFFFFF), Hex(0xE9EFF7), Hex(0xB3C1D3)},
    .hot = {Hex(0xF4F9FF), Hex(0xD6E8FB), Hex(0x6FA4DC)},
    .down = {Hex(0xC4DCF6), Hex(0xB2D0F1), Hex(0x4F87C6)},
    .disabled = {Hex(0xF7F8FA), Hex(0xEEF0F3), Hex(0xCDD3DA)},
    .hotFrame = Hex(0x6FA4DC),
    .capHotTop = Hex(0xFFFFFF), .capDownTop = Hex(0xC4DCF6),
    .closeHotTop = Hex(0xF0766B), .closeHotBottom = Hex(0xD8392D), .closeHotBorder = Hex(0xB02E25),
    .closeDownTop = Hex(0xC8463C), .closeDownBottom = Hex(0xA9281F), .closeDownBorder = Hex(0x86201A),
    .closeGlyph = Hex(0xFFFFFF),
    .windowIcon = Hex(0x3D7CC9), .windowIconInactive = Hex(0x9AA6B5),
    .markBorder = Hex(0x7F93AD), .markBorderHot = Hex(0x4A8AD4), .markFillTop = Hex(0xFFFFFF),
    .markFillBottom = Hex(0xE8EEF5), .markFillBottomHot = Hex(0xDCEBFB), .markFillDisabled = Hex(0xF1F3F5),
    .mark = Hex(0x1F5FA8),
    .fieldFill = Hex(0xFFFFFF), .fieldBorder = Hex(0x9FB1C7), .comboSeparator = Hex(0xDCE3EC), .arrow = Hex(0x3A4B60),
    .disabledGlyph = Hex(0xA7AFB9),
    .comboDisabled = {Hex(0xF4F5F7), Hex(0xF4F5F7), Hex(0xDADFE5)},
    .selectionTop = Hex(0xE5F1FD), .menuHotTop = Hex(0xE3F0FD), .selection = Hex(0xCDE6FB), .selectionBorder = Hex(0x8DC1EE),
    .focusTop = Hex(0xD9EBFC), .focusBottom = Hex(0xBFDDF8), .focusBorder = Hex(0x69A9E6),
    .statusBackTop = Hex(0xE3EAF3), .statusBackBottom = Hex(0xDDE5EF), .statusFieldTop = Hex(0xF6F8FB),
    .statusFieldBottom = Hex(0xFDFEFF), .statusFieldBorder = Hex(0xC3CEDB),
    .statusTop = Hex(0xE9EEF5), .statusBottom = Hex(0xDDE5EF), .statusLine = Hex(0xB9C6D6), .statusLight = Hex(0xFFFFFF),
    .menuBack = Hex(0xFFFFFF), .menuColumn = Hex(0xF2F5F9), .menuColumnLine = Hex(0xE1E7EE), .menuBorder = Hex(0x8E9CAD),
    .menuDivider = Hex(0xD7DEE7),
    .hint = {Hex(0xFFFFFF), Hex(0xE6ECF4), Hex(0x7D8896)},
    .track = Hex(0xEEF1F5), .trackCorner = Hex(0xE2E7EE), .scrollArrow = Hex(0x56667A), .scrollArrowHot = Hex(0x1F3550),
    .thumb = {Hex(0xC4CFDC), Hex(0xB3C0D0)},
    .thumbHot = {Hex(0xA9C3E3), Hex(0x93B4DC)},
    .thumbDown = {Hex(0x7C9BC2), Hex(0x6C8DB8)},
    .grip = Hex(0x5E7390),
};

// "Kelmar Dark": dark greys with blue for what is hot or chosen. Every edge a
// control is told by stands 3 : 1 or more from what lies beside it, the
// texts (skins/dark/skin.ini) 4.5 : 1 or more, also where the pictures are
// scaled down to 120 DPI (a line's smoothing takes some of its contrast). A
// chosen row's blue lies between the two: 3 : 1 from an ordinary row,
// 4.5 : 1 under its white text, its line included.
const Palette kDark{
    .active = {Hex(0x0B0D10), Hex(0x3A3F46), Hex(0x31353B), Hex(0x2B2F35), Hex(0x26292E), Hex(0x202327),
               Hex(0x4A5058), Hex(0x1C1E21), Hex(0xE8EAED)},
    .inactive = {Hex(0x3C4046), Hex(0x34373B), Hex(0x2F3236), Hex(0x2B2E31), Hex(0x282A2D), Hex(0x232528),
                 Hex(0x44484D), Hex(0x1C1E21), Hex(0x9AA0A6)},
    .outside = Hex(0x000000),
    .gloss = Hex(0x4B525B),
    .panelTop = Hex(0x30343A), .panelBottom = Hex(0x272A2F), .panelTopLine = Hex(0x40454C), .panelBottomLine = Hex(0x141619),
    .button = {Hex(0x3A3F46), Hex(0x32363C), Hex(0x9CA4AE)},
    .hot = {Hex(0x3C4B5E), Hex(0x33445A), Hex(0x6FB1F5)},
    .down = {Hex(0x263A52), Hex(0x213449), Hex(0x5AA6F2)},
    .disabled = {Hex(0x2D3035), Hex(0x2A2D31), Hex(0x474B51)},
    .hotFrame = Hex(0x3576BF),
    .capHotTop = Hex(0x4A5563), .capDownTop = Hex(0x263A52),
    .closeHotTop = Hex(0xD9554A), .closeHotBottom = Hex(0xC42B1C), .closeHotBorder = Hex(0xE8766C),
    .closeDownTop = Hex(0xA8392F), .closeDownBottom = Hex(0x8E2318), .closeDownBorder = Hex(0xD0635A),
    .closeGlyph = Hex(0xFFFFFF),
    .windowIcon = Hex(0x5A9AE6), .windowIconInactive = Hex(0x6B737D),
    .markBorder = Hex(0xA2AAB4), .markBorderHot = Hex(0x7CBAF8), .markFillTop = Hex(0x2E3237),
    .markFillBottom = Hex(0x24272B), .markFillBottomHot = Hex(0x2A3A4E), .markFillDisabled = Hex(0x2A2C30),
    .mark = Hex(0x8CC8FF),
    .fieldFill = Hex(0x1E2125), .fieldBorder = Hex(0xA3ABB6), .comboSeparator = Hex(0x3E434A), .arrow = Hex(0xD4D8DD),
    .disabledGlyph = Hex(0x666C74),
    .comboDisabled = {Hex(0x2A2D31), Hex(0x2A2D31), Hex(0x40444A)},
    .selectionTop = Hex(0x3273BC), .menuHotTop = Hex(0x3273BC), .selection = Hex(0x3070B8), .selectionBorder = Hex(0x3576BF),
    .focusTop = Hex(0x3576BF), .focusBottom = Hex(0x3273BC), .focusBorder = Hex(0x3878C2),
    .statusBackTop = Hex(0x26292E), .statusBackBottom = Hex(0x222529), .statusFieldTop = Hex(0x2B2F34),
    .statusFieldBottom = Hex(0x2D3136), .statusFieldBorder = Hex(0x4A4F56),
    .statusTop = Hex(0x292C31), .statusBottom = Hex(0x222529), .statusLine = Hex(0x141619), .statusLight = Hex(0x3A3E44),
    .menuBack = Hex(0x202226), .menuColumn = Hex(0x1C1E21), .menuColumnLine = Hex(0x33363B), .menuBorder = Hex(0x7A828C),
    .menuDivider = Hex(0x4A4E55),
    .hint = {Hex(0x3A3D42), Hex(0x303337), Hex(0x8E97A2)},
    .track = Hex(0x25282C), .trackCorner = Hex(0x2C2F33), .scrollArrow = Hex(0xB4BAC1), .scrollArrowHot = Hex(0xFFFFFF),
    .thumb = {Hex(0x858D97), Hex(0x7A828C)},
    .thumbHot = {Hex(0xA3ADB9), Hex(0x97A1AD)},
    .thumbDown = {Hex(0x78B2EE), Hex(0x66A2E2)},
    .grip = Hex(0x2B2F35),
};

// ---------------------------------------------------------------------------
// The pictures, drawn at one scale.

class Painter {
 public:
  Painter(int dpi, const Palette& palette) : s_(dpi), c_(palette) {}

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
  void Button(Image& img, const Rect& r, const Plate& c) const;
  void Mark(Image& img, const Rect& box, bool radio, bool checked, int state) const;
  void ScrollButton(Image& img, const Rect& r, Dir dir, int state) const;
  void Thumb(Image& img, const Rect& r, int state) const;

  Scale s_;
  const Palette& c_;
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
  Image img(w, h, ToPixel(c_.outside));
  for (int y = 0; y < h; ++y) {
    const Rgb side = y < client.top ? CaptionRow(c, std::max(y, L(1)))
                                    : Mix(c.lowerBottom, c.border, (y - double(client.top)) / double(h - 1 - client.top));
    for (int x = 0; x < w; ++x) img.At(x, y) = ToPixel(side);
  }
  // A soft white line under the outline: the edge of the glass.
  for (int y = line; y < 2 * line; ++y)
    for (int x = 2 * line; x < w - 2 * line; ++x) Blend(img, x, y, c_.gloss, 0.7);
  for (int y = 2 * line; y < h - 2 * line; ++y)
    for (int k = 0; k < line; ++k) {
      Blend(img, line + k, y, c_.gloss, 0.45);
      Blend(img, w - 1 - line - k, y, c_.gloss, 0.45);
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
      if (cover < 1) Blend(img, x, y, c_.outside, 1 - cover);
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
  const Rgb body = active ? c_.windowIcon : c_.windowIconInactive;
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
    const FrameColours& fc = row == 3 ? c_.inactive : c_.active;
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
          FillRoundRect(img, plate, F(3), Gradient(plate, down ? c_.closeDownTop : c_.closeHotTop,
                                                   down ? c_.closeDownBottom : c_.closeHotBottom));
          StrokeRoundRect(img, plate, F(3), line, down ? c_.closeDownBorder : c_.closeHotBorder);
          glyph = c_.closeGlyph;
        } else {
          FillRoundRect(img, plate, F(3), Gradient(plate, down ? c_.capDownTop : c_.capHotTop, down ? c_.down.bottom : c_.hot.bottom));
          StrokeRoundRect(img, plate, F(3), line, down ? c_.down.border : c_.hot.border);
        }
        // Gloss on the upper half of the plate.
        for (int y = plate.top + line; y < plate.top + plate.Height() / 2; ++y)
          for (int x = plate.left + L(2); x < plate.right - L(2); ++x) Blend(img, x, y, c_.gloss, down ? 0.1 : 0.3);
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

void Painter::Button(Image& img, const Rect& r, const Plate& c) const {
  const int line = s_.Line();
  FillRoundRect(img, r, F(3), Gradient(r, c.top, c.bottom));
  StrokeRoundRect(img, r, F(3), line, c.border);
  for (int y = r.top + line; y < r.top + 2 * line; ++y)
    for (int x = r.left + L(3); x < r.right - L(3); ++x) Blend(img, x, y, c_.gloss, 0.8);
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
      const Rgb border = state == 2 ? c_.disabledGlyph : state == 1 ? c_.markBorderHot : c_.markBorder;
      const Rgb fill = state == 2 ? c_.markFillDisabled
                                  : Mix(c_.markFillTop, state == 1 ? c_.markFillBottomHot : c_.markFillBottom, (yy - y) / double(L(13)));
      const double ring = radio ? std::clamp(F(7) - line + 0.5 - std::hypot(xx + 0.5 - cx, yy + 0.5 - cy), 0.0, 1.0)
                                : RoundRectCoverage(xx, yy, inner, F(2.5) - line);
      const Rgb c = Mix(border, fill, ring);
      img.At(xx, yy) = ToPixel(Mix(c_.panelBottom, c, cover));
    }
  if (!checked) return;
  const Rgb mark = state == 2 ? c_.disabledGlyph : c_.mark;
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
  VGradient(img, R({0, 0, 120, 25}), Mix(c_.panelTop, c_.panelBottom, 8 / 40.0), Mix(c_.panelTop, c_.panelBottom, 32 / 40.0));
  Button(img, R({0, 0, 30, 25}), c_.button);
  Button(img, R({30, 0, 60, 25}), c_.hot);
  Button(img, R({60, 0, 90, 25}), c_.down);
  Button(img, R({90, 0, 120, 25}), c_.disabled);
  // Framed check/radio box: tool bar background, hot with a soft plate.
  VGradient(img, R({0, 25, 120, 50}), Mix(c_.panelTop, c_.panelBottom, 8 / 40.0), Mix(c_.panelTop, c_.panelBottom, 32 / 40.0));
  const Rect hotBox = R({60, 25, 120, 50});
  FillRoundRect(img, hotBox, F(3), Gradient(hotBox, c_.hot.top, c_.hot.bottom));
  StrokeRoundRect(img, hotBox, F(3), line, c_.hotFrame, 0.6);
  for (int radio = 0; radio < 2; ++radio)
    for (int i = 0; i < 6; ++i) {
      const int y = 50 + radio * 14;
      Mark(img, R({i * 14, y, i * 14 + 14, y + 14}), radio == 1, i % 2 == 1, i / 2);
    }
  // Tool bar: white to light blue, a white top line and a grey line below.
  const Rect bar = R({0, 78, 40, 119});
  VGradient(img, bar, c_.panelTop, c_.panelBottom);
  FillRect(img, {bar.left, bar.top, bar.right, bar.top + line}, c_.panelTopLine);
  FillRect(img, {bar.left, bar.bottom - line, bar.right, bar.bottom}, c_.panelBottomLine);
  // Combo box: a white field with a rounded border and the drop button at the
  // right (its normal look is part of the field; "buttonrect" 43,1,59,18).
  const Rect combo = R({0, 120, 60, 139});
  const int buttonLeft = L(43);
  VGradient(img, combo, Mix(c_.panelTop, c_.panelBottom, 10 / 40.0), Mix(c_.panelTop, c_.panelBottom, 29 / 40.0));
  FillRoundRect(img, combo, F(2.5), [this](int) { return c_.fieldFill; });
  StrokeRoundRect(img, combo, F(2.5), line, c_.fieldBorder);
  FillRect(img, {buttonLeft, combo.top + L(2), buttonLeft + line, combo.bottom - L(2)}, c_.comboSeparator);
  const int arrow = L(7);
  Arrow(img, {buttonLeft + line, combo.top, combo.right - line, combo.bottom}, Dir::Down, arrow, c_.arrow);
  const Rect comboButtons[] = {R({60, 121, 76, 138}), R({76, 121, 92, 138}), R({92, 121, 108, 138})};
  FillRect(img, R({60, 121, 108, 138}), c_.fieldFill);  // the field under the button
  Button(img, comboButtons[0], c_.hot);
  Button(img, comboButtons[1], c_.down);
  Button(img, comboButtons[2], c_.comboDisabled);
  for (int i = 0; i < 3; ++i) {
    const int shift = i == 1 ? line : 0;
    Arrow(img, comboButtons[i].Offset(shift, shift), Dir::Down, arrow, i == 2 ? c_.disabledGlyph : c_.arrow);
  }
  FillRect(img, R({0, 140, 40, 155}), c_.fieldFill);
  const Rect focused = R({20, 140, 40, 155});
  FillRoundRect(img, focused, F(2), [this](int) { return c_.selection; });
  StrokeRoundRect(img, focused, F(2), line, c_.selectionBorder);
  // Status panel: a quiet inset field.
  const Rect panel = R({0, 222, 68, 238});
  VGradient(img, panel, c_.statusBackTop, c_.statusBackBottom);
  FillRoundRect(img, panel, F(2), Gradient(panel, c_.statusFieldTop, c_.statusFieldBottom));
  StrokeRoundRect(img, panel, F(2), line, c_.statusFieldBorder);
  // Status bar: a grey line on top, then a white one, then a light gradient.
  const Rect status = R({6, 242, 74, 261});
  VGradient(img, status, c_.statusTop, c_.statusBottom);
  FillRect(img, {status.left, status.top, status.right, status.top + line}, c_.statusLine);
  FillRect(img, {status.left, status.top + line, status.right, status.top + 2 * line}, c_.statusLight);
  return img;
}

// ---------------------------------------------------------------------------
// Popup menu window (active picture 2, 60 x 40) and its mask (7); menu items
// (4, 60 x 51: item 0,0; hot item 0,22; divider 0,44, 60 x 7).

constexpr Rect kPopup{0, 0, 60, 40};

Image Painter::PopupWindow() const {
  const Rect popup = R(kPopup);
  const int line = s_.Line(), column = L(27);
  Image img(popup.right, popup.bottom, ToPixel(c_.menuBack));
  FillRect(img, {line, line, column, popup.bottom - line}, c_.menuColumn);  // the icon column
  FillRect(img, {column, line, column + line, popup.bottom - line}, c_.menuColumnLine);
  StrokeRoundRect(img, popup, F(3), line, c_.menuBorder);
  return img;
}

Image Painter::PopupMask() const {
  const Rect popup = R(kPopup);
  return MaskOf(popup.right, popup.bottom, [&](int x, int y) { return RoundRectCoverage(x, y, popup, F(3)); });
}

Image Painter::MenuItems() const {
  const int line = s_.Line(), column = L(24);
  Image img(L(60), L(51), ToPixel(c_.menuBack));
  // The popup's icon column continues through every piece.
  auto iconColumn = [&](const Rect& piece) {
    FillRect(img, {0, piece.top, column, piece.bottom}, c_.menuColumn);
    FillRect(img, {column, piece.top, column + line, piece.bottom}, c_.menuColumnLine);
  };
  for (int item = 0; item < 2; ++item) iconColumn(R({0, item * 22, 60, item * 22 + 22}));
  const Rect hot = s_.Inset(R({0, 22, 60, 44}), 1);
  FillRoundRect(img, hot, F(3), Gradient(hot, c_.menuHotTop, c_.selection));
  StrokeRoundRect(img, hot, F(3), line, c_.selectionBorder);
  const Rect divider = R({0, 44, 60, 51});
  iconColumn(divider);
  FillRect(img, {L(28), divider.top + L(3), divider.right - L(2), divider.top + L(3) + line}, c_.menuDivider);
  return img;
}

// ---------------------------------------------------------------------------
// Hint window (active picture 3, 40 x 20, client 2,2,38,18) and its mask (6).

constexpr Rect kHint{0, 0, 40, 20};

Image Painter::HintWindow() const {
  const Rect hint = R(kHint);
  Image img(hint.right, hint.bottom, ToPixel(c_.outside));
  FillRoundRect(img, hint, F(3), Gradient(hint, c_.hint.top, c_.hint.bottom));
  StrokeRoundRect(img, hint, F(3), s_.Line(), c_.hint.border);
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
  Image img(L(40), L(94), ToPixel(c_.fieldFill));
  const Rect frame = R({0, 0, 40, 40});
  FillRect(img, frame, c_.fieldBorder);
  FillRect(img, s_.Inset(frame, 1), c_.fieldFill);
  const Rect selected = R({1, 58, 39, 76}), focused = R({1, 76, 39, 94});
  FillRoundRect(img, selected, F(2), Gradient(selected, c_.selectionTop, c_.selection));
  StrokeRoundRect(img, selected, F(2), s_.Line(), c_.selectionBorder);
  FillRoundRect(img, focused, F(2), Gradient(focused, c_.focusTop, c_.focusBottom));
  StrokeRoundRect(img, focused, F(2), s_.Line(), c_.focusBorder);
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

void Painter::ScrollButton(Image& img, const Rect& r, Dir dir, int state /*0 normal, 1 hot, 2 down*/) const {
  FillRect(img, r, c_.track);
  if (state != 0) Button(img, s_.Inset(r, 1), state == 2 ? c_.down : c_.hot);
  Arrow(img, r, dir, L(7), state == 0 ? c_.scrollArrow : c_.scrollArrowHot);
}

void Painter::Thumb(Image& img, const Rect& r, int state) const {
  FillRect(img, r, kKey);
  const Shade& shade = state == 2 ? c_.thumbDown : state == 1 ? c_.thumbHot : c_.thumb;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const double cover = RoundRectCoverage(x, y, r, F(4));
      const bool vertical = r.Height() > r.Width();
      const double t = vertical ? double(x - r.left) / (r.Width() - 1) : double(y - r.top) / (r.Height() - 1);
      if (cover > 0) img.At(x, y) = ToPixel(Mix(c_.track, Mix(shade.top, shade.bottom, t), cover));
    }
}

Image Painter::ScrollBars() const {
  const int line = s_.Line();
  Image img(L(136), L(117), ToPixel(kKey));
  // Vertical bar: decrease (up) at the top, increase (down) at the bottom.
  ScrollButton(img, R({0, 0, 17, 17}), Dir::Up, 0);
  FillRect(img, R({0, 17, 17, 43}), c_.track);
  ScrollButton(img, R({0, 43, 17, 60}), Dir::Down, 0);
  for (int y : {0, 20}) {
    ScrollButton(img, R({20, y, 37, y + 17}), Dir::Left, 0);
    FillRect(img, R({37, y, 63, y + 17}), c_.track);
    ScrollButton(img, R({63, y, 80, y + 17}), Dir::Right, 0);
  }
  FillRect(img, R({80, 20, 97, 37}), c_.trackCorner);  // the corner shared with a vertical bar
  const Dir dirs[] = {Dir::Up, Dir::Down, Dir::Left, Dir::Right};
  for (int i = 0; i < 8; ++i) ScrollButton(img, R({i * 17, 64, i * 17 + 17, 81}), dirs[i / 2], 1 + i % 2);
  for (int s = 0; s < 3; ++s) {
    Thumb(img, R({s * 11, 84, s * 11 + 11, 114}), s);
    Thumb(img, R({40, 84 + s * 11, 70, 95 + s * 11}), s);
  }
  // Grips: three short lines across the thumb.
  const Rect across = R({80, 84, 87, 89}), along = R({90, 84, 95, 91});
  FillRect(img, across, c_.thumb.bottom);
  for (int k = 0; k < 3; ++k)
    FillRect(img, {across.left, across.top + L(2 * k), across.right, across.top + L(2 * k) + line}, c_.grip);
  FillRect(img, along, c_.thumb.bottom);
  for (int k = 0; k < 3; ++k)
    FillRect(img, {along.left + L(2 * k), along.top, along.left + L(2 * k) + line, along.bottom}, c_.grip);
  return img;
}

// ---------------------------------------------------------------------------

// The design (96-DPI) pictures are 24-bit, as the original skin's are. A
// drawing for a higher DPI stores a colour picture of few colours (the
// frames) run-length encoded: its package inflates to a fraction of the
// bytes, which a start at that scale pays for.
void Write(const std::filesystem::path& dir, const char* name, const Image& image, int bits, int dpi) {
  std::vector<uint8_t> bytes;
  if (bits == 24 && dpi != kDesignDpi) bytes = EncodeBmpRle8(image.View());
  if (bytes.empty()) bytes = EncodeBmp(image.View(), bits);
  WriteWholeFile(Utf8FromPath(dir / name), bytes);
}

// The DPIs the pictures can be drawn for: 100 % to 500 %.
constexpr int kLeastDpi = kDesignDpi, kMostDpi = 5 * kDesignDpi;

int Usage() {
  std::fputs("usage: skingen OUTDIR [--dpi N] [--palette light|dark]   (N from 96 to 480; 96 and light when not given)\n",
             stderr);
  return 2;
}

int Main(int argc, char** argv) {
  if (argc < 2) return Usage();
  int dpi = kDesignDpi;
  const Palette* palette = &kLight;
  bool dpiGiven = false, paletteGiven = false;
  for (int i = 2; i < argc; i += 2) {
    if (i + 1 >= argc) return Usage();
    const char* value = argv[i + 1];
    if (std::strcmp(argv[i], "--dpi") == 0 && !dpiGiven) {
      const char* end = value + std::strlen(value);
      const auto [rest, error] = std::from_chars(value, end, dpi);
      if (error != std::errc() || rest != end || dpi < kLeastDpi || dpi > kMostDpi) return Usage();
      dpiGiven = true;
    } else if (std::strcmp(argv[i], "--palette") == 0 && !paletteGiven) {
      if (std::strcmp(value, "light") == 0) {
        palette = &kLight;
      } else if (std::strcmp(value, "dark") == 0) {
        palette = &kDark;
      } else {
        return Usage();
      }
      paletteGiven = true;
    } else {
      return Usage();
    }
  }
  try {
    const std::filesystem::path dir = PathFromUtf8(argv[1]);
    std::filesystem::create_directories(dir);
    const Painter p(dpi, *palette);
    Write(dir, "frame.bmp", p.Frame(palette->active), 24, dpi);
    Write(dir, "frame_inactive.bmp", p.Frame(palette->inactive), 24, dpi);
    Write(dir, "frame_mask.bmp", p.FrameMask(), 1, dpi);
    Write(dir, "capbuttons.bmp", p.CaptionButtons(), 24, dpi);
    Write(dir, "controls.bmp", p.Controls(), 24, dpi);
    Write(dir, "popup.bmp", p.PopupWindow(), 24, dpi);
    Write(dir, "hint.bmp", p.HintWindow(), 24, dpi);
    Write(dir, "menuitem.bmp", p.MenuItems(), 24, dpi);
    Write(dir, "listbox.bmp", p.ListBox(), 24, dpi);
    Write(dir, "hint_mask.bmp", p.HintMask(), 1, dpi);
    Write(dir, "popup_mask.bmp", p.PopupMask(), 1, dpi);
    Write(dir, "scrollbars.bmp", p.ScrollBars(), 24, dpi);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}

}  // namespace
}  // namespace kelmar

int main(int argc, char** argv) { return kelmar::Main(argc, argv); }
