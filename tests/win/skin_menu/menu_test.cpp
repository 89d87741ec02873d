// The skinned popup menus under Wine: the main window's system menu (what it
// holds, how it looks, keys, clicks, what its entries do) and popup menus on
// a test form (sub-menus, scrolling, disabled items, the plain look, the
// messages to the opener). Keys are posted to the thread's queue, so they
// reach the menu the way the user's do: through the application's loop filter.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/dib_header.h"
#include "framework/graphics.h"
#include "skin/form/skin_form_win32.h"
#include "skin/form/skin_menu_win32.h"
#include "win/app/app_fixture.h"

namespace kelmar::test {
namespace {

// The window's client area as it paints it, 0x00RRGGBB.
Image PrintClient(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  TBitmap bitmap(rc.right, rc.bottom);
  bitmap.Pixels().Fill(0x123456);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.Dc()), PRF_CLIENT);
  const ImageView p = bitmap.Pixels();
  Image image(p.Width(), p.Height());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) image.At(x, y) = p.At(x, y) & 0xFFFFFF;
  return image;
}

// With KELMAR_MENU_SHOTS set to a folder, the screen is written there as
// NAME.bmp, to look at what the tests saw.
void ScreenShot(const char* name) {
  char folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("KELMAR_MENU_SHOTS", folder, MAX_PATH)) return;
  // What was drawn reaches the display when messages are handled.
  PumpUntilQuiet();
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  TBitmap bitmap(w, h);
  HDC screen = GetDC(nullptr);
  BitBlt(bitmap.Dc(), 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ReleaseDC(nullptr, screen);
  const ImageView p = bitmap.Pixels();
  const BITMAPINFOHEADER info = TopDownDibHeader(w, h);
  const DWORD bytes = DWORD(w) * DWORD(h) * 4;
  BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(file) + sizeof(info) + bytes), 0, 0, DWORD(sizeof(file) + sizeof(info))};
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  if (FILE* f = fopen(path.c_str(), "wb")) {
    fwrite(&file, sizeof(file), 1, f);
    fwrite(&info, sizeof(info), 1, f);
    for (int y = 0; y < h; ++y) fwrite(&p.At(0, y), 4, size_t(w), f);
    fclose(f);
  }
}

// A platform colour (0x00BBGGRR) as a pixel (0x00RRGGBB).
Pixel PixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

Rect WindowRect(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  return FromRECT(rc);
}

Point Centre(const Rect& r) { return {r.left + r.Width() / 2, r.top + r.Height() / 2}; }

std::vector<std::string> Names(const TMenuItem* item) {
  std::vector<std::string> names;
  for (int i = 0; i < item->Count(); ++i) names.push_back(item->Items(i)->Name());
  return names;
}

std::vector<std::string> WindowItemNames(const TksSkinPopupWindow& w) {
  std::vector<std::string> names;
  for (const auto& item : w.Items) names.push_back(item.MenuItem->Name());
  return names;
}

class MenuTest : public FormTest {
 protected:
  void SetUp() override {
    // Away from every menu: the menus' mouse poll would follow the cursor.
    SetCursorPos(1, 1);
    FormTest::SetUp();
  }
  void TearDown() override {
    if (Menu().MenuOpen) Menu().CloseAll();
    FormTest::TearDown();
  }
  TksSkinForm& Frame() const { return *form->ksSkinForm1; }
  // Time passes on the menus' clock only here.
  void Wait(DWORD ms) { Elapse(clock, ms); }
  void Click(Point screen) {
    SetCursorPos(screen.x, screen.y);
    Wait(50);  // the menu's mouse poll sees the cursor first
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    PumpUntilQuiet();
  }
  TksSkinMenu& Menu() const { return Frame().SkinMenu(); }
  TksSkinPopupWindow& Level(size_t i) const { return *Menu().Windows().at(i); }
  void Key(WORD key) {
    PostMessageW(form->Handle(), WM_KEYDOWN, key, 0);
    Application().ProcessMessages();
  }
  TksSkinStdButtonObject* SysMenuButton() const {
    for (const auto& o : Frame().FrameObjects())
      if (o->IDName == "sysmenubutton") return dynamic_cast<TksSkinStdButtonObject*>(o.get());
    return nullptr;
  }
  void OpenSystemMenu() {
    const Rect w = WindowRect(form->Handle());
    Frame().PopupSystemMenu(RectOfSize(w.left + 200, w.top + 12, 0, 0));
  }

  TManualClock clock;
};

const std::vector<std::string> kMainWindowEntries{"KSF_MOVE",   "KSF_SIZE", "KSF_MINITEM", "KSF_MAXITEM",
                                                  "KSF_ROLLUP", "",         "KSF_CLOSE"};

