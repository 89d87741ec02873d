// Each icon group's own artwork in the two views and in the saved files:
// the 16 x 16 list against the system's own small-icon extraction, the
// 16-colour files against the groups' 4-bit images as the system's resource
// functions hand them out, and the bitmaps of the 16 x 16 view against the
// system's small icons drawn on white.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app_fixture.h"
#include "win/mouse_input.h"
#include "base/little_endian.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

// One RT_GROUP_ICON of a library as the system's resource functions see it:
// whether it holds a 16 x 16 image, the bytes of its first 4-bit image of
// each list size, and the system's icons of it at both sizes.
struct SystemGroup {
  bool has16 = false;
  std::vector<uint8_t> four_bit[2];  // 16 x 16, 32 x 32
  IconHandle small, large;
};

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR groups) {
  reinterpret_cast<std::vector<std::wstring>*>(groups)->push_back(
      IS_INTRESOURCE(name) ? L"#" + std::to_wstring(UINT_PTR(name)) : std::wstring(name));
  return TRUE;
}

std::vector<uint8_t> Resource(HMODULE module, LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(module, name, type);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  return bytes ? std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found)) : std::vector<uint8_t>();
}

// The system's icon k of a file at size x size (PrivateExtractIconsW: the
// best-matching image, scaled where it is of another size). Wine's
// ExtractIconEx scales its large image down for the small one, which
// Windows does not.
IconHandle SystemIcon(const std::wstring& path, int k, int size) {
  HICON icon = nullptr;
  UINT id = 0;
  PrivateExtractIconsW(path.c_str(), k, size, size, &icon, &id, 1, 0);
  return IconHandle(icon);
}

std::vector<SystemGroup> SystemGroups(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  std::vector<std::wstring> names;
  EnumResourceNamesW(module, RT_GROUP_ICON, AddName, reinterpret_cast<LONG_PTR>(&names));
  std::vector<SystemGroup> groups;
  for (const std::wstring& name : names) {
    std::vector<uint8_t> dir = Resource(module, name.c_str(), RT_GROUP_ICON);
    SystemGroup group;
    for (size_t i = 0, n = Le16(dir, 4); i < n; ++i) {
      const uint8_t* e = dir.data() + 6 + 14 * i;
      group.has16 = group.has16 || (e[0] == 16 && e[1] == 16);
      const int slot = e[0] == 16 && e[1] == 16 ? 0 : e[0] == 32 && e[1] == 32 ? 1 : -1;
      if (slot < 0 || Le16(e + 6) != 4 || !group.four_bit[slot].empty()) continue;
      group.four_bit[slot] = Resource(module, MAKEINTRESOURCEW(Le16(e + 12)), RT_ICON);
    }
    group.small = SystemIcon(path, int(groups.size()), 16);
    group.large = SystemIcon(path, int(groups.size()), 32);
    groups.push_back(std::move(group));
  }
  FreeLibrary(module);
  return groups;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SmallIconsTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    const std::vector<std::wstring> files = {SystemFile(L"user32.dll"), SystemFile(L"comdlg32.dll"),
                                             SystemFile(L"shell32.dll")};
    DropFiles(form->Handle(), files);
    for (const auto& f : files)
      for (SystemGroup& g : SystemGroups(f)) groups.push_back(std::move(g));
    ASSERT_EQ(form->ListView1->Count(), 17 + 184);
    ASSERT_EQ(groups.size(), 17u + 184);
  }
  // Save all of the output type into a fresh folder; the file of item i.
  std::wstring SaveAllAs(int type, const std::wstring& name) {
    form->CombPicType->SetItemIndex(type);
    const std::wstring out = MakeTempFolder(name);
    services.folder_answers.push_back(out);
    Click(form->BTNSaveAll);
    return out;
  }
  std::wstring FileOf(const std::wstring& folder, int i, const wchar_t* extension) const {
    return folder + L"\\" + MakeSaveName(form->ListView1->ItemCaption(i), i + 1) + extension;
  }

  std::vector<SystemGroup> groups;  // in list order
};

}  // namespace

