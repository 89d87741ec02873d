// The icon resource reader on real PE32 and PE32+ files, checked against an
// independent reader (icoutils' wrestool: group order and every image's
// bytes), against the known pixels of the test icons (make_kinds.sh), and on
// every cut of a file and on files that are no executables at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>

#include "native/imageio/ne_file.h"
#include "native/run_command.h"
#include "base/error.h"
#include "base/file.h"
#include "base/little_endian.h"
#include "imageio/pe_icons.h"

namespace kelmar {
namespace {

using test::RunCommand;

bool HaveWrestool() { return RunCommand("command -v wrestool").find("wrestool") != std::string::npos; }

std::string GroupName(const IconGroup& g) {
  if (g.name.empty()) return std::to_string(g.id);
  return std::string(g.name.begin(), g.name.end());  // the test files' names are ASCII
}

std::vector<uint8_t> TestIcon(const char* name) {
  return ReadWholeFile(std::string(KELMAR_TESTICONS_DIR) + "/" + name);
}

// A 16-bit library of four groups in the table's order (named and integer
// IDs mixed, not sorted) at the given alignment.
std::vector<uint8_t> NeLibrary(unsigned shift) {
  std::vector<test::NeResourceSpec> all;
  for (auto part : {test::IconFileAsResources(TestIcon("mixed.ico"), "ZAP", 0, 1),
                    test::IconFileAsResources(TestIcon("four.ico"), "", 7, 10),
                    test::IconFileAsResources(TestIcon("alpha.ico"), "", 2, 20),
                    test::IconFileAsResources(TestIcon("png.ico"), "APPICON", 0, 30)})
    all.insert(all.end(), part.begin(), part.end());
  return test::WriteNe(all, shift);
}

// The NE libraries, written once into the temporary folder.
std::vector<std::string> NeFiles() {
  std::vector<std::string> files;
  for (unsigned shift : {4u, 9u}) {
    const std::string path = (std::filesystem::temp_directory_path() / ("kelmar-ne-" + std::to_string(shift) + ".dll")).string();
    std::vector<uint8_t> bytes = NeLibrary(shift);
    std::unique_ptr<FILE, int (*)(FILE*)> f(fopen(path.c_str(), "wb"), fclose);
    fwrite(bytes.data(), 1, bytes.size(), f.get());
    files.push_back(path);
  }
  return files;
}

std::vector<std::string> PeFiles() {
  std::vector<std::string> files;
  for (const char* name : {"kinds_i686.dll", "kinds_x86_64.dll", "testicons_i686.dll", "testicons_x86_64.dll"})
    files.push_back(std::string(KELMAR_PE_DIR) + "/" + name);
  for (const char* name : {"shell32.dll", "comdlg32.dll", "user32.dll", "comctl32.dll"}) {
    std::string path = std::string(KELMAR_WINE_DLL_DIR) + "/" + name;
    if (std::filesystem::exists(path)) files.push_back(path);
  }
  return files;
}

TEST(PeIcons, GroupsAndImagesAreWhatAnIndependentReaderFinds) {
  if (!HaveWrestool()) GTEST_SKIP() << "wrestool (icoutils) is not installed";
  const std::filesystem::path out = std::filesystem::temp_directory_path() / "kelmar-pe-icons-test";
  std::vector<std::string> files = PeFiles(), ne = NeFiles();
  files.insert(files.end(), ne.begin(), ne.end());
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    auto groups = ReadPeIcons(ReadWholeFile(file));
    ASSERT_TRUE(groups);
    // The order of the groups: wrestool lists the directory as it is stored,
    // which for PE the linker sorts as the system reads it, and which for NE
    // is the system's order itself.
    std::string listing = RunCommand("wrestool -l -t14 '" + file + "'");
    std::regex name_re("--name='?([^' ]+)'?");
    std::vector<std::string> names;
    for (std::sregex_iterator it(listing.begin(), listing.end(), name_re), end; it != end; ++it)
      names.push_back((*it)[1]);
    std::vector<std::string> ours;
    for (const auto& g : *groups) ours.push_back(GroupName(g));
    ASSERT_EQ(ours, names);

    // Each group as an icon file: its directory fields and image bytes.
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    RunCommand("wrestool -x -t14 -o '" + out.string() + "' '" + file + "'");
    const std::string base = std::filesystem::path(file).filename().string();
    for (const auto& g : *groups) {
      // wrestool adds the language to the name where it is neutral.
      std::filesystem::path ico_path = out / (base + "_14_" + GroupName(g) + ".ico");
      if (!std::filesystem::exists(ico_path)) ico_path = out / (base + "_14_" + GroupName(g) + "_0.ico");
      std::vector<uint8_t> ico = ReadWholeFile(ico_path.string());
      ASSERT_EQ(Le16(ico, 4), g.entries.size()) << GroupName(g);
      for (size_t i = 0; i < g.entries.size(); ++i) {
        const IconEntry& e = g.entries[i];
        const size_t at = 6 + 16 * i;
        EXPECT_EQ(ico[at], e.width);
        EXPECT_EQ(ico[at + 1], e.height);
        EXPECT_EQ(Le16(ico, at + 6), e.bitCount);
        const size_t size = Le32(ico, at + 8), offset = Le32(ico, at + 12);
        ASSERT_EQ(std::vector<uint8_t>(ico.begin() + long(offset), ico.begin() + long(offset + size)),
                  std::vector<uint8_t>(e.Image().begin(), e.Image().end()))
            << GroupName(g) << " entry " << i;
      }
    }
  }
  std::filesystem::remove_all(out);
}

// The test icons' pixels by the rules of make_kinds.sh.
TEST(PeIcons, DecodedImagesHaveTheKnownPixels) {
  for (const char* arch : {"i686", "x86_64"}) {
    auto groups = ReadPeIcons(ReadWholeFile(std::string(KELMAR_PE_DIR) + "/kinds_" + arch + ".dll"));
    ASSERT_TRUE(groups);
    // Named first, then the IDs ascending, whatever the script's order.
    ASSERT_EQ(groups->size(), 6u);
    EXPECT_EQ((*groups)[0].name, u"KINDS");
    for (uint16_t id = 1; id <= 5; ++id) EXPECT_EQ((*groups)[id].id, id);

    const uint8_t vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    DecodedIcon four = DecodeIconImage((*groups)[0].entries[0].Image());
    EXPECT_EQ(four.bitsPerPixel, 4);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const uint8_t* c = vga[x / 2];
        const bool clear = x >= 24 && y >= 24;
        ASSERT_EQ(four.mask[size_t(y * 32 + x)], clear) << x << "," << y;
        if (!clear) {
          ASSERT_EQ(four.image.At(x, y), MakePixel(c[0], c[1], c[2])) << x << "," << y;
        }
      }
    DecodedIcon four16 = DecodeIconImage((*groups)[0].entries[1].Image());
    EXPECT_EQ(four16.image.At(0, 5), MakePixel(255, 255, 255));
    EXPECT_EQ(four16.image.At(15, 5), MakePixel(0, 0, 0));

    DecodedIcon eight = DecodeIconImage((*groups)[1].entries[0].Image());
    EXPECT_EQ(eight.bitsPerPixel, 8);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool clear = x < 4 && y < 4;
        ASSERT_EQ(eight.mask[size_t(y * 32 + x)], clear);
        if (!clear) {
          ASSERT_EQ(eight.image.At(x, y), MakePixel(uint8_t(x / 2 * 17), uint8_t(y / 2 * 17), 128)) << x << "," << y;
        }
      }

