#pragma once
// Little-endian numbers read from bytes: the byte order of every file the
// program reads (bitmaps, icons, executables, skin packages). The caller has
// checked that the bytes are there.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kelmar {

constexpr uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
constexpr uint32_t Le32(const uint8_t* p) { return uint32_t(Le16(p)) | uint32_t(Le16(p + 2)) << 16; }

constexpr uint16_t Le16(std::span<const uint8_t> bytes, size_t at) { return Le16(bytes.data() + at); }
constexpr uint32_t Le32(std::span<const uint8_t> bytes, size_t at) { return Le32(bytes.data() + at); }

}  // namespace kelmar
