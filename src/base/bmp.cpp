#include "base/bmp.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "base/error.h"
#include "base/little_endian.h"

namespace kelmar {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

[[noreturn]] void Invalid() { throw Error(kBitmapNotValid); }

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;  // mask >> shift

  explicit Channel(uint32_t m) : mask(m) {
    if (m) {
      shift = std::countr_zero(m);
      max = m >> shift;
    }
  }
  uint8_t Get(uint32_t px, uint8_t missing) const {
    if (!mask) return missing;
    uint64_t v = (px & mask) >> shift;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

void DecodeBitfields(const uint8_t* src, Pixel* dst, int width, int bpp, const Channel (&ch)[4]) {
  for (int x = 0; x < width; ++x) {
    uint32_t px = bpp == 16 ? Le16(src + 2 * x) : Le32(src + 4 * x);
    dst[x] = MakePixel(ch[0].Get(px, 0), ch[1].Get(px, 0), ch[2].Get(px, 0), ch[3].Get(px, 255));
  }
}

// Run-length encoded rows (8 or 4 bits per pixel, bottom-up). Pixels that the
// data skips (deltas, early line or image ends) keep the fill colour; pixels
// beyond the right edge are dropped.
void DecodeRle(const uint8_t* data, size_t size, int bpp, const Pixel* table, Image& image) {
  const int w = image.Width(), h = image.Height();
  int64_t x = 0, y = 0;  // y counts rows from the bottom
  size_t i = 0;
  auto put = [&](unsigned index) {
    if (x < w && y < h) image.Row(int(h - 1 - y))[x] = table[index];
    ++x;
  };
  while (y < h) {
    if (size - i < 2) Invalid();
    const unsigned count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0 && bpp == 8) {  // a run of one index: filled at once, as far as the row goes
      const int64_t n = std::min<int64_t>(count, std::max<int64_t>(w - x, 0));
      std::fill_n(image.Row(int(h - 1 - y)) + x, n, table[value]);
      x += n;
      continue;
    }
    if (count > 0) {  // two alternating nibbles
      for (unsigned k = 0; k < count && x < w; ++k) put(k % 2 == 0 ? value >> 4 : value & 15);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of image
      break;
    } else if (value == 2) {  // delta
      if (size - i < 2) Invalid();
      x += data[i];
      y += data[i + 1];
      i += 2;
    } else {  // literal indexes, padded to a 16-bit boundary
      const size_t bytes = bpp == 8 ? value : (value + 1) / 2;
      const size_t padded = (bytes + 1) & ~size_t(1);
      if (size - i < padded) Invalid();
      for (unsigned k = 0; k < value; ++k) {
        const uint8_t b = data[i + (bpp == 8 ? k : k / 2)];
        put(bpp == 8 ? b : (k % 2 == 0 ? b >> 4 : b & 15));
      }
      i += padded;
    }
  }
}

bool KnownInfoHeaderSize(uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// The info header at `headerStart`, its colour table and pixels, all within
// the first `limit` bytes. `offBits` is where the pixels start, or 0 for
// straight after the colour table (a packed DIB). An icon image declares
// twice its height (the mask follows the colours) and keeps the fourth byte
// of 32-bit pixels as alpha.
DecodedBmp DecodeDib(const uint8_t* p, uint32_t limit, uint32_t headerStart, uint32_t offBits, bool icon) {
  if (limit < headerStart + 4) Invalid();
  const uint32_t headerSize = Le32(p + headerStart);
  if (!KnownInfoHeaderSize(headerSize)) Invalid();
  if (headerSize > limit - headerStart) Invalid();
  const uint8_t* h = p + headerStart;

  int64_t width, height;
  int bpp, planes;
  uint32_t compression = kBiRgb, colorsUsed = 0, entrySize = 4;
  uint32_t masks[4] = {0, 0, 0, 0};
  uint32_t tableStart = headerStart + headerSize;
  if (headerSize == 12) {  // the old core header: 16-bit sizes, 3-byte table entries
    width = Le16(h + 4);
    height = Le16(h + 6);
    planes = Le16(h + 8);
    bpp = Le16(h + 10);
    entrySize = 3;
  } else {
    width = int32_t(Le32(h + 4));
    height = int32_t(Le32(h + 8));
    planes = Le16(h + 12);
    bpp = Le16(h + 14);
    compression = Le32(h + 16);
    colorsUsed = Le32(h + 32);
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
      uint32_t count = compression == kBiAlphaBitfields ? 4 : 3;
      const uint8_t* m = h + 40;
      if (headerSize == 40) {  // the masks follow the header
        if (uint64_t(tableStart) + 4 * count > limit) Invalid();
        tableStart += 4 * count;
      } else {
        count = headerSize >= 56 ? 4 : 3;
      }
      for (uint32_t i = 0; i < count; ++i) masks[i] = Le32(m + 4 * i);
    }
  }
  if (icon) {
    if (height <= 0 || height % 2) Invalid();
    height /= 2;
  }
  if (planes != 1 || width <= 0 || height == 0 || height == INT32_MIN) Invalid();
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Invalid();
  const bool rle = (compression == kBiRle8 && bpp == 8) || (compression == kBiRle4 && bpp == 4);
  if (compression != kBiRgb && !rle &&
      !((compression == kBiBitfields || compression == kBiAlphaBitfields) && (bpp == 16 || bpp == 32)))
    Invalid();
  if (rle && (height < 0 || icon)) Invalid();  // run-length images are always bottom-up, never icons

  uint32_t tableCount = 0;
  if (bpp <= 8) {
    const uint32_t maxCount = 1u << bpp;
    tableCount = colorsUsed == 0 || colorsUsed > maxCount ? maxCount : colorsUsed;
    if (uint64_t(tableStart) + uint64_t(tableCount) * entrySize > limit) Invalid();
  }
  if (offBits == 0) offBits = tableStart + tableCount * entrySize;
  if (offBits < tableStart || offBits > limit) Invalid();

  const bool bottomUp = height > 0;
  const int64_t rows = bottomUp ? height : -height;
  const uint64_t stride = (uint64_t(width) * bpp + 31) / 32 * 4;
  const uint64_t dataSize = limit - offBits;
  if (rle) {
    // Runs can describe many pixels in few bytes; allow what runs of the
    // greatest length, one per two bytes, can fill.
    if (uint64_t(width) * uint64_t(rows) > 128 * dataSize) Invalid();
  } else {
    // stride and rows are below 2^32 each, so the product cannot overflow.
    if (stride > limit || stride * uint64_t(rows) > dataSize) Invalid();
  }
  if (uint64_t(width) * uint64_t(rows) > uint64_t(PTRDIFF_MAX) / sizeof(Pixel)) Invalid();

  Pixel table[256] = {};
  for (uint32_t i = 0; i < tableCount; ++i) {
    const uint8_t* e = p + tableStart + i * entrySize;
    table[i] = MakePixel(e[2], e[1], e[0]);
  }
  for (uint32_t i = tableCount; i < 256; ++i) table[i] = MakePixel(0, 0, 0);

  Channel channels[4] = {Channel(0), Channel(0), Channel(0), Channel(0)};
  const bool bitfields = compression != kBiRgb || bpp == 16;
  if (compression == kBiRgb && bpp == 16) {
    channels[0] = Channel(0x7C00);
    channels[1] = Channel(0x03E0);
    channels[2] = Channel(0x001F);
  } else if (compression != kBiRgb) {
    for (int i = 0; i < 4; ++i) channels[i] = Channel(masks[i]);
  }

  DecodedBmp result;
  result.image = Image(int(width), int(rows), MakePixel(0, 0, 0));
  result.bitsPerPixel = bpp;
  result.size = rle ? limit : size_t(offBits + stride * uint64_t(rows));
  if (rle) {
    DecodeRle(p + offBits, size_t(dataSize), bpp, table, result.image);
    return result;
  }
  const int w = int(width);
  for (int64_t y = 0; y < rows; ++y) {
    const uint8_t* src = p + offBits + uint64_t(y) * stride;
    Pixel* dst = result.image.Row(int(bottomUp ? rows - 1 - y : y));
    if (bitfields) {
      DecodeBitfields(src, dst, w, bpp, channels);
    } else if (bpp == 24) {
      for (int x = 0; x < w; ++x, src += 3) dst[x] = MakePixel(src[2], src[1], src[0]);
    } else if (bpp == 32) {
      for (int x = 0; x < w; ++x, src += 4) dst[x] = MakePixel(src[2], src[1], src[0], icon ? src[3] : 255);
    } else {
      const unsigned valueMask = (1u << bpp) - 1;
      for (int x = 0; x < w; ++x) {
        const size_t bit = size_t(x) * bpp;  // leftmost pixel in the high bits
        dst[x] = table[(src[bit >> 3] >> (8 - bpp - (bit & 7))) & valueMask];
      }
    }
  }
  return result;
}

}  // namespace