    DecodedIcon alpha = DecodeIconImage((*groups)[2].entries[0].Image());
    EXPECT_EQ(alpha.bitsPerPixel, 32);
    EXPECT_TRUE(alpha.hasAlpha);
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(alpha.image.At(x, 3), MakePixel(200, 100, 50, uint8_t(8 * x + 7)));
      EXPECT_EQ(PixelA(alpha.image.At(x, 30)), x < 4 ? 0 : 255);
    }

    const IconGroup& png = (*groups)[3];
    ASSERT_EQ(png.entries.size(), 2u);
    EXPECT_TRUE(png.entries[0].IsPng());
    EXPECT_EQ(png.entries[1].width, 0);  // 256
    EXPECT_THROW(DecodeIconImage(png.entries[0].Image()), Error);

    DecodedIcon big = DecodeIconImage((*groups)[4].entries[0].Image());
    EXPECT_EQ(big.image.Width(), 48);
    EXPECT_EQ(big.image.At(47, 10), MakePixel(235, 50, 0));

    // 16 x 16/32, 32 x 32 at 4, 8 and 32 bits, 48 x 48/32.
    const IconGroup& mixed = (*groups)[5];
    EXPECT_EQ(BestIconEntry(mixed, 32, 32, 32), 3);
    EXPECT_EQ(BestIconEntry(mixed, 32, 32, 8), 2);
    EXPECT_EQ(BestIconEntry(mixed, 16, 16, 32), 0);
    EXPECT_EQ(BestIconEntry(mixed, 44, 44, 32), 4);
    EXPECT_EQ(BestIconEntry(IconGroup{}, 32, 32, 32), -1);
  }
}

