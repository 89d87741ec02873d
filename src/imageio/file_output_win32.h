#pragma once
// Writing a finished file in one piece.
#include <cstdint>
#include <span>
#include <string>

namespace kelmar {

// Writes bytes to a temporary file beside path and moves it over path, so
// that path ends up either with all of the bytes or as it was before.
// Throws FileError("Cannot create file \"<path>\". <system's reason>").
void WriteFileWhole(const std::wstring& path, std::span<const uint8_t> bytes);

}  // namespace kelmar