DecodedBmp DecodeBmp(std::span<const uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') Invalid();
  const uint8_t* p = bytes.data();
  const uint32_t fileSize = Le32(p + 2);
  const uint32_t offBits = Le32(p + 10);
  if (fileSize > bytes.size() || fileSize < kFileHeaderSize + 12) Invalid();
  DecodedBmp result = DecodeDib(p, fileSize, kFileHeaderSize, offBits == 0 ? kFileHeaderSize : offBits, false);
  result.size = fileSize;
  return result;
}

Point BmpDeclaredSize(std::span<const uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize + 12) return {};
  const uint8_t* h = bytes.data() + kFileHeaderSize;
  const uint32_t headerSize = Le32(h);
  if (!KnownInfoHeaderSize(headerSize)) return {};
  if (headerSize == 12) return {Le16(h + 4), Le16(h + 6)};  // the core header's 16-bit sizes
  const int32_t height = int32_t(Le32(h + 8));
  if (height == INT32_MIN) return {};
  return {int32_t(Le32(h + 4)), height < 0 ? -height : height};  // negative: rows stored top-down
}

DecodedBmp DecodeIconDib(std::span<const uint8_t> dib) {
  if (dib.size() > UINT32_MAX) Invalid();
  return DecodeDib(dib.data(), uint32_t(dib.size()), 0, 0, true);
}

