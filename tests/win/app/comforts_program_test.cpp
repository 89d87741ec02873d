// The real program under the system's own keys and mouse: the commands'
// keys, the open dialog's file types, the focus coming back after a dialog,
// the tab stops, the status bar's counts and a list item's hint.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "framework/wide.h"
#include "program_driver.h"
#include "win/frame_mouse/frame_input.h"
#include "win/real_program.h"
#include "win/shell_files.h"

namespace kelmar::test {
namespace {

const wchar_t kDropHint[] = L"支持文件拖放，您可以把文件拖入本程序进行图标提取！";

class Comforts {
 public:
  RunningProgram program;

  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(program.process.dwThreadId, &info);
    return info.hwndFocus;
  }
  bool WaitForFocus(HWND hwnd) const { return WaitFor([&] { return Focus() == hwnd; }, 5000); }
  // A child window of the main window, at any depth, by its exact text.
  HWND Child(const std::wstring& text) const {
    struct Search {
      const std::wstring* text;
      HWND found = nullptr;
    } search{&text};
    EnumChildWindows(
        program.window,
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          if (TextOf(hwnd) != *s->text) return TRUE;
          s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND List() const { return FindWindowExW(program.window, nullptr, L"SysListView32", nullptr); }
  HWND WaitForDialog(const std::wstring& title) const { return WaitForDialogOf(program.process.dwProcessId, title); }
  // The skinned hint's text once it shows exactly `text`.
  bool WaitForHint(const std::wstring& text) const {
    return WaitFor(
        [&] {
          HWND hint = VisibleWindowOf(program.process.dwProcessId, L"KelmarSkinHint");
          return hint && TextOf(hint) == text;
        },
        5000);
  }
  // The hint that shows, where it starts with `start`; empty when none does.
  std::wstring WaitForHintStartingWith(const std::wstring& start) const {
    std::wstring text;
    WaitFor(
        [&] {
          HWND hint = VisibleWindowOf(program.process.dwProcessId, L"KelmarSkinHint");
          text = hint ? TextOf(hint) : L"";
          return text.rfind(start, 0) == 0;
        },
        5000);
    return text.rfind(start, 0) == 0 ? text : L"";
  }
  // A point of the main window's client area on the screen (the skinned
  // frame's client area starts 8 right and 28 down).
  Point Client(int x, int y) const { return OnScreen(program.window, {8 + x, 28 + y}); }
};

TEST(ProgramComforts, KeysFileTypesFocusTabStopsStatusAndItemHints) {
  Comforts p;
  ASSERT_NE(p.program.window, nullptr);
  WaitForInputIdle(p.program.process.hProcess, 5000);
  HWND list = p.List();
  ASSERT_NE(list, nullptr);
  HWND status = p.Child(kDropHint);
  ASSERT_NE(status, nullptr) << "the status bar shows the drop hint while the list is empty";

  // Ctrl+O from the list opens the dialog on the icon sources; Esc brings
  // the focus back to the list.
  Click(p.Client(300, 200));
  ASSERT_TRUE(p.WaitForFocus(list));
  Chord({VK_CONTROL}, 'O');
  HWND open = p.WaitForDialog(L"选择要提取图标的文件");
  ASSERT_NE(open, nullptr);
  HWND types = GetDlgItem(open, 0x470);  // the dialog's file type box
  ASSERT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 2);
  wchar_t type[128] = {};
  SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(type));
  EXPECT_STREQ(type, L"图标来源 (*.exe;*.dll;*.ocx;*.mun;*.icl;*.cpl;*.scr;*.ico;*.cur)");
  SendMessageW(types, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(type));
  EXPECT_STREQ(type, L"所有文件 (*.*)");
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(open));
  EXPECT_TRUE(p.WaitForFocus(list));

