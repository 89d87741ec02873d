#pragma once
// The effect bitmap: cross-fades ("morphs") between two images of one size and
// the inactive-window effects. It holds the engine's 32-bit BGRA Image rather
// than a 24-bit section; the Win32 side draws it with one DIB call.
//
// Channel results are rounded to the nearest integer, halves to even, and
// clamped to 0 … 255. Transitions treat all four channels alike (so k = 1
// yields the other image exactly); effects change colour only, never alpha.
#include <cstdint>
#include <random>

#include "base/image.h"

namespace kelmar {

// Random numbers for AddNoise; seedable so that a run can be repeated.
class NoiseSource {
 public:
  explicit NoiseSource(uint32_t seed = 5489u) : engine_(seed) {}
  // A number in 0 … n − 1 (n > 0).
  int Next(int n) { return int(engine_() % uint32_t(n)); }

 private:
  std::mt19937 engine_;
};

class TksEffectBmp {
 public:
  TksEffectBmp() = default;
  // Pixels are zero (the content of a new bitmap is not otherwise defined).
  TksEffectBmp(int width, int height) : image_(width, height) {}
  explicit TksEffectBmp(Image image) : image_(std::move(image)) {}

  int Width() const { return image_.Width(); }
  int Height() const { return image_.Height(); }
  Image& GetImage() { return image_; }
  const Image& GetImage() const { return image_; }
  Pixel GetPixel(int x, int y) const { return image_.At(x, y); }
  void SetPixel(int x, int y, Pixel p) { image_.At(x, y) = p; }
  Pixel* Row(int y) { return image_.Row(y); }
  const Pixel* Row(int y) const { return image_.Row(y); }

  // Transitions: self becomes a mix of self and `other` at progress k (taken
  // as 0 … 1). They do nothing unless both have the same size.
  void BlendWith(const TksEffectBmp& other, double k);
  void MorphGradient(const TksEffectBmp& other, double k);
  void MorphLeftGradient(const TksEffectBmp& other, double k);
  void MorphRightGradient(const TksEffectBmp& other, double k);
  void MorphLeftSlide(const TksEffectBmp& other, double k);
  void MorphRightSlide(const TksEffectBmp& other, double k);
  void MorphPush(const TksEffectBmp& other, double k);
  // By the skin's morph kind: 0 mkdefault (BlendWith), 1 mkgradient,
  // 2 mkleftgradient, 3 mkrightgradient, 4 mkleftslide, 5 mkrightslide,
  // 6 mkpush. Other kinds blend.
  void Morph(int kind, const TksEffectBmp& other, double k);

  // Blends the part `rect` of self with other's pixels from (other_col,
  // other_row) on; both are clipped to the images.
  void BlendRectWith(const Rect& rect, const TksEffectBmp& other, int other_row, int other_col, double k);

  void Brighten(double k = 0.5);
  void Darken(double k = 0.3);
  void Grayscale();
  void AddNoise(int amount, NoiseSource& noise);
  void SplitBlur(int amount = 1);
  void Invert();
  // By the skin's inactive effect: 0 iebrightness, 1 iedarkness,
  // 2 iegrayscale, 3 ienoise, 4 iesplitblur, 5 ieinvert, with the parameters
  // the frame uses (0.5, 0.3, –, 50, 1, –). Other kinds do nothing.
  void ApplyInactiveEffect(int kind, NoiseSource& noise);

  // target becomes self upside down (and takes self's size).
  void CopyFlipped(TksEffectBmp& target) const;

 private:
  bool SameSize(const TksEffectBmp& other) const {
    return Width() == other.Width() && Height() == other.Height() && !image_.IsEmpty();
  }
  // Column j of every row becomes weight[j]·self + (1 − weight[j])·other;
  // columns with a negative weight stay.
  void MixColumns(const TksEffectBmp& other, const double* weights);

  Image image_;
};

}  // namespace kelmar