namespace {

// The file header and a 40-byte info header of a bottom-up image; the colour
// table and pixels (`pixelBytes` of them) are the caller's to append.
void PutHeaders(std::vector<uint8_t>& out, const ImageView& image, int bitsPerPixel, uint32_t compression,
                uint32_t tableColours, uint64_t pixelBytes) {
  const uint32_t offBits = kFileHeaderSize + 40 + 4 * tableColours;
  const uint64_t total = offBits + pixelBytes;
  if (total > UINT32_MAX) throw std::invalid_argument("EncodeBmp: image too large");
  out.reserve(size_t(total));
  out.push_back('B');
  out.push_back('M');
  Put32(out, uint32_t(total));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, uint32_t(image.Width()));
  Put32(out, uint32_t(image.Height()));  // positive: rows bottom-up
  Put16(out, 1);
  Put16(out, uint16_t(bitsPerPixel));
  Put32(out, compression);
  Put32(out, uint32_t(pixelBytes));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, tableColours);
  Put32(out, 0);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const ImageView& image, int bitsPerPixel) {
  if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)
    throw std::invalid_argument("EncodeBmp: unsupported depth");
  if (image.IsEmpty()) throw std::invalid_argument("EncodeBmp: empty image");
  const uint32_t w = uint32_t(image.Width()), h = uint32_t(image.Height());
  const uint64_t stride = (uint64_t(w) * bitsPerPixel + 31) / 32 * 4;
  std::vector<uint8_t> out;
  PutHeaders(out, image, bitsPerPixel, kBiRgb, bitsPerPixel == 1 ? 2 : 0, stride * h);
  if (bitsPerPixel == 1) {
    Put32(out, 0x00000000);
    Put32(out, 0x00FFFFFF);
  }
  for (uint32_t y = h; y-- > 0;) {
    const Pixel* row = image.Row(int(y));
    const size_t start = out.size();
    if (bitsPerPixel == 1) {
      out.resize(start + size_t(stride), 0);
      for (uint32_t x = 0; x < w; ++x) {
        const Pixel px = row[x];
        if (PixelR(px) + PixelG(px) + PixelB(px) >= 384) out[start + x / 8] |= uint8_t(0x80 >> (x % 8));
      }
      continue;
    }
    for (uint32_t x = 0; x < w; ++x) {
      out.push_back(PixelB(row[x]));
      out.push_back(PixelG(row[x]));
      out.push_back(PixelR(row[x]));
      if (bitsPerPixel == 32) out.push_back(PixelA(row[x]));
    }
    out.resize(start + size_t(stride), 0);
  }
  return out;
}

std::vector<uint8_t> EncodeBmpRle8(const ImageView& image) {
  if (image.IsEmpty()) throw std::invalid_argument("EncodeBmp: empty image");
  const int w = image.Width(), h = image.Height();
  // The colour table: the image's colours in the order they first appear.
  std::vector<uint32_t> colours;
  std::vector<uint8_t> indices(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = image.At(x, y) & 0xFFFFFF;
      auto at = std::find(colours.begin(), colours.end(), c);
      if (at == colours.end()) {
        if (colours.size() == 256) return {};
        at = colours.insert(colours.end(), c);
      }
      indices[size_t(y) * size_t(w) + size_t(x)] = uint8_t(at - colours.begin());
    }
  // Runs of one index, up to 255 long, each row ended by an end-of-line
  // escape and the image by an end-of-bitmap one.
  std::vector<uint8_t> runs;
  for (int y = h; y-- > 0;) {
    const uint8_t* row = &indices[size_t(y) * size_t(w)];
    for (int x = 0; x < w;) {
      int n = 1;
      while (x + n < w && n < 255 && row[x + n] == row[x]) ++n;
      runs.push_back(uint8_t(n));
      runs.push_back(row[x]);
      x += n;
    }
    runs.push_back(0);
    runs.push_back(y == 0 ? 1 : 0);
  }
  std::vector<uint8_t> out;
  PutHeaders(out, image, 8, kBiRle8, uint32_t(colours.size()), runs.size());
  for (uint32_t c : colours) Put32(out, c);
  out.insert(out.end(), runs.begin(), runs.end());
  return out;
}

}  // namespace kelmar
