#include "skin/data/compressed_stored_skin.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>

#include "base/bmp.h"
#include "base/error.h"
#include "base/file.h"
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

// Inflates the whole zlib stream `in` into `out` and answers how many bytes
// it gives; where `out` is shorter, it is written over from its start again
// (for the count alone). Throws "compression error" for a damaged or cut
// stream.
size_t Inflate(std::span<const uint8_t> in, std::span<uint8_t> out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw Error("compression error");
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = uInt(in.size());
  size_t produced = 0;
  int rc;
  do {
    const size_t at = produced % out.size();
    const size_t room = std::min<size_t>(out.size() - at, UINT32_MAX);
    z.next_out = out.data() + at;
    z.avail_out = uInt(room);
    rc = inflate(&z, Z_NO_FLUSH);
    // Z_BUF_ERROR here means no progress was possible with room to write:
    // the input ended before the stream's end marker.
    if (rc != Z_OK && rc != Z_STREAM_END) {
      inflateEnd(&z);
      throw Error("compression error");
    }
    produced += room - z.avail_out;
  } while (rc != Z_STREAM_END);
  inflateEnd(&z);
  return produced;
}

}  // namespace

std::vector<uint8_t> TksCompressedStoredSkin::InflatePackage() const {
  // Twice: once through a small scratch buffer for the size, then straight
  // into a result of exactly that size. Inflating again costs less than the
  // fresh memory a result grown by doubling touches (about three times the
  // package, each page a fault; under Wine about 10 microseconds a page).
  std::vector<uint8_t> out(kBufferSize);
  const size_t size = Inflate(compressed_, out);
  out.assign(size, 0);
  if (size > 0 && Inflate(compressed_, out) != size) throw Error("compression error");
  return out;
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
    return int32_t(uint32_t(file[at]) | uint32_t(file[at + 1]) << 8 | uint32_t(file[at + 2]) << 16 |
                   uint32_t(file[at + 3]) << 24);
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
