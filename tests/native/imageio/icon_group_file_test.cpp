// Icon files of many images: the layout worked out by hand from the format,
// and the original icons of real executables against the icon files that an
// independent tool (icoutils' wrestool) extracts from them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "native/run_command.h"
#include "base/error.h"
#include "base/file.h"
#include "base/little_endian.h"
#include "imageio/icon_group_file.h"

namespace kelmar {
namespace {

namespace fs = std::filesystem;

TEST(IconGroupFile, HeaderDirectoryAndImagesInOrder) {
  const std::vector<uint8_t> a = {1, 2, 3}, b = {9, 8, 7, 6, 5};
  const IconFileImage images[] = {{0, 0, 0, 1, 32, b}, {16, 16, 16, 1, 4, a}};
  std::vector<uint8_t> f = BuildIconFileOfImages(images);
  // 6 + 2 * 16 = 38 bytes before the first image, the second at 38 + 5.
  const std::vector<uint8_t> want = {0, 0, 1, 0, 2, 0,                        // header
                                     0, 0, 0, 0, 1, 0, 32, 0, 5, 0, 0, 0, 38, 0, 0, 0,    // 256 x 256
                                     16, 16, 16, 0, 1, 0, 4, 0, 3, 0, 0, 0, 43, 0, 0, 0,  // 16 x 16
                                     9, 8, 7, 6, 5, 1, 2, 3};
  EXPECT_EQ(f, want);

  EXPECT_THROW(BuildIconFileOfImages({}), Error);
  const IconFileImage empty[] = {{16, 16, 0, 1, 32, {}}};
  EXPECT_THROW(BuildIconFileOfImages(empty), Error);
}

TEST(IconGroupFile, AGroupKeepsItsEntriesAndLeavesOutMissingImages) {
  IconGroup group;
  auto bytes = [](std::vector<uint8_t> b) { return std::make_shared<const std::vector<uint8_t>>(std::move(b)); };
  group.entries.push_back({48, 48, 0, 1, 32, 999, 7, bytes({4, 4, 4, 4})});
  group.entries.push_back({32, 32, 0, 1, 32, 10, 8, nullptr});  // no such RT_ICON
  group.entries.push_back({16, 16, 16, 1, 4, 2, 9, bytes({5, 5})});
  std::vector<uint8_t> f = BuildIconGroupFile(group);
  ASSERT_EQ(f.size(), 6u + 32 + 6);
  EXPECT_EQ(Le16(f, 4), 2u);
  EXPECT_EQ(f[6], 48);
  EXPECT_EQ(Le32(f, 6 + 8), 4u);  // the bytes that follow, not the group's own count
  EXPECT_EQ(f[22], 16);
  EXPECT_EQ(f[22 + 2], 16);
  EXPECT_EQ(Le32(f, 22 + 12), 42u);
  group.entries = {group.entries[1]};
  EXPECT_THROW(BuildIconGroupFile(group), Error);
}

TEST(IconGroupFile, ThirtyTwoBitImageWithItsMask) {
  Image image(3, 2);
  image.At(0, 0) = MakePixel(1, 2, 3, 255);
  image.At(1, 0) = MakePixel(4, 5, 6, 0);  // clear: mask bit set
  image.At(2, 0) = MakePixel(7, 8, 9, 128);
  image.At(0, 1) = MakePixel(0, 0, 0, 0);  // clear
  image.At(1, 1) = MakePixel(10, 11, 12, 1);
  image.At(2, 1) = MakePixel(13, 14, 15, 255);
  std::vector<uint8_t> f = EncodeIconImage32(image);
  // 40-byte header, 3 x 2 x 4 colour bytes, two 4-byte mask rows.
  ASSERT_EQ(f.size(), 40u + 24 + 8);
  EXPECT_EQ(Le32(f, 0), 40u);
  EXPECT_EQ(Le32(f, 4), 3u);
  EXPECT_EQ(Le32(f, 8), 4u);  // twice the height
  EXPECT_EQ(Le16(f, 12), 1u);
  EXPECT_EQ(Le16(f, 14), 32u);
  EXPECT_EQ(Le32(f, 16), 0u);
  // Bottom row first: blue, green, red, alpha.
  const std::vector<uint8_t> colour = {0, 0, 0, 0, 12, 11, 10, 1, 15, 14, 13, 255,
                                       3, 2, 1, 255, 6, 5, 4, 0, 9, 8, 7, 128};
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 40, f.begin() + 64), colour);
  const std::vector<uint8_t> mask = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 64, f.end()), mask);
  EXPECT_THROW(EncodeIconImage32(Image(257, 1)), Error);
}

using test::RunCommand;

// wrestool writes each group as the icon file it describes; ours hold the
// same bytes, for the test DLLs (PNG entries included) and Wine's own.
TEST(IconGroupFile, EveryGroupEqualsTheIconFileAnIndependentToolExtracts) {
  if (RunCommand("command -v wrestool").empty()) GTEST_SKIP() << "wrestool (icoutils) is not installed";
  std::vector<std::string> files;
  for (const char* name : {"kinds_x86_64.dll", "testicons_i686.dll"})
    files.push_back(std::string(KELMAR_PE_DIR) + "/" + name);
  for (const char* name : {"shell32.dll", "comdlg32.dll"})
    if (fs::exists(std::string(KELMAR_WINE_DLL_DIR) + "/" + name))
      files.push_back(std::string(KELMAR_WINE_DLL_DIR) + "/" + name);
  const fs::path out = fs::temp_directory_path() / "kelmar-icon-group-file-test";
  size_t groups_checked = 0, png_entries = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    auto groups = ReadPeIcons(ReadWholeFile(file));
    ASSERT_TRUE(groups);
    fs::remove_all(out);
    fs::create_directories(out);
    RunCommand("wrestool -x -t14 -o '" + out.string() + "' '" + file + "'");
    const std::string base = fs::path(file).filename().string();
    for (const IconGroup& g : *groups) {
      const std::string name = g.name.empty() ? std::to_string(g.id) : std::string(g.name.begin(), g.name.end());
      fs::path ico = out / (base + "_14_" + name + ".ico");
      if (!fs::exists(ico)) ico = out / (base + "_14_" + name + "_0.ico");
      // wrestool may copy bytes past the last image's end (the resource's
      // padding); everything the directory describes is the same.
      const std::vector<uint8_t> ours = BuildIconGroupFile(g), theirs = ReadWholeFile(ico.string());
      ASSERT_GE(theirs.size(), ours.size()) << name;
      ASSERT_EQ(ours, std::vector<uint8_t>(theirs.begin(), theirs.begin() + long(ours.size()))) << name;
      ++groups_checked;
      for (const IconEntry& e : g.entries) png_entries += e.IsPng();
    }
  }
  fs::remove_all(out);
  EXPECT_GT(groups_checked, 100u);
  EXPECT_GT(png_entries, 0u);
}

}  // namespace
}  // namespace kelmar
