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
#include "base/little_endian.h"
#include "framework/wide.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
  const size_t count = Le16(dir + 4);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = dir + 6 + 14 * i;
    g.entries.emplace_back(e, e + 14);
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(Le16(e + 12)), MAKEINTRESOURCEW(3));
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, image)));
    g.images.emplace_back(bytes, bytes + SizeofResource(module, image));
  }
  groups->push_back(std::move(g));
  return TRUE;
}

// Every group of a library as the system's loader reads it.
std::vector<SystemGroup> SystemGroups(const std::wstring& library) {
  std::vector<SystemGroup> groups;
  HMODULE module = LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  EXPECT_TRUE(module);
  if (!module) return groups;
  EnumResourceNamesW(module, MAKEINTRESOURCEW(14), CollectGroup, LONG_PTR(&groups));
  FreeLibrary(module);
  return groups;
}

// An icon file holds the group's entries as stored and each one's image
// bytes; the number of PNG images among them.
int ExpectGroupFile(const std::vector<uint8_t>& f, const SystemGroup& g) {
  int png = 0;
  EXPECT_GE(f.size(), 6u);
  if (f.size() < 6) return png;
  EXPECT_EQ(Le16(f, 2), 1u);
  EXPECT_EQ(Le16(f, 4), g.entries.size());
  for (size_t k = 0; k < g.entries.size() && 6 + 16 * (k + 1) <= f.size(); ++k) {
    const size_t at = 6 + 16 * k;
    // Width, height, colours, reserved, planes and bit count as stored.
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + long(at), f.begin() + long(at + 8)),
              std::vector<uint8_t>(g.entries[k].begin(), g.entries[k].begin() + 8));
    const size_t size = Le32(f, at + 8), offset = Le32(f, at + 12);
    EXPECT_LE(offset + size, f.size());
    if (offset + size > f.size()) continue;
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + long(offset), f.begin() + long(offset + size)), g.images[k]);
    png += g.images[k].size() > 8 && g.images[k][1] == 'P' && g.images[k][2] == 'N' && g.images[k][3] == 'G';
  }
  return png;
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
  EXPECT_EQ(form->CombPicType->Hint(), L"保存文件类型(图标ico/图片bmp/原图ico/PNG图片png)");
  form->CombPicType->SetItemIndex(2);
  services.folder_answers.push_back(out.wstring());
  Click(form->BTNSaveAll);
  ASSERT_TRUE(exceptions.empty()) << exceptions[0];
  ASSERT_FALSE(services.Of("MessageBox").empty());
  EXPECT_NE(services.Of("MessageBox").back().text.find(L"[9999]_[filename].ico"), std::wstring::npos);

  const std::vector<SystemGroup> groups = SystemGroups(shell32);
  ASSERT_EQ(int(groups.size()), n - 2);
  int png = 0;
  for (int i = 0; i < n - 2; ++i) {
    SCOPED_TRACE(i);
    png += ExpectGroupFile(ReadAll(out / (std::to_wstring(i + 1) + L"_shell32.ico")), groups[size_t(i)]);
  }
  EXPECT_GT(png, 0) << "no 256 x 256 PNG entries in shell32's groups";

  EXPECT_EQ(ReadAll(out / (std::to_wstring(n - 1) + L"_mixed.ico")), ReadAll(fs::path(ico)));

  const std::vector<uint8_t> shell = ReadAll(out / (std::to_wstring(n) + L"_readme.ico"));
  ASSERT_GE(shell.size(), 6u + 16);
  const size_t count = Le16(shell, 4);
  std::vector<int> sizes;
  for (size_t k = 0; k < count; ++k) {
    sizes.push_back(shell[6 + 16 * k] ? shell[6 + 16 * k] : 256);
    EXPECT_EQ(Le16(shell, 6 + 16 * k + 6), 32u);
  }
  // The system's image lists: 16, 32 and 48 at least, largest first.
  EXPECT_GE(count, 3u);
  EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend())) << sizes.size();
  EXPECT_EQ(sizes.back(), 16);
}

