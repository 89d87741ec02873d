#pragma once
// Whole-file reads and writes by UTF-8 path (any file name works on Windows,
// where the path becomes UTF-16).
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kelmar {

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// FileError naming the file and the reason when it cannot be read or written.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace kelmar