TEST_F(SmallIconsTest, TheSmallListShowsEachGroupsOwnSmallIcon) {
  int own = 0;
  for (size_t i = 0; i < groups.size(); ++i) {
    const SystemGroup& g = groups[i];
    ASSERT_TRUE(g.large && g.small) << i;
    // Groups without a 16 x 16 image show their large icon, scaled.
    TImageList small(nullptr, "small", 16, 16), large(nullptr, "large", 32, 32);
    small.AddIcons(std::vector<HICON>{g.has16 ? g.small.Get() : g.large.Get()});
    large.AddIcons(std::vector<HICON>{g.large});
    ASSERT_EQ(ImageListPixels(form->SmallImage->Handle(), int(i), 16), ImageListPixels(small.Handle(), 0, 16)) << i;
    ASSERT_EQ(ImageListPixels(form->LargeImage->Handle(), int(i), 32), ImageListPixels(large.Handle(), 0, 32)) << i;
    own += i < 17 && g.has16;  // user32's and comdlg32's
  }
  EXPECT_EQ(own, 13);
}

// A group's own 4-bit image of the saved size: its mask, and each pixel its
// own colour, from its own palette (mostly standard ones or a step from
// them, 127 for 128, in an order of their own; comdlg32's network picture
// has blues of its own).
TEST_F(SmallIconsTest, SixteenColourFilesCarryTheGroupsOwnImage) {
  int compared = 0;
  for (int slot : {0, 1}) {
    const int size = slot ? 32 : 16;
    Click(slot ? form->RB32 : form->RB16);
    const std::wstring out = SaveAllAs(0, L"own" + std::to_wstring(size));
    for (int i = 0; i < int(groups.size()); ++i) {
      const std::vector<uint8_t>& own = groups[size_t(i)].four_bit[slot];
      if (own.empty()) continue;
      const std::vector<uint8_t> file = ReadBytes(FileOf(out, i, L".ico"));
      ASSERT_EQ(file.size(), size == 32 ? 766u : 318u);
      // Both: a 40-byte header and 16 colours, then the colour and mask rows.
      ASSERT_EQ(own.size(), file.size() - 22) << i;
      const size_t colours = size_t(size) * size_t(size) / 2;
      for (size_t at = 0; at < colours; ++at)
        for (int half : {4, 0}) {
          const uint8_t* theirs = own.data() + 40 + 4 * (own[104 + at] >> half & 15);
          const uint8_t* ours = file.data() + 62 + 4 * (file[126 + at] >> half & 15);
          ASSERT_EQ((std::array<int, 3>{theirs[0], theirs[1], theirs[2]}), (std::array<int, 3>{ours[0], ours[1], ours[2]}))
              << i << " at " << size << ": " << at;
        }
      EXPECT_TRUE(std::equal(own.begin() + 104 + long(colours), own.end(), file.begin() + 126 + long(colours)))
          << "mask of " << i << " at " << size;
      compared += i < 17;  // user32's and comdlg32's
    }
  }
  EXPECT_EQ(compared, 12 + 14);
}

// Bitmaps of the 16 x 16 view: the system's small icon of the group, drawn
// on white.
TEST_F(SmallIconsTest, SmallBitmapsAreTheGroupsOwnSmallPictures) {
  Click(form->RB16);
  const std::wstring out = SaveAllAs(1, L"own-bmp16");
  for (size_t i = 0; i < groups.size(); ++i) {
    if (!groups[i].has16) continue;
    const std::vector<uint32_t> want = IconPixels(groups[i].small, 16);
    const std::vector<uint8_t> bmp = ReadBytes(FileOf(out, int(i), L".bmp"));
    ASSERT_EQ(bmp.size(), 1078u);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint8_t* p = bmp.data() + 54 + (15 - y) * 64 + x * 4;
        for (int c = 0; c < 3; ++c)
          ASSERT_LE(std::abs(int(p[c]) - int(want[size_t(y * 16 + x)] >> (8 * c) & 0xFF)), 1) << i << ": " << x << "," << y;
      }
  }
}

}  // namespace kelmar::test
