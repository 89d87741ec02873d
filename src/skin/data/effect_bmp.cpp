#include "skin/data/effect_bmp.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelmar {
namespace {

// Nearest integer, halves to even. Adding and taking away 1.5 · 2^52 leaves
// no fraction bits, so the addition rounds as the floating-point unit does
// (to nearest, ties to even) — exact for |v| < 2^51 and much cheaper than a
// library call per channel.
double RoundHalfEven(double v) {
  constexpr double kShift = 6755399441055744.0;  // 1.5 · 2^52
  // Stored as a double: x87 arithmetic (the 32-bit build) would otherwise
  // keep the sum's fraction bits in its wider registers.
  volatile double shifted = v + kShift;
  return shifted - kShift;
}

int RoundInt(double v) { return int(RoundHalfEven(v)); }

// Rounded and clamped to a channel.
uint8_t Channel(double v) {
  v = RoundHalfEven(v);
  return v <= 0 ? 0 : v >= 255 ? 255 : uint8_t(v);
}

// wa·a + wb·b in each of the four channels.
Pixel Mix(Pixel a, double wa, Pixel b, double wb) {
  Pixel out = 0;
  for (int shift = 0; shift < 32; shift += 8)
    out |= Pixel(Channel(wa * double((a >> shift) & 0xFF) + wb * double((b >> shift) & 0xFF))) << shift;
  return out;
}

// f(v) on blue, green and red; alpha stays. f depends on v alone, so it is
// worked out once for each of the 256 values.
template <typename F>
void MapColour(Image& image, F f) {
  uint8_t table[256];
  for (int v = 0; v < 256; ++v) table[v] = f(uint8_t(v));
  for (int y = 0; y < image.Height(); ++y) {
    Pixel* row = image.Row(y);
    for (int x = 0; x < image.Width(); ++x) {
      const Pixel p = row[x];
      row[x] = (p & 0xFF000000u) | Pixel(table[PixelR(p)]) << 16 | Pixel(table[PixelG(p)]) << 8 |
               Pixel(table[PixelB(p)]);
    }
  }
}

double Progress(double k) { return std::clamp(k, 0.0, 1.0); }

// round(n·k) limited to lo … hi, the lower limit first (so a one-column image
// gets hi = 0).
int Limited(double n_k, int lo, int hi) { return std::min(std::max(RoundInt(n_k), lo), hi); }

int FloorHalf(int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

// Weights of MorphGradient along one direction of n positions: the middle
// c positions take other, and from each side of them the weight of self grows
// by `step` per position (at most 1).
std::vector<double> GradientWeights(int n, int c, double step) {
  std::vector<double> weights(size_t(n), -1.0);
  const int first = std::max(0, n / 2 - c / 2);
  const int last = std::min(n - 1, n / 2 + c / 2);
  for (int i = first; i <= last; ++i) weights[size_t(i)] = 0.0;
  double t = 0.0;
  for (int i = first; i >= 0; --i, t = std::min(1.0, t + step)) weights[size_t(i)] = t;
  t = 0.0;
  for (int i = last; i < n; ++i, t = std::min(1.0, t + step)) weights[size_t(i)] = t;
  return weights;
}

}  // namespace

void TksEffectBmp::MixColumns(const TksEffectBmp& other, const double* weights) {
  for (int y = 0; y < Height(); ++y) {
    Pixel* row = Row(y);
    const Pixel* in = other.Row(y);
    for (int x = 0; x < Width(); ++x)
      if (weights[x] >= 0) row[x] = Mix(row[x], weights[x], in[x], 1.0 - weights[x]);
  }
}

void TksEffectBmp::BlendWith(const TksEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  k = Progress(k);
  for (int y = 0; y < Height(); ++y) {
    Pixel* row = Row(y);
    const Pixel* in = other.Row(y);
    for (int x = 0; x < Width(); ++x) row[x] = Mix(row[x], 1.0 - k, in[x], k);
  }
}

void TksEffectBmp::BlendRectWith(const Rect& rect, const TksEffectBmp& other, int other_row, int other_col,
                                 double k) {
  k = Progress(k);
  // The part of rect whose pixels exist in both images.
  const int ox = other_col - rect.left, oy = other_row - rect.top;
  const Rect r = rect.Intersect(image_.Bounds()).Intersect(other.image_.Bounds().Offset(-ox, -oy));
  for (int y = r.top; y < r.bottom; ++y) {
    Pixel* row = Row(y);
    const Pixel* in = other.Row(y + oy);
    for (int x = r.left; x < r.right; ++x) row[x] = Mix(row[x], 1.0 - k, in[x + ox], k);
  }
}

void TksEffectBmp::MorphGradient(const TksEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  k = Progress(k);
  const int w = Width(), h = Height();
  if (w >= h) {
    const int b = RoundInt(w * k);
    const int c = (w - b) / 2;
    const std::vector<double> weights = GradientWeights(w, b, c == 0 ? 1.0 : 1.0 / c);
    MixColumns(other, weights.data());
    return;
  }
  // Along the rows; the soft length is worked out differently from the
  // columns' one.
  const int c = RoundInt(h * k);
  int e = FloorHalf(h - 1 - c);
  if (c >= h && (c % 2) == (h % 2)) ++e;
  const std::vector<double> weights = GradientWeights(h, c, e == 0 ? 0.0 : 1.0 / e);
  for (int y = 0; y < h; ++y) {
    const double t = weights[size_t(y)];
    if (t < 0) continue;
    Pixel* row = Row(y);
    const Pixel* in = other.Row(y);
    for (int x = 0; x < w; ++x) row[x] = Mix(row[x], t, in[x], 1.0 - t);
  }
}

void TksEffectBmp::MorphLeftGradient(const TksEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  const int w = Width();
  const int a = Limited(w * Progress(k), 1, w - 1);
  std::vector<double> weights(size_t(w), -1.0);
  for (int j = 0; j <= a && j < w; ++j) weights[size_t(j)] = a > 0 ? std::min(1.0, double(j) / a) : 1.0;
  MixColumns(other, weights.data());
}

void TksEffectBmp::MorphRightGradient(const TksEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  const int w = Width();
  const int a = std::clamp(w - RoundInt(w * Progress(k)), 0, w - 1);
  const double step = w - a <= 0 ? 1.0 : 1.0 / (w - a);
  std::vector<double> weights(size_t(w), -1.0);
  for (int j = w - 1; j >= a; --j) weights[size_t(j)] = std::min(1.0, (w - 1 - j) * step);
  MixColumns(other, weights.data());
}

void TksEffectBmp::MorphLeftSlide(const TksEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  const int w = Width();
  const int b = Limited(w * Progress(k), 1, w - 1);
  for (int y = 0; y < Height(); ++y) std::memcpy(Row(y), other.Row(y) + (w - b), size_t(b) * sizeof(Pixel));
}

void TksEffectBmp::MorphRightSlide(const TksEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  const int w = Width();
  const int b = Limited(w * Progress(k), 1, w - 1);
  for (int y = 0; y < Height(); ++y) std::memcpy(Row(y) + (w - b), other.Row(y), size_t(b) * sizeof(Pixel));
}

void TksEffectBmp::MorphPush(const TksEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  const int w = Width();
  const int a = Limited(w * Progress(k), 0, w - 1);
  for (int y = 0; y < Height(); ++y) {
    Pixel* row = Row(y);
    std::memmove(row + a + 1, row, size_t(w - a - 1) * sizeof(Pixel));
    std::memcpy(row, other.Row(y) + (w - a - 1), size_t(a + 1) * sizeof(Pixel));
  }
}

void TksEffectBmp::Morph(int kind, const TksEffectBmp& other, double k) {
  switch (kind) {
    case 1: MorphGradient(other, k); break;
    case 2: MorphLeftGradient(other, k); break;
    case 3: MorphRightGradient(other, k); break;
    case 4: MorphLeftSlide(other, k); break;
    case 5: MorphRightSlide(other, k); break;
    case 6: MorphPush(other, k); break;
    default: BlendWith(other, k); break;
  }
}

void TksEffectBmp::Brighten(double k) {
  MapColour(image_, [k](uint8_t v) { return Channel((1.0 - k) * v + 255.0 * k); });
}

void TksEffectBmp::Darken(double k) {
  MapColour(image_, [k](uint8_t v) { return Channel((1.0 - k) * v); });
}

void TksEffectBmp::Grayscale() {
  for (int y = 0; y < Height(); ++y) {
    Pixel* row = Row(y);
    for (int x = 0; x < Width(); ++x) {
      const Pixel p = row[x];
      const uint8_t g = Channel(0.3 * PixelR(p) + 0.59 * PixelG(p) + 0.11 * PixelB(p));
      row[x] = MakePixel(g, g, g, PixelA(p));
    }
  }
}

void TksEffectBmp::AddNoise(int amount, NoiseSource& noise) {
  if (amount <= 0) return;
  for (int y = 0; y < Height(); ++y) {
    Pixel* row = Row(y);
    for (int x = 0; x < Width(); ++x) {
      const int shift = noise.Next(amount) - amount / 2;
      const auto add = [shift](uint8_t v) { return uint8_t(std::clamp(v + shift, 0, 255)); };
      const Pixel p = row[x];
      row[x] = MakePixel(add(PixelR(p)), add(PixelG(p)), add(PixelB(p)), PixelA(p));
    }
  }
}

void TksEffectBmp::SplitBlur(int amount) {
  const int a = std::max(amount, 0);
  const int w = Width(), h = Height();
  // Out-of-range neighbours are replaced as the effect has always done
  // (row i + a past the end by height − i); the last limit only matters for
  // amounts as large as the image, which would otherwise read outside it.
  const auto near_index = [a](int i, int n) {
    int lo = i - a, hi = i + a;
    if (lo < 0) lo = i;
    if (hi >= n) hi = n - i;
    return std::pair{std::min(lo, n - 1), std::min(hi, n - 1)};
  };
  for (int i = 0; i < h; ++i) {
    const auto [r1, r2] = near_index(i, h);
    Pixel* row = Row(i);
    for (int j = 0; j < w; ++j) {
      const auto [c1, c2] = near_index(j, w);
      // In place: rows above and columns to the left are already blurred.
      const Pixel q[4] = {Row(r1)[c1], Row(r2)[c1], Row(r1)[c2], Row(r2)[c2]};
      const auto avg = [&q](int shift) {
        int sum = 0;
        for (Pixel p : q) sum += int((p >> shift) & 0xFF);
        return Pixel(sum / 4) << shift;
      };
      row[j] = (row[j] & 0xFF000000u) | avg(16) | avg(8) | avg(0);
    }
  }
}

void TksEffectBmp::Invert() {
  MapColour(image_, [](uint8_t v) { return uint8_t(255 - v); });
}

void TksEffectBmp::ApplyInactiveEffect(int kind, NoiseSource& noise) {
  switch (kind) {
    case 0: Brighten(0.5); break;
    case 1: Darken(0.3); break;
    case 2: Grayscale(); break;
    case 3: AddNoise(50, noise); break;
    case 4: SplitBlur(1); break;
    case 5: Invert(); break;
    default: break;
  }
}

void TksEffectBmp::CopyFlipped(TksEffectBmp& target) const {
  const int w = Width(), h = Height();
  if (target.Width() != w || target.Height() != h) target.image_ = Image(w, h);
  for (int i = 0; i < h; ++i) std::memcpy(target.Row(h - 1 - i), Row(i), size_t(w) * sizeof(Pixel));
}

}  // namespace kelmar
