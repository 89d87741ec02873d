#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app_fixture.h"
#include "framework/wide.h"
#include "win/mouse_input.h"

namespace kelmar::test {

namespace {

namespace fs = std::filesystem;

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// 32 x 32 icon file: 766 bytes, width, height, 4 = planes x bits.
void ExpectIconFile(const std::wstring& path, int size) {
  auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), size == 32 ? 766u : 318u) << fs::path(path).filename();
  EXPECT_EQ(bytes[6], size);
  EXPECT_EQ(bytes[7], size);
  EXPECT_EQ(bytes[8], 4);
}

// Bitmap file on a 32-bit display: 54-byte headers, then the pixels.
void ExpectBitmapFile(const std::wstring& path, int size) {
  auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), size == 32 ? 4150u : 1078u) << fs::path(path).filename();
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[18], size);
  EXPECT_EQ(bytes[28], 32);
}

class SaveTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    folder = MakeTempFolder(L"save");
    text = folder + L"\\readme.txt";
    WriteTextFile(text, "x");
    out = MakeTempFolder(L"save-out");
    // comdlg32's 10 icons, user32's 7, one shell icon: 18 items.
    DropFiles(form->Handle(), {SystemFile(L"comdlg32.dll"), SystemFile(L"user32.dll"), text});
    ASSERT_EQ(form->ListView1->Count(), 18);
  }
  void Select(std::initializer_list<int> positions) {
    for (int p : positions) form->ListView1->SetSelected(p, true);
  }
  std::vector<RecordedCall> Summaries() const {
    std::vector<RecordedCall> r;
    for (const auto& c : services.Of("MessageBox"))
      if (c.extra == L"Kelmar") r.push_back(c);
    return r;
  }

  std::wstring folder, text, out;
};

}  // namespace

TEST(MakeSaveName, TakesTheBaseNameOfTheCaptionsPath) {
  EXPECT_EQ(MakeSaveName(L"3:C:\\Tools\\app.exe", 3), L"3_app");
  EXPECT_EQ(MakeSaveName(L"7:C:\\a.b\\file", 7), L"7_file");
  EXPECT_EQ(MakeSaveName(L"2:C:\\x\\archive.tar.gz", 2), L"2_archive.tar");
  EXPECT_EQ(MakeSaveName(L"1:D:\\图标\\程序.dll", 12), L"12_程序");
  EXPECT_EQ(MakeSaveName(L"5:readme", 5), L"5_readme");
}

TEST_F(SaveTest, SaveWritesExactlyTheSelectedItemsAndSummarises) {
  Select({1, 4, 11, 17});
  services.folder_answers.push_back(out);
  Click(form->BTNSave);
  EXPECT_EQ(FilesIn(out), (std::vector<std::wstring>{L"12_user32.ico", L"18_readme.ico", L"2_comdlg32.ico",
                                                      L"5_comdlg32.ico"}));
  for (const auto& f : FilesIn(out)) ExpectIconFile(out + L"\\" + f, 32);
  ASSERT_EQ(Summaries().size(), 1u);
  EXPECT_EQ(Summaries()[0].text, L"4个文件被保存\r保存路径: " + out + L"\\\r文件名格式: [9999]_[filename].ico");
  EXPECT_EQ(Summaries()[0].flags, UINT(MB_OK));
  auto choose = services.Of("ChooseFolder");
  ASSERT_EQ(choose.size(), 1u);
  EXPECT_EQ(choose[0].text, L"请选择保存路径:");
  EXPECT_TRUE(services.Of("BrowseForFolder").empty());
  EXPECT_EQ(form->SaveFolder, out);
  EXPECT_EQ(services.settings[L"SaveFolder"], out);
  EXPECT_FALSE(form->SaveAll);
}

TEST_F(SaveTest, SaveAllWritesEveryItemAndCountsEveryImage) {
  Select({0});
  services.folder_answers.push_back(out);
  // While the summary shows, the folder holds the saved files alone.
  size_t entries_at_summary = 0;
  services.on_message_box = [&] {
    entries_at_summary = size_t(std::distance(fs::directory_iterator(out), fs::directory_iterator{}));
  };
  Click(form->BTNSaveAll);
  EXPECT_EQ(entries_at_summary, 18u);
  EXPECT_EQ(FilesIn(out).size(), 18u);
  EXPECT_TRUE(fs::exists(fs::path(out) / L"17_user32.ico"));
  ASSERT_EQ(Summaries().size(), 1u);
  EXPECT_EQ(Summaries()[0].text.substr(0, 8), L"18个文件被保存");
  EXPECT_TRUE(form->SaveAll);
}

TEST_F(SaveTest, PicturesChosenInTheDropDownWithTheMouseMakeSaveAllWriteBitmaps) {
  Click(form->CombPicType);
  ASSERT_TRUE(form->CombPicType->DroppedDown());
  TksListBox* rows = form->CombPicType->ListBox()->InnerList();
  const Point second{10, form->CombPicType->ListBox()->ItemHeight() * 3 / 2};
  PressMouse(rows, second);
  ReleaseMouse(rows, second);
  EXPECT_FALSE(form->CombPicType->DroppedDown());
  EXPECT_EQ(form->CombPicType->ItemIndex(), 1);
  EXPECT_EQ(form->CombPicType->Text(), L"图片");
  services.folder_answers.push_back(out);
  Click(form->BTNSaveAll);
  const auto files = FilesIn(out);
  EXPECT_EQ(files.size(), 18u);
  for (const auto& f : files) ExpectBitmapFile(out + L"\\" + f, 32);
  EXPECT_TRUE(fs::exists(fs::path(out) / L"17_user32.bmp"));
}

TEST_F(SaveTest, SaveWithoutSelectionOrFocusTakesTheFirstItem) {
  ASSERT_EQ(form->ListView1->FocusedIndex(), -1);
  services.folder_answers.push_back(out);
  Click(form->BTNSave);
  EXPECT_EQ(FilesIn(out), std::vector<std::wstring>{L"1_comdlg32.ico"});
  EXPECT_TRUE(form->ListView1->Selected(0));
}

TEST_F(SaveTest, AFocusedItemWithoutSelectionIsWritten) {
  form->ListView1->SetFocused(3);
  services.folder_answers.push_back(out);
  Click(form->BTNSave);
  EXPECT_EQ(FilesIn(out), std::vector<std::wstring>{L"4_comdlg32.ico"});
  EXPECT_TRUE(form->ListView1->Selected(3));
  ASSERT_EQ(Summaries().size(), 1u);
  EXPECT_EQ(Summaries()[0].text.substr(0, 7), L"1个文件被保存");
}

TEST_F(SaveTest, TheViewSizeAndTheTypeDecideTheFiles) {
  Select({0, 17});
  std::wstring small_icons = MakeTempFolder(L"save-16"), small_bitmaps = MakeTempFolder(L"save-16b"),
               large_bitmaps = MakeTempFolder(L"save-32b");
  Click(form->RB16);
  ASSERT_TRUE(form->SmallIcons);
  services.folder_answers.push_back(small_icons);
  Click(form->BTNSave);
  for (const auto& f : FilesIn(small_icons)) ExpectIconFile(small_icons + L"\\" + f, 16);

  form->CombPicType->SetItemIndex(1);
  services.folder_answers.push_back(small_bitmaps);
  Click(form->BTNSave);
  EXPECT_EQ(FilesIn(small_bitmaps), (std::vector<std::wstring>{L"18_readme.bmp", L"1_comdlg32.bmp"}));
  for (const auto& f : FilesIn(small_bitmaps)) ExpectBitmapFile(small_bitmaps + L"\\" + f, 16);
  EXPECT_EQ(Summaries().back().text.substr(Summaries().back().text.size() - 4), L".bmp");

  Click(form->RB32);
  services.folder_answers.push_back(large_bitmaps);
  Click(form->BTNSave);
  EXPECT_EQ(FilesIn(large_bitmaps).size(), 2u);
  for (const auto& f : FilesIn(large_bitmaps)) ExpectBitmapFile(large_bitmaps + L"\\" + f, 32);
}

TEST_F(SaveTest, ADriveRootIsWrittenIntoAndShownWithItsBackslash) {
  // The test prefix's own C: drive (a folder inside the build tree).
  fs::remove(L"C:\\1_comdlg32.ico");
  Select({0});
  services.folder_answers.push_back(L"C:\\");
  Click(form->BTNSave);
  EXPECT_TRUE(fs::exists(L"C:\\1_comdlg32.ico"));
  EXPECT_EQ(form->SaveFolder, L"C:");
  ASSERT_EQ(Summaries().size(), 1u);
  EXPECT_NE(Summaries()[0].text.find(L"保存路径: C:\\\r"), std::wstring::npos) << Summaries()[0].text;
  fs::remove(L"C:\\1_comdlg32.ico");
}

TEST_F(SaveTest, CancelInTheChooserCancelsTheSaveAndAVanishedFolderIsForgotten) {
  Select({0});
  Click(form->BTNSave);  // first use, cancelled: nothing at all
  EXPECT_TRUE(form->SaveFolder.empty());
  EXPECT_TRUE(Summaries().empty());

  services.folder_answers.push_back(out);
  Click(form->BTNSave);
  EXPECT_EQ(FilesIn(out).size(), 1u);

  fs::remove(fs::path(out) / L"1_comdlg32.ico");
  Click(form->BTNSave);  // cancelled: nothing written, yet still remembered
  EXPECT_EQ(services.Of("ChooseFolder").back().extra, out);  // offered as the start
  EXPECT_TRUE(FilesIn(out).empty());
  EXPECT_EQ(Summaries().size(), 1u);
  EXPECT_EQ(form->SaveFolder, out);

  fs::remove_all(out);
  Click(form->BTNSave);  // the remembered folder is gone: dropped, nothing saved
  EXPECT_EQ(services.Of("ChooseFolder").back().extra, L"");
  EXPECT_TRUE(form->SaveFolder.empty());
  EXPECT_EQ(Summaries().size(), 1u);
}

// Files of the same names are there already: one question for the save;
// No keeps them and writes the rest, Cancel writes nothing, Yes replaces.
// The folder last chosen is kept between runs and offered at the next
// save; where the system's picker is missing the older browser chooses.
TEST_F(SaveTest, TheLastFolderIsKeptBetweenRunsAndTheOlderBrowserStandsIn) {
  services.folder_answers.push_back(out);
  Click(form->BTNSaveAll);
  EXPECT_EQ(FilesIn(out).size(), 18u);
  delete form;
  form = Application().CreateForm<TFormKelmar>(nullptr, &services);
  form->Show();
  DropFiles(form->Handle(), {SystemFile(L"user32.dll")});
  EXPECT_EQ(form->SaveFolder, out);
  Click(form->BTNSaveAll);  // cancelled
  EXPECT_EQ(services.Of("ChooseFolder").back().extra, out);

  const std::wstring other = MakeTempFolder(L"save-older");
  services.folder_picker_available = false;
  services.folder_answers.push_back(other);
  Click(form->BTNSaveAll);
  ASSERT_EQ(services.Of("BrowseForFolder").size(), 1u);
  EXPECT_EQ(services.Of("BrowseForFolder")[0].extra, out);
  EXPECT_EQ(services.Of("BrowseForFolder")[0].flags, UINT(BIF_RETURNONLYFSDIRS));
  EXPECT_EQ(FilesIn(other).size(), 7u);
  EXPECT_EQ(services.settings[L"SaveFolder"], other);
}

