// Icons of 16-bit executables and of icon and cursor files: the NE files are
// written by the test (ne_file.h) from the test icons, so each group's
// images are known; icon files are checked against icotool.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "base/file.h"
#include "base/little_endian.h"
#include "imageio/pe_icons.h"
#include "native/imageio/ne_file.h"
#include "native/run_command.h"

namespace kelmar {
namespace {

std::vector<uint8_t> TestIcon(const std::string& name) {
  return ReadWholeFile(std::string(KELMAR_TESTICONS_DIR) + "/" + name);
}

TEST(NeIcons, GroupsInTheTablesOrderWithTheirImages) {
  for (unsigned shift : {0u, 4u, 9u}) {
    SCOPED_TRACE(shift);
    std::vector<test::NeResourceSpec> all{{2, "", 1, std::vector<uint8_t>(40, 7)}};  // a bitmap: not an icon
    std::vector<std::vector<test::NeResourceSpec>> parts{test::IconFileAsResources(TestIcon("mixed.ico"), "ZAP", 0, 1),
                                                         test::IconFileAsResources(TestIcon("four.ico"), "", 7, 10),
                                                         test::IconFileAsResources(TestIcon("png.ico"), "", 2, 20)};
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    auto groups = ReadPeIcons(test::WriteNe(all, shift));
    ASSERT_TRUE(groups);
    ASSERT_EQ(groups->size(), 3u);
    EXPECT_EQ((*groups)[0].name, u"ZAP");
    EXPECT_EQ((*groups)[1].id, 7);
    EXPECT_TRUE((*groups)[1].name.empty());
    EXPECT_EQ((*groups)[2].id, 2);
    for (size_t g = 0; g < 3; ++g) {
      const auto& part = parts[g];
      ASSERT_EQ((*groups)[g].entries.size(), part.size() - 1);
      for (size_t i = 0; i < part.size() - 1; ++i) {
        const IconEntry& e = (*groups)[g].entries[i];
        EXPECT_EQ(e.width, part[0].data[6 + 14 * i]);
        EXPECT_EQ(e.bitCount, part[0].data[6 + 14 * i + 6]);
        EXPECT_EQ(e.id, part[i + 1].id);
        // The image as it was, without the alignment's padding.
        ASSERT_TRUE(e.bytes);
        EXPECT_EQ(*e.bytes, part[i + 1].data) << g << " " << i;
      }
    }
    EXPECT_EQ(DecodeIconImage((*groups)[1].entries[0].Image()).bitsPerPixel, 4);
    // The bytes it needs: all of it but the last image's padding.
    auto file = test::WriteNe(all, shift);
    EXPECT_LE(PeDataSize(file), file.size());
    EXPECT_GT(PeDataSize(file) + (1u << shift), file.size());
  }
  // A resource table without resources, and one whose alignment or blocks
  // point outside the file.
  auto none = test::WriteNe({}, 4);
  test::Put16(none, 0x40 + 0x26, 0x40);  // the names right where the resources would be
  ASSERT_TRUE(ReadPeIcons(none));
  EXPECT_TRUE(ReadPeIcons(none)->empty());
  auto file = test::WriteNe(test::IconFileAsResources(TestIcon("four.ico"), "", 1, 1), 4);
  auto bad = file;
  test::Put16(bad, 0x80, 40);  // the shift
  EXPECT_FALSE(ReadPeIcons(bad));
  bad = file;
  test::Put16(bad, 0x80 + 4, 0xFFFF);  // the group block's count
  EXPECT_FALSE(ReadPeIcons(bad));
  bad = file;
  test::Put16(bad, 0x80 + 2 + 8, 0xFFF0);  // the group's offset: the group stays, without images
  auto groups = ReadPeIcons(bad);
  ASSERT_TRUE(groups);
  ASSERT_EQ(groups->size(), 1u);
  EXPECT_TRUE((*groups)[0].entries.empty());
}

TEST(IconFiles, ImagesAreWhatIcotoolFinds) {
  if (test::RunCommand("command -v icotool").find("icotool") == std::string::npos) GTEST_SKIP() << "no icotool";
  for (const char* name : {"mixed.ico", "four.ico", "png.ico", "eight.ico", "big.ico"}) {
    SCOPED_TRACE(name);
    const std::string path = std::string(KELMAR_TESTICONS_DIR) + "/" + name;
    std::vector<uint8_t> ico = ReadWholeFile(path);
    auto group = ReadIconFile(ico);
    ASSERT_TRUE(group);
    EXPECT_EQ(IconFileDataSize(ico), ico.size());
    const std::string listing = test::RunCommand("icotool -l '" + path + "'");
    std::regex re("--width=([0-9]+) --height=([0-9]+) --bit-depth=([0-9]+)");
    size_t i = 0;
    for (std::sregex_iterator it(listing.begin(), listing.end(), re), end; it != end; ++it, ++i) {
      ASSERT_LT(i, group->entries.size());
      const IconEntry& e = group->entries[i];
      EXPECT_EQ(e.width ? e.width : 256, std::stoi((*it)[1]));
      EXPECT_EQ(e.height ? e.height : 256, std::stoi((*it)[2]));
      EXPECT_EQ(e.bitCount, std::stoi((*it)[3]));
      // The image's bytes: where the directory says, as long as it says.
      const uint32_t size = Le32(ico, 6 + 16 * i + 8), offset = Le32(ico, 6 + 16 * i + 12);
      EXPECT_EQ(*e.bytes, std::vector<uint8_t>(ico.begin() + offset, ico.begin() + offset + size));
    }
    EXPECT_EQ(i, group->entries.size());
  }
}

TEST(IconFiles, CursorsCutAndDamagedFiles) {
  std::vector<uint8_t> ico = TestIcon("mixed.ico");  // 16/32, 32/4, 32/8, 32/32, 48/32
  // As a cursor: the entries hold hot spots, the bit counts come from the images.
  std::vector<uint8_t> cur = ico;
  cur[2] = 2;
  for (size_t i = 0; i < 5; ++i) cur[6 + 16 * i + 4] = 9, cur[6 + 16 * i + 6] = 3;
  auto group = ReadIconFile(cur);
  ASSERT_TRUE(group);
  ASSERT_EQ(group->entries.size(), 5u);
  const int bits[] = {32, 4, 8, 32, 32};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(group->entries[i].bitCount, bits[i]);
  // An old icon file's zero bit counts likewise.
  std::vector<uint8_t> old = ico;
  for (size_t i = 0; i < 5; ++i) old[6 + 16 * i + 6] = 0;
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(ReadIconFile(old)->entries[i].bitCount, bits[i]);
  // Cut inside the last image: the four before it.
  auto cut = ReadIconFile(std::span<const uint8_t>(ico).first(ico.size() - 1));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->entries.size(), 4u);
  EXPECT_EQ(cut->entries.back().width, 32);
  // Cut in the directory, or with a header that is no icon's: unreadable.
  EXPECT_FALSE(ReadIconFile(std::span<const uint8_t>(ico).first(6 + 16 * 4)));
  EXPECT_EQ(IconFileDataSize(std::span<const uint8_t>(ico).first(6 + 16 * 4)), 0u);
  std::vector<uint8_t> bad = ico;
  bad[2] = 3;
  EXPECT_FALSE(ReadIconFile(bad));
  bad = ico;
  bad[4] = bad[5] = 0;
  EXPECT_FALSE(ReadIconFile(bad));
  EXPECT_FALSE(ReadIconFile({}));
  // An entry pointing far past the end is left out; its size still counts
  // in what the file would need.
  bad = ico;
  bad[6 + 12 + 3] = 0x7F;
  EXPECT_EQ(ReadIconFile(bad)->entries.size(), 4u);
  EXPECT_GT(IconFileDataSize(bad), uint64_t(0x7F000000));
}

}  // namespace
}  // namespace kelmar
