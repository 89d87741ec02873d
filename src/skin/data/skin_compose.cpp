#include "skin/data/skin_compose.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelmar {
namespace {

// Reuses the pixels when the size is unchanged, and the memory when it is
// large enough: frames are recomposed on every resize and most resizes keep
// the band heights.
void SetSize(Image& image, int w, int h) {
  if (image.Width() != std::max(w, 0) || image.Height() != std::max(h, 0)) image.Resize(w, h);
}

void CopyPixels(Pixel* to, const Pixel* from, int count) {
  std::memcpy(to, from, size_t(count) * sizeof(Pixel));
}

// Nearest-pixel source coordinate of destination offset i when `src_len`
// pixels are spread over `dst_len`: the source pixel under the centre of the
// destination pixel.
int NearestSource(int i, int src_len, int dst_len) {
  return int((int64_t(i) * 2 + 1) * src_len / (int64_t(dst_len) * 2));
}

// A band of rows [src_top, src_top + band_h) of the piece laid into `out`
// (w × band_h): edge columns [edge_l, edge_r) of the source tiled (or
// stretched) over destination columns [to_l, to_r), then the corner columns
// [0, edge_l) to [0, corner_l) and [edge_r, W0) to [corner_r, w).
void ComposeRowBand(const ImageView& piece, int src_top, int band_h, int edge_l, int edge_r,
                    int to_l, int to_r, bool stretch, int corner_l, int corner_r, int w,
                    Image& out) {
  SetSize(out, w, band_h);
  const int src_bottom = src_top + band_h;
  const Rect from{edge_l, src_top, edge_r, src_bottom};
  const Rect to{to_l, 0, to_r, band_h};
  if (stretch)
    CopyImageRect(out, to, piece, from);
  else
    TileImageRect(out, to, piece, from);
  CopyImageRect(out, {0, 0, corner_l, band_h}, piece, {0, src_top, edge_l, src_bottom});
  CopyImageRect(out, {corner_r, 0, w, band_h}, piece, {edge_r, src_top, piece.Width(), src_bottom});
}

// A band of columns [src_left, src_left + band_w) laid into `out` (band_w × v):
// edge rows [edge_t, edge_b) tiled over the whole height (or stretched between
// the fixed parts), then the fixed rows [sc_top, edge_t) at the top and
// [edge_b, sc_bottom) at the bottom.
void ComposeColumnBand(const ImageView& piece, int src_left, int band_w, int edge_t, int edge_b,
                       int sc_top, int sc_bottom, int v, bool stretch, Image& out) {
  SetSize(out, band_w, v);
  const int src_right = src_left + band_w;
  const int tail = sc_bottom - edge_b;  // fixed rows below the edge
  const Rect from{src_left, edge_t, src_right, edge_b};
  if (stretch)
    CopyImageRect(out, {0, edge_t - sc_top, band_w, v - tail}, piece, from);
  else
    TileImageRect(out, {0, 0, band_w, v}, piece, from);
  if (edge_t > sc_top)
    CopyImageRect(out, {0, 0, band_w, edge_t - sc_top}, piece, {src_left, sc_top, src_right, edge_t});
  if (tail > 0) CopyImageRect(out, {0, v - tail, band_w, v}, piece, {src_left, edge_b, src_right, sc_bottom});
}

// ComposeHorizontal and ComposeVertical: `span(a, b)` is the rectangle of the
// positions a … b along the composed direction, across the whole piece.
template <typename Span>
void ComposeThreePart(const ImageView& piece, int fixed_a, int fixed_b, int length, int source_length,
                      Span span, Image& target) {
  if (piece.IsEmpty() || length <= 0) return;
  if (fixed_a > 0) CopyImageRect(target, span(0, fixed_a), piece, span(0, fixed_a));
  if (fixed_b > 0)
    CopyImageRect(target, span(length - fixed_b, length), piece, span(source_length - fixed_b, source_length));
  TileImageRect(target, span(fixed_a, length - fixed_b), piece, span(fixed_a, source_length - fixed_b));
}

}  // namespace

