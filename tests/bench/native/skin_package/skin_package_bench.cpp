// Loading a full-size skin package: inflate and read (pictures decoded, the
// description split into lines), next to zlib's one-call inflate of the same
// stream into a buffer of the right size (the floor to compare with).
//
// The package is made here with the shape of a real skin: two 704x292 24-bit
// frame pictures, a 1-bit mask, 15 active pictures (one of 8 bits) and a
// description of about 53 KB; about 2.3 MB inflated.
#include <benchmark/benchmark.h>
#include <zlib.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/bmp.h"
#include "base/file.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package.h"

namespace kelmar {
namespace {

constexpr size_t kActivePictures = 15;

// Smooth shading with edges and some texture: compresses about as well as
// drawn skin pictures do.
Image SkinLikePicture(int w, int h, int seed) {
  Image image(w, h);
  uint32_t s = uint32_t(seed) * 2654435761u;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1664525 + 1013904223;
      const int noise = (s >> 24) % 24 == 0 ? int(s >> 30) : 0;  // sparse grain
      const bool edge = x % 64 < 2 || y % 40 < 1 || (x - y + seed) % 97 == 0;
      const int shade = 150 + int(60 * std::sin((y + seed) / 23.0)) + x / 16 % 20;
      const uint8_t v = uint8_t(edge ? 40 : std::clamp(shade + noise, 0, 255));
      image.At(x, y) = MakePixel(v, uint8_t(v + 10), uint8_t(255 - v / 2));
    }
  return image;
}

// An 8-bit picture: the 24-bit writer's output is not needed for it, a small
// hand-made colour table file will do.
std::vector<uint8_t> EightBitPicture(int w, int h) {
  const uint32_t stride = (uint32_t(w) + 3) & ~3u, table = 256 * 4, off = 14 + 40 + table;
  const uint32_t total = off + stride * uint32_t(h);
  std::vector<uint8_t> b(total, 0);
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = uint8_t(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, total, 4);
  put(10, off, 4);
  put(14, 40, 4);
  put(18, uint32_t(w), 4);
  put(22, uint32_t(h), 4);
  put(26, 1, 2);
  put(28, 8, 2);
  for (int i = 0; i < 256; ++i) put(54 + 4 * i, uint32_t(i * 0x010101), 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b[off + y * stride + x] = uint8_t((x * 3 + y) % 256);
  return b;
}

std::vector<uint8_t> MakePackage() {
  std::vector<uint8_t> p;
  auto word = [&](int32_t v) {
    for (int i = 0; i < 4; ++i) p.push_back(uint8_t(uint32_t(v) >> (8 * i)));
  };
  auto bytes = [&](const std::vector<uint8_t>& b) { p.insert(p.end(), b.begin(), b.end()); };
  word(3);
  p.push_back(0);
  bytes(EncodeBmp(SkinLikePicture(704, 292, 1).View(), 24));
  p.push_back(0);
  bytes(EncodeBmp(SkinLikePicture(704, 292, 2).View(), 24));
  Image mask(704, 292, MakePixel(255, 255, 255));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8 - y; ++x) mask.At(x, y) = mask.At(703 - x, y) = MakePixel(0, 0, 0);
  p.push_back(0);
  bytes(EncodeBmp(mask.View(), 1));
  const int sizes[kActivePictures][2] = {{300, 75}, {172, 88}, {96, 96},  {240, 60}, {130, 130}, {200, 100}, {160, 68}, {64, 64},
                            {180, 120}, {220, 90}, {100, 40}, {240, 96}, {150, 150}, {128, 120}, {256, 100}};
  word(int32_t(kActivePictures));
  for (int i = 0; i < int(kActivePictures); ++i) {
    if (i == 7)
      bytes(EightBitPicture(sizes[i][0], sizes[i][1]));
    else
      bytes(EncodeBmp(SkinLikePicture(sizes[i][0], sizes[i][1] * 141 / 100, 10 + i).View(), 24));
  }
  std::string text;
  for (int section = 0; text.size() < 53000; ++section) {
    text += "[control" + std::to_string(section) + "]\r\n";
    for (const char* key : {"pictureindex", "maskpictureindex", "skinrect", "clientrect", "fontname",
                            "fontheight", "fontstyle", "fontcolor", "activefontcolor", "alignment"})
      text += std::string(key) + "=" + std::to_string(section * 7 % 15) + ",28,696,284\r\n";
  }
  p.insert(p.end(), text.begin(), text.end());
  return p;
}

struct Fixture {
  TksCompressedStoredSkin skin;
  size_t inflatedSize = 0;
  Fixture() {
#ifdef __GLIBC__
    // Keep freed memory in the heap between iterations. Otherwise whether the
    // megabytes of each load come back as fresh pages (a page fault per 4 KB,
    // costly in a virtual machine) depends on malloc's adaptive thresholds and
    // changes the figures several-fold from one build to the next. A program's
    // first load pays those faults once; BENCHMARKS.md notes their cost.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    const std::vector<uint8_t> package = MakePackage();
    inflatedSize = package.size();
    skin.DeflatePackage(package);
  }
};
const Fixture& Package() {
  static const Fixture fixture;
  return fixture;
}

void BM_ZlibRawInflate(benchmark::State& state) {
  const Fixture& f = Package();
  std::vector<uint8_t> out(f.inflatedSize);
  for (auto _ : state) {
    uLongf size = uLongf(out.size());
    if (uncompress(out.data(), &size, f.skin.CompressedData().data(), uLong(f.skin.CompressedData().size())) != Z_OK)
      state.SkipWithError("inflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["inflated_bytes"] = double(f.inflatedSize);
  state.counters["deflated_bytes"] = double(f.skin.CompressedData().size());
}
BENCHMARK(BM_ZlibRawInflate)->Unit(benchmark::kMillisecond);

void BM_InflatePackage(benchmark::State& state) {
  const Fixture& f = Package();
  for (auto _ : state) {
    const std::vector<uint8_t> inflated = f.skin.InflatePackage();
    if (inflated.size() != f.inflatedSize) state.SkipWithError("inflated to the wrong size");
    benchmark::DoNotOptimize(inflated.data());
  }
}
BENCHMARK(BM_InflatePackage)->Unit(benchmark::kMillisecond);

void BM_ReadInflatedPackage(benchmark::State& state) {
  const std::vector<uint8_t> inflated = Package().skin.InflatePackage();
  for (auto _ : state) {
    SkinPackageContent content = ReadSkinPackage(inflated);
    if (content.activePictures.size() != kActivePictures) state.SkipWithError("not every picture read");
    benchmark::DoNotOptimize(content.activePictures.data());
  }
}
BENCHMARK(BM_ReadInflatedPackage)->Unit(benchmark::kMillisecond);

void BM_LoadPackage(benchmark::State& state) {
  const Fixture& f = Package();
  for (auto _ : state) {
    const std::vector<uint8_t> inflated = f.skin.InflatePackage();
    SkinPackageContent content = ReadSkinPackage(inflated);
    if (content.activePictures.size() != kActivePictures) state.SkipWithError("not every picture read");
    benchmark::DoNotOptimize(content.activePictures.data());
  }
}
BENCHMARK(BM_LoadPackage)->Unit(benchmark::kMillisecond);

// The program's own skin as the main window loads it: inflate, read the
// pictures and build the whole model with its records.
const TksCompressedStoredSkin& OwnSkin() {
  static const TksCompressedStoredSkin skin = [] {
    TksCompressedStoredSkin s;
    s.CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE);
    return s;
  }();
  return skin;
}

void BM_OwnSkinInflate(benchmark::State& state) {
  Package();  // the heap settings of the fixture
  const size_t inflated_size = OwnSkin().InflatePackage().size();
  for (auto _ : state) {
    const std::vector<uint8_t> inflated = OwnSkin().InflatePackage();
    if (inflated.empty() || inflated.size() != inflated_size) state.SkipWithError("inflated to the wrong size");
    benchmark::DoNotOptimize(inflated.data());
  }
  state.counters["deflated_bytes"] = double(OwnSkin().CompressedData().size());
  state.counters["inflated_bytes"] = double(OwnSkin().InflatePackage().size());
}
BENCHMARK(BM_OwnSkinInflate)->Unit(benchmark::kMillisecond);

void BM_OwnSkinLoad(benchmark::State& state) {
  Package();
  for (auto _ : state) {
    TksSkinData data;
    data.LoadCompressedSkin(OwnSkin());
    if (data.ControlData.empty()) state.SkipWithError("no control records loaded");
    benchmark::DoNotOptimize(data.ControlData.data());
  }
}
BENCHMARK(BM_OwnSkinLoad)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelmar
