// The icon and bitmap writers on icons built from known pixels and on the
// icons of the system's own shell32.dll. Expected bytes and pixels come from
// the formats' tables and the input pixels, never from the writers.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "base/error.h"
#include "base/little_endian.h"
#include "framework/dib_header.h"
#include "framework/list_view.h"
#include "framework/wide.h"
#include "imageio/file_output_win32.h"
#include "imageio/icon_bitmap_win32.h"
#include "imageio/icon_writer_win32.h"
#include "test_icons.h"

namespace kelmar {
namespace {

using test::Rgb;

// The system's 16 standard colours in the order of its 4-bit conversion
// (the 16-colour display order: dark grey before light grey).
constexpr std::array<Rgb, 16> kStandard = {{{0, 0, 0},
                                            {0x80, 0, 0},
                                            {0, 0x80, 0},
                                            {0x80, 0x80, 0},
                                            {0, 0, 0x80},
                                            {0x80, 0, 0x80},
                                            {0, 0x80, 0x80},
                                            {0x80, 0x80, 0x80},
                                            {0xC0, 0xC0, 0xC0},
                                            {0xFF, 0, 0},
                                            {0, 0xFF, 0},
                                            {0xFF, 0xFF, 0},
                                            {0, 0, 0xFF},
                                            {0xFF, 0, 0xFF},
                                            {0, 0xFF, 0xFF},
                                            {0xFF, 0xFF, 0xFF}}};

int StandardIndex(int x, int y) { return (x + 3 * y) % 16; }
bool Diagonals(int x, int y) { return (x + y) % 5 == 0 || x == y; }

class Icon {
 public:
  explicit Icon(HICON h) : h_(h) {}
  ~Icon() { DestroyIcon(h_); }
  operator HICON() const { return h_; }

 private:
  HICON h_;
};

TEST(IconWriter, KnownPixelsGiveTheExactFile) {
  for (int size : {32, 16}) {
    SCOPED_TRACE(size);
    Icon icon(test::MakeIcon(size, [](int x, int y) { return kStandard[StandardIndex(x, y)]; }, Diagonals));
    const std::wstring path = test::FilesFolder() + L"\\known" + std::to_wstring(size) + L".ico";
    SaveIconToFile(icon, path);
    std::vector<uint8_t> f = test::ReadFileBytes(path);

    // 22 + 104 + C + M with C = ((W*4+31)/32)*4*H and M = ((W+31)/32)*4*H.
    const size_t file_size = size == 32 ? 766 : 318;
    ASSERT_EQ(f.size(), file_size);
    const std::vector<uint8_t> head = {0, 0, 1, 0, 1, 0, uint8_t(size), uint8_t(size), 4, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 14), head);
    EXPECT_EQ(Le32(f, 14), file_size - 22);
    EXPECT_EQ(Le32(f, 42), size == 32 ? 512u : 128u);
    for (int i = 0; i < 16; ++i) {
      Rgb entry{f[62 + 4 * i + 2], f[62 + 4 * i + 1], f[62 + 4 * i]};
      EXPECT_EQ(entry, kStandard[i]) << "entry " << i;
    }
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        ASSERT_EQ(test::IcoIndex(f, x, y), StandardIndex(x, y)) << x << "," << y;
        ASSERT_EQ(test::IcoTransparent(f, x, y), Diagonals(x, y)) << x << "," << y;
      }
  }
}

TEST(IconWriter, TrueColourIsReducedToSixteenAndKeepsTheMask) {
  // Colours near the standard ones, plus a gradient that has no exact match.
  auto color = [](int x, int y) -> Rgb {
    if (y < 8) return x < 16 ? Rgb{250, 12, 9} : Rgb{8, 6, 247};
    if (y < 16) return x < 16 ? Rgb{252, 251, 249} : Rgb{3, 5, 2};
    return Rgb{uint8_t(x * 8), uint8_t(y * 8), uint8_t(x * 4 + 100)};
  };
  auto transparent = [](int x, int y) { return y >= 16 && (x + y) % 3 == 0; };
  Icon icon(test::MakeIcon(32, color, transparent));
  const std::wstring path = test::FilesFolder() + L"\\truecolour32.ico";
  SaveIconToFile(icon, path);
  std::vector<uint8_t> f = test::ReadFileBytes(path);
  ASSERT_EQ(f.size(), 766u);
  EXPECT_EQ(Le16(f, 36), 4u);
  EXPECT_EQ(Le32(f, 54), 16u);
  EXPECT_EQ(test::IcoIndex(f, 3, 3), 9);     // red
  EXPECT_EQ(test::IcoIndex(f, 20, 3), 12);   // blue
  EXPECT_EQ(test::IcoIndex(f, 3, 12), 15);   // white
  EXPECT_EQ(test::IcoIndex(f, 20, 12), 0);   // black
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(test::IcoTransparent(f, x, y), transparent(x, y)) << x << "," << y;
}

