#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "app_fixture.h"
#include "win/mouse_input.h"

namespace kelmar::test {

namespace {

DWORD ListViewView(TFormKelmar* form) { return DWORD(SendMessageW(form->ListView1->Handle(), LVM_GETVIEW, 0, 0)); }

}  // namespace

TEST_F(FormTest, TheSizeButtonsSwitchTheViewAndTheIconSize) {
  DropFiles(form->Handle(), {SystemFile(L"comdlg32.dll")});
  Click(form->RB16);
  EXPECT_TRUE(form->SmallIcons);
  EXPECT_TRUE(form->RB16->Checked());
  EXPECT_FALSE(form->RB32->Checked());
  EXPECT_EQ(ListViewView(form), DWORD(LV_VIEW_SMALLICON));
  Click(form->RB16);  // the checked one again: nothing changes
  EXPECT_TRUE(form->SmallIcons);
  EXPECT_EQ(ListViewView(form), DWORD(LV_VIEW_SMALLICON));
  EXPECT_EQ(form->ListView1->Count(), 10);
  Click(form->RB32);
  EXPECT_FALSE(form->SmallIcons);
  EXPECT_EQ(ListViewView(form), DWORD(LV_VIEW_ICON));
}

// The help file beside the program wins over one in the current directory
// (which the open dialog moves); where neither has it, the user is told
// where it was looked for; a file the shell cannot open is told as well.
TEST_F(FormTest, HelpLooksBesideTheProgramThenInTheCurrentDirectory) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring program_folder = std::filesystem::path(exe).parent_path().wstring();
  const std::wstring beside = program_folder + L"\\Kelmarhelp.chm";
  DeleteFileW(beside.c_str());
  const std::wstring folder = MakeTempFolder(L"help");
  wchar_t old[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old);
  SetCurrentDirectoryW(folder.c_str());

  Click(form->BTNHelp);  // in neither
  EXPECT_TRUE(services.Of("ShellOpen").empty());
  ASSERT_EQ(services.Of("MessageBox").size(), 1u);
  EXPECT_EQ(services.Of("MessageBox")[0].text,
            L"找不到帮助文件 Kelmarhelp.chm。\r查找过的文件夹:\r" + program_folder + L"\r" + folder);
  EXPECT_EQ(services.Of("MessageBox")[0].extra, L"消息框");

  WriteTextFile(folder + L"\\Kelmarhelp.chm", "help");
  Click(form->BTNHelp);
  WriteTextFile(beside, "help");
  Click(form->BTNHelp);
  services.shell_open_result = SE_ERR_NOASSOC;
  Click(form->BTNHelp);
  DeleteFileW(beside.c_str());
  SetCurrentDirectoryW(old);

  auto opens = services.Of("ShellOpen");
  ASSERT_EQ(opens.size(), 3u);
  EXPECT_EQ(opens[0].text, folder + L"\\Kelmarhelp.chm");
  EXPECT_EQ(opens[0].extra, L"open");
  EXPECT_EQ(opens[0].flags, UINT(SW_SHOWNORMAL));
  EXPECT_EQ(opens[1].text, beside);
  ASSERT_EQ(services.Of("MessageBox").size(), 2u);
  EXPECT_EQ(services.Of("MessageBox")[1].text, L"无法打开 " + beside);
}

TEST_F(FormTest, UpdateOpensThePageWithTheDefaultVerbAndTellsAFailure) {
  Click(form->BtnUpdate);
  auto opens = services.Of("ShellOpen");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].text, form->UpdatePage);
  EXPECT_EQ(opens[0].extra, L"(null)");
  EXPECT_FALSE(form->UpdatePage.empty());
  EXPECT_TRUE(services.Of("MessageBox").empty());
  services.shell_open_result = 32;  // the highest failure
  Click(form->BtnUpdate);
  ASSERT_EQ(services.Of("MessageBox").size(), 1u);
  EXPECT_EQ(services.Of("MessageBox")[0].text, L"无法打开 " + form->UpdatePage);
}

