#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <filesystem>

#include "app/icon_source.h"
#include "base/file.h"
#include "app_fixture.h"
#include "framework/wide.h"
#include "win/mouse_input.h"

namespace kelmar::test {

namespace {

std::wstring TestIconsDll() { return WinePath(KELMAR_TESTICONS_DLL); }

// The items of the list as (caption, image index).
std::vector<std::pair<std::wstring, int>> Items(TFormKelmar* form) {
  std::vector<std::pair<std::wstring, int>> items;
  for (int i = 0; i < form->ListView1->Count(); ++i)
    items.emplace_back(form->ListView1->ItemCaption(i), form->ListView1->ItemImageIndex(i));
  return items;
}

void ExpectNumberedItems(TFormKelmar* form, int first_position, int count, int first_number, const std::wstring& path) {
  for (int k = 0; k < count; ++k) {
    int n = first_number + k;
    ASSERT_EQ(form->ListView1->ItemCaption(first_position + k), std::to_wstring(n) + L":" + path);
    ASSERT_EQ(form->ListView1->ItemImageIndex(first_position + k), n - 1);
  }
}

}  // namespace

TEST_F(FormTest, DroppedSystemLibrariesGiveEveryIconNumberedInOrder) {
  std::wstring shell32 = SystemFile(L"shell32.dll"), comdlg32 = SystemFile(L"comdlg32.dll");
  DropFiles(form->Handle(), {shell32, comdlg32});
  // Wine's shell32 holds 184 icons and comdlg32 10.
  ASSERT_EQ(form->ListView1->Count(), 194);
  EXPECT_EQ(form->LargeImage->Count(), 194);
  EXPECT_EQ(form->SmallImage->Count(), 194);
  EXPECT_EQ(form->IconCounter, 194);
  ExpectNumberedItems(form, 0, 184, 1, shell32);
  ExpectNumberedItems(form, 184, 10, 185, comdlg32);
}

TEST_F(FormTest, FilesWithoutIconsOfTheirOwnGiveTheShellIcon) {
  std::wstring folder = MakeTempFolder(L"intake-kinds");
  std::wstring text = folder + L"\\readme.txt";
  WriteTextFile(text, "hello");
  std::wstring explorer = SystemFile(L"..\\explorer.exe");
  for (const wchar_t* name : {L"\\x.ico", L"\\x.cpl", L"\\x.scr"})
    CopyFileW(TestIconsDll().c_str(), (folder + name).c_str(), FALSE);

  DropFiles(form->Handle(), {text});
  ASSERT_EQ(Items(form), (std::vector<std::pair<std::wstring, int>>{{L"1:" + text, 0}}));
  // The shell's own icon for text files: the list's copy (mask without
  // partial alpha) matches it wherever the icon is fully opaque or fully clear.
  IconHandle expected = GetShellIcon(text, false);
  auto got = ImageListPixels(form->LargeImage->Handle(), 0, 32), want = IconPixels(expected, 32);
  int differing = 0, painted = 0;
  for (size_t i = 0; i < got.size(); ++i) {
    differing += got[i] != want[i];
    painted += want[i] != 0xFFFFFF;
  }
  EXPECT_GT(painted, 100);
  EXPECT_LT(differing, painted / 5) << differing << " of " << painted;

  DropFiles(form->Handle(), {explorer});
  ASSERT_EQ(form->ListView1->Count(), 1);
  EXPECT_EQ(form->ListView1->ItemCaption(0), L"1:" + explorer);

  // Not executable types, though the files hold two icons each.
  DropFiles(form->Handle(), {folder + L"\\x.ico", folder + L"\\x.cpl", folder + L"\\x.scr"});
  EXPECT_EQ(form->ListView1->Count(), 3);
}

TEST_F(FormTest, ExtensionsAreComparedInUpperCase) {
  std::wstring folder = MakeTempFolder(L"intake-case");
  std::vector<std::wstring> files;
  for (const wchar_t* name : {L"\\a.dll", L"\\b.Dll", L"\\c.DLL", L"\\d.eXe", L"\\e.ocx"}) {
    files.push_back(folder + name);
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), files.back().c_str(), FALSE));
  }
  DropFiles(form->Handle(), files);
  EXPECT_EQ(form->ListView1->Count(), 10);  // two icons each
  EXPECT_EQ(form->ListView1->ItemCaption(9), L"10:" + files[4]);
}

TEST_F(FormTest, BrokenExecutablesGiveOneShellIconEach) {
  // Not a program at all, an empty one, and one cut in the middle.
  std::wstring folder = MakeTempFolder(L"intake-broken");
  WriteTextFile(folder + L"\\text.exe", "this is not a program");
  WriteTextFile(folder + L"\\empty.dll", "");
  std::string half;
  {
    HANDLE f = CreateFileW(TestIconsDll().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    half.resize(GetFileSize(f, nullptr) / 2);
    DWORD read = 0;
    ReadFile(f, half.data(), DWORD(half.size()), &read, nullptr);
    CloseHandle(f);
  }
  WriteTextFile(folder + L"\\half.ocx", half);
  DropFiles(form->Handle(), {folder + L"\\text.exe", folder + L"\\empty.dll", folder + L"\\half.ocx"});
  // One entry each where nothing can be read; the cut library gives what its
  // remaining directory announces, each missing icon replaced by the shell's.
  int half_count = IconCount(folder + L"\\half.ocx");
  ASSERT_GE(half_count, 1);
  int total = 2 + half_count;
  EXPECT_EQ(form->ListView1->Count(), total);
  EXPECT_EQ(form->LargeImage->Count(), total);
  EXPECT_EQ(form->SmallImage->Count(), total);
  EXPECT_EQ(form->ListView1->ItemCaption(total - 1), std::to_wstring(total) + L":" + folder + L"\\half.ocx");
}

// One drop of everything a folder full of executables can hold: empty, cut
// and fake libraries, a folder named like one, a non-ASCII name, a path
// beyond the old length limit and a whole library. The system's extraction
// faults on the cut files; here the drop goes through, every file damaged
// in its headers gives one item with its shell icon, the one cut inside its
// resources every group with an image for each, and the readable ones their
// own icons.
TEST_F(FormTest, ADropOfDamagedAndUnusualLibrariesGivesAnItemWithAnImageForEach) {
  std::wstring folder = MakeTempFolder(L"intake-damaged");
  std::wstring shell32 = SystemFile(L"shell32.dll");
  std::vector<uint8_t> whole = ReadWholeFile(Utf8FromPath(shell32));
  std::wstring empty = folder + L"\\empty.dll", fake = folder + L"\\fake.exe", dir = folder + L"\\folder.dll";
  WriteTextFile(empty, "");
  WriteTextFile(fake, "MZ? no, just a text file named like a program\r\n");
  CreateDirectoryW(dir.c_str(), nullptr);
  std::vector<std::wstring> cuts;
  for (size_t length : {size_t(4096), size_t(65536), whole.size() / 2}) {
    cuts.push_back(folder + L"\\shell32-" + std::to_wstring(length) + L".dll");
    WriteTextFile(cuts.back(), std::string(whole.begin(), whole.begin() + long(length)));
  }
  std::wstring unusual = folder + L"\\图标 Ünïcödé.dll";
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), unusual.c_str(), FALSE));
  std::wstring deep = folder;
  while (deep.size() < 300) {
    deep += L"\\a folder with a rather long name";
    // (A folder left by an earlier run may still be there: too deep to remove.)
    ASSERT_TRUE(CreateDirectoryW(LongPath(deep).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  std::wstring long_dll = deep + L"\\icons.dll";
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), LongPath(long_dll).c_str(), FALSE));
  ASSERT_GT(long_dll.size(), 300u);

  std::vector<std::wstring> drop = {empty, cuts[0], cuts[1], fake, dir, unusual, long_dll, cuts[2], shell32};
  DropFiles(form->Handle(), drop);
  EXPECT_TRUE(exceptions.empty());
  ASSERT_EQ(form->ListView1->Count(), 4 + 2 + 2 + 184 + 184);
  EXPECT_EQ(form->LargeImage->Count(), 376);
  EXPECT_EQ(form->SmallImage->Count(), 376);

  // The damaged four: one item each, the shell's icon for the file, no group.
  std::vector<std::wstring> damaged = {empty, cuts[0], cuts[1], fake};
  for (size_t k = 0; k < damaged.size(); ++k) {
    EXPECT_EQ(form->ListView1->ItemCaption(int(k)), std::to_wstring(k + 1) + L":" + damaged[k]);
    EXPECT_FALSE(form->ItemIconGroup(int(k)));
    EXPECT_EQ(ImageListPixels(form->LargeImage->Handle(), int(k), 32),
              ListedIconPixels(GetShellIcon(damaged[k], false))) << k;
  }
  // The non-ASCII and the long path: the test DLL's two icons, navy second.
  ExpectNumberedItems(form, 4, 2, 5, unusual);
  ExpectNumberedItems(form, 6, 2, 7, long_dll);
  for (int item : {5, 7}) {
    ExpectNavy(form->LargeImage->Handle(), item);
    ASSERT_TRUE(form->ItemIconGroup(item));
    EXPECT_EQ(form->ItemIconGroup(item)->id, 2);
  }
  // The first half of shell32: every group of its directory, each with an
  // image (its own where its data is there, else the shell's); none blank.
  ExpectNumberedItems(form, 8, 184, 9, cuts[2]);
  for (int item = 8; item < 8 + 184; ++item) {
    auto pixels = ImageListPixels(form->LargeImage->Handle(), item, 32);
    EXPECT_LT(std::count(pixels.begin(), pixels.end(), 0xFFFFFFu), 32 * 32) << item;
  }
  ExpectNumberedItems(form, 192, 184, 193, shell32);
  EXPECT_TRUE(form->ItemIconGroup(375));
}

