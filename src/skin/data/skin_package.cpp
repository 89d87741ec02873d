#include "skin/data/skin_package.h"

#include <cstring>

#include "base/bmp.h"
#include "base/error.h"

namespace kelmar {
namespace {

constexpr PackageSlot kSlotsV0[] = {PackageSlot::Picture, PackageSlot::Mask};
constexpr PackageSlot kSlotsV1[] = {PackageSlot::Picture, PackageSlot::Mask, PackageSlot::RollUpPicture,
                                    PackageSlot::RollUpMask};
constexpr PackageSlot kSlotsV2[] = {PackageSlot::Picture, PackageSlot::InactivePicture, PackageSlot::Mask,
                                    PackageSlot::RollUpPicture, PackageSlot::RollUpMask};
constexpr PackageSlot kSlotsV3[] = {PackageSlot::Picture, PackageSlot::InactivePicture, PackageSlot::Mask};

// A forward-only reader over the inflated bytes.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  int32_t ReadInt32() {
    Need(4);
    const uint8_t* p = bytes_.data() + pos_;
    pos_ += 4;
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
  }
  uint8_t ReadByte() {
    Need(1);
    return bytes_[pos_++];
  }
  PackagePicture ReadPicture() {
    DecodedBmp bmp = DecodeBmp(bytes_.subspan(pos_));
    PackagePicture picture{std::move(bmp.image), bmp.bitsPerPixel, pos_, bmp.size};
    pos_ += bmp.size;
    return picture;
  }
  std::string_view Rest() const {
    return {reinterpret_cast<const char*>(bytes_.data()) + pos_, bytes_.size() - pos_};
  }

 private:
  void Need(size_t n) const {
    if (bytes_.size() - pos_ < n) throw Error("Stream read error");
  }
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
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

SkinPackageContent ReadSkinPackage(std::span<const uint8_t> package) {
  SkinPackageContent content;
  ByteReader reader(package);
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
