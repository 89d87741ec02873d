// The one place the stb libraries' code is compiled.
#include "imageio/stb_codecs.h"

#include "base/bmp.h"
#include "base/error.h"
#include "imageio/png_icon.h"

// The headers come from a system include folder: their own warnings are not ours.
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 1024  // no icon image is larger; a lying header allocates no more
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

namespace kelmar {

namespace {

// BGRA and RGBA differ by the order of red and blue: the same swap both ways.
std::vector<uint8_t> SwapRedBlue(const uint8_t* in, size_t pixels) {
  std::vector<uint8_t> out(in, in + pixels * 4);
  for (size_t i = 0; i < out.size(); i += 4) std::swap(out[i], out[i + 2]);
  return out;
}

}  // namespace

Image DecodePngPixels(std::span<const uint8_t> png) {
  if (png.size() > size_t(INT32_MAX)) throw Error(kBitmapNotValid);
  int w = 0, h = 0, channels = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
      stbi_load_from_memory(png.data(), int(png.size()), &w, &h, &channels, 4), stbi_image_free);
  if (!rgba || w < 1 || h < 1) throw Error(kBitmapNotValid);
  Image image(w, h);
  const std::vector<uint8_t> bgra = SwapRedBlue(rgba.get(), size_t(w) * size_t(h));
  std::memcpy(image.Data(), bgra.data(), bgra.size());
  return image;
}

std::vector<uint8_t> EncodePng(const Image& straight) {
  if (straight.IsEmpty()) throw Error(kBitmapNotValid);
  const int w = straight.Width(), h = straight.Height();
  const std::vector<uint8_t> rgba =
      SwapRedBlue(reinterpret_cast<const uint8_t*>(straight.Data()), size_t(w) * size_t(h));
  std::vector<uint8_t> out;
  auto append = [](void* context, void* data, int size) {
    auto* bytes = static_cast<const uint8_t*>(data);
    static_cast<std::vector<uint8_t>*>(context)->insert(static_cast<std::vector<uint8_t>*>(context)->end(), bytes,
                                                        bytes + size);
  };
  if (!stbi_write_png_to_func(append, &out, w, h, 4, rgba.data(), w * 4)) throw Error(kBitmapNotValid);
  return out;
}

void ResizeArea(const ImageView& source, const ImageView& target) {
  if (source.IsEmpty() || target.IsEmpty()) throw Error(kBitmapNotValid);
  // The box filter averages the area each new pixel covers (its ramps one
  // pixel wide where a picture grows); the alpha channel (the fourth byte in
  // either order) weighs the colours; the edges repeat, so nothing outside
  // the source is read.
  if (!stbir_resize_uint8_generic(reinterpret_cast<const unsigned char*>(source.Row(0)), source.Width(),
                                  source.Height(), int(source.Stride() * 4),
                                  reinterpret_cast<unsigned char*>(target.Row(0)), target.Width(), target.Height(),
                                  int(target.Stride() * 4), 4, 3, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_BOX,
                                  STBIR_COLORSPACE_LINEAR, nullptr))
    throw Error(kBitmapNotValid);
}

Image Downscale(const Image& straight, int width, int height) {
  if (straight.IsEmpty() || width < 1 || height < 1) throw Error(kBitmapNotValid);
  Image out(width, height);
  ResizeArea(straight.View(), out.View());
  return out;
}

}  // namespace kelmar