TEST_F(FormTest, ADropTakesOnlyExistingFilesAndReplacesTheList) {
  std::wstring folder = MakeTempFolder(L"intake-drop");
  std::wstring a = folder + L"\\a.txt", b = folder + L"\\b.txt";
  WriteTextFile(a, "a");
  WriteTextFile(b, "b");
  DropFiles(form->Handle(), {SystemFile(L"comdlg32.dll")});
  ASSERT_EQ(form->ListView1->Count(), 10);
  // No existing file among the names: the list stays as it was.
  DropFiles(form->Handle(), {folder, folder + L"\\missing.txt"});
  EXPECT_EQ(form->ListView1->Count(), 10);
  EXPECT_EQ(form->LargeImage->Count(), 10);

  DropFiles(form->Handle(), {folder, a, folder + L"\\missing.txt", b});
  EXPECT_EQ(Items(form), (std::vector<std::pair<std::wstring, int>>{{L"1:" + a, 0}, {L"2:" + b, 1}}));
  EXPECT_EQ(form->LargeImage->Count(), 2);
  EXPECT_EQ(form->SmallImage->Count(), 2);
  EXPECT_TRUE(services.Of("MessageBox").empty());
}

TEST_F(FormTest, LongAndUnusualPathsArriveWhole) {
  // Longer than 255 characters, with Chinese and blanks: no part may be cut.
  std::wstring folder = MakeTempFolder(L"intake-long");
  std::wstring deep = folder;
  while (deep.size() < 300) {
    deep += L"\\文件 folder with a long name";
    CreateDirectoryW(deep.c_str(), nullptr);
  }
  std::wstring file = deep + L"\\说明 readme.txt";
  WriteTextFile(file, "x");
  DropFiles(form->Handle(), {file});
  ASSERT_EQ(form->ListView1->Count(), 1);
  EXPECT_EQ(form->ListView1->ItemCaption(0), L"1:" + file);
  // An image, not a blank: the shell's icon for the path.
  auto got = ImageListPixels(form->LargeImage->Handle(), 0, 32);
  EXPECT_LT(std::count(got.begin(), got.end(), 0xFFFFFFu), 32 * 32 / 2);
  EXPECT_EQ(got, ListedIconPixels(GetShellIcon(file, false)));
}

