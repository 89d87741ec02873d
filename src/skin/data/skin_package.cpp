#include "skin/data/skin_package.h"

#include <algorithm>
#include <cstring>

#include "base/bmp.h"
#include "base/error.h"
#include "base/little_endian.h"

namespace kelmar {
namespace {

constexpr PackageSlot kSlotsV0[] = {PackageSlot::Picture, PackageSlot::Mask};
constexpr PackageSlot kSlotsV1[] = {PackageSlot::Picture, PackageSlot::Mask, PackageSlot::RollUpPicture,
                                    PackageSlot::RollUpMask};
constexpr PackageSlot kSlotsV2[] = {PackageSlot::Picture, PackageSlot::InactivePicture, PackageSlot::Mask,
                                    PackageSlot::RollUpPicture, PackageSlot::RollUpMask};
constexpr PackageSlot kSlotsV3[] = {PackageSlot::Picture, PackageSlot::InactivePicture, PackageSlot::Mask};

// A forward-only reader over the package's bytes as they come.
class ByteReader {
 public:
  ByteReader(const PackageSource& source, bool decode) : source_(source), decode_(decode) {}

  int32_t ReadInt32() {
    uint8_t p[4];
    Need(p);
    return int32_t(Le32(p));
  }
  uint8_t ReadByte() {
    uint8_t b[1];
    Need(b);
    return b[0];
  }
  PackagePicture ReadPicture() {
    // The file header's total size delimits the image. Its bytes go into one
    // buffer that every picture reuses (its pages touched once: fresh ones
    // are what a start pays for); room is set aside for up to 16 MB at once,
    // past that it grows as the bytes arrive, so that a false size costs no
    // more than the bytes that are there.
    constexpr size_t kHeader = 14;
    picture_.resize(kHeader);
    size_t have = Fill(picture_);
    if (have == kHeader) {
      const size_t total = Le32(picture_.data() + 2);
      picture_.reserve(std::min<size_t>(total, size_t(16) << 20));
      while (have < total) {
        picture_.resize(std::min(total, std::max(picture_.capacity(), have * 2)));
        const size_t got = Fill(std::span<uint8_t>(picture_).subspan(have));
        have += got;
        if (have < picture_.size()) break;
      }
    }
    picture_.resize(have);
    if (!decode_) {
      const Point size = BmpDeclaredSize(picture_);
      return {Image(), size.x, size.y, 0, pos_ - have, have};
    }
    DecodedBmp bmp = DecodeBmp(picture_);
    const int width = bmp.image.Width(), height = bmp.image.Height();
    return {std::move(bmp.image), width, height, bmp.bitsPerPixel, pos_ - have, bmp.size};
  }
  std::string Rest() {
    std::string rest;
    size_t got;
    do {
      const size_t at = rest.size();
      rest.resize(at + 65536);
      got = Fill(std::span<uint8_t>(reinterpret_cast<uint8_t*>(rest.data()) + at, 65536));
      rest.resize(at + got);
    } while (got == 65536);
    return rest;
  }

 private:
  size_t Fill(std::span<uint8_t> out) {
    const size_t got = source_(out);
    pos_ += got;
    return got;
  }
  void Need(std::span<uint8_t> out) {
    if (Fill(out) < out.size()) throw Error("Stream read error");
  }
  const PackageSource& source_;
  const bool decode_;
  size_t pos_ = 0;
  std::vector<uint8_t> picture_;
};

}  // namespace

std::string_view PackageSlotKey(PackageSlot slot) {
  static constexpr std::string_view kKeys[] = {"picture", "inactivepicture", "mask", "rolluppicture",
                                               "rollupmask"};
  return kKeys[size_t(slot)];
}

std::span<const PackageSlot> PackageSlotsOfVersion(int32_t version) {
  if (version <= 0) return kSlotsV0;
  if (version == 1) return kSlotsV1;
  if (version == 2) return kSlotsV2;
  if (version == 3) return kSlotsV3;
  return {};
}

SkinPackageContent ReadSkinPackage(std::span<const uint8_t> package, PackagePictures pictures) {
  size_t at = 0;
  return ReadSkinPackage([&](std::span<uint8_t> out) {
    const size_t n = std::min(out.size(), package.size() - at);
    if (n > 0) std::memcpy(out.data(), package.data() + at, n);
    at += n;
    return n;
  }, pictures);
}

SkinPackageContent ReadSkinPackage(const PackageSource& source, PackagePictures pictures) {
  SkinPackageContent content;
  ByteReader reader(source, pictures == PackagePictures::Decoded);
  content.version = reader.ReadInt32();
  if (content.version > kMaxPackageVersion) return content;
  for (PackageSlot slot : PackageSlotsOfVersion(content.version)) {
    if (reader.ReadByte() == 0) content.Slot(slot) = reader.ReadPicture();
  }
  // Each picture takes at least a header's worth of bytes, so a lying count
  // ends in an error after the data runs out, not in a huge reservation.
  const int32_t count = reader.ReadInt32();
  for (int32_t i = 0; i < count; ++i) content.activePictures.push_back(reader.ReadPicture());
  content.descriptionLines = SplitLines(reader.Rest());
  content.loaded = true;
  return content;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

}  // namespace kelmar