// A cut file is never read past its end, and is judged group by group and
// image by image: a cut either falls in the headers and directories (the
// file is unreadable) or lists every group of the whole file, each with
// those of its images whose bytes are all there, byte for byte the whole
// file's; the longer the cut, the more images.
TEST(PeIcons, ACutFileListsTheImagesItHoldsWhole) {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  for (const char* name : {"kinds_i686.dll", "kinds_x86_64.dll"})
    files.emplace_back(name, ReadWholeFile(std::string(KELMAR_PE_DIR) + "/" + name));
  files.emplace_back("ne-4", NeLibrary(4));
  files.emplace_back("ne-9", NeLibrary(9));
  for (const auto& [name, file] : files) {
    auto whole = ReadPeIcons(file);
    ASSERT_TRUE(whole);
    size_t before = 0, readable = 0;
    for (size_t length = 0; length < file.size(); length += 13) {
      auto cut = ReadPeIcons(std::span<const uint8_t>(file).first(length));
      if (!cut) {
        ASSERT_EQ(before, 0u) << name << " cut to " << length << " unreadable after a readable cut";
        continue;
      }
      ++readable;
      ASSERT_EQ(cut->size(), whole->size()) << name << " cut to " << length;
      size_t images = 0;
      for (size_t g = 0; g < cut->size(); ++g) {
        EXPECT_EQ(GroupName((*cut)[g]), GroupName((*whole)[g]));
        for (const IconEntry& e : (*cut)[g].entries) {
          auto same = std::find_if((*whole)[g].entries.begin(), (*whole)[g].entries.end(),
                                   [&](const IconEntry& w) { return w.id == e.id; });
          ASSERT_NE(same, (*whole)[g].entries.end());
          ASSERT_EQ(*e.bytes, *same->bytes) << name << " cut to " << length;
        }
        images += (*cut)[g].entries.size();
      }
      ASSERT_GE(images, before) << name << " cut to " << length;
      before = images;
    }
    EXPECT_GT(readable, 10u) << name;  // most of the file is images
  }
  // A real library cut by one byte keeps its groups, and all its images but
  // at most the one that held that byte.
  const std::string shell32 = std::string(KELMAR_WINE_DLL_DIR) + "/shell32.dll";
  if (!std::filesystem::exists(shell32)) return;
  std::vector<uint8_t> file = ReadWholeFile(shell32);
  auto whole = ReadPeIcons(file), cut = ReadPeIcons(std::span<const uint8_t>(file).first(file.size() - 1));
  ASSERT_TRUE(whole && cut);
  ASSERT_EQ(cut->size(), whole->size());
  size_t lost = 0;
  for (size_t g = 0; g < whole->size(); ++g) lost += (*whole)[g].entries.size() - (*cut)[g].entries.size();
  EXPECT_LE(lost, 1u);
}

// An installer's payload after the sections is not needed: the headers tell
// where the sections' data ends, and the groups are the same with or without
// what follows.
TEST(PeIcons, TheDataSizeEndsWithTheLastSection) {
  std::vector<uint8_t> file = ReadWholeFile(std::string(KELMAR_PE_DIR) + "/kinds_i686.dll");
  std::vector<uint8_t> start(file.begin(), file.begin() + 4096);
  EXPECT_EQ(PeDataSize(start), file.size());  // stripped: the last section reaches the end
  std::vector<uint8_t> with_payload = file;
  with_payload.resize(file.size() + 100000, 0xAB);
  EXPECT_EQ(PeDataSize(with_payload), file.size());
  auto a = ReadPeIcons(file), b = ReadPeIcons(with_payload);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(a->size(), b->size());
  for (size_t i = 0; i < a->size(); ++i) EXPECT_EQ(*(*a)[i].entries.back().bytes, *(*b)[i].entries.back().bytes);
  EXPECT_EQ(PeDataSize(std::vector<uint8_t>(file.begin(), file.begin() + 100)), 0u);  // ends in the headers
}