TEST_F(FormTest, TheOpenDialogIsAskedForSeveralFilesAndCancelChangesNothing) {
  DropFiles(form->Handle(), {SystemFile(L"comdlg32.dll")});
  Click(form->BTNSelFile);
  ASSERT_EQ(services.Of("OpenFiles").size(), 1u);
  EXPECT_EQ(services.Of("OpenFiles")[0].text, L"选择要提取图标的文件");
  EXPECT_TRUE(services.Of("OpenFiles")[0].flags & OFN_ALLOWMULTISELECT);
  EXPECT_TRUE(services.Of("OpenFiles")[0].flags & OFN_FILEMUSTEXIST);
  EXPECT_EQ(form->ListView1->Count(), 10);

  // Paths from the dialog are not tested for existence.
  std::wstring user32 = SystemFile(L"user32.dll"), missing = L"C:\\no\\such\\file.txt";
  services.open_answers.push_back(std::vector<std::wstring>{user32, missing});
  Click(form->BTNSelFile);
  ASSERT_EQ(form->ListView1->Count(), 8);  // user32's 7 icons and one shell icon
  ExpectNumberedItems(form, 0, 7, 1, user32);
  EXPECT_EQ(form->ListView1->ItemCaption(7), L"8:" + missing);
  // The shell has no icon for a missing file: the icon of its type stands in.
  SHFILEINFOW info{};
  ASSERT_TRUE(SHGetFileInfoW(L"any.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                             SHGFI_ICON | SHGFI_USEFILEATTRIBUTES));
  IconHandle by_type(info.hIcon);
  auto got = ImageListPixels(form->LargeImage->Handle(), 7, 32);
  EXPECT_LT(std::count(got.begin(), got.end(), 0xFFFFFFu), 32 * 32 / 2);
  EXPECT_EQ(got, ListedIconPixels(by_type));
}

TEST_F(FormTest, KnownPixelsReachBothImageLists) {
  DropFiles(form->Handle(), {TestIconsDll()});
  ASSERT_EQ(form->ListView1->Count(), 2);
  ExpectQuadrants(form->LargeImage->Handle(), 0);
  const uint32_t white = 0xFFFFFF, red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, yellow = 0xFFFF00;
  // Scaled to 16 x 16: the quadrants keep their colours away from the edges
  // between them, and the transparent corner stays transparent.
  auto small = ImageListPixels(form->SmallImage->Handle(), 0, 16);
  EXPECT_EQ(small[0], white);
  EXPECT_EQ(small[1 * 16 + 1], white);
  EXPECT_EQ(small[2 * 16 + 5], red);
  EXPECT_EQ(small[5 * 16 + 2], red);
  EXPECT_EQ(small[3 * 16 + 12], green);
  EXPECT_EQ(small[12 * 16 + 3], blue);
  EXPECT_EQ(small[12 * 16 + 12], yellow);
  ExpectNavy(form->LargeImage->Handle(), 1);
}

// Reading a file's icons in one call gives exactly what one call per index
// gives: same count, same size, same pixels.
TEST(IconSource, BatchExtractionEqualsExtractionByIndex) {
  for (const wchar_t* name : {L"shell32.dll", L"comdlg32.dll", L"user32.dll"}) {
    std::wstring path = SystemFile(name);
    int count = IconCount(path);
    std::vector<IconHandle> batch = SystemIcons(path, 0, count);
    ASSERT_EQ(int(batch.size()), count);
    for (int i = 0; i < count; ++i) {
      IconHandle single(ExtractIconW(GetModuleHandleW(nullptr), path.c_str(), UINT(i)));
      ASSERT_EQ(bool(single), bool(batch[size_t(i)])) << i;
      if (!single) continue;
      ICONINFO a{}, b{};
      GetIconInfo(single, &a);
      GetIconInfo(batch[size_t(i)], &b);
      BITMAP ba{}, bb{};
      GetObjectW(a.hbmColor ? a.hbmColor : a.hbmMask, sizeof(ba), &ba);
      GetObjectW(b.hbmColor ? b.hbmColor : b.hbmMask, sizeof(bb), &bb);
      for (HBITMAP h : {a.hbmColor, a.hbmMask, b.hbmColor, b.hbmMask})
        if (h) DeleteObject(h);
      ASSERT_EQ(ba.bmWidth, bb.bmWidth) << i;
      ASSERT_EQ(ba.bmHeight, bb.bmHeight) << i;
      ASSERT_EQ(IconPixels(single, ba.bmWidth), IconPixels(batch[size_t(i)], bb.bmWidth)) << name << " " << i;
    }
  }
  EXPECT_EQ(IconCount(SystemFile(L"shell32.dll")), 184);
  EXPECT_EQ(IconCount(SystemFile(L"..\\explorer.exe")), 1);  // none of its own
}

// The lists take many icons in one drawing pass; each image must be what the
// system's one-icon call stores, with a gap (null) kept blank. At the icons'
// own size only: scaling 32 to 16, Wine's one-icon call leaves the mask
// unscaled (transparent pixels turn black), where the drawing pass scales
// both; the small list's scaling is checked on known pixels instead
// (KnownPixelsReachBothImageLists).
TEST(ImageLists, AddingManyAtOnceEqualsAddingOneByOne) {
  std::wstring shell32 = SystemFile(L"shell32.dll");
  std::vector<IconHandle> icons = SystemIcons(shell32, 0, IconCount(shell32));
  std::vector<HICON> raw;
  for (const auto& icon : icons) raw.push_back(icon);
  raw.insert(raw.begin() + 5, nullptr);
  const int size = 32;
  {
    TImageList many(nullptr, "many", size, size), one(nullptr, "one", size, size);
    many.AddIcons(raw);
    ASSERT_EQ(many.Count(), int(raw.size()));
    auto gap = ImageListPixels(many.Handle(), 5, size);
    EXPECT_EQ(std::count(gap.begin(), gap.end(), 0xFFFFFFu), size * size);  // blank: the background shows
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i])
        one.AddIcon(raw[i]);
      else
        one.AddBlank();
      ASSERT_EQ(ImageListPixels(many.Handle(), int(i), size), ImageListPixels(one.Handle(), int(i), size))
          << size << " " << i;
    }
  }
}