TEST(IconWriter, MonochromeIconIsNotAValidBitmap) {
  // A monochrome icon: one mask of twice the height (AND rows, then XOR rows).
  std::vector<uint8_t> bits(4 * 64, 0x0F);
  HBITMAP mask = CreateBitmap(32, 64, 1, 1, bits.data());
  ICONINFO ii{TRUE, 0, 0, mask, nullptr};
  Icon icon(CreateIconIndirect(&ii));
  DeleteObject(mask);
  ASSERT_NE(HICON(icon), nullptr);

  const std::wstring folder = test::ScratchFolder(L"mono");
  const std::wstring fresh = folder + L"\\fresh.ico", earlier = folder + L"\\earlier.bmp";
  test::WriteFileBytes(earlier, {1, 2, 3});
  for (auto save : {&SaveIconToFile, &SaveIconAsBitmapFile}) {
    try {
      save(icon, fresh);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
    EXPECT_THROW(save(icon, earlier), Error);
  }
  EXPECT_FALSE(test::FileExists(fresh));
  EXPECT_EQ(test::ReadFileBytes(earlier), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_THROW(IconFileBytes(nullptr), Error);
}

TEST(BitmapWriter, TransparentBecomesWhiteAndOpaqueKeepsItsColour) {
  auto color = [](int x, int y) { return Rgb{uint8_t(x * 7 + 1), uint8_t(y * 5 + 2), uint8_t(x * y)}; };
  auto never = [](int, int) { return false; };
  auto always = [](int, int) { return true; };
  for (int size : {32, 16}) {
    SCOPED_TRACE(size);
    const std::wstring stem = test::FilesFolder() + L"\\flat" + std::to_wstring(size);
    struct Case {
      const wchar_t* name;
      std::function<bool(int, int)> transparent;
    };
    for (const Case& c : {Case{L"-opaque.bmp", never}, Case{L"-clear.bmp", always}, Case{L"-mixed.bmp", Diagonals}}) {
      Icon icon(test::MakeIcon(size, color, c.transparent));
      SaveIconAsBitmapFile(icon, stem + c.name);
      std::vector<uint8_t> f = test::ReadFileBytes(stem + c.name);
      // 14 + 40 + ((W*32+31)/32)*4*H.
      const size_t file_size = size == 32 ? 4150 : 1078;
      ASSERT_EQ(f.size(), file_size);
      EXPECT_EQ(Le32(f, 10), 54u);
      EXPECT_EQ(Le32(f, 22), uint32_t(size));  // positive: bottom row first
      EXPECT_EQ(f[28], 32);
      EXPECT_EQ(f[29], 0);
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const Rgb want = c.transparent(x, y) ? Rgb{255, 255, 255} : color(x, y);
          ASSERT_EQ(test::BmpPixel(f, x, y), want) << x << "," << y;
        }
    }
  }
}

// An icon with alpha: soft edges both inside and outside its 1-bit mask,
// clear pixels that still carry colour, and an opaque band. The bitmaps of it
// (from the icon itself and through an image list as the program takes it)
// are left with the icon's straight pixels for the readers' check, which
// composites those onto white with ImageMagick and compares.
Rgb AlphaColour(int x, int y) { return {uint8_t(x * 8), uint8_t(y * 8), uint8_t(255 - x * 4)}; }
uint8_t AlphaOf(int x, int y) {
  if (y < 8) return uint8_t(x * 8 + 3);    // 3 .. 251 across
  if (y < 16) return 255;                  // opaque
  if (y < 24) return uint8_t(255 - x * 8);  // 255 .. 7 across
  return 0;                                // clear, colour ignored
}
bool AlphaMask(int x, int y) { return AlphaOf(x, y) < 128; }

TEST(BitmapWriter, AlphaIsCompositedOntoWhiteAndEveryPixelIsOpaque) {
  Icon icon(test::MakeIcon(32, AlphaColour, AlphaMask, AlphaOf));
  std::vector<uint8_t> straight;  // RGBA, rows top-down
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const Rgb c = AlphaColour(x, y);
      straight.insert(straight.end(), {c.r, c.g, c.b, AlphaOf(x, y)});
    }
  test::WriteFileBytes(test::FilesFolder() + L"\\alpha32.rgba", straight);

  const std::wstring direct = test::FilesFolder() + L"\\alpha32-icon.bmp";
  SaveIconAsBitmapFile(icon, direct);
  TImageList list(nullptr, "LargeImage", 32, 32);
  list.AddIcons({icon, nullptr, icon});
  ASSERT_EQ(list.Count(), 3);
  const std::wstring listed = test::FilesFolder() + L"\\alpha32-list.bmp";
  WriteFileWhole(listed, IconBitmapFileBytes(list.DrawnImage(2), [&] { return list.GetIcon(2); }));

  for (const std::wstring& path : {direct, listed}) {
    std::vector<uint8_t> f = test::ReadFileBytes(path);
    ASSERT_EQ(f.size(), 4150u);
    EXPECT_EQ(f[28], 32);
    for (size_t at = 54 + 3; at < f.size(); at += 4) ASSERT_EQ(f[at], 255) << at;
    // Spot values worked out by hand: opaque pixels keep their colour, clear
    // ones are white; (5,2) at alpha 43 is 40*43/255 + 212 = 218.7 red.
    EXPECT_EQ(test::BmpPixel(f, 3, 10), AlphaColour(3, 10));
    EXPECT_EQ(test::BmpPixel(f, 3, 28), (Rgb{255, 255, 255}));
    const Rgb soft = test::BmpPixel(f, 5, 2);
    EXPECT_NEAR(soft.r, 219, 1);
    EXPECT_NEAR(soft.g, 16 * 43 / 255.0 + 212, 1);
    EXPECT_NEAR(soft.b, 235 * 43 / 255.0 + 212, 1);
  }
  // The blank image between them has no alpha: white, as it always was.
  std::vector<uint8_t> blank = IconBitmapFileBytes(list.DrawnImage(1), [&] { return list.GetIcon(1); });
  ASSERT_EQ(blank.size(), 4150u);
  EXPECT_EQ(test::BmpPixel(blank, 7, 7), (Rgb{255, 255, 255}));
}

