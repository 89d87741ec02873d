#pragma once
// The one pixel type of the skin engine and the writers: 32-bit BGRA
// (blue in the lowest byte in memory, as a Windows DIB), rows top-down.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/geometry.h"

namespace kelmar {

using Pixel = uint32_t;  // 0xAARRGGBB as a little-endian word: bytes B, G, R, A

constexpr Pixel MakePixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  return (Pixel(a) << 24) | (Pixel(r) << 16) | (Pixel(g) << 8) | Pixel(b);
}
constexpr uint8_t PixelR(Pixel p) { return uint8_t(p >> 16); }
constexpr uint8_t PixelG(Pixel p) { return uint8_t(p >> 8); }
constexpr uint8_t PixelB(Pixel p) { return uint8_t(p); }
constexpr uint8_t PixelA(Pixel p) { return uint8_t(p >> 24); }
// A platform colour value 0x00BBGGRR (red in the low byte) as an opaque pixel.
constexpr Pixel PixelFromColor(uint32_t c) { return MakePixel(uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)); }
constexpr uint32_t ColorFromPixel(Pixel p) { return uint32_t(PixelR(p)) | uint32_t(PixelG(p)) << 8 | uint32_t(PixelB(p)) << 16; }

// A non-owning window onto pixels: an Image, a part of one, or a DIB section.
class ImageView {
 public:
  ImageView() = default;
  ImageView(Pixel* data, int width, int height, ptrdiff_t stride)
      : data_(data), width_(width), height_(height), stride_(stride) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  ptrdiff_t Stride() const { return stride_; }  // in pixels
  bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
  Pixel* Row(int y) const { return data_ + y * stride_; }
  Pixel& At(int x, int y) const { return data_[y * stride_ + x]; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  // The part of this view inside r (clipped to the view).
  ImageView Sub(const Rect& r) const {
    Rect c = r.Intersect(Bounds());
    if (c.IsEmpty()) return {};
    return {data_ + c.top * stride_ + c.left, c.Width(), c.Height(), stride_};
  }
  void Fill(Pixel p) const {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) Row(y)[x] = p;
  }

 private:
  Pixel* data_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  ptrdiff_t stride_ = 0;
};

// An owning image.
class Image {
 public:
  Image() = default;
  Image(int width, int height, Pixel fill = 0)
      : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
        pixels_(size_t(width_) * size_t(height_), fill) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }
  Pixel* Data() { return pixels_.data(); }
  const Pixel* Data() const { return pixels_.data(); }
  Pixel* Row(int y) { return pixels_.data() + size_t(y) * width_; }
  const Pixel* Row(int y) const { return pixels_.data() + size_t(y) * width_; }
  Pixel& At(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
  Pixel At(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  ImageView View() { return {pixels_.data(), width_, height_, width_}; }
  // Read-only use of a view: the pixels are not written through it.
  ImageView View() const { return {const_cast<Pixel*>(pixels_.data()), width_, height_, width_}; }
  operator ImageView() { return View(); }

  // A new size, all pixels 0; the memory is kept when it is large enough,
  // for images composed again at every size change.
  void Resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(size_t(width_) * size_t(height_), 0);
  }

  friend bool operator==(const Image&, const Image&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace kelmar
