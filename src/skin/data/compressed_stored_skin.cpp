#include "skin/data/compressed_stored_skin.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>

#include "base/bmp.h"
#include "base/error.h"
#include "base/file.h"
#include "base/little_endian.h"
#include "skin/data/skin_description.h"
#include "skin/data/skin_package.h"

namespace kelmar {
namespace {

constexpr size_t kBufferSize = 4096;

void AppendInt32(std::vector<uint8_t>& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// The BMP file image of a picture file: validated, and cut at its total size.
void AppendPictureFile(std::vector<uint8_t>& out, const std::filesystem::path& path) {
  std::vector<uint8_t> bytes = ReadWholeFile(Utf8FromPath(path));
  DecodedBmp bmp = DecodeBmp(bytes);
  out.insert(out.end(), bytes.begin(), bytes.begin() + ptrdiff_t(bmp.size));
}

// Inflates a zlib stream piece by piece, as its reader asks.
class Inflater {
 public:
  explicit Inflater(std::span<const uint8_t> in) {
    if (inflateInit(&z_) != Z_OK) throw Error("compression error");
    z_.next_in = const_cast<Bytef*>(in.data());
    z_.avail_in = uInt(in.size());
  }
  ~Inflater() { inflateEnd(&z_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Fills as much of `out` as the stream still gives; fewer bytes only at its
  // end. A damaged stream, or one that stops before its end marker, raises
  // "compression error".
  size_t Read(std::span<uint8_t> out) {
    size_t produced = 0;
    while (produced < out.size() && !ended_) {
      const size_t room = std::min<size_t>(out.size() - produced, UINT32_MAX);
      z_.next_out = out.data() + produced;
      z_.avail_out = uInt(room);
      // Z_BUF_ERROR here means no progress was possible with room to write:
      // the input ended before the stream's end marker.
      const int rc = inflate(&z_, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END) throw Error("compression error");
      produced += room - z_.avail_out;
      ended_ = rc == Z_STREAM_END;
    }
    return produced;
  }
  // Reads the stream to its end (its check sum included), for what nobody read.
  void Finish() {
    uint8_t rest[kBufferSize];
    while (Read(rest) == sizeof rest) {
    }
  }

 private:
  z_stream z_{};
  bool ended_ = false;
};

}  // namespace

std::vector<uint8_t> TksCompressedStoredSkin::InflatePackage() const {
  Inflater in(compressed_);
  std::vector<uint8_t> out;
  size_t have = 0;
  do {
    out.resize(std::max(have * 2, kBufferSize));
    have += in.Read(std::span<uint8_t>(out).subspan(have));
  } while (have == out.size());
  out.resize(have);
  return out;
}

SkinPackageContent TksCompressedStoredSkin::ReadPackage(PackagePictures pictures) const {
  // The pictures are decoded as the stream gives them: the whole inflated
  // package is never in memory at once. A program's start pays for every
  // fresh page it touches (about 10 microseconds each under Wine here).
  Inflater in(compressed_);
  SkinPackageContent content = ReadSkinPackage([&](std::span<uint8_t> out) { return in.Read(out); }, pictures);
  in.Finish();
  return content;
}

void TksCompressedStoredSkin::DeflatePackage(std::span<const uint8_t> source) {
  std::vector<uint8_t> out;
  z_stream z{};
  if (deflateInit(&z, 9) != Z_OK) throw Error("error");
  z.next_in = const_cast<Bytef*>(source.data());
  z.avail_in = uInt(source.size());
  uint8_t buffer[kBufferSize];
  int rc;
  do {
    z.next_out = buffer;
    z.avail_out = kBufferSize;
    rc = deflate(&z, Z_FINISH);
    if (rc == Z_STREAM_ERROR) {
      deflateEnd(&z);
      throw Error("error");
    }
    out.insert(out.end(), buffer, buffer + (kBufferSize - z.avail_out));
  } while (rc != Z_STREAM_END);
  deflateEnd(&z);
  compressed_ = std::move(out);
}

void TksCompressedStoredSkin::LoadFromCompressedFile(const std::string& path) {
  compressed_.clear();
  const std::vector<uint8_t> file = ReadWholeFile(path);
  auto word = [&](size_t at) {
    if (file.size() < at + 4) throw Error("Stream read error");
    return int32_t(Le32(file.data() + at));
  };
  if (word(0) > kMaxPackageVersion) return;
  const int32_t length = word(4);
  if (length < 0 || file.size() - 8 < size_t(length)) throw Error("Stream read error");
  compressed_.assign(file.begin() + 8, file.begin() + 8 + length);
}

bool TksCompressedStoredSkin::BuildFromDescriptionFile(const std::string& path) {
  const std::vector<uint8_t> text = ReadWholeFile(path);
  const std::vector<std::string> lines =
      SplitLines({reinterpret_cast<const char*>(text.data()), text.size()});
  const IniTable ini = IniTable::FromLines(lines);
  if (!HasSkinSections(ini)) return false;

  const std::filesystem::path folder = PathFromUtf8(path).parent_path();
  std::vector<uint8_t> package;
  AppendInt32(package, 2);
  for (PackageSlot slot : PackageSlotsOfVersion(2)) {
    const std::string name = ini.ReadString("PICTURES", PackageSlotKey(slot), "");
    package.push_back(name.empty() ? 1 : 0);
    if (!name.empty()) AppendPictureFile(package, folder / PathFromUtf8(name));
  }
  std::vector<std::string> active;
  ReadIndexedList(ini, "PICTURES", "activepictures", active);
  AppendInt32(package, int32_t(active.size()));
  for (const std::string& name : active) AppendPictureFile(package, folder / PathFromUtf8(name));
  for (const std::string& line : lines) {
    package.insert(package.end(), line.begin(), line.end());
    package.push_back('\r');
    package.push_back('\n');
  }
  DeflatePackage(package);
  return true;
}

}  // namespace kelmar