// The originals are read again from their files when saved. A file that is
// no longer what it was at the drop (replaced, its time changed, gone) gives
// no file at all, and the summary says how many entries were left out.
TEST_F(FormTest, OriginalsOfChangedFilesAreNotWritten) {
  const std::wstring folder = MakeTempFolder(L"originals-changed"), out = MakeTempFolder(L"originals-changed-out");
  const std::wstring icons = WinePath(KELMAR_TESTICONS_DLL), kept = folder + L"\\kept.dll",
                     replaced = folder + L"\\replaced.dll", touched = folder + L"\\touched.dll",
                     gone = folder + L"\\gone.ico";
  for (const std::wstring& copy : {kept, replaced, touched}) ASSERT_TRUE(CopyFileW(icons.c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(DataPath("testicons/mixed.ico").c_str(), gone.c_str(), FALSE));
  DropFiles(form->Handle(), {kept, replaced, touched, gone});
  ASSERT_EQ(form->ListView1->Count(), 7);

  ASSERT_TRUE(CopyFileW(WinePath(KELMAR_STUB_DLL).c_str(), replaced.c_str(), FALSE));
  ASSERT_TRUE(DeleteFileW(gone.c_str()));
  {
    HANDLE file = CreateFileW(touched.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME written{};
    GetFileTime(file, nullptr, nullptr, &written);
    written.dwHighDateTime += 1;  // about seven minutes later, the same bytes
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
  }
  form->CombPicType->SetItemIndex(2);
  services.folder_answers.push_back(out);
  Click(form->BTNSaveAll);
  ASSERT_TRUE(exceptions.empty()) << exceptions[0];
  ASSERT_FALSE(services.Of("MessageBox").empty());
  const std::wstring summary = services.Of("MessageBox").back().text;
  EXPECT_EQ(summary.rfind(L"2个文件被保存\r", 0), 0u) << Narrow(summary);
  EXPECT_NE(summary.find(L"\r5 个图标未保存"), std::wstring::npos) << Narrow(summary);

  std::vector<std::wstring> written;
  for (const auto& entry : fs::directory_iterator(fs::path(out))) written.push_back(entry.path().filename().wstring());
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::wstring>{L"1_kept.ico", L"2_kept.ico"}));
  const std::vector<SystemGroup> groups = SystemGroups(icons);
  ASSERT_EQ(groups.size(), 2u);
  for (size_t i = 0; i < 2; ++i) ExpectGroupFile(ReadAll(fs::path(out) / written[i]), groups[i]);
}

// Originals of icon files that are not wholly icons: an empty file and a
// text under the extension are written as the shell's icon for them (what
// the list shows), a cut file as the images that are whole in it, and all
// are counted as written.
TEST_F(FormTest, OriginalsOfDamagedIconFilesAreWhatTheListShows) {
  const std::wstring folder = MakeTempFolder(L"originals-damaged"), out = MakeTempFolder(L"originals-damaged-out");
  const std::wstring empty = folder + L"\\empty.ico", text = folder + L"\\text.ico", cut = folder + L"\\cut.ico";
  WriteTextFile(empty, "");
  WriteTextFile(text, "not an icon at all");
  // mixed.ico's five images, the last (48 x 48, at 8438) cut in its middle.
  const std::vector<uint8_t> mixed = ReadAll(fs::path(DataPath("testicons/mixed.ico")));
  ASSERT_EQ(mixed.size(), 18078u);
  WriteTextFile(cut, std::string(mixed.begin(), mixed.begin() + 8438 + 100));
  DropFiles(form->Handle(), {empty, text, cut});
  ASSERT_EQ(form->ListView1->Count(), 3);
  form->CombPicType->SetItemIndex(2);
  services.folder_answers.push_back(out);
  Click(form->BTNSaveAll);
  ASSERT_TRUE(exceptions.empty()) << exceptions[0];
  ASSERT_FALSE(services.Of("MessageBox").empty());
  EXPECT_EQ(services.Of("MessageBox").back().text.rfind(L"3个文件被保存\r", 0), 0u);

  for (const wchar_t* name : {L"1_empty.ico", L"2_text.ico"}) {
    SCOPED_TRACE(Narrow(name));
    const std::vector<uint8_t> shell = ReadAll(fs::path(out) / name);
    ASSERT_GE(shell.size(), 6u + 3 * 16);
    EXPECT_EQ(Le16(shell, 2), 1u);
    EXPECT_GE(Le16(shell, 4), 3u);  // 16, 32 and 48 at least
    for (size_t k = 0; k < Le16(shell, 4); ++k) EXPECT_EQ(Le16(shell, 6 + 16 * k + 6), 32u);
  }
  // The four whole images in their order, each with its directory values
  // and its bytes, laid out one after the other behind the directory.
  std::vector<uint8_t> expected = {0, 0, 1, 0, 4, 0};
  std::vector<uint8_t> images;
  for (size_t k = 0; k < 4; ++k) {
    const uint8_t* e = &mixed[6 + 16 * k];
    const size_t size = Le32(mixed, 6 + 16 * k + 8), offset = Le32(mixed, 6 + 16 * k + 12);
    const size_t at = 6 + 4 * 16 + images.size();
    expected.insert(expected.end(), e, e + 8);
    for (size_t v : {size, at})
      for (int b = 0; b < 4; ++b) expected.push_back(uint8_t(v >> (8 * b)));
    images.insert(images.end(), mixed.begin() + std::ptrdiff_t(offset), mixed.begin() + std::ptrdiff_t(offset + size));
  }
  expected.insert(expected.end(), images.begin(), images.end());
  EXPECT_EQ(ReadAll(fs::path(out) / L"3_cut.ico"), expected);
}

}  // namespace
}  // namespace kelmar::test