void CopyImageRect(const ImageView& dst, const Rect& to, const ImageView& src, const Rect& from) {
  const int dw = to.Width(), dh = to.Height(), sw = from.Width(), sh = from.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || dst.IsEmpty() || src.IsEmpty()) return;
  if (dw == sw && dh == sh) {
    const int ox = from.left - to.left, oy = from.top - to.top;
    const Rect d = to.Intersect(dst.Bounds()).Intersect(src.Bounds().Offset(-ox, -oy));
    for (int y = d.top; y < d.bottom; ++y) CopyPixels(dst.Row(y) + d.left, src.Row(y + oy) + d.left + ox, d.Width());
    return;
  }
  const Rect d = to.Intersect(dst.Bounds());
  if (d.IsEmpty()) return;
  std::vector<int> columns(size_t(d.Width()));
  bool all_columns = true;
  for (int x = d.left; x < d.right; ++x) {
    int sx = from.left + NearestSource(x - to.left, sw, dw);
    if (sx < 0 || sx >= src.Width()) sx = -1, all_columns = false;
    columns[size_t(x - d.left)] = sx;
  }
  int last_sy = -1, last_y = -1;
  for (int y = d.top; y < d.bottom; ++y) {
    const int sy = from.top + NearestSource(y - to.top, sh, dh);
    if (sy < 0 || sy >= src.Height()) continue;
    Pixel* out = dst.Row(y) + d.left;
    if (sy == last_sy && all_columns) {
      CopyPixels(out, dst.Row(last_y) + d.left, d.Width());  // a repeated source row
    } else {
      const Pixel* in = src.Row(sy);
      for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i] >= 0) out[i] = in[columns[i]];
    }
    last_sy = sy;
    last_y = y;
  }
}

void TileImageRect(const ImageView& dst, const Rect& to, const ImageView& src, const Rect& from) {
  const Rect s = from.Intersect(src.Bounds());
  const Rect d = to.Intersect(dst.Bounds());
  if (s.IsEmpty() || d.IsEmpty()) return;
  const int sw = s.Width(), sh = s.Height(), n = d.Width();
  const int phase = (d.left - to.left) % sw;
  for (int y = d.top; y < d.bottom; ++y) {
    Pixel* out = dst.Row(y) + d.left;
    if (y - sh >= d.top) {  // the row one tile higher is the same
      CopyPixels(out, dst.Row(y - sh) + d.left, n);
      continue;
    }
    const Pixel* in = src.Row(s.top + (y - to.top) % sh) + s.left;
    int done = std::min(sw - phase, n);
    CopyPixels(out, in + phase, done);
    const int wrap = std::min(phase, n - done);
    CopyPixels(out + done, in, wrap);
    done += wrap;
    // out[0, done) is one whole period: double it until the row is full.
    while (done < n) {
      const int m = std::min(done, n - done);
      CopyPixels(out + done, out, m);
      done += m;
    }
  }
}

void ComposeNinePartStretched(const ImageView& piece, const SkinGeometry& s, const SkinGeometry& t, int w,
                              int h, bool fill_centre, StretchEdges stretch, Image& target) {
  SetSize(target, w, h);
  if (piece.IsEmpty() || s.rb.x == s.lt.x || s.rb.y == s.lt.y) return;
  const int w0 = piece.Width(), h0 = piece.Height();
  const Rect &sc = s.client, &tc = t.client;
  const ImageView out = target.View();
  auto edge = [&](bool stretched, const Rect& to, const Rect& from) {
    if (stretched)
      CopyImageRect(out, to, piece, from);
    else
      TileImageRect(out, to, piece, from);
  };
  edge(stretch.top, {t.lt.x, 0, t.rt.x, tc.top}, {s.lt.x, 0, s.rt.x, sc.top});
  edge(stretch.bottom, {t.lb.x, tc.bottom, t.rb.x, h}, {s.lb.x, sc.bottom, s.rb.x, h0});
  edge(stretch.left, {0, t.lt.y, tc.left, t.lb.y}, {0, s.lt.y, sc.left, s.lb.y});
  edge(stretch.right, {tc.right, t.rt.y, w, t.rb.y}, {sc.right, s.rt.y, w0, s.rb.y});

  CopyImageRect(out, {0, 0, t.lt.x, tc.top}, piece, {0, 0, s.lt.x, sc.top});
  CopyImageRect(out, {0, tc.top, tc.left, t.lt.y}, piece, {0, sc.top, sc.left, s.lt.y});
  CopyImageRect(out, {t.rt.x, 0, w, tc.top}, piece, {s.rt.x, 0, w0, sc.top});
  CopyImageRect(out, {tc.right, tc.top, w, t.rt.y}, piece, {sc.right, sc.top, w0, s.rt.y});
  CopyImageRect(out, {0, t.lb.y, tc.left, h}, piece, {0, s.lb.y, sc.left, h0});
  CopyImageRect(out, {tc.left, tc.bottom, t.lb.x, h}, piece, {sc.left, sc.bottom, s.lb.x, h0});
  CopyImageRect(out, {t.rb.x, tc.bottom, w, h}, piece, {s.rb.x, sc.bottom, w0, h0});
  CopyImageRect(out, {tc.right, t.rb.y, w, tc.bottom}, piece, {sc.right, s.rb.y, w0, sc.bottom});

  if (fill_centre) TileImageRect(out, tc, piece, sc);
}

