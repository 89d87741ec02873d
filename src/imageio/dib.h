#pragma once
// Pieces shared by the icon and bitmap file writers: row sizes of
// device-independent bitmaps, their 40-byte information header, and
// little-endian byte output.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kelmar {

// Rows of a device-independent bitmap are padded to a multiple of 4 bytes.
constexpr size_t DibRowBytes(int width, int bit_count) {
  return (size_t(width) * size_t(bit_count) + 31) / 32 * 4;
}

constexpr uint32_t kDibNoCompression = 0;  // BI_RGB
constexpr uint32_t kDibBitFields = 3;      // BI_BITFIELDS: three channel masks follow the header
constexpr size_t kDibHeaderSize = 40;      // BITMAPINFOHEADER

// The fields of a BITMAPINFOHEADER in file order.
struct DibHeader {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bit_count = 0;
  uint32_t compression = kDibNoCompression;
  uint32_t size_image = 0;
  int32_t x_pels_per_meter = 0;
  int32_t y_pels_per_meter = 0;
  uint32_t clr_used = 0;
  uint32_t clr_important = 0;
};

// Appends little-endian values to a byte vector.
class ByteWriter {
 public:
  explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}
  void U8(uint8_t v) { out_.push_back(v); }
  void U16(uint16_t v) {
    U8(uint8_t(v));
    U8(uint8_t(v >> 8));
  }
  void U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
  }
  void I32(int32_t v) { U32(uint32_t(v)); }
  void Bytes(std::span<const uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void Header(const DibHeader& h);
  // Colour table entries held as 0x00RRGGBB words: bytes blue, green, red, 0.
  void ColorTable(std::span<const uint32_t> colors) {
    for (uint32_t c : colors) U32(c & 0xFFFFFF);
  }

 private:
  std::vector<uint8_t>& out_;
};

}  // namespace kelmar
