#include "base/file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/error.h"

namespace kelmar {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  errno = 0;
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) throw FileError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw FileError("Cannot read file \"" + path + "\".");
  return bytes;
}

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
  errno = 0;
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  if (!out) throw FileError("Cannot create file \"" + path + "\". " + std::strerror(errno));
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw FileError("Cannot write file \"" + path + "\".");
}

}  // namespace kelmar