TEST_F(MenuTest, TheMainWindowsEmptySystemMenuGivesTheBuiltInEntries) {
  ASSERT_EQ(Frame().SystemMenu(), form->PopupMenu1);
  EXPECT_FALSE(Frame().UseDefaultSysMenu);
  TMenuItem* items = Frame().SystemMenuItems();
  EXPECT_EQ(Names(items), kMainWindowEntries);
  EXPECT_EQ(form->PopupMenu1->Items()->Count(), 0);
  EXPECT_EQ(items->Items(0)->Caption, L"移动(&M)");
  EXPECT_EQ(items->Items(1)->Caption, L"大小(&S)");
  EXPECT_EQ(items->Items(2)->Caption, L"最小化(&N)");
  EXPECT_EQ(items->Items(3)->Caption, L"最大化(&X)");
  EXPECT_EQ(items->Items(4)->Caption, L"卷起(&L)");
  EXPECT_TRUE(items->Items(5)->IsLine());
  EXPECT_EQ(items->Items(6)->Caption, L"关闭(&C)");
  EXPECT_EQ(ShortCutToText(items->Items(6)->ShortCut), L"Alt+F4");
  // Rebuilt for each showing, after the state: maximized shows restore
  // (and can be neither moved nor sized).
  Frame().SetWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(Names(Frame().SystemMenuItems()),
            (std::vector<std::string>{"KSF_MINITEM", "KSF_RESTORE", "KSF_ROLLUP", "", "KSF_CLOSE"}));
  Frame().SetWindowState(TWindowState::wsNormal);
}

TEST_F(MenuTest, WithUseDefaultSysMenuTheBuiltInEntriesAreMergedOnce) {
  Frame().UseDefaultSysMenu = true;
  auto* about = form->PopupMenu1->Items()->Add(new TMenuItem("About", L"About"));
  for (int showing = 0; showing < 2; ++showing)
    EXPECT_EQ(Names(Frame().SystemMenuItems()),
              (std::vector<std::string>{"KSF_MOVE", "KSF_SIZE", "KSF_MINITEM", "KSF_MAXITEM", "KSF_ROLLUP", "About",
                                        "KSF_CLOSE"}));
  EXPECT_EQ(form->PopupMenu1->Items()->Items(5), about);
  // Without the merge the application's own entries show as they are.
  Frame().UseDefaultSysMenu = false;
  form->PopupMenu1->Items()->Clear();
  form->PopupMenu1->Items()->Add(new TMenuItem("Own", L"Own"));
  EXPECT_EQ(Names(Frame().SystemMenuItems()), (std::vector<std::string>{"Own"}));
  // A menu whose entries are all hidden leaves the window's own.
  form->PopupMenu1->Items()->Items(0)->Visible = false;
  EXPECT_EQ(Names(Frame().SystemMenuItems()), kMainWindowEntries);
}

