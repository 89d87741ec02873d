// The original-icon output type on the real form: shell32's groups come out
// as the system's own resource loader reads them, an icon file as its own
// bytes, any other file as the shell's icon at every size. The files stay in
// one folder for the independent reader's check (check_originals.sh).
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app_fixture.h"
#include "win/mouse_input.h"
#include "framework/wide.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
uint32_t Le(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
  return v;
}

// One group as the system's loader gives it: its directory entries (14
// bytes each) and the RT_ICON bytes each names.
struct SystemGroup {
  std::vector<std::vector<uint8_t>> entries, images;
};

BOOL CALLBACK CollectGroup(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) {
  auto* groups = reinterpret_cast<std::vector<SystemGroup>*>(param);
  HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(14));
  const auto* dir = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
  SystemGroup g;
  const size_t count = dir[4] | dir[5] << 8;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = dir + 6 + 14 * i;
    g.entries.emplace_back(e, e + 14);
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(e[12] | e[13] << 8), MAKEINTRESOURCEW(3));
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, image)));
    g.images.emplace_back(bytes, bytes + SizeofResource(module, image));
  }
  groups->push_back(std::move(g));
  return TRUE;
}

TEST_F(FormTest, OriginalsAreTheWholeIconsAsTheirSourcesHoldThem) {
  const fs::path out = fs::path(Wide(KELMAR_ORIGINALS_DIR)).make_preferred();
  fs::remove_all(out);
  fs::create_directories(out);
  const std::wstring folder = MakeTempFolder(L"originals-in");
  const std::wstring text = folder + L"\\readme.txt";
  WriteTextFile(text, "x");
  const std::wstring shell32 = SystemFile(L"shell32.dll"), ico = DataPath("testicons/mixed.ico");
  DropFiles(form->Handle(), {shell32, ico, text});
  const int n = form->ListView1->Count();
  ASSERT_GT(n, 100);
  EXPECT_EQ(form->CombPicType->Hint(), L"保存文件类型(图标ico/图片bmp/原图ico)");
  form->CombPicType->SetItemIndex(2);
  services.folder_answers.push_back(out.wstring());
  Click(form->BTNSaveAll);
  ASSERT_TRUE(exceptions.empty()) << exceptions[0];
  ASSERT_FALSE(services.Of("MessageBox").empty());
  EXPECT_NE(services.Of("MessageBox").back().text.find(L"[9999]_[filename].ico"), std::wstring::npos);

  std::vector<SystemGroup> groups;
  HMODULE module = LoadLibraryExW(shell32.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module);
  EnumResourceNamesW(module, MAKEINTRESOURCEW(14), CollectGroup, LONG_PTR(&groups));
  FreeLibrary(module);
  ASSERT_EQ(int(groups.size()), n - 2);
  int png = 0;
  for (int i = 0; i < n - 2; ++i) {
    SCOPED_TRACE(i);
    const std::vector<uint8_t> f = ReadAll(out / (std::to_wstring(i + 1) + L"_shell32.ico"));
    const SystemGroup& g = groups[size_t(i)];
    ASSERT_GE(f.size(), 6u);
    ASSERT_EQ(Le(f, 2, 2), 1u);
    ASSERT_EQ(Le(f, 4, 2), g.entries.size());
    for (size_t k = 0; k < g.entries.size(); ++k) {
      const size_t at = 6 + 16 * k;
      // Width, height, colours, reserved, planes and bit count as stored.
      EXPECT_EQ(std::vector<uint8_t>(f.begin() + long(at), f.begin() + long(at + 8)),
                std::vector<uint8_t>(g.entries[k].begin(), g.entries[k].begin() + 8));
      const size_t size = Le(f, at + 8, 4), offset = Le(f, at + 12, 4);
      ASSERT_LE(offset + size, f.size());
      ASSERT_EQ(std::vector<uint8_t>(f.begin() + long(offset), f.begin() + long(offset + size)), g.images[k]);
      png += g.images[k].size() > 8 && g.images[k][1] == 'P' && g.images[k][2] == 'N' && g.images[k][3] == 'G';
    }
  }
  EXPECT_GT(png, 0) << "no 256 x 256 PNG entries in shell32's groups";

  EXPECT_EQ(ReadAll(out / (std::to_wstring(n - 1) + L"_mixed.ico")), ReadAll(fs::path(ico)));

  const std::vector<uint8_t> shell = ReadAll(out / (std::to_wstring(n) + L"_readme.ico"));
  ASSERT_GE(shell.size(), 6u + 16);
  const size_t count = Le(shell, 4, 2);
  std::vector<int> sizes;
  for (size_t k = 0; k < count; ++k) {
    sizes.push_back(shell[6 + 16 * k] ? shell[6 + 16 * k] : 256);
    EXPECT_EQ(Le(shell, 6 + 16 * k + 6, 2), 32u);
  }
  // The system's image lists: 16, 32 and 48 at least, largest first.
  EXPECT_GE(count, 3u);
  EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend())) << sizes.size();
  EXPECT_EQ(sizes.back(), 16);
}

}  // namespace
}  // namespace kelmar::test
