#pragma once
// The inflated skin package at the byte level. All integers are 32-bit
// little-endian, signed:
//   version word (0..3);
//   the picture slots of that version, each an empty-flag byte (non-zero: the
//     slot is empty and nothing follows; 0: a BMP file image follows);
//   active picture count N, then N BMP file images without flag bytes;
//   the description: every remaining byte, code page 936 lines.
// Each BMP file image is delimited by the total-size field of its file header.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/image.h"

namespace kelmar {

enum class PackageSlot { Picture, InactivePicture, Mask, RollUpPicture, RollUpMask };
inline constexpr size_t kPackageSlotCount = 5;

// The slot's key in [PICTURES] ("picture", "inactivepicture", "mask",
// "rolluppicture", "rollupmask"); also the order of a version-2 package.
std::string_view PackageSlotKey(PackageSlot slot);

// The slots a package version holds, in stored order. A negative version has
// the layout of version 0; a version above 3 holds nothing.
std::span<const PackageSlot> PackageSlotsOfVersion(int32_t version);

inline constexpr int32_t kMaxPackageVersion = 3;

struct PackagePicture {
  Image image;           // empty for an empty slot, or when not decoded
  int width = 0;         // as its header declares, decoded or not
  int height = 0;
  int bitsPerPixel = 0;  // as stored; 0 for an empty slot or when not decoded
  size_t offset = 0;     // where its BMP file image lies in the inflated package
  size_t size = 0;       // length of that BMP file image; 0 for an empty slot
};

struct SkinPackageContent {
  int32_t version = 0;
  // False when the version word is above 3: then nothing else was read.
  bool loaded = false;
  std::array<PackagePicture, kPackageSlotCount> slots;  // indexed by PackageSlot
  std::vector<PackagePicture> activePictures;
  std::vector<std::string> descriptionLines;  // raw code page 936 bytes

  PackagePicture& Slot(PackageSlot s) { return slots[size_t(s)]; }
  const PackagePicture& Slot(PackageSlot s) const { return slots[size_t(s)]; }
};

// Where a package's bytes come from, in order: fills as much of `out` as the
// package still has and answers how many bytes that was (fewer than asked
// only at its end).
using PackageSource = std::function<size_t(std::span<uint8_t> out)>;

// Whether a read decodes the pictures or only passes over them (their images
// stay empty; their places, lengths and declared sizes are kept).
enum class PackagePictures { Decoded, Skipped };

// Reads a package as its bytes come. A package that ends early raises
// "Stream read error" (a word or flag byte cut off) or "Bitmap image is not
// valid". A negative active picture count reads as none. Only one picture's
// bytes are held at a time.
SkinPackageContent ReadSkinPackage(const PackageSource& source,
                                   PackagePictures pictures = PackagePictures::Decoded);
// The same, of an inflated package in memory.
SkinPackageContent ReadSkinPackage(std::span<const uint8_t> package,
                                   PackagePictures pictures = PackagePictures::Decoded);

// Splits text into lines ended by CR LF, a lone CR or a lone LF; text after the
// last line end is a last line; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kelmar
