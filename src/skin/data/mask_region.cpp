#include "skin/data/mask_region.h"

#include <algorithm>
#include <climits>
#include <tuple>
#include <utility>

#include "skin/data/skin_compose.h"

namespace kelmar {
namespace {

Rect Union(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// Collects runs row by row, left to right, into y-x bands: a row whose runs
// are those of the band just above extends that band instead of adding
// rectangles. The region is the same; a frame mask shrinks from one
// rectangle per row to a handful, which is what region creation pays for.
class BandBuilder {
 public:
  explicit BandBuilder(std::vector<Rect>& out) : out_(out) {}

  void AddRun(int x1, int x2) {
    if (x2 > x1) row_.push_back({x1, x2});
  }

  void EndRow(int y) {
    // Runs mostly come in order already; overlapping and touching ones join.
    if (!std::is_sorted(row_.begin(), row_.end())) std::sort(row_.begin(), row_.end());
    size_t n = 0;
    for (const auto& run : row_) {
      if (n > 0 && row_[n - 1].second >= run.first)
        row_[n - 1].second = std::max(row_[n - 1].second, run.second);
      else
        row_[n++] = run;
    }
    row_.resize(n);
    const size_t band_size = out_.size() - band_start_;
    bool same = band_bottom_ == y && band_size == row_.size();
    for (size_t i = 0; same && i < row_.size(); ++i)
      same = out_[band_start_ + i].left == row_[i].first && out_[band_start_ + i].right == row_[i].second;
    if (same) {
      for (size_t i = band_start_; i < out_.size(); ++i) out_[i].bottom = y + 1;
    } else {
      band_start_ = out_.size();
      for (const auto& [x1, x2] : row_) out_.push_back({x1, y, x2, y + 1});
    }
    band_bottom_ = row_.empty() ? INT_MIN : y + 1;
    row_.clear();
  }

 private:
  std::vector<Rect>& out_;
  std::vector<std::pair<int, int>> row_;
  size_t band_start_ = 0;
  int band_bottom_ = INT_MIN;
};

// The black runs of one mask row, moved by dx.
void AddRowRuns(const ImageView& mask, int y, int dx, BandBuilder& bands) {
  const int w = mask.Width();
  const Pixel* row = mask.Row(y);
  int x = 0;
  while (x < w) {
    while (x < w && !IsMaskBlack(row[x])) ++x;
    if (x == w) break;
    const int start = x;
    while (x < w && IsMaskBlack(row[x])) ++x;
    bands.AddRun(start + dx, x + dx);
  }
}

}  // namespace

std::optional<RegionData> MaskToRegionData(const ImageView& mask, int dx, int dy) {
  if (mask.IsEmpty()) return std::nullopt;
  RegionData data;
  data.bounds = RectOfSize(dx, dy, mask.Width(), mask.Height());
  BandBuilder bands(data.rects);
  for (int y = 0; y < mask.Height(); ++y) {
    AddRowRuns(mask, y, dx, bands);
    bands.EndRow(y + dy);
  }
  return data;
}

std::optional<RegionData> ComposeMaskRegionData(const ImageView& mask, const SkinGeometry& s,
                                                const SkinGeometry& t) {
  if (mask.IsEmpty() || t.rt.x < t.lt.x || t.client.bottom < t.client.top) return std::nullopt;
  Image top, bottom, left, right;
  ComposeMaskBorders(mask, s, t, top, bottom, left, right);
  const Rect& tc = t.client;
  // The pieces lie around the client rectangle: top above it, bottom below,
  // left and right beside it. Row by row, their runs and the client span come
  // in increasing x.
  RegionData data;
  BandBuilder bands(data.rects);
  for (int y = 0; y < top.Height(); ++y) {
    AddRowRuns(top.View(), y, 0, bands);
    bands.EndRow(y);
  }
  const int side_rows = std::max({left.Height(), right.Height(), tc.IsEmpty() ? 0 : tc.Height()});
  for (int i = 0; i < side_rows; ++i) {
    if (i < left.Height()) AddRowRuns(left.View(), i, 0, bands);
    if (!tc.IsEmpty()) bands.AddRun(tc.left, tc.right);
    if (i < right.Height()) AddRowRuns(right.View(), i, tc.right, bands);
    bands.EndRow(tc.top + i);
  }
  for (int y = 0; y < bottom.Height(); ++y) {
    AddRowRuns(bottom.View(), y, 0, bands);
    bands.EndRow(tc.bottom + y);
  }
  for (const auto& [piece, dx, dy] : {std::tuple{&top, 0, 0}, {&left, 0, tc.top}, {&right, tc.right, tc.top},
                                      {&bottom, 0, tc.bottom}})
    if (!piece->IsEmpty()) data.bounds = Union(data.bounds, RectOfSize(dx, dy, piece->Width(), piece->Height()));
  if (!tc.IsEmpty()) data.bounds = Union(data.bounds, tc);
  if (data.bounds.IsEmpty()) return std::nullopt;
  return data;
}

}  // namespace kelmar