TEST(IconSource, UpperExtensionTakesTheLastDotAfterTheLastSeparator) {
  EXPECT_EQ(UpperExtension(L"C:\\a.b\\file.Dll"), L".DLL");
  EXPECT_EQ(UpperExtension(L"C:\\a.b\\file"), L"");
  EXPECT_EQ(UpperExtension(L"C:file.exe"), L".EXE");
  EXPECT_EQ(UpperExtension(L"C:\\软件\\图标.ocx"), L".OCX");
  EXPECT_FALSE(IsExecutableType(L"C:\\x.exe\\readme"));
}

class LimitTest : public FormTest {
 protected:
  // 1000 icons from real libraries, then a text file: the 1001st icon.
  std::wstring FillToTheLimit() {
    std::wstring folder = MakeTempFolder(L"intake-limit");
    std::wstring text = folder + L"\\readme.txt";
    WriteTextFile(text, "limit");
    std::vector<std::wstring> files(5, SystemFile(L"shell32.dll"));
    for (int i = 0; i < 8; ++i) files.push_back(SystemFile(L"comdlg32.dll"));
    files.push_back(text);
    DropFiles(form->Handle(), files);
    return text;
  }
};

size_t FileCount(const std::wstring& folder) {
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file();
  return files;
}

// Cancel at the limit, or OK and then Cancel in the folder chooser: the full
// batch stays as it was and the rest of the drop is not taken in.
TEST_F(LimitTest, CancelAtTheLimitOrInTheChooserKeepsTheBatchAndStopsTheIntake) {
  const std::wstring comdlg32 = SystemFile(L"comdlg32.dll");
  for (int answer : {IDCANCEL, IDOK}) {
    services.message_box_answers.push_back(answer);
    FillToTheLimit();
    ASSERT_EQ(services.Of("MessageBox").size(), 1u);
    auto box = services.Of("MessageBox")[0];
    EXPECT_EQ(box.text, L"由于图标数量太多，请先保存已解出的图标。");
    EXPECT_EQ(box.extra, L"消息框");
    EXPECT_EQ(box.flags, UINT(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(services.Of("ChooseFolder").size(), answer == IDOK ? 1u : 0u);
    ASSERT_EQ(form->ListView1->Count(), 1000);
    EXPECT_EQ(form->LargeImage->Count(), 1000);
    EXPECT_EQ(form->SmallImage->Count(), 1000);
    EXPECT_EQ(form->IconCounter, 1000);
    EXPECT_EQ(form->ListView1->ItemCaption(999), L"1000:" + comdlg32);
    services.calls.clear();
  }
}

// OK at the limit with Save as the last command and nothing selected: the
// whole batch is written, as originals here; the new batch goes on with
// the file's next icons, items and images in step.
TEST_F(LimitTest, OkSavesTheWholeBatchAndTheNewOneContinuesTheFileInStep) {
  std::wstring shell32 = SystemFile(L"shell32.dll");
  std::wstring out = MakeTempFolder(L"limit-out");
  form->CombPicType->SetItemIndex(2);
  ASSERT_FALSE(form->SaveAll);
  services.message_box_answers = {IDOK, IDOK};  // the limit, then the summary
  services.folder_answers.push_back(out);
  DropFiles(form->Handle(), std::vector<std::wstring>(6, shell32));  // 1104 icons
  EXPECT_EQ(FileCount(out), 1000u);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(out) / L"1000_shell32.ico"));
  ASSERT_EQ(services.Of("MessageBox").size(), 2u);
  EXPECT_EQ(services.Of("MessageBox")[1].text.substr(0, 10), L"1000个文件被保存");
  ASSERT_EQ(form->ListView1->Count(), 104);
  EXPECT_EQ(form->LargeImage->Count(), 104);
  EXPECT_EQ(form->SmallImage->Count(), 104);
  ExpectNumberedItems(form, 0, 104, 1, shell32);
  // The 1001st icon is shell32's icon 80 (1000 = 5 x 184 + 80): compared
  // with that icon put into a list of the same kind by the system's own
  // one-icon call.
  for (int k : {0, 1, 63, 64, 103}) {
    IconHandle expected(ExtractIconW(GetModuleHandleW(nullptr), shell32.c_str(), UINT(80 + k)));
    ImageListHandle reference(ImageList_Create(32, 32, ILC_COLORDDB | ILC_MASK, 1, 1));
    ASSERT_EQ(ImageList_ReplaceIcon(reference, -1, expected), 0);
    EXPECT_EQ(ImageListPixels(form->LargeImage->Handle(), k, 32), ImageListPixels(reference, 0, 32)) << k;
  }
}

// A save at the limit that cannot write one file: the others are written,
// the summary names it, and the batch stays (it is not wholly saved).
TEST_F(LimitTest, ASaveThatFailsKeepsTheBatch) {
  std::wstring out = MakeTempFolder(L"limit-fail");
  std::filesystem::create_directory(std::filesystem::path(out) / L"5_shell32.ico");  // cannot be replaced
  services.message_box_answers = {IDOK, IDYES};  // the limit, then replacing
  services.folder_answers.push_back(out);
  FillToTheLimit();
  EXPECT_TRUE(exceptions.empty());
  ASSERT_FALSE(services.Of("MessageBox").empty());
  const std::wstring summary = services.Of("MessageBox").back().text;
  EXPECT_EQ(summary.rfind(L"999个文件被保存\r", 0), 0u) << Narrow(summary);
  EXPECT_NE(summary.find(L"\r1个文件未能保存:\r5_shell32.ico: 拒绝访问"), std::wstring::npos) << Narrow(summary);
  EXPECT_EQ(FileCount(out), 999u);
  EXPECT_EQ(form->ListView1->Count(), 1000);
  EXPECT_EQ(form->LargeImage->Count(), 1000);
  EXPECT_EQ(form->IconCounter, 1000);
}

}  // namespace kelmar::test