TEST_F(SaveTest, ExistingFilesAreReplacedOnlyWhenTheUserSaysSo) {
  const std::string mine = "the user's own file";
  WriteTextFile(out + L"\\2_comdlg32.ico", mine);
  WriteTextFile(out + L"\\12_USER32.ICO", mine);  // names compare without case
  auto question = [&] {
    std::vector<RecordedCall> r;
    for (const auto& c : services.Of("MessageBox"))
      if (c.extra == L"消息框") r.push_back(c);
    return r;
  };
  services.folder_answers = {out, out, out};
  services.message_box_answers = {IDNO, IDOK, IDCANCEL, IDYES, IDOK};
  Click(form->BTNSaveAll);
  ASSERT_EQ(question().size(), 1u);
  EXPECT_EQ(question()[0].text, L"已有 2 个同名文件，是否替换？");
  EXPECT_EQ(question()[0].flags, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(FilesIn(out).size(), 18u);
  EXPECT_EQ(ReadBytes(out + L"\\2_comdlg32.ico"), std::vector<uint8_t>(mine.begin(), mine.end()));
  EXPECT_EQ(ReadBytes(out + L"\\12_USER32.ICO"), std::vector<uint8_t>(mine.begin(), mine.end()));
  ExpectIconFile(out + L"\\1_comdlg32.ico", 32);
  ASSERT_EQ(Summaries().size(), 1u);
  EXPECT_EQ(Summaries()[0].text.substr(0, 18), L"16个文件被保存，2个已存在未替换\r");

  // Now all 18 are there: Cancel leaves every one as it is.
  fs::remove(fs::path(out) / L"1_comdlg32.ico");
  Click(form->BTNSaveAll);
  EXPECT_EQ(question().back().text, L"已有 17 个同名文件，是否替换？");
  EXPECT_EQ(FilesIn(out).size(), 17u);
  EXPECT_EQ(Summaries().size(), 1u);

  Click(form->BTNSaveAll);
  EXPECT_EQ(FilesIn(out).size(), 18u);
  ExpectIconFile(out + L"\\2_comdlg32.ico", 32);
  ExpectIconFile(out + L"\\12_USER32.ICO", 32);
  ASSERT_EQ(Summaries().size(), 2u);
  EXPECT_EQ(Summaries()[1].text.substr(0, 8), L"18个文件被保存");
}

TEST_F(SaveTest, AFileThatCannotBeWrittenIsToldAndTheOthersAreWritten) {
  // A folder where the second file should go: it cannot be replaced.
  fs::create_directory(fs::path(out) / L"2_comdlg32.ico");
  Select({0, 1, 2});
  services.folder_answers.push_back(out);
  Click(form->BTNSave);
  EXPECT_TRUE(exceptions.empty());
  ExpectIconFile(out + L"\\1_comdlg32.ico", 32);
  ExpectIconFile(out + L"\\3_comdlg32.ico", 32);
  EXPECT_TRUE(fs::is_directory(fs::path(out) / L"2_comdlg32.ico"));
  ASSERT_EQ(Summaries().size(), 1u);
  EXPECT_EQ(Summaries()[0].text, L"2个文件被保存\r保存路径: " + out +
                                     L"\\\r文件名格式: [9999]_[filename].ico\r1个文件未能保存:\r2_comdlg32.ico: 拒绝访问");
  // Nothing written at all says so.
  form->ListView1->SetSelected(0, false);
  form->ListView1->SetSelected(2, false);
  services.folder_answers.push_back(out);
  Click(form->BTNSave);
  ASSERT_EQ(Summaries().size(), 2u);
  EXPECT_EQ(Summaries()[1].text.substr(0, 7), L"0个文件被保存");
  EXPECT_NE(Summaries()[1].text.find(L"\r1个文件未能保存:\r2_comdlg32.ico: 拒绝访问"), std::wstring::npos)
      << Summaries()[1].text;
}

// A write that fails in the middle of Save all: the others are written all
// the same, each file that failed still holds its earlier bytes, the summary
// counts what was written and names the first failures with the reason, and
// no temporary file or folder is left.
class FailingSaveTest : public SaveTest {
 protected:
  const std::vector<uint8_t> earlier = std::vector<uint8_t>(100, 'e');
  std::wstring Name(int i) const { return MakeSaveName(form->ListView1->ItemCaption(i), i + 1) + L".bmp"; }
  std::wstring Target(const std::wstring& folder, int i) const { return folder + L"\\" + Name(i); }
  void WriteEarlierFiles(const std::wstring& folder) {
    for (int i = 0; i < 18; ++i) {
      std::ofstream f(fs::path(Target(folder, i)), std::ios::binary);
      f.write(reinterpret_cast<const char*>(earlier.data()), std::streamsize(earlier.size()));
    }
  }
  // The positions whose file still holds the earlier bytes; every other
  // one is a whole bitmap file. The summary says so, with this reason.
  std::vector<int> ExpectFailuresTold(const std::wstring& folder, const std::wstring& reason) {
    EXPECT_TRUE(exceptions.empty());
    std::vector<int> failed;
    for (int i = 0; i < 18; ++i) {
      if (ReadBytes(Target(folder, i)) == earlier)
        failed.push_back(i);
      else
        ExpectBitmapFile(Target(folder, i), 32);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 18)
        << "something beside the 18 files";
    if (Summaries().size() != 1u || failed.empty()) {
      ADD_FAILURE() << Summaries().size() << " summaries, " << failed.size() << " failures";
      return failed;
    }
    std::wstring expected = std::to_wstring(18 - failed.size()) + L"个文件被保存\r保存路径: " + folder +
                            L"\\\r文件名格式: [9999]_[filename].bmp\r" + std::to_wstring(failed.size()) +
                            L"个文件未能保存:";
    for (size_t k = 0; k < failed.size() && k < 3; ++k) expected += L"\r" + Name(failed[k]) + L": " + reason;
    if (failed.size() > 3) expected += L"\r……";
    EXPECT_EQ(Summaries()[0].text, expected);
    return failed;
  }
};

TEST_F(FailingSaveTest, AReadOnlyFileInTheMiddle) {
  WriteEarlierFiles(out);
  SetFileAttributesW(Target(out, 4).c_str(), FILE_ATTRIBUTE_READONLY);
  form->CombPicType->SetItemIndex(1);
  services.folder_answers.push_back(out);
  Click(form->BTNSaveAll);
  EXPECT_EQ(ExpectFailuresTold(out, L"拒绝访问"), std::vector<int>{4});
  SetFileAttributesW(Target(out, 4).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FailingSaveTest, AFullDiskInTheMiddle) {
  // Drive K: is a 128 KB file system mounted for this test (small_drive.sh).
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExW(L"K:\\", nullptr, &total, nullptr) || total.QuadPart > 1024 * 1024)
    GTEST_SKIP() << "no small drive K: (mounting one needs root)";
  const std::wstring small = L"K:\\save";
  fs::remove_all(small);
  fs::create_directory(small);
  WriteEarlierFiles(small);
  form->CombPicType->SetItemIndex(1);
  services.folder_answers.push_back(small);
  Click(form->BTNSaveAll);
  const size_t failed = ExpectFailuresTold(small, L"磁盘空间不足").size();
  EXPECT_GT(failed, 0u);
  EXPECT_LT(failed, 18u);
  fs::remove_all(small);
}

TEST_F(SaveTest, NothingToSaveShowsTheMessage) {
  form->ListView1->Clear();
  form->LargeImage->Clear();
  form->SmallImage->Clear();
  Click(form->BTNSaveAll);
  auto boxes = services.Of("MessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"请解出图标!");
  EXPECT_EQ(boxes[0].extra, L"消息框");
  EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONINFORMATION));
  EXPECT_TRUE(services.Of("ChooseFolder").empty());
}

}  // namespace kelmar::test