// The intake reads a library only up to the end of its resources' section
// (objdump's section table tells where that is): what follows, such as
// debugging sections, changes none of the groups or their images.
TEST(PeIcons, TheResourcesEndWithTheirSection) {
  for (const std::string& path : PeFiles()) {
    SCOPED_TRACE(path);
    const std::string table = RunCommand("x86_64-w64-mingw32-objdump -h -p '" + path + "' 2>/dev/null");
    std::smatch m, a;
    // Idx Name Size VMA LMA File-off Algn
    if (!std::regex_search(table, m, std::regex(R"(\.rsrc\s+([0-9a-f]+)\s+[0-9a-f]+\s+[0-9a-f]+\s+([0-9a-f]+))")) ||
        !std::regex_search(table, a, std::regex(R"(FileAlignment\s+([0-9a-f]+))")))
      GTEST_SKIP() << "no objdump for PE files";
    const uint64_t end = std::stoull(m[2], nullptr, 16) + std::stoull(m[1], nullptr, 16);
    const uint64_t alignment = std::stoull(a[1], nullptr, 16);
    std::vector<uint8_t> file = ReadWholeFile(path);
    const uint64_t size = PeResourceDataSize(file);
    EXPECT_GE(size, end);
    EXPECT_LT(size, end + alignment);  // the section's size on disk is rounded to the file alignment
    ASSERT_LE(size, file.size());
    auto whole = ReadPeIcons(file), part = ReadPeIcons(std::span<const uint8_t>(file).first(size_t(size)));
    ASSERT_TRUE(whole && part);
    ASSERT_EQ(whole->size(), part->size());
    for (size_t g = 0; g < whole->size(); ++g) {
      ASSERT_EQ((*whole)[g].entries.size(), (*part)[g].entries.size());
      for (size_t e = 0; e < (*whole)[g].entries.size(); ++e)
        ASSERT_TRUE(std::ranges::equal((*whole)[g].entries[e].Image(), (*part)[g].entries[e].Image())) << g << " " << e;
    }
  }
}

// A group that names one image many times holds it once: a small file cannot
// make the reader copy its images over and over.
TEST(PeIcons, EntriesNamingTheSameImageShareItsBytes) {
  std::vector<uint8_t> file = ReadWholeFile(std::string(KELMAR_PE_DIR) + "/kinds_x86_64.dll");
  // The five-entry group's directory (mixed.ico), found by its header and
  // first entry (16 x 16, one plane, 32 bits).
  const uint8_t header[] = {0, 0, 1, 0, 5, 0, 16, 16, 0, 0, 1, 0, 32, 0};
  auto at = std::search(file.begin(), file.end(), std::begin(header), std::end(header));
  ASSERT_NE(at, file.end());
  const size_t dir = size_t(at - file.begin());
  for (size_t i = 1; i < 5; ++i) {  // every entry names the first one's image
    file[dir + 6 + 14 * i + 12] = file[dir + 6 + 12];
    file[dir + 6 + 14 * i + 13] = file[dir + 6 + 13];
  }
  auto groups = ReadPeIcons(file);
  ASSERT_TRUE(groups);
  const IconGroup& mixed = (*groups)[5];
  ASSERT_EQ(mixed.entries.size(), 5u);
  for (const IconEntry& e : mixed.entries) EXPECT_EQ(e.bytes.get(), mixed.entries[0].bytes.get());
  EXPECT_EQ(DecodeIconImage(mixed.entries[4].Image()).image.Width(), 16);  // blue16.png, the first
}

TEST(PeIcons, FilesThatAreNoExecutablesAreUnreadable) {
  auto bytes = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  EXPECT_FALSE(ReadPeIcons({}));
  EXPECT_FALSE(ReadPeIcons(bytes("this is not a program")));
  EXPECT_FALSE(ReadPeIcons(bytes("MZ")));
  // A header that points to its new part far past the end.
  std::vector<uint8_t> mz(64, 0);
  mz[0] = 'M';
  mz[1] = 'Z';
  mz[0x3C] = 0xF0;
  mz[0x3F] = 0x7F;
  EXPECT_FALSE(ReadPeIcons(mz));
  // Its new header's signature spoilt, a real DLL is no PE any more.
  std::vector<uint8_t> file = ReadWholeFile(std::string(KELMAR_PE_DIR) + "/testicons_x86_64.dll");
  ASSERT_TRUE(ReadPeIcons(file));
  file[Le16(file, 0x3C)] = 'X';
  EXPECT_FALSE(ReadPeIcons(file));
}

}  // namespace
}  // namespace kelmar