// Bitmaps that are already device-independent keep their own format: a
// top-down 32-bit section is written bottom-up, an 8-bit one with its table.
TEST(BitmapWriter, SectionsKeepTheirFormat) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info{TopDownDibHeader(4, 2), {}};
  void* bits = nullptr;
  BitmapHandle top_down(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(top_down);
  for (uint32_t i = 0; i < 8; ++i) static_cast<uint32_t*>(bits)[i] = 0x010203 * (i + 1);  // row 0 is the top
  std::vector<uint8_t> f = BitmapFileBytes(top_down);
  ASSERT_EQ(f.size(), 54u + 32);
  EXPECT_EQ(Le32(f, 54), 0x050A0Fu);  // first stored row is the bottom one: pixel 4
  EXPECT_EQ(Le32(f, 54 + 16), 0x010203u);

  info.header = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
  for (int i = 0; i < 256; ++i) info.colors[i] = {BYTE(7), BYTE(255 - i), BYTE(i), 0};
  BitmapHandle indexed(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(indexed);
  const uint8_t indices[8] = {0, 1, 2, 200, 255, 17, 18, 19};  // bottom row first
  std::copy(indices, indices + 8, static_cast<uint8_t*>(bits));
  GdiFlush();
  f = BitmapFileBytes(indexed);
  ASSERT_EQ(f.size(), 54u + 1024 + 8);
  EXPECT_EQ(f[28], 8);
  EXPECT_EQ(Le32(f, 10), 1078u);
  EXPECT_EQ(Le32(f, 46), 256u);
  EXPECT_EQ(Le32(f, 54 + 4 * 200), 0xC83707u);  // red 200, green 55, blue 7
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 1078, f.end()), std::vector<uint8_t>(indices, indices + 8));
}

