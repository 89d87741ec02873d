#pragma once
// The stored skin: a skin package kept deflated (a zlib stream made at level 9)
// in CompressedData. The skin model reads it as it inflates it (ReadPackage,
// with ReadSkinPackage of skin/data/skin_package.h).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "skin/data/skin_package.h"

namespace kelmar {

class TksCompressedStoredSkin {
 public:
  // The zlib stream's bytes, nothing before or after.
  std::vector<uint8_t>& CompressedData() { return compressed_; }
  const std::vector<uint8_t>& CompressedData() const { return compressed_; }
  bool IsEmpty() const { return compressed_.empty(); }

  // Inflates all of CompressedData. A stream the inflater rejects, or one that
  // ends before its end marker, raises Error("compression error").
  std::vector<uint8_t> InflatePackage() const;
  // ReadSkinPackage of the inflated package, read as it is inflated; the same
  // errors as both.
  SkinPackageContent ReadPackage(PackagePictures pictures = PackagePictures::Decoded) const;
  // Replaces CompressedData by the deflated source; a deflater failure raises
  // Error("error").
  void DeflatePackage(std::span<const uint8_t> source);

  // A compressed skin file: version word (at most 3), length word L, then L
  // bytes that become CompressedData. CompressedData is emptied first; a
  // version word above 3 leaves it empty. A file that cannot be opened raises
  // FileError; one shorter than its words say raises "Stream read error" and
  // leaves CompressedData empty.
  void LoadFromCompressedFile(const std::string& path);

  // Builds a version-2 package from a description file (UTF-8 path) and the
  // pictures that its [PICTURES] section names, relative to the file's folder,
  // and stores it deflated. A description without the skin sections changes
  // nothing and returns false. A picture file that is missing raises FileError;
  // one that is not a valid BMP raises "Bitmap image is not valid".
  bool BuildFromDescriptionFile(const std::string& path);

  // Informational: stored as given.
  const std::string& CompressedFileName() const { return compressedFileName_; }
  void SetCompressedFileName(std::string name) { compressedFileName_ = std::move(name); }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  const std::string& Description() const { return description_; }
  void SetDescription(std::string text) { description_ = std::move(text); }

 private:
  std::vector<uint8_t> compressed_;
  std::string compressedFileName_;
  std::string fileName_;
  std::string description_;
};

}  // namespace kelmar
