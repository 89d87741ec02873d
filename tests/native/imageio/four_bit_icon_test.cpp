// The 16-colour reduction of icon files on every 32-bit image of 32 x 32 and
// 16 x 16 (the ones the program shows on a 32-bit display) of the icon
// groups of Wine's shell32, user32 and comdlg32. The images come from
// wrestool's icon files and are decoded here by hand; the figures they are
// held to (nearest standard colours, composites onto white) are computed
// here too. A group's own 4-bit images are checked under Wine
// (tests/win/app/small_icons_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "base/file.h"
#include "base/little_endian.h"
#include "imageio/four_bit_icon.h"
#include "native/run_command.h"

namespace kelmar {
namespace {

namespace fs = std::filesystem;

struct Rgb {
  int r, g, b;
};
constexpr Rgb kVga[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                          {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

Rgb Nearest(int r, int g, int b) {
  Rgb best{};
  int best_distance = 1 << 30;
  for (const Rgb& c : kVga) {
    const int d = (r - c.r) * (r - c.r) + (g - c.g) * (g - c.g) + (b - c.b) * (b - c.b);
    if (d < best_distance) best = c, best_distance = d;
  }
  return best;
}

// The first 32-bit DIB image of size x size in an icon file, straight RGBA
// rows top-down, and its AND mask; empty when there is none.
struct Straight {
  std::vector<std::array<int, 4>> rgba;
  std::vector<bool> mask;
};
Straight Decode(const std::vector<uint8_t>& ico, int size) {
  Straight s;
  for (size_t i = 0, n = Le16(ico, 4); i < n && s.rgba.empty(); ++i) {
    const size_t entry = 6 + 16 * i, at = Le32(ico, entry + 12);
    if (ico[entry] != size || ico[entry + 1] != size || ico[at] == 0x89 || Le16(ico, at + 14) != 32) continue;
    const size_t pixels = at + Le32(ico, at), masks = pixels + 4 * size_t(size * size);
    const size_t mask_row = (size_t(size) + 31) / 32 * 4;
    bool any_alpha = false;
    for (int y = size - 1; y >= 0; --y)  // stored bottom-up
      for (int x = 0; x < size; ++x) {
        const uint8_t* p = ico.data() + pixels + 4 * size_t(y * size + x);
        s.rgba.push_back({p[2], p[1], p[0], p[3]});
        any_alpha = any_alpha || p[3];
        s.mask.push_back(ico[masks + size_t(y) * mask_row + size_t(x) / 8] & (0x80 >> (x % 8)));
      }
    if (!any_alpha)
      for (auto& p : s.rgba) p[3] = 255;
  }
  return s;
}

// Pixel (x, y) of the file's image, y from the top.
int IndexAt(const FourBitIcon& icon, int x, int y) {
  const size_t row = (size_t(icon.width) * 4 + 31) / 32 * 4;
  const uint8_t b = icon.color_bits[size_t(icon.height - 1 - y) * row + size_t(x) / 2];
  return x % 2 ? b & 15 : b >> 4;
}
bool ClearAt(const FourBitIcon& icon, int x, int y) {
  const size_t row = (size_t(icon.width) + 31) / 32 * 4;
  return icon.mask_bits[size_t(icon.height - 1 - y) * row + size_t(x) / 8] & (0x80 >> (x % 8));
}

// The file, mapped from un-premultiplied colours, errs against the picture
// flattened onto white by at most 1 of 255 more, on average, than the
// nearest standard colours of its straight pixels do; mapped from the
// premultiplied ones it erred by up to 14 more.
TEST(FourBitIcon, SoftEdgesKeepTheirHue) {
  if (test::RunCommand("command -v wrestool").find("wrestool") == std::string::npos)
    GTEST_SKIP() << "wrestool (icoutils) is not installed";
  const fs::path out = fs::temp_directory_path() / "kelmar-four-bit-test";
  fs::remove_all(out);
  fs::create_directories(out);
  for (const char* name : {"shell32.dll", "user32.dll", "comdlg32.dll"})
    test::RunCommand("wrestool -x -t14 -o '" + out.string() + "' '" + KELMAR_WINE_DLL_DIR + "/" + name + "'");
  int compared = 0;
  for (const auto& file : fs::directory_iterator(out))
    for (int size : {32, 16}) {
      const Straight source = Decode(ReadWholeFile(file.path().string()), size);
      if (source.rgba.empty()) continue;
      SCOPED_TRACE(file.path().filename().string() + " at " + std::to_string(size));
      // The picture as the program draws it onto black.
      Image drawn(size, size);
      for (int i = 0; i < size * size; ++i) {
        const auto& p = source.rgba[size_t(i)];
        auto pre = [&](int c) { return uint8_t((c * p[3] + 127) / 255); };
        drawn.Data()[i] = MakePixel(pre(p[0]), pre(p[1]), pre(p[2]), uint8_t(p[3]));
      }
      const FourBitIcon ours = FourBitIconFromDrawn(drawn, source.mask);
      double error = 0, reference = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const auto& p = source.rgba[size_t(y * size + x)];
          const bool clear = source.mask[size_t(y * size + x)];
          ASSERT_EQ(ClearAt(ours, x, y), clear);
          const Rgb file_colour = clear ? Rgb{255, 255, 255} : kVga[IndexAt(ours, x, y)];
          const Rgb mapped = clear ? Rgb{255, 255, 255} : Nearest(p[0], p[1], p[2]);
          const double a = p[3] / 255.0;
          for (int c = 0; c < 3; ++c) {
            const double white = p[c] * a + 255 * (1 - a);
            error += std::abs((&file_colour.r)[c] - white);
            reference += std::abs((&mapped.r)[c] - white);
          }
        }
      EXPECT_LE(error / (3.0 * size * size), reference / (3.0 * size * size) + 1.0);
      ++compared;
    }
  fs::remove_all(out);
  EXPECT_GT(compared, 350);
}

}  // namespace
}  // namespace kelmar
