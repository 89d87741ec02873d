#include "imageio/png_icon.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "base/bmp.h"
#include "base/error.h"
#include "base/little_endian.h"
#include "imageio/stb_codecs.h"

namespace kelmar {

namespace {

constexpr int kLargestSide = 1024;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t Be32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | uint32_t(b[at + 3]);
}

bool SideFits(int64_t side) { return side >= 1 && side <= kLargestSide; }

// A PNG stream whose chunks are all there with their checksums right, from
// the 13-byte header chunk through image data to the end chunk (what may
// follow that is not looked at). What is damaged or cut fails here without
// the cost of decoding the picture.
bool WholePngStream(std::span<const uint8_t> png) {
  size_t at = 8;
  bool first = true, data = false;
  while (png.size() - at >= 12) {
    const uint32_t length = Be32(png, at);
    if (length > png.size() - at - 12) return false;
    const uint8_t* type = png.data() + at + 4;
    const uLong crc = crc32(crc32(0, nullptr, 0), type, uInt(length + 4));
    if (crc != Be32(png, at + 8 + length)) return false;
    if (first && (std::memcmp(type, "IHDR", 4) != 0 || length != 13)) return false;
    first = false;
    data = data || std::memcmp(type, "IDAT", 4) == 0;
    if (std::memcmp(type, "IEND", 4) == 0) return data;
    at += 12 + length;
  }
  return false;
}

}  // namespace

std::optional<IconImageFacts> ReadIconImageFacts(std::span<const uint8_t> image) {
  IconImageFacts facts;
  int64_t w = 0, h = 0;
  if (image.size() >= 24 && std::memcmp(image.data(), kPngSignature, 8) == 0) {
    // The first chunk is IHDR: width and height, big-endian.
    if (std::memcmp(image.data() + 12, "IHDR", 4) != 0) return std::nullopt;
    w = Be32(image, 16);
    h = Be32(image, 20);
    facts.bitCount = 32;
    facts.png = true;
  } else if (image.size() >= 16 && Le32(image, 0) >= 40) {
    // The DIB's height counts the colour rows and the mask's together.
    w = int32_t(Le32(image, 4));
    h = int32_t(Le32(image, 8)) / 2;
    facts.bitCount = Le16(image, 14);
  } else if (image.size() >= 12 && Le32(image, 0) == 12) {
    w = Le16(image, 4);
    h = Le16(image, 6) / 2;
    facts.bitCount = Le16(image, 10);
  } else {
    return std::nullopt;
  }
  if (!SideFits(w) || !SideFits(h)) return std::nullopt;
  facts.width = int(w);
  facts.height = int(h);
  return facts;
}

Image StraightIconPixels(const DecodedIcon& icon) {
  Image straight = icon.image;
  if (icon.hasAlpha) return straight;  // the mask is what readers without alpha use
  Pixel* p = straight.Data();
  for (size_t i = 0, n = size_t(straight.Width()) * size_t(straight.Height()); i < n; ++i)
    p[i] = icon.mask[i] ? 0 : p[i] | 0xFF000000u;
  return straight;
}

Image DecodeStoredIconImage(std::span<const uint8_t> image) {
  const std::optional<IconImageFacts> facts = ReadIconImageFacts(image);
  if (!facts) throw Error(kBitmapNotValid);
  Image pixels = facts->png ? DecodePngPixels(image) : StraightIconPixels(DecodeIconImage(image));
  if (pixels.Width() != facts->width || pixels.Height() != facts->height) throw Error(kBitmapNotValid);
  return pixels;
}

namespace {

struct Candidate {
  const IconEntry* entry;
  IconImageFacts facts;
  int64_t Area() const { return int64_t(facts.width) * facts.height; }
};

// Larger first (and the wider of two of one area), then more colours; the
// group's order among equals.
bool LargerOrRicher(const Candidate& a, const Candidate& b) {
  if (a.Area() != b.Area()) return a.Area() > b.Area();
  if (a.facts.width != b.facts.width) return a.facts.width > b.facts.width;
  return a.facts.bitCount > b.facts.bitCount;
}

// The images with a readable header in that order; `unreadable` counts the rest.
std::vector<Candidate> Candidates(const IconGroup& group, int* unreadable) {
  std::vector<Candidate> all;
  for (const IconEntry& entry : group.entries) {
    if (std::optional<IconImageFacts> facts = ReadIconImageFacts(entry.Image()))
      all.push_back({&entry, *facts});
    else if (unreadable)
      ++*unreadable;
  }
  std::stable_sort(all.begin(), all.end(), LargerOrRicher);
  return all;
}

std::pair<int, int> OwnSize(const Candidate& c) { return {c.facts.width, c.facts.height}; }

// The picture of one image: as stored where it is a whole PNG stream of the
// size wanted, else encoded from its pixels, made smaller to fit width x
// height where it is larger.
PngPicture MakePicture(const Candidate& c, int width, int height) {
  const std::span<const uint8_t> bytes = c.entry->Image();
  const bool own_size = c.facts.width == width && c.facts.height == height;
  if (own_size && c.facts.png) {
    if (!WholePngStream(bytes)) throw Error(kBitmapNotValid);
    return {width, height, std::vector<uint8_t>(bytes.begin(), bytes.end())};
  }
  const Image pixels = DecodeStoredIconImage(bytes);
  return {width, height, EncodePng(own_size ? pixels : Downscale(pixels, width, height))};
}

// Tries the candidates in turn until one makes a picture of the size the
// function gives for it; each that fails is counted.
template <typename SizeFor>
void FirstThatDecodes(std::span<const Candidate> order, SizeFor size_for, GroupPictures& out) {
  for (const Candidate& c : order) {
    try {
      const auto [w, h] = size_for(c);
      out.pictures.push_back(MakePicture(c, w, h));
      return;
    } catch (const Error&) {
      ++out.failed;
    }
  }
}

}  // namespace