void ComposeFrameBorders(const ImageView& piece, const SkinGeometry& s, const SkinGeometry& t, int w, int h,
                         StretchEdges stretch, Image& top, Image& bottom, Image& left, Image& right) {
  if (piece.IsEmpty()) return;
  const int h0 = piece.Height();
  const int top_h = t.client.top;
  const int bottom_h = h - t.client.bottom;
  if (w > 0 && top_h > 0 && s.rt.x > s.lt.x)
    ComposeRowBand(piece, 0, top_h, s.lt.x, s.rt.x, stretch.top ? t.lt.x : 0, stretch.top ? t.rt.x : w,
                   stretch.top, t.lt.x, t.rt.x, w, top);
  if (w > 0 && bottom_h > 0 && s.rb.x > s.lb.x)
    ComposeRowBand(piece, h0 - bottom_h, bottom_h, s.lb.x, s.rb.x, stretch.bottom ? t.lb.x : 0,
                   stretch.bottom ? t.rb.x : w, stretch.bottom, t.lb.x, t.rb.x, w, bottom);
  // The side images fill the height between the top and bottom bands.
  const int v = h - std::max(top_h, 0) - std::max(bottom_h, 0);
  if (t.client.left > 0 && v > 0 && s.lb.y > s.lt.y)
    ComposeColumnBand(piece, 0, t.client.left, s.lt.y, s.lb.y, s.client.top, s.client.bottom, v, stretch.left,
                      left);
  const int right_w = w - t.client.right;
  if (right_w >= 1 && v >= 1 && s.rb.y > s.rt.y)
    ComposeColumnBand(piece, s.client.right, right_w, s.rt.y, s.rb.y, s.client.top, s.client.bottom, v,
                      stretch.right, right);
}

void ComposeHorizontal(const ImageView& piece, int fixed_left, int fixed_right, int w, Image& target) {
  const int h0 = piece.Height();
  SetSize(target, w, h0);
  ComposeThreePart(piece, fixed_left, fixed_right, w, piece.Width(),
                   [h0](int a, int b) { return Rect{a, 0, b, h0}; }, target);
}

void ComposeVertical(const ImageView& piece, int fixed_top, int fixed_bottom, int h, Image& target) {
  const int w0 = piece.Width();
  SetSize(target, w0, h);
  ComposeThreePart(piece, fixed_top, fixed_bottom, h, piece.Height(),
                   [w0](int a, int b) { return Rect{0, a, w0, b}; }, target);
}

void ComposeMaskBorders(const ImageView& mask, const SkinGeometry& s, const SkinGeometry& t, Image& top,
                        Image& bottom, Image& left, Image& right) {
  const int w0 = mask.Width(), h0 = mask.Height();
  const int w = t.client.right + (w0 - s.client.right);
  const int side_h = t.client.Height();
  const int left_w = s.client.left, right_w = w0 - s.client.right;
  if (left_w > 0 && side_h > 0)
    ComposeColumnBand(mask, 0, left_w, s.lt.y, s.lb.y, s.client.top, s.client.bottom, side_h, false, left);
  if (right_w > 0 && side_h > 0)
    ComposeColumnBand(mask, s.client.right, right_w, s.rt.y, s.rb.y, s.client.top, s.client.bottom, side_h,
                      false, right);
  const int top_h = s.client.top, bottom_h = h0 - s.client.bottom;
  if (w > 0 && top_h > 0)
    ComposeRowBand(mask, 0, top_h, s.lt.x, s.rt.x, t.lt.x, t.rt.x, false, t.lt.x, t.rt.x, w, top);
  if (w > 0 && bottom_h > 0)
    ComposeRowBand(mask, s.client.bottom, bottom_h, s.lb.x, s.rb.x, t.lb.x, t.rb.x, false, t.lb.x, t.rb.x, w,
                   bottom);
}

void DrawGlyphCell(const ImageView& target, int x, int y, int n, int k, const ImageView& strip) {
  if (strip.IsEmpty() || k <= 0 || n < 1 || n > k) return;
  const int cell_w = strip.Width() / k, cell_h = strip.Height();
  if (cell_w <= 0) return;
  const int cell_left = (n - 1) * cell_w;
  const Pixel key = strip.At(cell_left, cell_h - 1) & 0xFFFFFFu;
  const Rect d = RectOfSize(x, y, cell_w, cell_h).Intersect(target.Bounds());
  for (int ty = d.top; ty < d.bottom; ++ty) {
    const Pixel* in = strip.Row(ty - y) + cell_left;
    Pixel* out = target.Row(ty);
    for (int tx = d.left; tx < d.right; ++tx)
      if ((in[tx - x] & 0xFFFFFFu) != key) out[tx] = in[tx - x];
  }
}

}  // namespace kelmar