TEST_F(MenuTest, TheSystemMenuIsASkinnedWindowThatTakesNoActivation) {
  SetActiveWindow(form->Handle());
  Application().ProcessMessages();
  const HWND active = GetActiveWindow();
  const Rect w = WindowRect(form->Handle());
  Frame().PopupSystemMenu(RectOfSize(w.left + 200, w.top + 12, 0, 0));
  ASSERT_EQ(Menu().Windows().size(), 1u);
  TksSkinPopupWindow& level = Level(0);
  EXPECT_TRUE(Frame().SkinMenuActive);
  EXPECT_TRUE(IsWindowVisible(level.Handle()));
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_FALSE(level.Plain());
  EXPECT_EQ(WindowItemNames(level), kMainWindowEntries);
  wchar_t className[64] = {};
  GetClassNameW(level.Handle(), className, 64);
  EXPECT_EQ(std::wstring(className), L"KelmarSkinPopup");
  EXPECT_NE(GetWindowLongPtrW(level.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  // At the cursor: the anchor point is the window's corner.
  const Rect r = WindowRect(level.Handle());
  EXPECT_EQ(r.left, w.left + 200);
  EXPECT_EQ(r.top, w.top + 12);
  // The skin's popup picture is 60 × 40 around items 2,2,58,38: six items of
  // 22 and a divider of 7, plus 4.
  EXPECT_EQ(r.Height(), 6 * 22 + 7 + 4);
  EXPECT_EQ(level.ItemsArea.left, 2);
  EXPECT_EQ(level.ItemsArea.top, 2);
  EXPECT_EQ(level.Items[5].ItemRect, (Rect{2, 112, r.Width() - 2, 119}));
  // The first item is highlighted.
  EXPECT_EQ(level.HighlightIndex, 0);
  // Menu item pictures: the hot first item from "activeskinrect", the
  // others from "skinrect" (active picture 4), at their fixed left columns.
  const TksSkinData& skin = form->ksSkinData1->Skin();
  const Image& picture = skin.ActivePictures.at(4);
  const Image shot = PrintClient(level.Handle());
  for (int y = 0; y < 22; ++y) {
    EXPECT_EQ(shot.At(3, 2 + y), picture.At(1, 22 + y) & 0xFFFFFF) << y;
    EXPECT_EQ(shot.At(3, 24 + y), picture.At(1, y) & 0xFFFFFF) << y;
  }
  // The command glyphs at the left in the text colour, and the close entry's
  // short-cut at the right.
  const Pixel text = PixelOf(2370078);
  EXPECT_EQ(shot.At(11, 119 + 8), text);  // the close glyph's diagonal
  auto textPixels = [&](int top) {
    int n = 0;
    for (int y = top; y < top + 22; ++y)
      for (int x = r.Width() - 6 - 16 - 20; x < r.Width() - 6 - 16; ++x) n += shot.At(x, y) == text;
    return n;
  };
  EXPECT_GT(textPixels(119), 10);
  EXPECT_EQ(textPixels(24), 0);
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(MenuTest, UpDownAndEnterChoose) {
  OpenSystemMenu();
  ASSERT_EQ(Menu().Windows().size(), 1u);
  Key(VK_DOWN);
  EXPECT_EQ(Level(0).HighlightIndex, 1);
  Key(VK_UP);
  EXPECT_EQ(Level(0).HighlightIndex, 0);
  Key(VK_UP);  // wraps past the end, over the divider
  EXPECT_EQ(Level(0).HighlightIndex, 6);
  for (int i = 0; i < 4; ++i) Key(VK_DOWN);
  EXPECT_EQ(Level(0).HighlightIndex, 3);  // maximize
  Key(VK_RETURN);
  EXPECT_FALSE(Menu().MenuOpen);
  EXPECT_TRUE(Menu().Windows().empty());
  EXPECT_FALSE(Frame().SkinMenuActive);
  EXPECT_EQ(Frame().FrameState, TWindowState::wsMaximized);
  Frame().SetWindowState(TWindowState::wsNormal);
}

TEST_F(MenuTest, EscapeClosesAndTheKeysGoBackToTheWindows) {
  OpenSystemMenu();
  ASSERT_TRUE(Menu().MenuOpen);
  Key(VK_ESCAPE);
  EXPECT_FALSE(Menu().MenuOpen);
  EXPECT_TRUE(Menu().Windows().empty());
  EXPECT_FALSE(Frame().SkinMenuActive);
  // The filter is gone: a key reaches its window again.
  MSG msg{};
  PostMessageW(form->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_TRUE(PeekMessageW(&msg, form->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
  Application().ProcessMessages();
  EXPECT_FALSE(PeekMessageW(&msg, form->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
}

TEST_F(MenuTest, TheMinimizeEntryMinimizesTheWindow) {
  OpenSystemMenu();
  Key('N');  // the entry's accelerator
  EXPECT_FALSE(Menu().MenuOpen);
  Application().ProcessMessages();
  EXPECT_TRUE(IsIconic(form->Handle()));
  ShowWindow(form->Handle(), SW_RESTORE);
  Application().ProcessMessages();
}

TEST_F(MenuTest, AMinimizedMainWindowsMenuRestoresIt) {
  ShowWindow(form->Handle(), SW_MINIMIZE);
  Application().ProcessMessages();
  ASSERT_TRUE(IsIconic(form->Handle()));
  EXPECT_EQ(Names(Frame().SystemMenuItems()),
            (std::vector<std::string>{"KSF_MAXITEM", "KSF_RESTORE", "", "KSF_CLOSE"}));
  OpenSystemMenu();
  Key('R');
  Application().ProcessMessages();
  EXPECT_FALSE(IsIconic(form->Handle()));
  EXPECT_EQ(Frame().FrameState, TWindowState::wsNormal);
}

TEST_F(MenuTest, ASkinChangeClosesTheMenuBeforeItsRecordsGo) {
  OpenSystemMenu();
  ASSERT_TRUE(Menu().MenuOpen);
  form->ksSkinData1->Skin().LoadCompressedSkin(*form->ksCompressedStoredSkin1);
  EXPECT_FALSE(Menu().MenuOpen);
  EXPECT_TRUE(Menu().Windows().empty());
  EXPECT_FALSE(Frame().SkinMenuActive);
  OpenSystemMenu();
  EXPECT_EQ(Menu().Windows().size(), 1u);
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(MenuTest, MorphingItemsFadeBetweenTheirImages) {
  TksSkinData& skin = form->ksSkinData1->Skin();
  auto* record = dynamic_cast<TksDataSkinMenuItem*>(skin.ObjectData.at(size_t(skin.FindObjectData("menuitem"))).get());
  ASSERT_NE(record, nullptr);
  record->morphing = true;
  OpenSystemMenu();
  TksSkinPopupWindow& level = Level(0);
  level.Track(Centre(level.Items[1].ItemRect));
  EXPECT_TRUE(level.Items[1].Hot);
  EXPECT_FALSE(level.Items[0].Hot);
  // Steps of 0.2 every 20 ms: under way at first, at the ends after five.
  Wait(20);
  EXPECT_NEAR(level.Items[1].FadeFactor, 0.2, 1e-6);
  Wait(80);
  EXPECT_EQ(level.Items[1].FadeFactor, 1);
  EXPECT_EQ(level.Items[0].FadeFactor, 0);
  // Half way, the item shows the blend of its two images.
  level.Items[1].FadeFactor = 0.4;
  level.Items[1].Hot = false;
  const Image shot = PrintClient(level.Handle());
  const Image& picture = skin.ActivePictures.at(4);
  const Pixel normal = picture.At(1, 5) & 0xFFFFFF, active = picture.At(1, 27) & 0xFFFFFF;
  ASSERT_NE(normal, active);
  const Pixel mixed = shot.At(3, level.Items[1].ItemRect.top + 5);
  for (int shift : {0, 8, 16}) {
    const int n = (normal >> shift) & 0xFF, a = (active >> shift) & 0xFF, m = (mixed >> shift) & 0xFF;
    EXPECT_NEAR(m, n + (a - n) * 0.4, 1.5) << shift;
  }
  record->morphing = false;
}

TEST_F(MenuTest, AClickOnAnItemChoosesItAndAClickOutsideCloses) {
  OpenSystemMenu();
  ASSERT_EQ(Menu().Windows().size(), 1u);
  // Outside: on the form's client area.
  const Rect w = WindowRect(form->Handle());
  Click({w.left + 300, w.top + 200});
  EXPECT_FALSE(Menu().MenuOpen);
  EXPECT_FALSE(Frame().SkinMenuActive);
  // On the roll-up entry.
  OpenSystemMenu();
  ASSERT_EQ(Menu().Windows().size(), 1u);
  Click(Centre(Level(0).ScreenRect(4)));
  EXPECT_FALSE(Menu().MenuOpen);
  EXPECT_TRUE(Frame().RollUpState);
  EXPECT_EQ(WindowRect(form->Handle()).Height(), 36);
  Frame().RollUp(false);
}

TEST_F(MenuTest, TheSystemMenuButtonDropsTheMenuUnderItselfAndComesUpAgain) {
  TksSkinStdButtonObject* button = SysMenuButton();
  ASSERT_NE(button, nullptr);
  button->MouseDown(1, 1, TMouseButton::mbLeft);
  EXPECT_TRUE(button->Pressed);
  ASSERT_EQ(Menu().Windows().size(), 1u);
  const Rect w = WindowRect(form->Handle());
  const Rect r = WindowRect(Level(0).Handle());
  EXPECT_EQ(r.left, w.left + button->ObjectRect.left);
  EXPECT_EQ(r.top, w.top + button->ObjectRect.bottom);
  EXPECT_EQ(WindowItemNames(Level(0)), kMainWindowEntries);
  Key(VK_ESCAPE);
  EXPECT_FALSE(button->Pressed);
  // And after a chosen entry.
  button->MouseDown(1, 1, TMouseButton::mbLeft);
  for (int i = 0; i < 3; ++i) Key(VK_DOWN);  // past move, size and minimize
  Key(VK_RETURN);
  EXPECT_FALSE(button->Pressed);
  EXPECT_EQ(Frame().FrameState, TWindowState::wsMaximized);
  Frame().SetWindowState(TWindowState::wsNormal);
}

TEST_F(MenuTest, AltSpaceOpensTheSystemMenu) {
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_EQ(Menu().Windows().size(), 1u);
  const Rect w = WindowRect(form->Handle());
  EXPECT_EQ(WindowRect(Level(0).Handle()).top, w.top + SysMenuButton()->ObjectRect.bottom);
  // Alt alone is the keyboard menu mode: it closes the menu.
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_FALSE(Menu().MenuOpen);
  EXPECT_TRUE(Frame().MainMenuMode);
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_FALSE(Frame().MainMenuMode);
}

// ------------------------------------------------------------ a test form

// A control that records the skin menu's messages.
class Opener : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::vector<UINT> messages;
  void WndProc(TMessage& m) override {
    if (m.Msg == SKIN_MSG_MENU_CLOSED || m.Msg == SKIN_MSG_MENU_ITEM_CHOSEN || m.Msg == WM_MOUSEWHEEL)
      messages.push_back(m.Msg);
    TWinControl::WndProc(m);
  }
};

class TestFormMenuTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    test = new TForm(nullptr, "TestForm");
    test->SetBounds(100, 100, 400, 300);
    test->Show();
    skinForm = new TksSkinForm(test, "ksSkinForm1");
    skinForm->SetSkinData(form->ksSkinData1);
    popup = new TksSkinPopupMenu(test, "PopupMenu1");
    TMenuItem* root = popup->Items();
    root->Add(Item("One", L"&One"));
    TMenuItem* sub = root->Add(Item("Sub", L"&Sub"));
    sub->Add(Item("A", L"&A"));
    sub->Add(Item("B", L"&B"));
    root->Add(new TMenuItem("Line", L"-"));
    root->Add(Item("Disabled", L"&Disabled"))->Enabled = false;
    TMenuItem* check = root->Add(Item("Check", L"&Check"));
    check->Checked = true;
    Application().ProcessMessages();
  }
  void TearDown() override {
    if (skinForm->SkinMenu().MenuOpen) skinForm->SkinMenu().CloseAll();
    delete test;
    Application().ProcessMessages();
    MenuTest::TearDown();
  }
  TMenuItem* Item(const char* name, const wchar_t* caption) {
    auto* item = new TMenuItem(name, caption);
    item->OnClick = [this, name] { clicked.push_back(name); };
    return item;
  }
  TksSkinMenu& TestMenu() const { return skinForm->SkinMenu(); }
  TksSkinPopupWindow& TestLevel(size_t i) const { return *TestMenu().Windows().at(i); }
  void TestKey(WORD key) {
    PostMessageW(test->Handle(), WM_KEYDOWN, key, 0);
    Application().ProcessMessages();
  }
  Point ItemPoint(size_t level, int index) const {
    const Rect r = TestLevel(level).Items.at(size_t(index)).ItemRect;
    return Centre(r);
  }
  // A menu of n items "0" … "n-1" on the test form.
  TksSkinPopupMenu* LongMenu(int n) {
    auto* menu = new TksSkinPopupMenu(test, "LongMenu");
    for (int i = 0; i < n; ++i) menu->Items()->Add(Item("long", std::to_wstring(i).c_str()));
    return menu;
  }

  TForm* test = nullptr;
  TksSkinForm* skinForm = nullptr;
  TksSkinPopupMenu* popup = nullptr;
  std::vector<std::string> clicked;
};

TEST_F(TestFormMenuTest, APopupMenuFindsItsSkinnedForm) {
  EXPECT_EQ(popup->FindSkinForm(), skinForm);
  TksSkinPopupMenu orphan(nullptr, "Orphan");
  orphan.Items()->Add(new TMenuItem("x", L"x"));
  EXPECT_EQ(orphan.FindSkinForm(), nullptr);
  orphan.Popup(10, 10);  // nothing to show it: nothing happens
  orphan.SetTargetForm(test);
  EXPECT_EQ(orphan.FindSkinForm(), skinForm);
}

TEST_F(TestFormMenuTest, ASubMenuOpensAfterItsDelayUnderTheMouse) {
  popup->Popup(150, 150);
  ASSERT_EQ(TestMenu().Windows().size(), 1u);
  TksSkinPopupWindow& top = TestLevel(0);
  top.Track(ItemPoint(0, 1));
  EXPECT_EQ(top.HighlightIndex, 1);
  EXPECT_EQ(TestMenu().PendingItem(), popup->Items()->Items(1));
  Wait(490);
  EXPECT_EQ(TestMenu().Windows().size(), 1u);
  Wait(10);
  ASSERT_EQ(TestMenu().Windows().size(), 2u);
  ScreenShot("submenu_after_delay");
  EXPECT_TRUE(TestLevel(0).Items[1].SubMenuOpen);
  EXPECT_EQ(WindowItemNames(TestLevel(1)), (std::vector<std::string>{"A", "B"}));
  // Beside the parent item, its first item level with it.
  const Rect parent = TestLevel(0).ScreenRect(1);
  const Rect sub = WindowRect(TestLevel(1).Handle());
  EXPECT_EQ(sub.left, parent.right + 1);
  EXPECT_EQ(sub.top + TestLevel(1).ItemsArea.top, parent.top);
  // Another item of the top level closes it.
  TestLevel(0).Track(ItemPoint(0, 0));
  EXPECT_EQ(TestMenu().Windows().size(), 1u);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(TestFormMenuTest, RightOpensTheSubMenuAtOnceAndLeftClosesIt) {
  popup->Popup(150, 150);
  TestKey(VK_DOWN);
  EXPECT_EQ(TestLevel(0).HighlightIndex, 1);
  EXPECT_EQ(TestMenu().PendingItem(), nullptr);  // no delayed opening by keys
  TestKey(VK_RIGHT);
  ASSERT_EQ(TestMenu().Windows().size(), 2u);
  EXPECT_EQ(TestLevel(1).HighlightIndex, 0);
  TestKey(VK_DOWN);
  EXPECT_EQ(TestLevel(1).HighlightIndex, 1);
  TestKey(VK_LEFT);
  ASSERT_EQ(TestMenu().Windows().size(), 1u);
  EXPECT_EQ(TestLevel(0).HighlightIndex, 1);
  EXPECT_FALSE(TestLevel(0).Items[1].SubMenuOpen);
  // Escape on a sub-menu closes that level only.
  TestKey(VK_RIGHT);
  TestKey(VK_ESCAPE);
  EXPECT_EQ(TestMenu().Windows().size(), 1u);
  TestKey(VK_RIGHT);
  TestKey(VK_RETURN);
  EXPECT_EQ(clicked, (std::vector<std::string>{"Sub", "Sub", "Sub", "A"}));
  EXPECT_FALSE(TestMenu().MenuOpen);
}

TEST_F(TestFormMenuTest, ADisabledItemCannotBeChosen) {
  popup->Popup(150, 150);
  TksSkinPopupWindow& top = TestLevel(0);
  // The arrows pass over it and over the divider.
  TestKey(VK_DOWN);
  TestKey(VK_DOWN);
  EXPECT_EQ(top.HighlightIndex, 4);
  TestKey(VK_DOWN);
  EXPECT_EQ(top.HighlightIndex, 0);
  // Under the mouse it is highlighted but not hot, and neither a click, Enter
  // nor its accelerator runs it.
  top.Track(ItemPoint(0, 3));
  ScreenShot("disabled_item");
  EXPECT_EQ(top.HighlightIndex, 3);
  EXPECT_FALSE(top.Items[3].Hot);
  top.Click(ItemPoint(0, 3));
  TestKey(VK_RETURN);
  TestKey('D');
  EXPECT_TRUE(clicked.empty());
  ASSERT_TRUE(TestMenu().MenuOpen);
  // Its text is in the skin's disabled colour, the others' in the normal one.
  const Image shot = PrintClient(top.Handle());
  auto count = [&](int index, Pixel colour) {
    const Rect r = top.Items[size_t(index)].ItemRect;
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left + 22; x < r.right - 16; ++x) n += shot.At(x, y) == colour;
    return n;
  };
  EXPECT_GT(count(3, PixelOf(9741735)), 10);
  EXPECT_EQ(count(3, PixelOf(2370078)), 0);
  EXPECT_GT(count(4, PixelOf(2370078)), 10);
  // A click on an enabled item runs it.
  top.Track(ItemPoint(0, 4));
  top.Click(ItemPoint(0, 4));
  EXPECT_EQ(clicked, (std::vector<std::string>{"Check"}));
}

TEST_F(TestFormMenuTest, AMenuTallerThanTheMonitorScrolls) {
  TksSkinPopupMenu* menu = LongMenu(80);
  menu->Popup(150, 150);
  ASSERT_EQ(TestMenu().Windows().size(), 1u);
  TksSkinPopupWindow& level = TestLevel(0);
  const Rect area = TestMenu().MenuWorkArea;
  const Rect r = WindowRect(level.Handle());
  EXPECT_EQ(r.Height(), area.Height());
  EXPECT_EQ(r.top, area.top);
  EXPECT_TRUE(level.Scrolling);
  // Items between the two 10-pixel bands of the 4 the frame adds.
  const int shown = (area.Height() - 4 - 20) / 22;
  EXPECT_EQ(level.ShownItemCount, shown);
  EXPECT_TRUE(level.Items[0].Visible);
  EXPECT_FALSE(level.Items[size_t(shown)].Visible);
  EXPECT_EQ(level.Items[0].ItemRect.top, 2 + 10);
  // Up from the first item wraps to the last, scrolled into view.
  TestKey(VK_UP);
  EXPECT_EQ(level.HighlightIndex, 79);
  EXPECT_EQ(level.FirstShownIndex, 80 - shown);
  EXPECT_TRUE(level.Items[79].Visible);
  ScreenShot("scrolled_to_the_end");
  TestKey(VK_DOWN);
  EXPECT_EQ(level.FirstShownIndex, 0);
  // The mouse in the bottom band scrolls one item every 100 ms.
  SetCursorPos(r.left + r.Width() / 2, r.top + level.ItemsArea.bottom - 5);
  Wait(80);
  EXPECT_EQ(level.ScrollDirection, 2);
  const int before = level.FirstShownIndex;
  Wait(350);
  EXPECT_GE(level.FirstShownIndex, before + 2);
  EXPECT_LE(level.FirstShownIndex, before + 4);
  // Off the band it stops.
  SetCursorPos(r.left + r.Width() / 2, r.top + 200);
  Wait(80);
  EXPECT_EQ(level.ScrollDirection, 0);
  const int stopped = level.FirstShownIndex;
  Wait(250);
  EXPECT_EQ(level.FirstShownIndex, stopped);
  SetCursorPos(1, 1);
}

TEST_F(TestFormMenuTest, MaxMenuItemsInWindowLimitsALevelAndShowsScrollMarks) {
  skinForm->SetMaxMenuItemsInWindow(5);
  TksSkinPopupMenu* menu = LongMenu(8);
  menu->Popup(150, 150);
  TksSkinPopupWindow& level = TestLevel(0);
  const Rect r = WindowRect(level.Handle());
  EXPECT_EQ(r.Height(), 5 * 22 + 4 + 20);
  EXPECT_TRUE(level.Scrolling);
  EXPECT_EQ(level.ShownItemCount, 5);
  ScreenShot("five_of_eight");
  // Up arrows at the middle of the top band, down arrows in the bottom one,
  // in "scrollmarkercolor"; the one that scrolls in "scrollmarkeractivecolor".
  const int cx = level.ItemsArea.left + level.ItemsArea.Width() / 2;
  const int top = level.ItemsArea.top + 5, bottom = level.ItemsArea.bottom - 10 + 5;
  Image shot = PrintClient(level.Handle());
  EXPECT_EQ(shot.At(cx, top - 2), PixelOf(9741735));
  EXPECT_EQ(shot.At(cx, bottom + 2), PixelOf(9741735));
  level.Track({cx, bottom});
  shot = PrintClient(level.Handle());
  EXPECT_EQ(shot.At(cx, bottom + 2), PixelOf(2370078));
  EXPECT_EQ(shot.At(cx, top - 2), PixelOf(9741735));
  // Negative limits are ignored.
  skinForm->SetMaxMenuItemsInWindow(-1);
  EXPECT_EQ(TestMenu().MaxMenuItemsInWindow, 5);
}

TEST_F(TestFormMenuTest, ANearTheBottomPopupOpensAboveItsPoint) {
  popup->Popup(150, 150);
  const Rect area = TestMenu().MenuWorkArea;
  const int h = WindowRect(TestLevel(0).Handle()).Height();
  popup->Popup(150, area.bottom - 5);
  ASSERT_EQ(TestMenu().Windows().size(), 1u);
  const Rect r = WindowRect(TestLevel(0).Handle());
  EXPECT_EQ(r.top, area.bottom - 5 - h);
  EXPECT_EQ(r.left, 150);
}

TEST_F(TestFormMenuTest, TheOpenerHearsThatTheMenuClosedAndThatAnItemWasChosen) {
  Opener opener(nullptr, "Opener");
  opener.SetBounds(0, 0, 10, 10);
  opener.SetParent(test);
  skinForm->SkinMenuOpened();
  TestMenu().Popup(&opener, form->ksSkinData1, false, popup->Items(), RectOfSize(150, 150, 0, 0), 0);
  ASSERT_TRUE(TestMenu().MenuOpen);
  EXPECT_TRUE(skinForm->SkinMenuActive);
  TestKey(VK_RETURN);
  EXPECT_EQ(clicked, (std::vector<std::string>{"One"}));
  EXPECT_EQ(opener.messages, (std::vector<UINT>{SKIN_MSG_MENU_CLOSED, SKIN_MSG_MENU_ITEM_CHOSEN}));
  EXPECT_EQ(TestMenu().LastOpenerControl(), &opener);
  EXPECT_FALSE(skinForm->SkinMenuActive);  // the form heard 1228 too
  // A first index leaves the items before it out.
  TestMenu().Popup(nullptr, nullptr, false, popup->Items(), RectOfSize(150, 150, 0, 0), 3);
  ASSERT_EQ(TestMenu().Windows().size(), 1u);
  EXPECT_EQ(WindowItemNames(TestLevel(0)), (std::vector<std::string>{"Disabled", "Check"}));
  TestMenu().CloseAll();
  opener.SetParent(nullptr);
}

TEST_F(TestFormMenuTest, WithoutASkinTheMenuHasThePlainLook) {
  popup->SetSkinData(nullptr);
  skinForm->SetSkinData(nullptr);
  popup->Popup(150, 150);
  ASSERT_EQ(TestMenu().Windows().size(), 1u);
  TksSkinPopupWindow& level = TestLevel(0);
  ScreenShot("plain_look");
  EXPECT_TRUE(level.Plain());
  // Items of DefMenuItemHeight (20), the divider 4, plus 6.
  const Rect r = WindowRect(level.Handle());
  EXPECT_EQ(r.Height(), 4 * 20 + 4 + 6);
  EXPECT_EQ(level.ItemsArea, (Rect{3, 3, r.Width() - 3, r.Height() - 3}));
  const Image shot = PrintClient(level.Handle());
  EXPECT_EQ(shot.At(0, 0), PixelOf(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(shot.At(1, 1), PixelOf(GetSysColor(COLOR_WINDOW)));
  // The hot first item: navy frame, light fill.
  EXPECT_EQ(shot.At(3, 3), PixelOf(0x800000));
  EXPECT_EQ(shot.At(5, 5), PixelOf(13811126));
  // The second: the band in the button face colour, then the window colour.
  EXPECT_EQ(shot.At(5, 25), PixelOf(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(shot.At(r.Width() - 6, 25), PixelOf(GetSysColor(COLOR_WINDOW)));
  // The divider: a line across its middle, right of the band.
  EXPECT_EQ(shot.At(3 + 19 + 5, 43 + 2), PixelOf(GetSysColor(COLOR_BTNSHADOW)));
  // The check mark of the checked item, in the window text colour.
  int marks = 0;
  for (int y = 67; y < 87; ++y)
    for (int x = 5; x < 14; ++x) marks += shot.At(x, y) == PixelOf(GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_GT(marks, 5);
}

TEST_F(TestFormMenuTest, TheMouseWheelDoesNothingWhileAMenuIsOpen) {
  Opener target(nullptr, "Target");
  target.SetBounds(0, 0, 50, 50);
  target.SetParent(test);
  popup->Popup(150, 150);
  ASSERT_TRUE(TestMenu().MenuOpen);
  PostMessageW(target.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  Application().ProcessMessages();
  EXPECT_TRUE(target.messages.empty());
  TestKey(VK_ESCAPE);
  PostMessageW(target.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  Application().ProcessMessages();
  EXPECT_EQ(target.messages, (std::vector<UINT>{WM_MOUSEWHEEL}));
  target.SetParent(nullptr);
}

TEST_F(TestFormMenuTest, MenusAlphaBlendShowsLayeredWindowsAtItsValue) {
  TestMenu().MenusAlphaBlend = true;
  TestMenu().MenusAlphaBlendValue = 180;
  TestMenu().MenusAlphaBlendAnimation = true;
  popup->Popup(150, 150);
  TestKey(VK_DOWN);
  TestKey(VK_RIGHT);
  ASSERT_EQ(TestMenu().Windows().size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const HWND h = TestLevel(i).Handle();
    EXPECT_NE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 180);
    EXPECT_NE(flags & LWA_ALPHA, 0u);
  }
  TestMenu().CloseAll();
  TestMenu().MenusAlphaBlend = false;
  popup->Popup(150, 150);
  EXPECT_EQ(GetWindowLongPtrW(TestLevel(0).Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

// A 16 × 16 icon of one colour.
IconHandle PlainIcon(COLORREF colour) {
  HDC screen = GetDC(nullptr);
  BitmapHandle image(CreateCompatibleBitmap(screen, 16, 16));
  BitmapHandle mask(CreateBitmap(16, 16, 1, 1, nullptr));
  ReleaseDC(nullptr, screen);
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  {
    ScopedSelect s(dc, image);
    TCanvas(dc).FillRect({0, 0, 16, 16}, colour);
  }
  {
    ScopedSelect s(dc, mask);
    TCanvas(dc).FillRect({0, 0, 16, 16}, RGB(0, 0, 0));  // all of it opaque
  }
  ICONINFO info{TRUE, 0, 0, mask, image};
  return IconHandle(CreateIconIndirect(&info));
}

TEST_F(TestFormMenuTest, ItemImagesComeFromTheMenusImageList) {
  TImageList images(nullptr, "Images", 16, 16);
  images.AddIcon(PlainIcon(RGB(255, 0, 0)));
  popup->SetImages(&images);
  TMenuItem* root = popup->Items();
  root->Items(0)->ImageIndex = 0;
  root->Items(4)->ImageIndex = 0;  // checked: framed
  popup->Popup(150, 150);
  TksSkinPopupWindow& level = TestLevel(0);
  EXPECT_EQ(level.IconColumnWidth, 16 + 5);
  const Image shot = PrintClient(level.Handle());
  // At the text area's left + 2 (item left 2, text left 6), centred.
  const Rect one = level.Items[0].ItemRect, check = level.Items[4].ItemRect;
  const int x = one.left + 6 + 2, y = one.top + 11 - 8;
  EXPECT_EQ(shot.At(x, y), 0xFF0000u);
  EXPECT_EQ(shot.At(x + 15, y + 15), 0xFF0000u);
  EXPECT_NE(shot.At(x - 1, y + 8), 0xFF0000u);
  const int cy = check.top + 11 - 8;
  EXPECT_EQ(shot.At(x + 8, cy + 8), 0xFF0000u);
  EXPECT_EQ(shot.At(x - 1, cy + 8), PixelOf(2370078));
  EXPECT_EQ(shot.At(x + 8, cy - 1), PixelOf(2370078));
  // No check mark beside the image.
  EXPECT_NE(shot.At(x + 8, cy + 8), PixelOf(2370078));
  TestMenu().CloseAll();
}

TEST_F(TestFormMenuTest, AnOwnerDrawnItemPaintsItself) {
  std::vector<bool> hotness;
  popup->Items()->Items(0)->OnDrawItem = [&](TMenuItem& item, TCanvas& canvas, bool hot, const Rect& r) {
    hotness.push_back(hot);
    canvas.FillRect(r, RGB(0, 0, 255));
  };
  popup->Popup(150, 150);
  TksSkinPopupWindow& level = TestLevel(0);
  const Image shot = PrintClient(level.Handle());
  ASSERT_FALSE(hotness.empty());
  EXPECT_TRUE(hotness.back());  // the first item is highlighted
  const Rect r = level.Items[0].ItemRect;
  EXPECT_EQ(shot.At(r.left + 10, r.top + 5), 0x0000FFu);
  EXPECT_EQ(shot.At(r.right - 20, r.top + 5), 0x0000FFu);
  TestMenu().CloseAll();
}

TEST_F(TestFormMenuTest, TheCloseEntryClosesTheForm) {
  const Rect w = WindowRect(test->Handle());
  skinForm->PopupSystemMenu(RectOfSize(w.left + 50, w.top + 10, 0, 0));
  ASSERT_EQ(TestMenu().Windows().size(), 1u);
  TestKey('C');
  EXPECT_FALSE(IsWindowVisible(test->Handle()));
}

}  // namespace
}  // namespace kelmar::test
