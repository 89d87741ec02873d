// The real program as a careful user meets it, with the system's own mouse
// and keys and drops from another process: a drop or a command key while a
// save asks something is refused and leaves the batch and the save as they
// were; a save goes on past a file it cannot write and tells everything in
// Chinese; the originals of damaged icon files are icons; the status bar
// describes the batch the limit's question is about; the open dialog takes
// only existing files.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "base/little_endian.h"
#include "framework/wide.h"
#include "program_driver.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Contents(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder of the desktop (the chooser reaches it by its name).
std::wstring FreshDesktopFolder(const std::wstring& name) {
  wchar_t desktop[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
  const std::wstring folder = std::wstring(desktop) + L"\\" + name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

const wchar_t kDropHint[] = L"支持文件拖放，您可以把文件拖入本程序进行图标提取！";

// The status bar's panel: the child window that shows the drop hint at start.
HWND StatusPanel(HWND main) {
  return ChildWindowOf(main, [](HWND hwnd, const std::wstring&) { return TextOf(hwnd) == kDropHint; });
}

TEST(ProgramCarefulUser, DropsAndKeysWaitForTheSaveWhichGoesOnPastAFailureAndTellsAll) {
  const std::wstring out = FreshDesktopFolder(L"kelmarcareful");
  fs::create_directory(fs::path(out) / L"1_shell32.ico");  // cannot be replaced by a file
  WriteTextFile(out + L"\\2_shell32.ico", "the user's own");
  const std::wstring shell32 = SystemFile(L"shell32.dll"), user32 = SystemFile(L"user32.dll");
  const std::wstring summary_middle = L"\r保存路径: " + out + L"\\\r文件名格式: [9999]_[filename].ico";

  DrivenProgram p;
  ASSERT_NE(p.program.window, nullptr);
  WaitForInputIdle(p.program.process.hProcess, 5000);
  ASSERT_TRUE(p.Drop({shell32}));
  ASSERT_EQ(p.ItemCount(), 184);

  // Save all: a drop while the chooser is open is refused.
  Chord({VK_CONTROL, VK_SHIFT}, 'S');
  HWND chooser = p.WaitForDialog(L"");
  ASSERT_NE(chooser, nullptr);
  ASSERT_TRUE(p.Drop({user32}));
  EXPECT_EQ(p.ItemCount(), 184);
  DrivenProgram::ChooseFolder(chooser, out);
  // And while the question is open: a drop, and the open dialog's key.
  HWND question = p.WaitForDialog(L"消息框");
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), L"已有 2 个同名文件，是否替换？");
  ASSERT_TRUE(p.Drop({user32}));
  EXPECT_EQ(p.ItemCount(), 184);
  Chord({VK_CONTROL}, 'O');
  // Yes: the folder in the way fails, the other 183 are written, in order.
  Keys({'Y'});
  EXPECT_EQ(p.TakeSummary(),
            L"183个文件被保存" + summary_middle + L"\r1个文件未能保存:\r1_shell32.ico: 拒绝访问");
  EXPECT_EQ(Contents(out + L"\\2_shell32.ico").size(), 766u);
  EXPECT_EQ(Contents(out + L"\\184_shell32.ico").size(), 766u);
  EXPECT_EQ(p.ItemCount(), 184);

  // No when every name is taken: nothing written, and the summary says so.
  Chord({VK_CONTROL, VK_SHIFT}, 'S');
  EXPECT_EQ(p.ConfirmSave('N', L"已有 184 个同名文件，是否替换？"),
            L"0个文件被保存，184个已存在未替换" + summary_middle);

  // Originals of damaged icon files: an empty one is the shell's icon for
  // it, a cut one the images that are whole in it (mixed.ico's first four
  // of five; the fifth, at 8438, is cut).
  const std::wstring in = MakeTempFolder(L"careful-damaged");
  WriteTextFile(in + L"\\empty.ico", "");
  const std::vector<uint8_t> mixed = Contents(DataPath("testicons/mixed.ico"));
  ASSERT_EQ(mixed.size(), 18078u);
  WriteTextFile(in + L"\\cut.ico", std::string(mixed.begin(), mixed.begin() + 8438 + 100));
  ASSERT_TRUE(p.Drop({in + L"\\empty.ico", in + L"\\cut.ico"}));
  ASSERT_EQ(p.ItemCount(), 2);
  // 原图, the third row of the output type's drop-down.
  const Point box = p.Client(257, 10);
  Click({box.x + 20, box.y + 9});
  // The drop-down: a pop-up of the framework's class with extra class styles.
  ASSERT_TRUE(WaitFor(
      [&] {
        return VisibleWindowOf(p.program.process.dwProcessId,
                               [](const std::wstring& cls) { return cls.rfind(L"KelmarWindow.", 0) == 0; }) != nullptr;
      },
      5000));
  Click({box.x + 20, box.y + 19 + 1 + 36 + 9});
  Chord({VK_CONTROL, VK_SHIFT}, 'S');
  HWND again = p.WaitForDialog(L"");
  ASSERT_NE(again, nullptr);
  Keys({VK_RETURN});
  EXPECT_EQ(p.TakeSummary(), L"2个文件被保存" + summary_middle);
  const std::vector<uint8_t> shell = Contents(out + L"\\1_empty.ico");
  ASSERT_GE(shell.size(), 6u + 3 * 16);
  EXPECT_EQ(Le16(shell, 2), 1u);
  EXPECT_GE(Le16(shell, 4), 3u);
  const std::vector<uint8_t> cut = Contents(out + L"\\2_cut.ico");
  ASSERT_GE(cut.size(), 6u);
  EXPECT_EQ(Le16(cut, 4), 4u);
  EXPECT_EQ(cut.size(), 6u + 4 * 16 + 1128 + 744 + 2216 + 4264);
  EXPECT_TRUE(p.program.Close());

  // The next run's chooser: the system's picker, sizeable, with a path box
  // that holds the folder last used; Cancel writes nothing.
  DrivenProgram next;
  ASSERT_NE(next.program.window, nullptr);
  WaitForInputIdle(next.program.process.hProcess, 5000);
  ASSERT_TRUE(next.Drop({user32}));
  Chord({VK_CONTROL, VK_SHIFT}, 'S');
  HWND picker = next.WaitForDialog(L"");
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(TextOf(picker), L"请选择保存路径:");
  EXPECT_TRUE(GetWindowLongPtrW(picker, GWL_STYLE) & WS_THICKFRAME);
  HWND path_box = DrivenProgram::PathBox(picker);
  ASSERT_NE(path_box, nullptr);
  // An edit field's text, asked of it (another process's window).
  auto box_text = [&] {
    wchar_t text[MAX_PATH] = {};
    SendMessageW(path_box, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  EXPECT_TRUE(WaitFor([&] { return box_text() == out; }, 5000)) << Narrow(box_text());
  const auto before = std::distance(fs::directory_iterator(out), fs::directory_iterator{});
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(picker));
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator{}), before);
  EXPECT_TRUE(next.program.Close());
  fs::remove_all(out);
}

