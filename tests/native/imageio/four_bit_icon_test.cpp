// The 16-colour reduction of icon files on every icon group of Wine's
// shell32, user32 and comdlg32 at 32 x 32 and 16 x 16. The groups are taken
// from wrestool's icon files and decoded here by hand; the figures they are
// held to (nearest standard colours, composites onto white) are computed
// here too, not by the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include "base/file.h"
#include "imageio/four_bit_icon.h"
#include "imageio/pe_icons.h"
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

Rgb Nearest(double r, double g, double b) {
  Rgb best{};
  double best_distance = 1e9;
  for (const Rgb& c : kVga) {
    const double d = (r - c.r) * (r - c.r) + (g - c.g) * (g - c.g) + (b - c.b) * (b - c.b);
    if (d < best_distance) best = c, best_distance = d;
  }
  return best;
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
  return v;
}

// One image of an icon file, decoded by hand: straight RGBA, rows top-down,
// and the AND mask.
struct Straight {
  int size = 0, bits = 0;
  std::vector<std::array<int, 4>> rgba;
  std::vector<bool> mask;
};

// The DIB image of `size` x `size` with the most bits per pixel in a
// wrestool icon file (with exactly `bits` when given); size 0 when none.
Straight Decode(const std::vector<uint8_t>& ico, int size, int bits = 0) {
  Straight best;
  for (size_t i = 0, n = Le(ico, 4, 2); i < n; ++i) {
    const size_t entry = 6 + 16 * i, at = Le(ico, entry + 12, 4);
    if (ico[entry] != size || ico[entry + 1] != size || ico[at] == 0x89) continue;  // other size, PNG
    const int depth = int(Le(ico, at + 14, 2));
    if ((bits && depth != bits) || depth <= best.bits || (depth != 4 && depth != 8 && depth != 32)) continue;
    const size_t colours = depth <= 8 ? (Le(ico, at + 32, 4) ? Le(ico, at + 32, 4) : 1u << depth) : 0;
    const size_t pixels = at + Le(ico, at, 4) + 4 * colours;
    const size_t row = (size_t(size) * depth + 31) / 32 * 4, mask_row = (size_t(size) + 31) / 32 * 4;
    Straight s;
    s.size = size;
    s.bits = depth;
    bool any_alpha = false;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const size_t r = pixels + size_t(size - 1 - y) * row;
        std::array<int, 4> p{};
        if (depth == 32) {
          p = {ico[r + 4 * x + 2], ico[r + 4 * x + 1], ico[r + 4 * x], ico[r + 4 * x + 3]};
          any_alpha = any_alpha || p[3];
        } else {
          const int index = depth == 8 ? ico[r + x] : (ico[r + x / 2] >> (x % 2 ? 0 : 4)) & 15;
          const size_t c = at + Le(ico, at, 4) + 4 * size_t(index);
          p = {ico[c + 2], ico[c + 1], ico[c], 255};
        }
        s.rgba.push_back(p);
        const size_t m = pixels + row * size_t(size) + size_t(size - 1 - y) * mask_row;
        s.mask.push_back(ico[m + x / 8] & (0x80 >> (x % 8)));
      }
    if (!any_alpha)
      for (auto& p : s.rgba) p[3] = depth == 32 ? 255 : p[3];
    best = std::move(s);
  }
  return best;
}

// The groups of a library as wrestool writes them, by group name.
std::map<std::string, std::vector<uint8_t>> WrestoolGroups(const std::string& dll) {
  const fs::path out = fs::temp_directory_path() / "kelmar-four-bit-test";
  fs::remove_all(out);
  fs::create_directories(out);
  test::RunCommand("wrestool -x -t14 -o '" + out.string() + "' '" + dll + "'");
  std::map<std::string, std::vector<uint8_t>> groups;
  const std::string prefix = fs::path(dll).filename().string() + "_14_";
  for (const auto& file : fs::directory_iterator(out)) {
    std::string name = file.path().stem().string().substr(prefix.size());
    if (name.size() > 2 && name.substr(name.size() - 2) == "_0") name.resize(name.size() - 2);
    groups[name] = ReadWholeFile(file.path().string());
  }
  fs::remove_all(out);
  return groups;
}

std::string Name(const IconGroup& g) { return g.name.empty() ? std::to_string(g.id) : std::string(g.name.begin(), g.name.end()); }

int IndexAt(const FourBitIcon& icon, int x, int y) {
  const size_t row = (size_t(icon.width) * 4 + 31) / 32 * 4;
  const uint8_t b = icon.color_bits[size_t(icon.height - 1 - y) * row + size_t(x) / 2];
  return x % 2 ? b & 15 : b >> 4;
}
bool ClearAt(const FourBitIcon& icon, int x, int y) {
  const size_t row = (size_t(icon.width) + 31) / 32 * 4;
  return icon.mask_bits[size_t(icon.height - 1 - y) * row + size_t(x) / 8] & (0x80 >> (x % 8));
}

struct Library {
  std::string path;
  std::vector<IconGroup> groups;
  std::map<std::string, std::vector<uint8_t>> files;
};