  // The open button, clicked, has the focus when its dialog is cancelled.
  Click(p.Client(8 + 20, 8 + 12));
  open = p.WaitForDialog(L"选择要提取图标的文件");
  ASSERT_NE(open, nullptr);
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(open));
  EXPECT_TRUE(p.WaitForFocus(WindowFromPoint({p.Client(8 + 20, 8 + 12).x, p.Client(8 + 20, 8 + 12).y})));

  // user32 holds 7 icons, comdlg32 10.
  const std::wstring system = SystemFile(L"user32.dll").substr(0, SystemFile(L"user32.dll").rfind(L'\\'));
  Click(p.Client(300, 200));
  Chord({VK_CONTROL}, 'O');
  open = p.WaitForDialog(L"选择要提取图标的文件");
  ASSERT_NE(open, nullptr);
  Type(system + L"\\");
  Keys({VK_RETURN});
  Type(L"\"user32.dll\" \"comdlg32.dll\"");
  Keys({VK_RETURN});
  ASSERT_TRUE(WaitUntilClosed(open));
  EXPECT_TRUE(WaitFor([&] { return TextOf(status) == L"共 17 个图标，来自 2 个文件"; }, 10000)) << TextOf(status);

  // Ctrl+A from the list selects them all, and the status bar says so.
  Click(p.Client(400, 300));
  Chord({VK_CONTROL}, 'A');
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 17; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return TextOf(status) == L"共 17 个图标，来自 2 个文件，已选中 17 个"; }, 5000))
      << TextOf(status);

  // Resting on an item shows where it came from and the images its icon
  // holds (Wine's user32 icons have a 32 x 32 image each); the next item
  // its own.
  // The first row of 32 x 32 items, 75 apart, starts at the list's corner
  // (the tool bar is 41 high).
  const std::wstring user32 = system + L"\\user32.dll";
  for (int item : {0, 1}) {
    SetCursorPos(p.Client(47 + 75 * item, 41 + 21).x, p.Client(47 + 75 * item, 41 + 21).y);
    const std::wstring tip = p.WaitForHintStartingWith(user32 + L"\r\n文件中的索引: " + std::to_wstring(item) + L"\r\n");
    EXPECT_NE(tip.find(L"32×32 "), std::wstring::npos) << item << ": " << Narrow(tip);
  }
  SetCursorPos(p.Client(600, 250).x, p.Client(600, 250).y);

  // Tab from the list: the open button, then the checked size box alone;
  // an arrow moves to the other box and checks it (the list turns small).
  Click(p.Client(600, 250));
  ASSERT_TRUE(p.WaitForFocus(list));
  HWND rb16 = p.Child(L"16×16"), rb32 = p.Child(L"32×32");
  ASSERT_TRUE(rb16 && rb32);
  Keys({VK_TAB});
  ASSERT_TRUE(WaitFor([&] { return p.Focus() != list; }, 5000));
  const HWND open_button = p.Focus();
  Keys({VK_TAB});
  EXPECT_TRUE(p.WaitForFocus(rb32));
  Keys({VK_LEFT});
  EXPECT_TRUE(p.WaitForFocus(rb16));
  EXPECT_TRUE(WaitFor([&] { return (GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_SMALLICON; }, 5000));
  Keys({VK_TAB});
  Chord({VK_SHIFT}, VK_TAB);
  EXPECT_TRUE(p.WaitForFocus(rb16)) << "back on the checked box";
  Chord({VK_SHIFT}, VK_TAB);
  EXPECT_TRUE(p.WaitForFocus(open_button)) << "the unchecked box is no tab stop";

  // On to the links: the size box, Save, Save all, the type box, Help,
  // Update (the PNG size box is disabled for icon files), then the home
  // page link and the mail link.
  Keys({VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB});
  EXPECT_TRUE(p.WaitForFocus(p.Child(L"https://kelmar.app/"))) << TextOf(p.Focus());
  Keys({VK_TAB});
  EXPECT_TRUE(p.WaitForFocus(p.Child(L"support@kelmar.app"))) << TextOf(p.Focus());

  // Ctrl+Shift+S from the type box saves all: the folder chooser opens;
  // cancelled, the focus is back on the type box.
  Click(p.Client(257 + 20, 10 + 9));
  const HWND type_box = WindowFromPoint({p.Client(257 + 20, 10 + 9).x, p.Client(257 + 20, 10 + 9).y});
  ASSERT_TRUE(p.WaitForFocus(type_box));
  Keys({VK_ESCAPE});  // the drop-down the click opened
  Chord({VK_CONTROL, VK_SHIFT}, 'S');
  HWND chooser = p.WaitForDialog(L"");
  ASSERT_NE(chooser, nullptr);
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(chooser));
  EXPECT_TRUE(p.WaitForFocus(type_box));

  // F1: help (here without a help file, the program says where it looked).
  Keys({VK_F1});
  HWND box = p.WaitForDialog(L"消息框");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box).rfind(L"找不到帮助文件 Kelmarhelp.chm。", 0), 0u);
  Keys({VK_RETURN});
  ASSERT_TRUE(WaitUntilClosed(box));

  EXPECT_TRUE(p.program.Close());
}

}  // namespace
}  // namespace kelmar::test