TEST(FileOutput, SavingAgainReplacesTheFile) {
  const std::wstring folder = test::ScratchFolder(L"replace");
  Icon red(test::MakeIcon(16, [](int, int) { return Rgb{255, 0, 0}; }, [](int, int) { return false; }));
  Icon blue(test::MakeIcon(32, [](int, int) { return Rgb{0, 0, 255}; }, [](int, int) { return false; }));
  const std::wstring ico = folder + L"\\1_app.ico", bmp = folder + L"\\1_app.bmp";
  SaveIconToFile(red, ico);
  SaveIconAsBitmapFile(red, bmp);
  ASSERT_EQ(test::ReadFileBytes(ico).size(), 318u);
  ASSERT_EQ(test::ReadFileBytes(bmp).size(), 1078u);
  SaveIconToFile(blue, ico);
  SaveIconAsBitmapFile(blue, bmp);
  std::vector<uint8_t> f = test::ReadFileBytes(ico);
  ASSERT_EQ(f.size(), 766u);
  EXPECT_EQ(test::IcoIndex(f, 0, 0), 12);
  f = test::ReadFileBytes(bmp);
  ASSERT_EQ(f.size(), 4150u);
  EXPECT_EQ(test::BmpPixel(f, 31, 31), (Rgb{0, 0, 255}));
  // Only the two files: no temporary file stays behind.
  EXPECT_EQ(test::FilesIn(folder).size(), 2u);
}

TEST(FileOutput, AFailedSaveLeavesTheEarlierFileIntact) {
  const std::wstring folder = test::ScratchFolder(L"fail");
  Icon icon(test::MakeIcon(32, [](int, int) { return Rgb{0, 255, 0}; }, [](int, int) { return false; }));
  const std::vector<uint8_t> earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
  auto expect_file_error = [&](const std::wstring& path, auto save) {
    try {
      save(icon, path);
      ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
      const std::string prefix = "Cannot create file \"" + Narrow(path) + "\". ";
      const std::string what = e.what();
      EXPECT_EQ(what.substr(0, prefix.size()), prefix);
      EXPECT_GT(what.size(), prefix.size()) << "the system's reason is missing";
    }
  };

  // Read-only target.
  const std::wstring read_only = folder + L"\\readonly.ico";
  test::WriteFileBytes(read_only, earlier);
  SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY);
  expect_file_error(read_only, SaveIconToFile);
  expect_file_error(read_only, SaveIconAsBitmapFile);
  EXPECT_EQ(test::ReadFileBytes(read_only), earlier);
  SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Target held open by someone who shares nothing.
  const std::wstring locked = folder + L"\\locked.bmp";
  test::WriteFileBytes(locked, earlier);
  HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  expect_file_error(locked, SaveIconAsBitmapFile);
  expect_file_error(locked, SaveIconToFile);
  CloseHandle(lock);
  EXPECT_EQ(test::ReadFileBytes(locked), earlier);

  // A folder that does not exist.
  const std::wstring nowhere = folder + L"\\missing\\1_app.ico";
  expect_file_error(nowhere, SaveIconToFile);
  EXPECT_FALSE(test::FileExists(nowhere));

  // Nothing but the two earlier files is left in the folder.
  EXPECT_EQ(test::FilesIn(folder).size(), 2u);
}

TEST(FileOutput, AnyFileNameWorks) {
  const std::wstring folder = test::ScratchFolder(L"names");
  Icon icon(test::MakeIcon(16, [](int, int) { return Rgb{0, 0, 0}; }, [](int, int) { return false; }));
  const std::wstring path = folder + L"\\3_\u56FE\u6807 \u00E9.ico";  // 图标 é
  SaveIconToFile(icon, path);
  EXPECT_EQ(test::ReadFileBytes(path).size(), 318u);
}

