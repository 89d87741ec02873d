// Where icons come from beyond a PE file's own resources: a system library's
// icons moved to SystemResources\<name>.mun, 16-bit (NE) executables, the
// own picture of an icon, cursor or control panel file, and damaged files
// read group by group. Counts are checked against Wine's own extraction,
// pixels against the test icons' known quadrants and navy.
#include <windows.h>
#include <shellapi.h>

#include "app/icon_source.h"
#include "app_fixture.h"
#include "base/file.h"
#include "native/imageio/ne_file.h"

namespace kelmar::test {
namespace {

std::wstring TestIconsDll() { return WinePath(KELMAR_TESTICONS_DLL); }

void ExpectShellIcon(const TImageList& list, int index, const std::wstring& path) {
  EXPECT_EQ(ImageListPixels(list.Handle(), index, 32), ListedIconPixels(GetShellIcon(path, false))) << "item " << index;
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> TestIcon(const char* name) {
  return ReadWholeFile(Utf8FromPath(DataPath(std::string("testicons/") + name)));
}

}  // namespace

// A library that keeps no icons shows those of its .mun file; a .mun file
// dropped itself is an executable; without a .mun the shell icon stays.
TEST_F(FormTest, ALibraryWhoseIconsMovedShowsItsMunFilesIcons) {
  wchar_t windows[MAX_PATH];
  GetSystemWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring resources = std::wstring(windows) + L"\\SystemResources";
  CreateDirectoryW(resources.c_str(), nullptr);
  const std::wstring folder = MakeTempFolder(L"intake-mun");
  const std::wstring stub = folder + L"\\kelmarstub.dll", mun = resources + L"\\kelmarstub.dll.mun";
  const std::wstring lonely = folder + L"\\kelmarlonely.dll";
  ASSERT_TRUE(CopyFileW(WinePath(KELMAR_STUB_DLL).c_str(), stub.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(WinePath(KELMAR_STUB_DLL).c_str(), lonely.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), mun.c_str(), FALSE));
  // The system's own extraction: the stub holds none, the .mun two.
  ASSERT_EQ(UINT_PTR(ExtractIconW(GetModuleHandleW(nullptr), stub.c_str(), UINT(-1))), 0u);
  ASSERT_EQ(UINT_PTR(ExtractIconW(GetModuleHandleW(nullptr), mun.c_str(), UINT(-1))), 2u);

  DropFiles(form->Handle(), {stub, mun, lonely});
  DeleteFileW(mun.c_str());
  ASSERT_EQ(form->ListView1->Count(), 5);
  for (int item : {0, 2}) {
    ExpectQuadrants(form->LargeImage->Handle(), item);
    ExpectNavy(form->LargeImage->Handle(), item + 1);
    ASSERT_TRUE(form->ItemIconGroup(item + 1));
    EXPECT_EQ(form->ItemIconGroup(item + 1)->id, 2);  // the original is the .mun's group
  }
  EXPECT_EQ(form->ListView1->ItemCaption(1), L"2:" + stub);
  EXPECT_EQ(form->ListView1->ItemCaption(2), L"3:" + mun);
  EXPECT_FALSE(form->ItemIconGroup(4));
  ExpectShellIcon(*form->LargeImage, 4, lonely);
}

// A 16-bit library's groups in its table's order, as many as the system's
// extraction counts, with their own pixels.
TEST_F(FormTest, SixteenBitLibrariesGiveTheirIcons) {
  const std::wstring folder = MakeTempFolder(L"intake-ne");
  std::vector<test::NeResourceSpec> all;
  for (auto part : {IconFileAsResources(TestIcon("navy.ico"), "NAVY", 0, 1),
                    IconFileAsResources(TestIcon("quadrants.ico"), "", 9, 5)})
    all.insert(all.end(), part.begin(), part.end());
  const std::wstring ne = folder + L"\\moricons.dll";
  WriteBytes(ne, WriteNe(all, 4));
  EXPECT_EQ(UINT_PTR(ExtractIconW(GetModuleHandleW(nullptr), ne.c_str(), UINT(-1))), 2u);
  DropFiles(form->Handle(), {ne});
  ASSERT_EQ(form->ListView1->Count(), 2);
  ExpectNavy(form->LargeImage->Handle(), 0);
  ExpectQuadrants(form->LargeImage->Handle(), 1);
  ASSERT_TRUE(form->ItemIconGroup(0));
  EXPECT_EQ(form->ItemIconGroup(0)->name, u"NAVY");
  // An icon library (.icl) is such a file holding only icons: listed alike.
  const std::wstring icl = folder + L"\\icons.icl";
  WriteBytes(icl, WriteNe(all, 4));
  DropFiles(form->Handle(), {icl});
  ASSERT_EQ(form->ListView1->Count(), 2);
  ExpectQuadrants(form->LargeImage->Handle(), 1);
  EXPECT_EQ(form->ListView1->ItemCaption(1), L"2:" + icl);
}

// Files of one item: an icon or cursor file shows its own picture, a
// program by its content its first icon; the original saved is still the
// file's (no group). Damaged ones, and other files, show the shell's icon.
TEST_F(FormTest, OneItemFilesShowTheirOwnPicture) {
  const std::wstring folder = MakeTempFolder(L"intake-own");
  const std::wstring ico = folder + L"\\q.ico", cur = folder + L"\\q.cur", cpl = folder + L"\\q.cpl",
                     scr = folder + L"\\q.scr", bad = folder + L"\\bad.ico", cut = folder + L"\\cut.ico",
                     text = folder + L"\\readme.txt";
  std::vector<uint8_t> quadrants = TestIcon("quadrants.ico");
  WriteBytes(ico, quadrants);
  std::vector<uint8_t> cursor = quadrants;
  cursor[2] = 2;  // a cursor: hot spot 5, 5 where an icon has planes and bits
  cursor[6 + 4] = cursor[6 + 6] = 5;
  WriteBytes(cur, cursor);
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), cpl.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), scr.c_str(), FALSE));
  std::vector<uint8_t> damaged = quadrants;
  damaged[2] = 7;
  WriteBytes(bad, damaged);
  WriteBytes(cut, std::vector<uint8_t>(quadrants.begin(), quadrants.end() - 1));
  WriteTextFile(text, "hello");

  DropFiles(form->Handle(), {ico, cur, cpl, scr, bad, cut, text});
  EXPECT_TRUE(exceptions.empty());
  ASSERT_EQ(form->ListView1->Count(), 7);
  for (int item = 0; item < 4; ++item) ExpectQuadrants(form->LargeImage->Handle(), item);
  for (int item = 4; item < 7; ++item) ExpectShellIcon(*form->LargeImage, item, form->ListView1->ItemCaption(item).substr(2));
  for (int item = 0; item < 7; ++item) EXPECT_FALSE(form->ItemIconGroup(item)) << item;
}

// A library cut inside its last section keeps every icon whose bytes are
// there: Wine's shell32 cut by one byte gives all 184, as the system's
// extraction counts them, each with an image and a group.
TEST_F(FormTest, ALibraryCutShortKeepsTheIconsItHolds) {
  const std::wstring folder = MakeTempFolder(L"intake-cut");
  std::vector<uint8_t> whole = ReadWholeFile(Utf8FromPath(SystemFile(L"shell32.dll")));
  const std::wstring cut = folder + L"\\shell32.dll";
  WriteBytes(cut, std::vector<uint8_t>(whole.begin(), whole.end() - 1));
  DropFiles(form->Handle(), {cut});
  ASSERT_EQ(form->ListView1->Count(), 184);
  int groups = 0;
  for (int i = 0; i < 184; ++i) groups += form->ItemIconGroup(i) != nullptr;
  EXPECT_GE(groups, 183);
}

}  // namespace kelmar::test
