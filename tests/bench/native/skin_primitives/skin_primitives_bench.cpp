// Frame recomposition, morph steps and mask regions at the sizes the skinned
// window uses. Figures in BENCHMARKS.md ("Skin primitives").
#include <benchmark/benchmark.h>

#include "skin/data/effect_bmp.h"
#include "skin/data/mask_region.h"
#include "skin/data/skin_compose.h"

namespace kelmar {
namespace {

constexpr int kFrameW = 704, kFrameH = 292;
// The frame picture's geometry: client 8,28,696,284 and caption corners.
const SkinGeometry kFrame{{8, 28, 696, 284}, {180, 28}, {520, 28}, {180, 284}, {520, 284}};

Image Gradient(int w, int h) {
  Image image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.At(x, y) = MakePixel(uint8_t(x * 7), uint8_t(y * 3), uint8_t(x ^ y));
  return image;
}

// Black but for rounded-off top corners (the frame's own mask).
Image FrameMask() {
  Image mask(kFrameW, kFrameH, MakePixel(0, 0, 0));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6 - y; ++x) {
      mask.At(x, y) = MakePixel(255, 255, 255);
      mask.At(kFrameW - 1 - x, y) = MakePixel(255, 255, 255);
    }
  return mask;
}

// The four strips of the frame at the window size; the images are kept
// between calls as the frame keeps them.
void BM_ComposeFrameBorders(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const Image piece = Gradient(kFrameW, kFrameH);
  const SkinGeometry t = ScaleSkinGeometry(kFrame, kFrameW, kFrameH, w, h);
  Image top, bottom, left, right;
  for (auto _ : state) {
    ComposeFrameBorders(piece.View(), kFrame, t, w, h, {}, top, bottom, left, right);
    benchmark::DoNotOptimize(top.Data());
  }
}
BENCHMARK(BM_ComposeFrameBorders)
    ->Args({704, 292})->Args({800, 600})->Args({1024, 768})->Args({1280, 1024})->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond);

// The whole nine-part image with the centre (a control's background).
void BM_ComposeNinePart(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const Image piece = Gradient(kFrameW, kFrameH);
  const SkinGeometry t = ScaleSkinGeometry(kFrame, kFrameW, kFrameH, w, h);
  Image target;
  for (auto _ : state) {
    ComposeNinePart(piece.View(), kFrame, t, w, h, true, target);
    benchmark::DoNotOptimize(target.Data());
  }
}
BENCHMARK(BM_ComposeNinePart)->Args({704, 292})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

// One morph step of a 43 × 17 caption button, by morph kind 0 … 6.
void BM_MorphStep(benchmark::State& state) {
  const int kind = int(state.range(0));
  TksEffectBmp self(Gradient(43, 17));
  const TksEffectBmp other(Image(43, 17, MakePixel(200, 100, 50)));
  for (auto _ : state) {
    self.Morph(kind, other, 0.4);
    benchmark::DoNotOptimize(self.Row(0));
  }
}
BENCHMARK(BM_MorphStep)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

// The inactive effects over the whole frame picture, by effect kind 0 … 5.
void BM_InactiveEffect(benchmark::State& state) {
  const int kind = int(state.range(0));
  TksEffectBmp bmp(Gradient(kFrameW, kFrameH));
  NoiseSource noise(7);
  for (auto _ : state) {
    bmp.ApplyInactiveEffect(kind, noise);
    benchmark::DoNotOptimize(bmp.Row(0));
  }
}
BENCHMARK(BM_InactiveEffect)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_MaskToRegionData_Frame(benchmark::State& state) {
  const Image mask = FrameMask();
  for (auto _ : state) benchmark::DoNotOptimize(MaskToRegionData(mask.View(), 0, 0));
}
BENCHMARK(BM_MaskToRegionData_Frame)->Unit(benchmark::kMicrosecond);

// Worst case: every other pixel black, 102,784 runs.
void BM_MaskToRegionData_Checker(benchmark::State& state) {
  Image mask(kFrameW, kFrameH, MakePixel(255, 255, 255));
  for (int y = 0; y < kFrameH; ++y)
    for (int x = y & 1; x < kFrameW; x += 2) mask.At(x, y) = MakePixel(0, 0, 0);
  for (auto _ : state) benchmark::DoNotOptimize(MaskToRegionData(mask.View(), 0, 0));
}
BENCHMARK(BM_MaskToRegionData_Checker)->Unit(benchmark::kMicrosecond);

// The window shape at a size: the four mask borders and their runs.
void BM_ComposeMaskRegionData(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const Image mask = FrameMask();
  const SkinGeometry t = ScaleSkinGeometry(kFrame, kFrameW, kFrameH, w, h);
  for (auto _ : state) benchmark::DoNotOptimize(ComposeMaskRegionData(mask.View(), kFrame, t));
}
BENCHMARK(BM_ComposeMaskRegionData)->Args({704, 292})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelmar
