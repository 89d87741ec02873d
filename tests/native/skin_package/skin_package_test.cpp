// The skin package's byte layout, the stored skin's zlib handling, compressed
// skin files and building a package from a description. Pictures are the
// ImageMagick-written files of tests/data/bmp (known pixels: see make.sh).
#include <gtest/gtest.h>
#include <zlib.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_package.h"

namespace kelmar {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes LoadBmp(const std::string& name) {
  std::ifstream in(std::string(KELMAR_TEST_DATA) + "/bmp/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Builds package bytes item by item.
struct PackageBytes {
  Bytes b;
  PackageBytes& Word(int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    return *this;
  }
  PackageBytes& Flag(uint8_t f) {
    b.push_back(f);
    return *this;
  }
  PackageBytes& Picture(const std::string& name) {
    Bytes p = LoadBmp(name);
    b.insert(b.end(), p.begin(), p.end());
    return *this;
  }
  // Inserted as bytes: copying chars into the byte vector trips a false
  // -Wstringop-overflow in GCC 12 at -O3.
  PackageBytes& Text(std::string_view t) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(t.data());
    b.insert(b.end(), bytes, bytes + t.size());
    return *this;
  }
};

void ExpectSize(const PackagePicture& p, int w, int h, int bpp, const char* what) {
  EXPECT_EQ(p.image.Width(), w) << what;
  EXPECT_EQ(p.image.Height(), h) << what;
  EXPECT_EQ(p.bitsPerPixel, bpp) << what;
}
void ExpectEmpty(const PackagePicture& p, const char* what) {
  EXPECT_TRUE(p.image.IsEmpty()) << what;
  EXPECT_EQ(p.bitsPerPixel, 0) << what;
}

TEST(SkinPackage, Version3WithoutActivePictures) {
  PackageBytes pkg;
  pkg.Word(3).Flag(0).Picture("rgb24.bmp").Flag(0).Picture("pal4.bmp").Flag(0).Picture("pal1.bmp");
  pkg.Word(0).Text("[VERSION]\r\nskinname=x\r\n");
  SkinPackageContent c = ReadSkinPackage(pkg.b);
  EXPECT_TRUE(c.loaded);
  EXPECT_EQ(c.version, 3);
  ExpectSize(c.Slot(PackageSlot::Picture), 5, 3, 24, "picture");
  EXPECT_EQ(c.Slot(PackageSlot::Picture).image.At(2, 0), MakePixel(0, 0, 255));
  ExpectSize(c.Slot(PackageSlot::InactivePicture), 5, 3, 4, "inactive");
  EXPECT_EQ(c.Slot(PackageSlot::InactivePicture).image.At(2, 1), MakePixel(9, 9, 9));
  ExpectSize(c.Slot(PackageSlot::Mask), 11, 2, 1, "mask");
  EXPECT_EQ(c.Slot(PackageSlot::Mask).image.At(0, 0), MakePixel(200, 30, 40));
  ExpectEmpty(c.Slot(PackageSlot::RollUpPicture), "roll-up");
  ExpectEmpty(c.Slot(PackageSlot::RollUpMask), "roll-up mask");
  EXPECT_TRUE(c.activePictures.empty());
  EXPECT_EQ(c.descriptionLines, (std::vector<std::string>{"[VERSION]", "skinname=x"}));
  // Where each picture lies: after the version word and its flag byte.
  EXPECT_EQ(c.Slot(PackageSlot::Picture).offset, 5u);
  EXPECT_EQ(c.Slot(PackageSlot::Picture).size, LoadBmp("rgb24.bmp").size());
}

TEST(SkinPackage, EmptyFlagIsFollowedByTheNextItem) {
  PackageBytes pkg;
  pkg.Word(2).Flag(1).Flag(0).Picture("pal8_rle.bmp").Flag(1).Flag(7).Flag(0).Picture("rgb565.bmp");
  pkg.Word(2).Picture("pal1.bmp").Picture("argb32_v5.bmp").Text("a");
  SkinPackageContent c = ReadSkinPackage(pkg.b);
  ExpectEmpty(c.Slot(PackageSlot::Picture), "picture");
  ExpectSize(c.Slot(PackageSlot::InactivePicture), 5, 4, 8, "inactive");
  ExpectEmpty(c.Slot(PackageSlot::Mask), "mask");
  ExpectEmpty(c.Slot(PackageSlot::RollUpPicture), "roll-up (any non-zero flag is empty)");
  ExpectSize(c.Slot(PackageSlot::RollUpMask), 4, 2, 16, "roll-up mask");
  ASSERT_EQ(c.activePictures.size(), 2u);
  ExpectSize(c.activePictures[0], 11, 2, 1, "active 0");
  ExpectSize(c.activePictures[1], 5, 3, 32, "active 1");
  EXPECT_EQ(c.activePictures[1].image.At(1, 1), MakePixel(200, 100, 50, 0));
  EXPECT_EQ(c.descriptionLines, std::vector<std::string>{"a"});
}

TEST(SkinPackage, OlderVersionsLeaveTheirMissingSlotsEmpty) {
  PackageBytes v1;
  v1.Word(1).Flag(0).Picture("rgb24.bmp").Flag(0).Picture("pal1.bmp");
  v1.Flag(0).Picture("pal4.bmp").Flag(0).Picture("pal1.bmp").Word(0);
  SkinPackageContent c = ReadSkinPackage(v1.b);
  ExpectSize(c.Slot(PackageSlot::Picture), 5, 3, 24, "v1 picture");
  ExpectEmpty(c.Slot(PackageSlot::InactivePicture), "v1 inactive");
  ExpectSize(c.Slot(PackageSlot::Mask), 11, 2, 1, "v1 mask");
  ExpectSize(c.Slot(PackageSlot::RollUpPicture), 5, 3, 4, "v1 roll-up");
  ExpectSize(c.Slot(PackageSlot::RollUpMask), 11, 2, 1, "v1 roll-up mask");
  EXPECT_TRUE(c.descriptionLines.empty());

  for (int32_t version : {0, -1, INT32_MIN}) {  // a negative word reads as version 0
    PackageBytes v0;
    v0.Word(version).Flag(0).Picture("rgb24.bmp").Flag(0).Picture("pal1.bmp").Word(1).Picture("pal4.bmp");
    c = ReadSkinPackage(v0.b);
    EXPECT_TRUE(c.loaded);
    ExpectSize(c.Slot(PackageSlot::Picture), 5, 3, 24, "v0 picture");
    ExpectSize(c.Slot(PackageSlot::Mask), 11, 2, 1, "v0 mask");
    for (PackageSlot s : {PackageSlot::InactivePicture, PackageSlot::RollUpPicture, PackageSlot::RollUpMask})
      ExpectEmpty(c.Slot(s), "v0 missing slot");
    EXPECT_EQ(c.activePictures.size(), 1u);
  }
}

TEST(SkinPackage, VersionAboveThreeReadsNothing) {
  PackageBytes pkg;
  pkg.Word(4).Text("anything at all");
  SkinPackageContent c = ReadSkinPackage(pkg.b);
  EXPECT_FALSE(c.loaded);
  EXPECT_EQ(c.version, 4);
  EXPECT_TRUE(c.descriptionLines.empty());
}

TEST(SkinPackage, NegativeCountReadsNoPictures) {
  PackageBytes pkg;
  pkg.Word(3).Flag(1).Flag(1).Flag(1).Word(-5).Text("x");
  SkinPackageContent c = ReadSkinPackage(pkg.b);
  EXPECT_TRUE(c.activePictures.empty());
  EXPECT_EQ(c.descriptionLines, std::vector<std::string>{"x"});
}

TEST(SkinPackage, DescriptionLineEnds) {
  using L = std::vector<std::string>;
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (L{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (L{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\r\n\r\nx\r"), (L{"", "", "x"}));
  EXPECT_EQ(SplitLines(""), L{});
  EXPECT_EQ(SplitLines(std::string("\xCB\xCE\xCC\xE5=1\r\n", 8)), L{"\xCB\xCE\xCC\xE5=1"});
}

TEST(SkinPackage, TruncatedPackageRaisesAnError) {
  PackageBytes pkg;
  pkg.Word(2).Flag(0).Picture("rgb24.bmp").Flag(1).Flag(0).Picture("pal8_rle.bmp").Flag(1).Flag(1);
  pkg.Word(1).Picture("pal4_core.bmp");
  const size_t descriptionStart = pkg.b.size();
  pkg.Text("[X]\r\n");
  for (size_t n = 0; n < descriptionStart; ++n) {
    const Bytes cut(pkg.b.begin(), pkg.b.begin() + n);
    try {
      ReadSkinPackage(cut);
      ADD_FAILURE() << "read a package cut to " << n << " bytes";
    } catch (const Error& e) {
      const std::string m = e.what();
      EXPECT_TRUE(m == "Stream read error" || m == "Bitmap image is not valid") << m;
    }
  }
}

// --- the stored skin ----------------------------------------------------------

Bytes SampleBytes(size_t n) {
  Bytes b(n);
  uint32_t s = 12345;
  for (size_t i = 0; i < n; ++i) {
    s = s * 1103515245 + 12345;
    b[i] = uint8_t(i % 7 == 0 ? s >> 24 : i / 100);  // partly compressible
  }
  return b;
}

void ExpectError(const std::function<void()>& f, const char* message, const std::string& what) {
  try {
    f();
    ADD_FAILURE() << what << ": no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), message) << what;
  }
}

TEST(CompressedStoredSkin, DeflatesAtLevelNineAndInflatesBack) {
  TksCompressedStoredSkin skin;
  EXPECT_TRUE(skin.IsEmpty());
  const Bytes data = SampleBytes(300000);
  skin.DeflatePackage(data);
  ASSERT_GE(skin.CompressedData().size(), 2u);
  EXPECT_EQ(skin.CompressedData()[0], 0x78);
  EXPECT_EQ(skin.CompressedData()[1], 0xDA);
  EXPECT_FALSE(skin.IsEmpty());
  // zlib's one-call inflate reads it back independently.
  Bytes check(data.size());
  uLongf checkSize = uLongf(check.size());
  ASSERT_EQ(uncompress(check.data(), &checkSize, skin.CompressedData().data(), uLong(skin.CompressedData().size())),
            Z_OK);
  EXPECT_EQ(checkSize, data.size());
  EXPECT_EQ(check, data);
  EXPECT_EQ(skin.InflatePackage(), data);
  // An empty package deflates to a stream that inflates to nothing.
  skin.DeflatePackage({});
  EXPECT_TRUE(skin.InflatePackage().empty());
}

TEST(CompressedStoredSkin, CorruptOrTruncatedStreamRaisesCompressionError) {
  TksCompressedStoredSkin skin;
  skin.DeflatePackage(SampleBytes(20000));
  const Bytes good = skin.CompressedData();
  for (size_t n = 0; n < good.size(); n += n < 64 ? 1 : 97) {
    skin.CompressedData().assign(good.begin(), good.begin() + n);
    ExpectError([&] { skin.InflatePackage(); }, "compression error", "cut to " + std::to_string(n));
    ExpectError([&] { skin.ReadPackage(); }, "compression error", "read, cut to " + std::to_string(n));
  }
  Bytes bad = good;
  bad[0] = 0x79;  // header check fails
  skin.CompressedData() = bad;
  ExpectError([&] { skin.InflatePackage(); }, "compression error", "header");
  bad = good;
  bad[bad.size() - 1] ^= 0xFF;  // Adler-32 trailer
  skin.CompressedData() = bad;
  ExpectError([&] { skin.InflatePackage(); }, "compression error", "checksum");
  ExpectError([&] { skin.ReadPackage(); }, "compression error", "read, checksum");
  skin.CompressedData().assign(1000, 0xFF);
  ExpectError([&] { skin.InflatePackage(); }, "compression error", "garbage");
}

class TempDir {
 public:
  TempDir() : path_(std::filesystem::path(::testing::TempDir()) / ("kelmar_pkg_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  void Write(const std::string& name, const Bytes& b) const {
    std::ofstream(File(name), std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  }
  void Write(const std::string& name, const std::string& s) const { Write(name, Bytes(s.begin(), s.end())); }

 private:
  std::filesystem::path path_;
};

TEST(CompressedStoredSkin, LoadFromCompressedFile) {
  TempDir dir;
  PackageBytes ok;
  ok.Word(3).Word(5).Text("zlib!trailing");
  dir.Write("ok.skn", ok.b);
  TksCompressedStoredSkin skin;
  skin.LoadFromCompressedFile(dir.File("ok.skn"));
  EXPECT_EQ(skin.CompressedData(), (Bytes{'z', 'l', 'i', 'b', '!'}));

  PackageBytes v4;
  v4.Word(4).Word(5).Text("zlib!");
  dir.Write("v4.skn", v4.b);
  skin.LoadFromCompressedFile(dir.File("v4.skn"));
  EXPECT_TRUE(skin.IsEmpty());

  skin.CompressedData() = {1, 2, 3};
  PackageBytes shortFile;
  shortFile.Word(1).Word(100).Text("abc");
  dir.Write("short.skn", shortFile.b);
  ExpectError([&] { skin.LoadFromCompressedFile(dir.File("short.skn")); }, "Stream read error", "length past the end");
  EXPECT_TRUE(skin.IsEmpty());
  PackageBytes negative;
  negative.Word(1).Word(-1).Text("abc");
  dir.Write("negative.skn", negative.b);
  ExpectError([&] { skin.LoadFromCompressedFile(dir.File("negative.skn")); }, "Stream read error", "negative length");
  dir.Write("tiny.skn", Bytes{3, 0});
  ExpectError([&] { skin.LoadFromCompressedFile(dir.File("tiny.skn")); }, "Stream read error", "no version word");
  EXPECT_THROW(skin.LoadFromCompressedFile(dir.File("missing.skn")), FileError);
}

const char kDescription[] =
    "; made for the test\r\n"
    "[VERSION]\r\n"
    "skinname=Test\r\n"
    "[pictures]\n"  // lower case, and a lone LF
    "picture = rgb24.bmp\r\n"
    "inactivepicture=pal4.bmp\r"
    "mask=pal1.bmp\r\n"
    "rolluppicture=\r\n"
    "activepicturescount=0x2\r\n"  // any integer form of the description
    "0=pal8_rle.bmp\r\n"
    "1=argb32_v5.bmp\r\n"
    "[FORMINFO]\r\n"
    "clientrect=8,28,696,284\r\n"
    "[SKINOBJECTS]\r\n"
    "count=0\r\n"
    "[SKINCONTROLS]\r\n"
    "count=0";

TEST(CompressedStoredSkin, BuildFromDescriptionFile) {
  TempDir dir;
  for (const char* name : {"rgb24.bmp", "pal4.bmp", "pal1.bmp", "pal8_rle.bmp", "argb32_v5.bmp"})
    dir.Write(name, LoadBmp(name));
  dir.Write("skin.ini", std::string(kDescription));
  TksCompressedStoredSkin skin;
  ASSERT_TRUE(skin.BuildFromDescriptionFile(dir.File("skin.ini")));
  EXPECT_EQ(skin.CompressedData()[0], 0x78);
  EXPECT_EQ(skin.CompressedData()[1], 0xDA);

  // The expected bytes, put together from the files.
  PackageBytes expected;
  expected.Word(2).Flag(0).Picture("rgb24.bmp").Flag(0).Picture("pal4.bmp").Flag(0).Picture("pal1.bmp");
  expected.Flag(1).Flag(1).Word(2).Picture("pal8_rle.bmp").Picture("argb32_v5.bmp");
  expected.Text(
      "; made for the test\r\n[VERSION]\r\nskinname=Test\r\n[pictures]\r\npicture = rgb24.bmp\r\n"
      "inactivepicture=pal4.bmp\r\nmask=pal1.bmp\r\nrolluppicture=\r\nactivepicturescount=0x2\r\n"
      "0=pal8_rle.bmp\r\n1=argb32_v5.bmp\r\n[FORMINFO]\r\nclientrect=8,28,696,284\r\n"
      "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n");
  const Bytes inflated = skin.InflatePackage();
  EXPECT_EQ(inflated, expected.b);

  // And it reads back to the same pictures and text, from the inflated bytes
  // and while inflating.
  for (const SkinPackageContent& c : {ReadSkinPackage(inflated), skin.ReadPackage()}) {
    EXPECT_EQ(c.version, 2);
    ExpectSize(c.Slot(PackageSlot::Picture), 5, 3, 24, "picture");
    ExpectSize(c.Slot(PackageSlot::InactivePicture), 5, 3, 4, "inactive");
    ExpectSize(c.Slot(PackageSlot::Mask), 11, 2, 1, "mask");
    ExpectEmpty(c.Slot(PackageSlot::RollUpPicture), "roll-up");
    ExpectEmpty(c.Slot(PackageSlot::RollUpMask), "roll-up mask");
    ASSERT_EQ(c.activePictures.size(), 2u);
    EXPECT_EQ(c.activePictures[0].image.At(4, 3), MakePixel(19 * 12, 255 - 190, 19 * 7));
    EXPECT_EQ(c.activePictures[1].image.At(4, 2), MakePixel(221, 238, 255, 1));
    EXPECT_EQ(c.descriptionLines.size(), 17u);
    EXPECT_EQ(c.descriptionLines[3], "[pictures]");
  }
}

TEST(CompressedStoredSkin, BuildFailures) {
  TempDir dir;
  TksCompressedStoredSkin skin;
  skin.CompressedData() = {9, 9};
  std::string noControls(kDescription);
  noControls.replace(noControls.find("[SKINCONTROLS]"), 14, "[OTHER]");
  dir.Write("partial.ini", noControls);
  EXPECT_FALSE(skin.BuildFromDescriptionFile(dir.File("partial.ini")));
  EXPECT_EQ(skin.CompressedData(), (Bytes{9, 9}));

  dir.Write("skin.ini", std::string(kDescription));  // its pictures are missing
  EXPECT_THROW(skin.BuildFromDescriptionFile(dir.File("skin.ini")), FileError);
  for (const char* name : {"rgb24.bmp", "pal4.bmp", "pal8_rle.bmp", "argb32_v5.bmp"})
    dir.Write(name, LoadBmp(name));
  dir.Write("pal1.bmp", std::string("BM not a bitmap"));
  ExpectError([&] { skin.BuildFromDescriptionFile(dir.File("skin.ini")); }, "Bitmap image is not valid",
              "bad picture");
  EXPECT_EQ(skin.CompressedData(), (Bytes{9, 9}));
}

}  // namespace
}  // namespace kelmar
