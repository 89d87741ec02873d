// The icons the intake reads from a file's resources against the system's own
// extraction of the same file: the same count, the same order, and in both
// image lists byte for byte the same images, colours and masks; over every
// icon of Wine's libraries that hold icons and of the test DLLs (4, 8 and 32
// bits, PNG, a size the system scales).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <random>

#include "app/icon_source.h"
#include "framework/dib_header.h"
#include "imageio/icon_best_match.h"
#include "app_fixture.h"

namespace kelmar::test {
namespace {

// The bytes of image `index` of a list: its colour cell (32 bits per pixel)
// and its mask cell.
std::pair<std::vector<uint32_t>, std::vector<uint32_t>> CellBytes(const TImageList& list, int index) {
  IMAGEINFO info{};
  ImageList_GetImageInfo(list.Handle(), index, &info);
  const int w = info.rcImage.right - info.rcImage.left, h = info.rcImage.bottom - info.rcImage.top;
  auto read = [&](HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAP bm{};
    GetObjectW(bitmap, sizeof(bm), &bm);
    BITMAPINFO bi = TopDownDibInfo(bm.bmWidth, bm.bmHeight);
    std::vector<uint32_t> all(size_t(bm.bmWidth) * size_t(bm.bmHeight));
    GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), all.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(dc);
    std::vector<uint32_t> cell;
    for (int y = info.rcImage.top; y < info.rcImage.top + h; ++y)
      for (int x = info.rcImage.left; x < info.rcImage.left + w; ++x) cell.push_back(all[size_t(y) * bm.bmWidth + x]);
    return cell;
  };
  return {read(info.hbmImage), read(info.hbmMask)};
}

std::vector<std::wstring> FilesWithIcons() {
  return {SystemFile(L"shell32.dll"), SystemFile(L"comdlg32.dll"), SystemFile(L"user32.dll"),
          SystemFile(L"comctl32.dll"), WinePath(KELMAR_TESTKINDS_DLL), WinePath(KELMAR_TESTICONS_DLL)};
}

}  // namespace

TEST(IconReader, CountsAndImagesEqualTheSystemsExtraction) {
  int compared = 0, decoded_here = 0;
  for (const std::wstring& path : FilesWithIcons()) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    const int system_count = int(reinterpret_cast<UINT_PTR>(ExtractIconW(GetModuleHandleW(nullptr), path.c_str(), UINT(-1))));
    FileIcons icons = FileIcons::Read(path);
    ASSERT_EQ(icons.Count(), system_count);
    std::vector<IconHandle> system = SystemIcons(path, 0, system_count);
    for (int i = 0; i < system_count; ++i) {
      ASSERT_TRUE(icons.Group(i)) << i;
      ExtractedIcon ours = ExtractGroupIcon(*icons.Group(i));
      ASSERT_EQ(bool(ours), bool(system[size_t(i)])) << i;
      if (!ours) continue;
      decoded_here += bool(ours.pixels);
      for (int size : {32, 16}) {
        TImageList theirs_list(nullptr, "theirs", size, size), ours_list(nullptr, "ours", size, size);
        theirs_list.AddIcons(std::vector<TIconImage>{{system[size_t(i)], nullptr}});
        ours_list.AddIcons(std::vector<TIconImage>{{ours.handle, ours.pixels ? &*ours.pixels : nullptr}});
        ASSERT_EQ(CellBytes(ours_list, 0), CellBytes(theirs_list, 0)) << "icon " << i << " at " << size;
      }
      ++compared;
    }
  }
  EXPECT_EQ(compared, 184 + 10 + 7 + 4 + 6 + 2);
  // Most icons are DIBs of the large size, read without the system.
  EXPECT_GT(decoded_here, compared * 9 / 10);
}