std::vector<std::pair<int, int>> GroupImageSizes(const IconGroup& group) {
  std::vector<std::pair<int, int>> sizes;
  for (const Candidate& c : Candidates(group, nullptr))
    if (sizes.empty() || sizes.back() != OwnSize(c)) sizes.push_back(OwnSize(c));
  return sizes;
}

GroupPictures GroupPngPictures(const IconGroup& group, PngSizeChoice choice) {
  GroupPictures out;
  // An image without a header to go by cannot be decoded: counted at once.
  const std::vector<Candidate> all = Candidates(group, &out.failed);
  auto own_size = OwnSize;

  switch (choice.kind) {
    case PngSizeChoice::kLargest:
      FirstThatDecodes(all, own_size, out);
      break;
    case PngSizeChoice::kEvery:
      for (size_t i = 0; i < all.size();) {
        size_t end = i;
        while (end < all.size() && own_size(all[end]) == own_size(all[i])) ++end;
        FirstThatDecodes(std::span(all).subspan(i, end - i), own_size, out);
        i = end;
      }
      break;
    case PngSizeChoice::kFixed: {
      const int n = choice.size;
      // The size itself, then the nearest larger images (smallest first),
      // then, where nothing is as large, the largest as it is.
      auto rank = [n](const Candidate& c) {
        if (c.facts.width == n && c.facts.height == n) return 0;
        return c.facts.width >= n && c.facts.height >= n ? 1 : 2;
      };
      std::vector<Candidate> order = all;
      std::stable_sort(order.begin(), order.end(), [&](const Candidate& a, const Candidate& b) {
        if (rank(a) != rank(b)) return rank(a) < rank(b);
        if (rank(a) == 1 && a.Area() != b.Area()) return a.Area() < b.Area();
        return LargerOrRicher(a, b);
      });
      FirstThatDecodes(
          order,
          [n, &rank, &own_size](const Candidate& c) {
            if (rank(c) != 1) return own_size(c);
            // A larger image keeps its shape with its longer side n.
            const int longer = std::max(c.facts.width, c.facts.height);
            return std::pair(std::max(1, c.facts.width * n / longer), std::max(1, c.facts.height * n / longer));
          },
          out);
      break;
    }
  }
  return out;
}

std::string GroupImageSummary(const IconGroup& group) {
  struct Line {
    int width, height, bits;
    bool png;
  };
  std::vector<Line> lines;
  for (const IconEntry& e : group.entries) {
    if (std::optional<IconImageFacts> f = ReadIconImageFacts(e.Image())) {
      lines.push_back({f->width, f->height, f->bitCount, f->png});
      continue;
    }
    // Only the directory to go by: bit count, else the colour count's.
    int bits = e.bitCount;
    if (bits == 0) bits = e.colorCount == 2 ? 1 : e.colorCount == 16 ? 4 : 0;
    lines.push_back({e.width ? e.width : 256, e.height ? e.height : 256, bits, false});
  }
  std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
    if (a.width * a.height != b.width * b.height) return a.width * a.height > b.width * b.height;
    return a.bits > b.bits;
  });
  std::string text;
  for (const Line& l : lines) {
    // Appended piece by piece (GCC 12 warns falsely on joined temporaries).
    if (!text.empty()) text.append(" \u00B7 ");
    text.append(std::to_string(l.width)).append("\u00D7").append(std::to_string(l.height));
    if (l.png)
      text.append(" PNG");
    else if (l.bits > 0)
      text.append(" ").append(std::to_string(l.bits)).append("\u4F4D");
  }
  return text;
}

}  // namespace kelmar