// The system's own icons, taken through image lists as the program takes them.
TEST(RealIcons, Shell32IconsAtBothListSizes) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring dll = std::wstring(system) + L"\\shell32.dll";
  const int count = int(UINT_PTR(ExtractIconW(GetModuleHandleW(nullptr), dll.c_str(), UINT(-1))));
  ASSERT_GT(count, 100);
  const int step = std::max(1, count / 40);  // at least 40 icons of each size

  for (int size : {32, 16}) {
    SCOPED_TRACE(size);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 4);
    int written = 0;
    for (int i = 0; i < count; i += step) {
      Icon extracted(ExtractIconW(GetModuleHandleW(nullptr), dll.c_str(), UINT(i)));
      ASSERT_NE(HICON(extracted), nullptr) << i;
      const int index = ImageList_ReplaceIcon(list, -1, extracted);
      Icon icon(ImageList_GetIcon(list, index, ILD_NORMAL));
      const std::wstring stem =
          test::FilesFolder() + L"\\shell32-" + std::to_wstring(i) + L"-" + std::to_wstring(size);
      SaveIconToFile(icon, stem + L".ico");
      SaveIconAsBitmapFile(icon, stem + L".bmp");
      std::vector<uint8_t> ico = test::ReadFileBytes(stem + L".ico");
      std::vector<uint8_t> bmp = test::ReadFileBytes(stem + L".bmp");
      ASSERT_EQ(ico.size(), size == 32 ? 766u : 318u) << i;
      ASSERT_EQ(bmp.size(), size == 32 ? 4150u : 1078u) << i;
      // Both files agree on which pixels are transparent: white in the
      // bitmap, unless the icon's alpha says the pixel is partly covered.
      const std::vector<uint8_t> alpha = test::IconAlpha(icon, size);
      const bool has_alpha = std::any_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a != 0; });
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          if (test::IcoTransparent(ico, x, y) && alpha[size_t(y * size + x)] == 0) {
            ASSERT_EQ(test::BmpPixel(bmp, x, y), (Rgb{255, 255, 255})) << i << ": " << x << "," << y;
          }
        }
      if (has_alpha) {
        for (size_t at = 54 + 3; at < bmp.size(); at += 4) ASSERT_EQ(bmp[at], 255) << i << ": " << at;
      }
      ++written;
    }
    ImageList_Destroy(list);
    EXPECT_GE(written, 40);
  }
}

// The icon files converted from a whole image list at once are those of each
// icon on its own: every shell32 icon at its own size (the list draws it as
// the icon draws itself), and at a width whose cells do not start on a byte,
// those of a list that holds that one image.
TEST(RealIcons, IconFilesOfAWholeListEqualThoseOfEachIcon) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring dll = std::wstring(system) + L"\\shell32.dll";
  const int count = int(UINT_PTR(ExtractIconW(GetModuleHandleW(nullptr), dll.c_str(), UINT(-1))));
  ASSERT_GT(count, 100);
  std::vector<HICON> icons;
  for (int i = 0; i < count; ++i) icons.push_back(ExtractIconW(GetModuleHandleW(nullptr), dll.c_str(), UINT(i)));
  TImageList list(nullptr, "list", 32, 32), odd(nullptr, "odd", 20, 20);
  list.AddIcons(icons);
  odd.AddIcons(icons);
  ASSERT_EQ(list.Count(), count);
  ImageListIconFiles files(list.Handle()), odd_files(odd.Handle());
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(files.Bytes(i, list.DrawnImage(i)), IconFileBytes(icons[size_t(i)])) << i;
    if (i % 5) continue;
    TImageList one(nullptr, "one", 20, 20);
    one.AddIcons(std::vector<HICON>{icons[size_t(i)]});
    ASSERT_EQ(odd_files.Bytes(i, odd.DrawnImage(i)), ImageListIconFiles(one.Handle()).Bytes(0, one.DrawnImage(0))) << i;
  }
  for (HICON icon : icons) DestroyIcon(icon);
}

// Soft edges that the mask keeps are mapped by their straight colours, not
// darkened by the drawing onto black: (3,20) is (24,160,243) at alpha 231,
// nearest to cyan (14); premultiplied, (22,145,220), it would be teal (6).
// Outside the mask nothing is left to invert the background: colour 0.
TEST(IconWriter, AlphaEdgesKeepTheirHue) {
  Icon icon(test::MakeIcon(32, AlphaColour, AlphaMask, AlphaOf));
  TImageList list(nullptr, "LargeImage", 32, 32);
  list.AddIcons(std::vector<HICON>{icon});
  for (const std::vector<uint8_t>& f :
       {IconFileBytes(icon), ImageListIconFiles(list.Handle()).Bytes(0, list.DrawnImage(0))}) {
    ASSERT_EQ(f.size(), 766u);
    EXPECT_EQ(test::IcoIndex(f, 3, 20), 14);
    EXPECT_EQ(test::IcoIndex(f, 3, 10), 12);  // opaque (24, 80, 243): blue
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        ASSERT_EQ(test::IcoTransparent(f, x, y), AlphaMask(x, y)) << x << "," << y;
        if (AlphaMask(x, y)) {
          ASSERT_EQ(test::IcoIndex(f, x, y), 0) << x << "," << y;
        }
      }
  }
}

}  // namespace
}  // namespace kelmar