// Read once for all tests.
const std::vector<Library>& Libraries() {
  static std::vector<Library> libraries;
  static bool read = false;
  if (read) return libraries;
  read = true;
  if (test::RunCommand("command -v wrestool").find("wrestool") == std::string::npos) return libraries;
  for (const char* name : {"shell32.dll", "user32.dll", "comdlg32.dll"}) {
    Library l{std::string(KELMAR_WINE_DLL_DIR) + "/" + name, {}, {}};
    if (!fs::exists(l.path)) continue;
    auto groups = ReadPeIcons(ReadWholeFile(l.path));
    if (!groups) continue;
    l.groups = std::move(*groups);
    l.files = WrestoolGroups(l.path);
    libraries.push_back(std::move(l));
  }
  return libraries;
}

// A group's own 16-colour image goes into the file as it is: its mask, and
// each colour the standard one nearest to it (itself where it is standard).
TEST(FourBitIcon, AGroupsOwnSixteenColourImageIsKept) {
  const auto& libraries = Libraries();
  if (libraries.empty()) GTEST_SKIP() << "wrestool or Wine's libraries missing";
  std::map<std::string, int> kept;
  for (const Library& l : libraries)
    for (const IconGroup& group : l.groups)
      for (int size : {32, 16}) {
        SCOPED_TRACE(l.path + " " + Name(group) + " at " + std::to_string(size));
        const Straight own = Decode(l.files.at(Name(group)), size, 4);
        std::optional<FourBitIcon> ours = GroupFourBitIcon(group, size);
        ASSERT_EQ(bool(ours), own.size != 0);
        if (!ours) continue;
        ++kept[fs::path(l.path).filename().string() + (size == 32 ? " 32" : " 16")];
        for (int y = 0; y < size; ++y)
          for (int x = 0; x < size; ++x) {
            const auto& p = own.rgba[size_t(y * size + x)];
            const Rgb want = Nearest(p[0], p[1], p[2]);
            const Rgb got = kVga[IndexAt(*ours, x, y)];
            ASSERT_TRUE(got.r == want.r && got.g == want.g && got.b == want.b) << x << "," << y;
            ASSERT_EQ(ClearAt(*ours, x, y), own.mask[size_t(y * size + x)]) << x << "," << y;
          }
      }
  // user32's and comdlg32's groups with such an image.
  EXPECT_EQ(kept["user32.dll 32"] + kept["comdlg32.dll 32"], 14);
  EXPECT_EQ(kept["user32.dll 16"] + kept["comdlg32.dll 16"], 12);
}

// Everything else is mapped from its un-premultiplied colours: the file
// errs against the picture flattened onto white by at most 1 of 255 more,
// on average, than the nearest standard colours of its straight pixels do.
TEST(FourBitIcon, SoftEdgesKeepTheirHue) {
  const auto& libraries = Libraries();
  if (libraries.empty()) GTEST_SKIP() << "wrestool or Wine's libraries missing";
  int compared = 0;
  double worst_excess = -1e9, worst_error = 0;
  for (const Library& l : libraries)
    for (const IconGroup& group : l.groups)
      for (int size : {32, 16}) {
        const Straight source = Decode(l.files.at(Name(group)), size);
        if (!source.size) continue;
        SCOPED_TRACE(l.path + " " + Name(group) + " at " + std::to_string(size));
        // The picture as the program draws it onto black.
        Image drawn(size, size);
        for (int i = 0; i < size * size; ++i) {
          const auto& p = source.rgba[size_t(i)];
          auto pre = [&](int c) { return uint8_t(p[3] == 255 ? c : (c * p[3] + 127) / 255); };
          drawn.Data()[i] = MakePixel(pre(p[0]), pre(p[1]), pre(p[2]), uint8_t(source.bits == 32 ? p[3] : 0));
        }
        const FourBitIcon ours = FourBitIconFromDrawn(drawn, source.mask);
        double error = 0, reference = 0;
        for (int y = 0; y < size; ++y)
          for (int x = 0; x < size; ++x) {
            const auto& p = source.rgba[size_t(y * size + x)];
            const bool clear = source.mask[size_t(y * size + x)];
            const double a = p[3] / 255.0;
            const double white[3] = {p[0] * a + 255 * (1 - a), p[1] * a + 255 * (1 - a), p[2] * a + 255 * (1 - a)};
            const Rgb file = ClearAt(ours, x, y) ? Rgb{255, 255, 255} : kVga[IndexAt(ours, x, y)];
            const Rgb mapped = clear ? Rgb{255, 255, 255} : Nearest(p[0], p[1], p[2]);
            ASSERT_EQ(ClearAt(ours, x, y), clear);
            error += std::abs(file.r - white[0]) + std::abs(file.g - white[1]) + std::abs(file.b - white[2]);
            reference +=
                std::abs(mapped.r - white[0]) + std::abs(mapped.g - white[1]) + std::abs(mapped.b - white[2]);
          }
        error /= 3.0 * size * size;
        reference /= 3.0 * size * size;
        EXPECT_LE(error, reference + 1.0);
        worst_excess = std::max(worst_excess, error - reference);
        worst_error = std::max(worst_error, error);
        ++compared;
      }
  EXPECT_GT(compared, 300);
  std::printf("%d images; worst mean error %.1f of 255, at most %.2f above the nearest colours\n", compared,
              worst_error, worst_excess);
}

}  // namespace
}  // namespace kelmar