TEST_F(FormTest, LinksOpenTheirAddressesAndTurnVisited) {
  const TColor unvisited = RGB(60, 60, 120), visited = RGB(130, 95, 70);
  EXPECT_EQ(form->URLLabel4->Font().Color(), unvisited);
  EXPECT_TRUE(form->URLLabel4->Font().Style().underline);

  services.shell_open_ex = [](SHELLEXECUTEINFOW&) { return FALSE; };
  Click(form->URLLabel4);
  EXPECT_FALSE(form->URLLabel4->Visited());
  EXPECT_EQ(form->URLLabel4->Font().Color(), unvisited);
  EXPECT_TRUE(services.Of("WinExec").empty());
  // Success reported with a result of 32 or less is a failure too.
  services.shell_open_ex = [](SHELLEXECUTEINFOW& info) {
    info.hInstApp = reinterpret_cast<HINSTANCE>(SE_ERR_ACCESSDENIED);
    return TRUE;
  };
  Click(form->URLLabel4);
  EXPECT_FALSE(form->URLLabel4->Visited());
  auto told = services.Of("MessageBox");
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].text, L"无法打开 " + form->URLLabel4->URL());
  EXPECT_EQ(told[1].text, told[0].text);

  services.shell_open_ex = [](SHELLEXECUTEINFOW&) { return TRUE; };
  Click(form->URLLabel4);
  Click(form->URLLabel4);
  EXPECT_TRUE(form->URLLabel4->Visited());
  EXPECT_EQ(form->URLLabel4->Font().Color(), visited);
  Click(form->URLLabel1);

  auto opens = services.Of("ShellOpenEx");
  ASSERT_EQ(opens.size(), 5u);
  EXPECT_EQ(opens[0].text, form->URLLabel4->Caption());
  EXPECT_EQ(opens[0].extra, L"Open");
  EXPECT_EQ(opens[0].flags, 0x540u);
  EXPECT_EQ(opens[4].text, L"mailto:" + form->URLLabel1->Caption());
  EXPECT_EQ(services.Of("MessageBox").size(), 2u);
}

TEST_F(FormTest, TheKeyboardOpensALinkWithEnterOrSpace) {
  // The keys as the loop takes them from the queue of the focused window.
  auto press = [&](TURLLabel* link, WORD key) {
    link->KeyTarget()->SetFocus();
    ASSERT_EQ(GetFocus(), link->KeyTarget()->Handle());
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    Application().ProcessMessages();
  };
  press(form->URLLabel1, VK_RETURN);
  press(form->URLLabel4, VK_SPACE);
  press(form->URLLabel4, 'A');
  auto opens = services.Of("ShellOpenEx");
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[0].text, L"mailto:support@kelmar.app");
  EXPECT_EQ(opens[1].text, L"https://kelmar.app/");
}

TEST_F(FormTest, ALinkWithoutAnAddressOpensItsCaption) {
  form->URLLabel4->SetURL(L"   ");
  form->URLLabel4->SetCaption(L" page.htm");
  services.shell_open_ex = [](SHELLEXECUTEINFOW&) { return FALSE; };
  Click(form->URLLabel4);
  auto opens = services.Of("ShellOpenEx");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].text, L" page.htm");  // as stored, blanks kept
  // A page that could not be opened offers the choice of a program.
  auto runs = services.Of("WinExec");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].text, L"RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm");
  EXPECT_EQ(runs[0].flags, 1u);

  form->URLLabel4->SetCaption(L"  ");
  Click(form->URLLabel4);
  EXPECT_EQ(services.Of("ShellOpenEx").size(), 1u);  // nothing to open
}

TEST_F(FormTest, TheMouseOverALinkShowsTheHand) {
  TControl* link = form->URLLabel1;
  POINT at{link->Left() + 5, link->Top() + 5};
  ClientToScreen(link->Parent()->Handle(), &at);
  SetCursorPos(at.x, at.y);
  HWND panel = link->Parent()->Handle();
  SendMessageW(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(Application().GetCursor(26000), LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace kelmar::test
