// Window regions from masks under Wine: one ExtCreateRegion call against
// uniting one rectangle at a time. Prints microseconds per call (median of
// five timed batches). Figures in BENCHMARKS.md ("Skin primitives").
#include <windows.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "bench/win/harness.h"
#include "skin/data/mask_region_win32.h"

namespace kelmar {
namespace {

// Median of five batches; the batch is sized to take about 50 ms.
double MicrosecondsPerCall(const std::function<void()>& call) {
  auto run_batch = [&call](int n) {
    return [&call, n] {
      for (int i = 0; i < n; ++i) call();
    };
  };
  int batch = 1;
  while (batch < (1 << 20) && bench::Measure(1, run_batch(batch)).median < 0.05) batch *= 2;
  return 1e6 * bench::Measure(5, run_batch(batch)).median / batch;
}

void Report(const char* name, double us) { std::printf("%-44s %12.1f us\n", name, us); }

Image FrameMask(int w, int h) {
  Image mask(w, h, MakePixel(0, 0, 0));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6 - y; ++x) {
      mask.At(x, y) = MakePixel(255, 255, 255);
      mask.At(w - 1 - x, y) = MakePixel(255, 255, 255);
    }
  return mask;
}

Image CheckerMask(int w, int h) {
  Image mask(w, h, MakePixel(255, 255, 255));
  for (int y = 0; y < h; ++y)
    for (int x = y & 1; x < w; x += 2) mask.At(x, y) = MakePixel(0, 0, 0);
  return mask;
}

// The slow way, for the ratio: one CombineRgn per rectangle.
RegionHandle RectangleByRectangle(const RegionData& data) {
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  for (const Rect& r : data.rects) {
    RegionHandle one(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    CombineRgn(region, region, one, RGN_OR);
  }
  return region;
}

void Run() {
  const SkinGeometry frame{{8, 28, 696, 284}, {180, 28}, {520, 28}, {180, 284}, {520, 284}};
  const Image mask = FrameMask(704, 292);
  const Image small_checker = CheckerMask(704, 20);
  const RegionData frame_data = *MaskToRegionData(mask.View(), 0, 0);
  // The same mask as one rectangle per row, as the rows were before banding.
  RegionData frame_rows;
  for (int y = 0; y < 292; ++y) {
    const RegionData row = *MaskToRegionData(mask.View().Sub({0, y, 704, y + 1}), 0, y);
    frame_rows.rects.insert(frame_rows.rects.end(), row.rects.begin(), row.rects.end());
  }
  const RegionData checker_data = *MaskToRegionData(small_checker.View(), 0, 0);

  std::printf("frame mask: %zu banded rectangles, %zu row runs\n", frame_data.rects.size(), frame_rows.rects.size());
  Report("MaskToRegion frame mask 704x292", MicrosecondsPerCall([&] { MaskToRegion(mask.View(), 0, 0); }));
  Report("  ExtCreateRegion alone (7 banded rects)", MicrosecondsPerCall([&] { RegionFromData(frame_data); }));
  Report("  ExtCreateRegion one rect per row run (292)", MicrosecondsPerCall([&] { RegionFromData(frame_rows); }));
  Report("  one CombineRgn per row run (292 rects)", MicrosecondsPerCall([&] { RectangleByRectangle(frame_rows); }));
  for (auto [w, h] : {std::pair{704, 292}, {1024, 768}, {1920, 1080}}) {
    const SkinGeometry t = ScaleSkinGeometry(frame, 704, 292, w, h);
    char name[64];
    std::snprintf(name, sizeof name, "ComposeMaskRegion %dx%d", w, h);
    Report(name, MicrosecondsPerCall([&] { ComposeMaskRegion(mask.View(), frame, t); }));
    std::snprintf(name, sizeof name, "  its region data alone %dx%d", w, h);
    Report(name, MicrosecondsPerCall([&] { ComposeMaskRegionData(mask.View(), frame, t); }));
  }
  // Wine unites the rectangles one by one, so a mask of 100,000 runs (a 704 ×
  // 292 checkerboard) takes seconds; 7,040 show the ratio.
  Report("MaskToRegion checker 704x20 (7040 rects)",
         MicrosecondsPerCall([&] { MaskToRegion(small_checker.View(), 0, 0); }));
  Report("  ExtCreateRegion checker 704x20 (7040)", MicrosecondsPerCall([&] { RegionFromData(checker_data); }));
  Report("  one CombineRgn per rect 704x20 (7040)",
         MicrosecondsPerCall([&] { RectangleByRectangle(checker_data); }));
}

}  // namespace
}  // namespace kelmar

int main() {
  kelmar::Run();
  return 0;
}
