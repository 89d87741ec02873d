#include "skin/data/mask_region.h"

#include <algorithm>

#include "skin/data/skin_compose.h"

namespace kelmar {
namespace {

bool IsBlack(Pixel p) { return (p & 0xFFFFFFu) == 0; }

void AppendRuns(const ImageView& mask, int dx, int dy, std::vector<Rect>& rects) {
  const int w = mask.Width();
  for (int y = 0; y < mask.Height(); ++y) {
    const Pixel* row = mask.Row(y);
    int x = 0;
    while (x < w) {
      while (x < w && !IsBlack(row[x])) ++x;
      if (x == w) break;
      const int start = x;
      while (x < w && IsBlack(row[x])) ++x;
      rects.push_back({start + dx, y + dy, x + dx, y + dy + 1});
    }
  }
}

Rect Union(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace

std::optional<RegionData> MaskToRegionData(const ImageView& mask, int dx, int dy) {
  if (mask.IsEmpty()) return std::nullopt;
  RegionData data;
  data.bounds = RectOfSize(dx, dy, mask.Width(), mask.Height());
  AppendRuns(mask, dx, dy, data.rects);
  return data;
}

std::optional<RegionData> ComposeMaskRegionData(const ImageView& mask, const SkinGeometry& s,
                                                const SkinGeometry& t) {
  if (mask.IsEmpty() || t.rt.x < t.lt.x || t.lb.y < t.lt.y) return std::nullopt;
  Image top, bottom, left, right;
  ComposeMaskBorders(mask, s, t, top, bottom, left, right);
  const Rect& tc = t.client;
  RegionData data;
  auto add = [&](const Image& piece, int dx, int dy) {
    if (piece.IsEmpty()) return;
    AppendRuns(piece.View(), dx, dy, data.rects);
    data.bounds = Union(data.bounds, RectOfSize(dx, dy, piece.Width(), piece.Height()));
  };
  add(top, 0, 0);
  add(left, 0, tc.top);
  if (!tc.IsEmpty()) {
    data.rects.push_back(tc);
    data.bounds = Union(data.bounds, tc);
  }
  add(right, tc.right, tc.top);
  add(bottom, 0, tc.bottom);
  if (data.bounds.IsEmpty()) return std::nullopt;
  return data;
}

}  // namespace kelmar