TEST(ProgramCarefulUser, TheLimitsQuestionShowsItsBatchAndRefusesADropAndTheOpenDialogOnlyExistingFiles) {
  const std::wstring in = MakeTempFolder(L"careful-in");
  for (int i = 1; i <= 6; ++i)
    ASSERT_TRUE(CopyFileW(SystemFile(L"shell32.dll").c_str(), (in + L"\\s" + std::to_wstring(i) + L".dll").c_str(),
                          FALSE));
  const std::wstring out = FreshDesktopFolder(L"kelmarlimit");

  DrivenProgram p;
  ASSERT_NE(p.program.window, nullptr);
  WaitForInputIdle(p.program.process.hProcess, 5000);
  HWND status = StatusPanel(p.program.window);
  ASSERT_NE(status, nullptr);
  ASSERT_TRUE(p.Drop({SystemFile(L"user32.dll")}));
  EXPECT_TRUE(WaitFor([&] { return TextOf(status) == L"共 7 个图标，来自 1 个文件"; }, 5000)) << TextOf(status);

  // A name that does not exist: the open dialog itself refuses it and stays.
  Chord({VK_CONTROL}, 'O');
  HWND open = p.WaitForDialog(L"选择要提取图标的文件");
  ASSERT_NE(open, nullptr);
  Type(L"nosuch.dll");
  Keys({VK_RETURN});
  HWND refusal = nullptr;
  EXPECT_TRUE(WaitFor(
      [&] {
        refusal = VisibleWindowOf(p.program.process.dwProcessId, [&](HWND hwnd, const std::wstring& cls) {
          return cls == L"#32770" && GetWindow(hwnd, GW_OWNER) == open;
        });
        return refusal != nullptr || !IsWindow(open);
      },
      10000));
  ASSERT_NE(refusal, nullptr) << "the dialog closed on a name that does not exist";
  Keys({VK_RETURN});
  ASSERT_TRUE(WaitUntilClosed(refusal));
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(open));
  EXPECT_EQ(p.ItemCount(), 7);

  // At the limit the status bar tells of the new batch, and a drop is refused.
  ASSERT_TRUE(p.TakeIn(in, L"\"s1.dll\" \"s2.dll\" \"s3.dll\" \"s4.dll\" \"s5.dll\" \"s6.dll\""));
  HWND question = p.WaitForDialog(L"消息框");
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), L"由于图标数量太多，请先保存已解出的图标。");
  EXPECT_TRUE(WaitFor([&] { return TextOf(status) == L"共 1000 个图标，来自 6 个文件"; }, 5000)) << TextOf(status);
  ASSERT_TRUE(p.Drop({SystemFile(L"user32.dll")}));
  EXPECT_EQ(p.ItemCount(), 1000);
  Keys({VK_RETURN});
  HWND chooser = p.WaitForDialog(L"");
  ASSERT_NE(chooser, nullptr);
  DrivenProgram::ChooseFolder(chooser, out);
  EXPECT_EQ(p.TakeSummary().substr(0, 11), L"1000个文件被保存\r");
  EXPECT_TRUE(fs::exists(fs::path(out) / L"1000_s6.ico"));
  EXPECT_TRUE(WaitFor([&] { return p.ItemCount() == 104; })) << p.ItemCount();
  EXPECT_TRUE(WaitFor([&] { return TextOf(status) == L"共 104 个图标，来自 1 个文件"; }, 5000)) << TextOf(status);

  // On an item: a double click saves it, a right click offers Save all in
  // the skinned menu.
  const Point first = p.Client(47, 41 + 21);
  DoubleClick(first);
  ASSERT_NE(p.WaitForDialog(L""), nullptr);
  Keys({VK_RETURN});  // the folder last used
  EXPECT_EQ(p.TakeSummary().substr(0, 8), L"1个文件被保存\r");
  EXPECT_TRUE(fs::exists(fs::path(out) / L"1_s6.ico"));
  Gesture({{MouseStep::Move, first}});
  INPUT right[2] = {};
  right[0].type = right[1].type = INPUT_MOUSE;
  right[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  right[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, right, sizeof(INPUT));
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = VisibleWindowOf(p.program.process.dwProcessId, L"KelmarSkinPopup")) != nullptr; },
                      5000));
  const Rect items = WindowBounds(menu);
  Click({items.left + 20, items.top + 2 + 22 + 11});  // the second entry, 全部保存
  EXPECT_EQ(p.ConfirmSave('N', L"已有 1 个同名文件，是否替换？").substr(0, 19), L"103个文件被保存，1个已存在未替换\r");

  EXPECT_TRUE(p.program.Close());
  fs::remove_all(out);
}

// The shell hands files over on the command line (a drop on the program's
// icon, "Open with"): they come in as a drop, names that do not exist left out.
TEST(ProgramCarefulUser, FilesOnTheCommandLineComeInAsADrop) {
  RunningProgram program(L"\"" + SystemFile(L"user32.dll") + L"\" nosuch.dll \"" + SystemFile(L"comctl32.dll") + L"\"");
  ASSERT_NE(program.window, nullptr);
  HWND list = FindWindowExW(program.window, nullptr, L"SysListView32", nullptr);
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 7 + 4; }, 10000))
      << SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  EXPECT_TRUE(WaitFor(
      [&] {
        return ChildWindowOf(program.window, [](HWND hwnd, const std::wstring&) {
                 return TextOf(hwnd) == L"共 11 个图标，来自 2 个文件";
               }) != nullptr;
      },
      5000));
  EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace kelmar::test
