// The real program with the system's own mouse and keyboard input: the
// 1000-icon limit, the folder chooser's Cancel, the question before files
// are replaced, and Save with a focused item but none selected.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "program_driver.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

size_t EntriesIn(const std::wstring& folder) {
  return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

std::string Contents(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProgramKeepsWork, TheLimitTheChooserExistingFilesAndSaveUnderTheUsersHand) {
  // Six copies of shell32.dll: 1104 icons, the 1001st in the sixth.
  const std::wstring in = MakeTempFolder(L"keep-in");
  for (int i = 1; i <= 6; ++i)
    ASSERT_TRUE(CopyFileW(SystemFile(L"shell32.dll").c_str(), (in + L"\\s" + std::to_wstring(i) + L".dll").c_str(),
                          FALSE));
  const std::wstring names = L"\"s1.dll\" \"s2.dll\" \"s3.dll\" \"s4.dll\" \"s5.dll\" \"s6.dll\"";
  // The chooser reaches a folder of the desktop by its name.
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
  const std::wstring out = std::wstring(desktop) + L"\\kelmarkeep";
  fs::remove_all(out);
  fs::create_directories(out);

  DrivenProgram p;
  ASSERT_NE(p.program.window, nullptr);
  WaitForInputIdle(p.program.process.hProcess, 5000);
  const std::wstring too_many = L"由于图标数量太多，请先保存已解出的图标。";

  // Cancel at the limit: the intake stops with the 1000 icons kept.
  ASSERT_TRUE(p.TakeIn(in, names));
  HWND box = p.WaitForDialog(L"消息框");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), too_many);
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(box));
  EXPECT_TRUE(WaitFor([&] { return p.ItemCount() == 1000; })) << p.ItemCount();

  // OK, then Cancel in the chooser: still the 1000, nothing written.
  ASSERT_TRUE(p.TakeIn(in, names));
  box = p.WaitForDialog(L"消息框");
  ASSERT_NE(box, nullptr);
  Keys({VK_RETURN});
  HWND chooser = p.WaitForDialog(L"");
  ASSERT_NE(chooser, nullptr);
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(chooser));
  EXPECT_TRUE(WaitFor([&] { return p.ItemCount() == 1000; })) << p.ItemCount();
  EXPECT_EQ(EntriesIn(out), 0u);

  // OK and a folder: the whole batch is written (Save all was never used,
  // nothing is selected), the summary counts it while the folder holds the
  // files alone, then the new batch holds the remaining 104.
  ASSERT_TRUE(p.TakeIn(in, names));
  box = p.WaitForDialog(L"消息框");
  ASSERT_NE(box, nullptr);
  Keys({VK_RETURN});
  chooser = p.WaitForDialog(L"");
  ASSERT_NE(chooser, nullptr);
  DrivenProgram::ChooseFolder(chooser, out);
  HWND summary = p.WaitForDialog(L"Kelmar");
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(BoxText(summary), L"1000个文件被保存\r保存路径: " + out + L"\\\r文件名格式: [9999]_[filename].ico");
  EXPECT_EQ(EntriesIn(out), 1000u);
  EXPECT_TRUE(fs::exists(fs::path(out) / L"1000_s6.ico"));
  Keys({VK_RETURN});
  ASSERT_TRUE(WaitUntilClosed(summary));
  EXPECT_TRUE(WaitFor([&] { return p.ItemCount() == 104; })) << p.ItemCount();

  // Save all, Cancel in the chooser that opens on the remembered folder:
  // nothing is written, not even into that folder.
  const std::wstring mine = out + L"\\1_s6.ico";
  WriteTextFile(mine, "the user's own");
  p.SaveAll();
  chooser = p.WaitForDialog(L"");
  ASSERT_NE(chooser, nullptr);
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(chooser));
  EXPECT_EQ(EntriesIn(out), 1001u);

  // Save all into it: one question for the one file there; No keeps it.
  p.SaveAll();
  EXPECT_EQ(p.ConfirmSave('N', L"已有 1 个同名文件，是否替换？").substr(0, 9), L"103个文件被保存");
  EXPECT_EQ(Contents(mine), "the user's own");
  EXPECT_EQ(EntriesIn(out), 1104u);

  // Save with the first item focused but not selected (a click, then a
  // Ctrl+click on it): that item is written, here replacing the user's
  // file on Yes.
  p.ClickClient(47, 41 + 21);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(p.List(), LVM_GETSELECTEDCOUNT, 0, 0) == 1; }));
  p.ClickClient(47, 41 + 21, true);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(p.List(), LVM_GETSELECTEDCOUNT, 0, 0) == 0; }));
  EXPECT_EQ(SendMessageW(p.List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 0);
  p.Save();
  EXPECT_EQ(p.ConfirmSave('Y', L"已有 1 个同名文件，是否替换？").substr(0, 7), L"1个文件被保存");
  EXPECT_EQ(Contents(mine).size(), 766u);  // a 32 x 32 icon file now

  EXPECT_TRUE(p.program.Close());
  fs::remove_all(out);
}

}  // namespace
}  // namespace kelmar::test