// The system's own pixels of the known test icons: colours, alpha and mask
// as the system's icon holds them, at its large size.
TEST(IconReader, DecodedPixelsAreTheSystemIconsPixels) {
  std::wstring kinds = WinePath(KELMAR_TESTKINDS_DLL);
  FileIcons icons = FileIcons::Read(kinds);
  std::vector<IconHandle> system = SystemIcons(kinds, 0, icons.Count());
  for (int i = 0; i < icons.Count(); ++i) {
    ExtractedIcon ours = ExtractGroupIcon(*icons.Group(i));
    if (!ours.pixels) continue;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(system[size_t(i)], &info));
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = TopDownDibInfo(32, 32);
    std::vector<uint32_t> color(32 * 32), mask(32 * 32);
    GetDIBits(dc, info.hbmColor, 0, 32, color.data(), &bi, DIB_RGB_COLORS);
    GetDIBits(dc, info.hbmMask, 0, 32, mask.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    const DecodedIcon& d = *ours.pixels;
    for (int p = 0; p < 32 * 32; ++p) {
      Pixel mine = d.image.Data()[p];
      ASSERT_EQ(mine & 0xFFFFFFu, color[size_t(p)] & 0xFFFFFFu) << i << " pixel " << p;
      if (d.hasAlpha) {
        ASSERT_EQ(PixelA(mine), color[size_t(p)] >> 24) << i << " pixel " << p;
      }
      ASSERT_EQ(d.mask[size_t(p)], (mask[size_t(p)] & 0xFFFFFFu) != 0) << i << " pixel " << p;
    }
  }
}

// The best-match rule against the system's own choice where Wine's matcher
// and Windows' agree (the wanted size present, a 32-bit display): every group
// of the real files, and many made-up directories.
TEST(IconReader, BestEntryIsTheSystemsChoice) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  auto directory = [](const IconGroup& group) {
    std::vector<BYTE> d(6 + 14 * group.entries.size(), 0);
    d[2] = 1;
    d[4] = BYTE(group.entries.size());
    d[5] = BYTE(group.entries.size() >> 8);
    for (size_t i = 0; i < group.entries.size(); ++i) {
      const IconEntry& e = group.entries[i];
      BYTE* p = d.data() + 6 + 14 * i;
      p[0] = e.width;
      p[1] = e.height;
      p[2] = e.colorCount;
      p[4] = BYTE(e.planes);
      p[6] = BYTE(e.bitCount);
      p[7] = BYTE(e.bitCount >> 8);
      p[8] = 0x10;
      p[12] = BYTE(i + 1);  // the entry's position as its ID
    }
    return d;
  };
  auto check = [&](const IconGroup& group, int cx, int cy) {
    std::vector<BYTE> d = directory(group);
    int theirs = LookupIconIdFromDirectoryEx(d.data(), TRUE, cx, cy, LR_DEFAULTCOLOR);
    std::string entries;
    for (const IconEntry& e : group.entries) {
      // Appended piece by piece: `" " + std::string` trips a false -Wrestrict in GCC 12 at -O3.
      entries += ' ';
      entries += std::to_string(e.width) + "x" + std::to_string(e.height) + "/" + std::to_string(e.bitCount);
    }
    ASSERT_EQ(BestIconEntry(group, cx, cy, bits) + 1, theirs) << cx << "x" << cy << ":" << entries;
  };
  auto holds = [](const IconGroup& group, int cx, int cy) {
    return std::any_of(group.entries.begin(), group.entries.end(), [&](const IconEntry& e) {
      const IconCandidate c = IconCandidate::Stored(e.width, e.height, e.bitCount);
      return c.width == cx && c.height == cy;
    });
  };
  ASSERT_EQ(bits, 32);
  for (const std::wstring& path : FilesWithIcons()) {
    FileIcons icons = FileIcons::Read(path);
    for (int i = 0; i < icons.Count(); ++i)
      for (int size : {16, 24, 32, 48, 256})
        if (holds(*icons.Group(i), size, size)) check(*icons.Group(i), size, size);
  }
  std::mt19937 random(19);
  const uint8_t sizes[] = {0, 1, 16, 20, 24, 31, 32, 33, 40, 48, 64, 96, 128, 200, 255};
  const uint16_t depths[] = {0, 1, 2, 4, 8, 15, 16, 24, 32};
  for (int round = 0; round < 3000; ++round) {
    IconGroup group;
    const int n = 1 + int(random() % 6);
    for (int k = 0; k < n; ++k) {
      IconEntry e;
      e.width = sizes[random() % std::size(sizes)];
      e.height = random() % 3 ? e.width : sizes[random() % std::size(sizes)];
      e.bitCount = depths[random() % std::size(depths)];
      e.colorCount = uint8_t(random() % 3 ? 0 : 16);
      e.planes = 1;
      group.entries.push_back(e);
    }
    // Requested sizes are never 0 here (0 asks for the system's default).
    const int cx = sizes[1 + random() % (std::size(sizes) - 1)];
    const int cy = random() % 2 ? cx : sizes[1 + random() % (std::size(sizes) - 1)];
    if (holds(group, cx, cy)) check(group, cx, cy);
  }
}

}  // namespace kelmar::test
