// The skinned combo box on a test form with the program's own skin: its
// drop-down list (a pop-up window of ours), the mouse on the box and in the
// list, the keys, type-ahead, the wheel, and what closes the list.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "skin/controls/skin_controls_win32.h"
#include "win/mouse_input.h"
#include "skin_controls_fixture.h"

namespace kelmar::test {
namespace {

const std::vector<std::wstring> kTypes{L"图标", L"图片", L"原图"};

std::vector<std::wstring> Numbered(int n) {
  std::vector<std::wstring> items;
  for (int i = 0; i < n; ++i) items.push_back(L"item " + std::to_wstring(i));
  return items;
}

// skins/default/skin.ini: [combobox] skinrect 60 × 19, "listbox" rows of 18
// in a frame of 40 with a 38-high client part.
constexpr int kRow = 18;
int ListHeight(int rows) { return 40 + rows * kRow - 38; }

// A key with Alt held, as the system sends it.
void PressAltKey(TWinControl* focused, WORD key) {
  BYTE saved[256], held[256];
  GetKeyboardState(saved);
  GetKeyboardState(held);
  held[VK_MENU] = 0x80;
  SetKeyboardState(held);
  PostMessageW(focused->Handle(), WM_SYSKEYDOWN, key, 1 | (1 << 29));
  Application().ProcessMessages();
  SetKeyboardState(saved);
}

void Type(TWinControl* focused, wchar_t ch) {
  PostMessageW(focused->Handle(), WM_CHAR, ch, 1);
  Application().ProcessMessages();
}

void Wheel(TWinControl* control, int delta) {
  SendMessageW(control->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
}

Rect ScreenRect(TWinControl* control) { return WindowBounds(control->Handle()); }

Image Crop(const Image& image, const Rect& r) {
  Image out(r.Width(), r.Height());
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) out.At(x, y) = image.At(r.left + x, r.top + y);
  return out;
}

class ComboBox : public SkinControls {
 protected:
  TksSkinComboBox* Combo(const std::vector<std::wstring>& items, int index = 0, bool skinned = true) {
    auto* c = Add(new TksSkinComboBox(form, "combo"), 20, 20, 54, 20, nullptr, skinned);
    c->SetItems(items);
    c->SetItemIndex(index);
    c->OnChange = [this] { ++changes; };
    c->OnClick = [this] { ++clicks; };
    c->OnDropDown = [this] { ++dropDowns; };
    c->OnCloseUp = [this] { ++closeUps; };
    return c;
  }
  // A point in the middle of a row of the open list, in the inner list.
  static Point Row(TksSkinComboBox* c, int row) {
    return {10, (row - c->ListBox()->TopIndex()) * c->ListBox()->ItemHeight() + c->ListBox()->ItemHeight() / 2};
  }
  // The same point as the combo box, which holds the mouse, sees it.
  static Point RowInCombo(TksSkinComboBox* c, int row) {
    const Point p = Row(c, row);
    POINT at{p.x, p.y};
    MapWindowPoints(c->ListBox()->InnerList()->Handle(), c->Handle(), &at, 1);
    return {at.x, at.y};
  }
  static void ClickRow(TksSkinComboBox* c, int row) {
    PressMouse(c->ListBox()->InnerList(), Row(c, row));
    ReleaseMouse(c->ListBox()->InnerList(), Row(c, row));
  }
  static Point Middle(TControl* c) { return {c->Width() / 2, c->Height() / 2}; }

  int changes = 0, clicks = 0, dropDowns = 0, closeUps = 0;
};

TEST_F(ComboBox, AClickOpensAPopupOfOursAndAClickOnAnItemChoosesIt) {
  auto* c = Combo(kTypes);
  changes = clicks = 0;
  EXPECT_EQ(c->Height(), 19);  // the skin's height
  HWND active = GetActiveWindow();
  Click(c);
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_EQ(dropDowns, 1);
  HWND popup = c->ListBox()->Handle();
  EXPECT_TRUE(IsWindowVisible(popup));
  wchar_t cls[64] = {};
  GetClassNameW(popup, cls, 64);
  EXPECT_EQ(std::wstring(cls).rfind(L"KelmarWindow", 0), 0u) << cls;
  EXPECT_TRUE(GetWindowLongW(popup, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), form->Handle());
  EXPECT_EQ(GetActiveWindow(), active);
  // Three rows under the box, as wide as the box, no scroll bar.
  const Rect box = ScreenRect(c), list = ScreenRect(c->ListBox());
  EXPECT_EQ(list, RectOfSize(box.left, box.bottom, 54, ListHeight(3)));
  EXPECT_TRUE(!c->ListBox()->ScrollBar() || !c->ListBox()->ScrollBar()->Visible());

  ClickRow(c, 1);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(popup));
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Text(), L"图片");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(closeUps, 1);
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_TRUE(c->Focused());
}

TEST_F(ComboBox, ReleasingOverAnItemAfterADragAcceptsItReleasingElsewhereDoesNot) {
  auto* c = Combo(kTypes);
  clicks = 0;
  PressMouse(c, Middle(c));
  ASSERT_TRUE(c->DroppedDown());
  MoveMouse(c, RowInCombo(c, 2));
  EXPECT_EQ(c->ListBox()->ItemIndex(), 2);  // the row follows the pointer
  ReleaseMouse(c, RowInCombo(c, 2));
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(c->Text(), L"原图");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(closeUps, 1);

  PressMouse(c, Middle(c));
  MoveMouse(c, RowInCombo(c, 0));
  EXPECT_EQ(c->ListBox()->ItemIndex(), 0);
  MoveMouse(c, {300, 5});
  ReleaseMouse(c, {300, 5});
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(c->Text(), L"原图");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(closeUps, 1);
}

TEST_F(ComboBox, AClickOnTheBoxLeavesTheListOpenTheNextOneClosesItUnchanged) {
  auto* c = Combo(kTypes);
  clicks = changes = 0;
  Click(c);
  EXPECT_TRUE(c->DroppedDown());
  // The free pointer moves the list's row, not the choice.
  MoveMouse(c->ListBox()->InnerList(), Row(c, 2));
  EXPECT_EQ(c->ListBox()->ItemIndex(), 2);
  EXPECT_EQ(c->ItemIndex(), 2);  // the list's selection, until it closes
  Click(c);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(c->Text(), L"图标");
  EXPECT_EQ(clicks + changes + closeUps, 0);
}

TEST_F(ComboBox, TheKeysStepOpenChooseAndCancel) {
  auto* c = Combo(kTypes);
  c->SetFocus();
  clicks = changes = 0;
  PressKey(c, VK_DOWN);
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Text(), L"图片");
  PressKey(c, VK_UP);
  EXPECT_EQ(c->ItemIndex(), 0);
  PressKey(c, VK_UP);  // nothing before the first
  EXPECT_EQ(clicks, 2);
  PressKey(c, VK_END);
  EXPECT_EQ(c->ItemIndex(), 2);
  PressKey(c, VK_HOME);
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_TRUE(c->Focused());  // the arrows did not move the focus

  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  PressKey(c, VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(closeUps, 0);

  // Steps made with the keys while the list is open stay after Esc.
  clicks = 0;
  PressKey(c, VK_F4);
  ASSERT_TRUE(c->DroppedDown());
  PressKey(c, VK_DOWN);
  PressKey(c, VK_DOWN);
  PressKey(c, VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(c->Text(), L"原图");
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(closeUps, 0);

  PressAltKey(c, VK_DOWN);
  MoveMouse(c->ListBox()->InnerList(), Row(c, 1));
  PressKey(c, VK_RETURN);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(closeUps, 1);
  PressAltKey(c, VK_DOWN);
  PressAltKey(c, VK_UP);
  EXPECT_FALSE(c->DroppedDown());
}

TEST_F(ComboBox, PageKeysStepByTheDropDownCount) {
  auto* c = Combo(Numbered(20), 10);
  c->SetFocus();
  PressKey(c, VK_PRIOR);
  EXPECT_EQ(c->ItemIndex(), 1);
  PressKey(c, VK_NEXT);
  EXPECT_EQ(c->ItemIndex(), 8);
}

TEST_F(ComboBox, TypedLettersFindItemsByTheirBeginning) {
  auto* c = Combo({L"cherry", L"apple", L"Apricot", L"banana"});
  c->SetFocus();
  Type(c, L'a');  // the next item from the current one
  EXPECT_EQ(c->ItemIndex(), 1);
  Type(c, L'P');  // "aP": from the first item, in any case
  EXPECT_EQ(c->ItemIndex(), 1);
  Type(c, L'r');
  EXPECT_EQ(c->ItemIndex(), 2);
  Type(c, L'z');  // nothing begins with "aprz"
  EXPECT_EQ(c->ItemIndex(), 2);
  Wait(600);
  Type(c, L'a');  // a new search, after the current item, around the end
  EXPECT_EQ(c->ItemIndex(), 1);
  Wait(600);
  Type(c, L'b');
  EXPECT_EQ(c->ItemIndex(), 3);

  c->AutoComplete = false;
  Type(c, L'c');
  Type(c, L'h');  // searched alone: nothing begins with "h"
  EXPECT_EQ(c->ItemIndex(), 0);
}

TEST_F(ComboBox, TheWheelStepsTheChoiceAndOnlyTheRowWhileOpen) {
  auto* c = Combo(kTypes);
  c->SetFocus();
  Wheel(c, -120);
  EXPECT_EQ(c->ItemIndex(), 1);
  Wheel(c, 120);
  EXPECT_EQ(c->ItemIndex(), 0);
  Wheel(c, 120);
  EXPECT_EQ(c->ItemIndex(), 0);
  clicks = 0;
  PressAltKey(c, VK_DOWN);
  Wheel(c, -120);
  Wheel(c, -120);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 2);
  EXPECT_EQ(clicks, 0);
  PressKey(c, VK_ESCAPE);
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(c->Text(), L"图标");
}

TEST_F(ComboBox, NearTheBottomOfTheWorkAreaTheListOpensAbove) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  form->SetBounds(120, work.bottom - 120, 420, 220);
  auto* c = Combo(Numbered(8));
  const Rect box = ScreenRect(c);
  ASSERT_GT(box.bottom + ListHeight(8), work.bottom);
  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_EQ(ScreenRect(c->ListBox()), RectOfSize(box.left, box.top - ListHeight(8), 54, ListHeight(8)));
}

TEST_F(ComboBox, APressElsewhereLosingTheFocusOrMovingTheFormClosesTheList) {
  auto* c = Combo(kTypes);
  auto* other = Add(new TksSkinButton(form, "other"), 200, 20, 60, 25);
  c->SetFocus();
  // A press anywhere else, as the message loop takes it.
  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  PostMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 150));
  PostMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 150));
  Application().ProcessMessages();
  EXPECT_FALSE(c->DroppedDown());

  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  other->SetFocus();
  EXPECT_FALSE(c->DroppedDown());

  c->SetFocus();
  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  form->SetBounds(form->Left() + 30, form->Top() + 10, form->Width(), form->Height());
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(closeUps, 0);
  EXPECT_EQ(c->ItemIndex(), 0);
}

TEST_F(ComboBox, TheButtonAndTheRowsShowTheSkinsPictures) {
  // [combobox] at 54 wide: the button moves 6 to the left, to 37,1–53,18.
  const Rect button{37, 1, 53, 18};
  auto* c = Combo(kTypes);
  MoveMouse(c, {45, 9});
  EXPECT_TRUE(c->ButtonHot());
  EXPECT_EQ(Crop(Shot(c), button), Piece({60, 121, 76, 138}));
  PressMouse(c, {45, 9});
  EXPECT_EQ(Crop(Shot(c), button), Piece({76, 121, 92, 138}));
  ReleaseMouse(c, {45, 9});
  Click(c);  // closes the list again
  MoveAway();
  c->SetEnabled(false);
  EXPECT_EQ(Crop(Shot(c), button), Piece({92, 121, 108, 138}));
  c->SetEnabled(true);

  // [listbox] rows: their left three columns are fixed, from "itemrect"
  // (40…58) or, selected, "activeitemrect" (58…76) of picture 5.
  c->SetFocus();
  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  const Image rows = Shot(c->ListBox()->InnerList());
  const Image& list = skin->Skin().ActivePictures.at(5);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(rows.At(x, 9), Rgb(list.At(1 + x, 58 + 9)));
    EXPECT_EQ(rows.At(x, kRow + 9), Rgb(list.At(1 + x, 40 + 9)));
  }
}

// The rows (of pixels) of the open list's second item that hold dark text.
int SecondRowInkHeight(TksSkinComboBox* c) {
  const Image rows = Shot(c->ListBox()->InnerList());
  const int h = c->ListBox()->ItemHeight();
  int top = -1, bottom = -1;
  for (int y = h; y < 2 * h && y < rows.Height(); ++y)
    for (int x = 0; x < rows.Width(); ++x) {
      const Pixel p = rows.At(x, y);
      if ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF) >= 300) continue;
      if (top < 0) top = y;
      bottom = y;
    }
  return top < 0 ? 0 : bottom - top + 1;
}

TEST_F(ComboBox, AtAScaleTheOpenListWritesInAFontForIt) {
  auto* c = Combo(kTypes);
  c->SetFocus();
  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  const int at96 = SecondRowInkHeight(c);
  PressKey(c, VK_ESCAPE);
  ASSERT_FALSE(c->DroppedDown());
  ASSERT_GT(at96, 6);

  // The form and the skin at 150 %: the list, a window of its own outside
  // the form, writes as large as a start at that scale would.
  skin->Skin().SetDpi(144);
  form->ScaleChildren(144);
  Application().ProcessMessages();
  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_NEAR(SecondRowInkHeight(c), at96 * 3 / 2, 1) << "at 96 DPI: " << at96;
}

TEST_F(ComboBox, WithoutASkinTheButtonIsFramedInShadowAndNavyWhenHot) {
  auto* c = Combo(kTypes, 0, false);
  c->SetBounds(20, 20, 120, 20);
  // The plain areas: a 17-wide button 2 pixels in from the right.
  EXPECT_EQ(c->Areas().button, (Rect{101, 2, 118, 18}));
  MoveAway();
  EXPECT_EQ(Shot(c).At(101, 2), SysPixel(COLOR_BTNSHADOW));
  MoveMouse(c, {110, 10});
  Image hot = Shot(c);
  EXPECT_EQ(hot.At(101, 2), Rgb(PixelFromColor(RGB(0, 0, 128))));
  EXPECT_EQ(hot.At(103, 4), Rgb(PixelFromColor(RGB(182, 189, 210))));
  PressMouse(c, {110, 10});
  EXPECT_EQ(Shot(c).At(103, 4), Rgb(PixelFromColor(RGB(133, 147, 181))));
  ReleaseMouse(c, {110, 10});
  // The plain list: two pixels of frame around rows of 20.
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_EQ(ScreenRect(c->ListBox()).Height(), 3 * 20 + 4);
  EXPECT_EQ(c->ListBox()->InnerList()->BoundsRect(), (Rect{2, 2, 118, 62}));
}

TEST_F(ComboBox, ALongListScrollsWithItsSkinnedBar) {
  auto* c = Combo(Numbered(20));
  c->ListBoxWidth = 120;
  PressAltKey(c, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  TksPopupListBox* list = c->ListBox();
  EXPECT_EQ(list->Height(), ListHeight(8));
  TksSkinScrollBar* bar = list->ScrollBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->Visible());
  // [vscrollbar] is 17 wide, at the right of the client part (1…119).
  EXPECT_EQ(bar->BoundsRect(), (Rect{102, 1, 119, ListHeight(8) - 1}));
  EXPECT_EQ(list->InnerList()->BoundsRect(), (Rect{1, 1, 102, ListHeight(8) - 1}));
  EXPECT_EQ(bar->Min(), 0);
  EXPECT_EQ(bar->Max(), 19);
  EXPECT_EQ(bar->PageSize(), 8);
  EXPECT_EQ(bar->Position(), 0);
  // The list's own scrolling moves the bar.
  list->SetTopIndex(5);
  EXPECT_EQ(bar->Position(), 5);
  list->SetTopIndex(0);
  EXPECT_EQ(bar->Position(), 0);

  // The bar scrolls the list: the bottom arrow one row, held it repeats.
  const auto middle = [](const Rect& r) { return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
  const Point down = middle(bar->Layout().upButton);
  PressMouse(bar, down);
  EXPECT_EQ(list->TopIndex(), 1);
  Wait(800);
  EXPECT_GT(list->TopIndex(), 3);
  ReleaseMouse(bar, down);
  const int held = list->TopIndex();
  Wait(200);
  EXPECT_EQ(list->TopIndex(), held);
  // The top arrow back to the first row.
  const Point up = middle(bar->Layout().downButton);
  for (int i = 0; i < held; ++i) {
    PressMouse(bar, up);
    ReleaseMouse(bar, up);
  }
  EXPECT_EQ(list->TopIndex(), 0);
  // A press in the track below the thumb pages by the visible rows.
  const Rect thumb = bar->Layout().thumb;
  const Point page{thumb.left + 4, thumb.bottom + 3};
  PressMouse(bar, page);
  ReleaseMouse(bar, page);
  EXPECT_EQ(list->TopIndex(), 8);
  // The thumb dragged to the bottom shows the last rows.
  const Point grip = middle(bar->Layout().thumb);
  PressMouse(bar, grip);
  MoveMouse(bar, {grip.x, bar->Height() + 40});
  ReleaseMouse(bar, {grip.x, bar->Height() + 40});
  EXPECT_EQ(list->TopIndex(), 12);
  EXPECT_EQ(bar->Position(), 12);
  EXPECT_TRUE(c->DroppedDown());  // the bar's presses keep the list open
}

TEST_F(ComboBox, DraggingBelowTheListScrollsItOneRowAtATimeToTheLast) {
  auto* c = Combo(Numbered(20));
  PressMouse(c, Middle(c));
  ASSERT_TRUE(c->DroppedDown());
  MoveMouse(c, RowInCombo(c, 3));
  EXPECT_EQ(c->ListBox()->ItemIndex(), 3);
  POINT at{10, c->ListBox()->InnerList()->Height() + 20};
  MapWindowPoints(c->ListBox()->InnerList()->Handle(), c->Handle(), &at, 1);
  const Point below{at.x, at.y};
  MoveMouse(c, below);
  Wait(150);
  const int early = c->ListBox()->ItemIndex();
  EXPECT_GT(early, 3);
  EXPECT_LT(early, 19);
  Wait(1000);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 19);
  EXPECT_EQ(c->ListBox()->TopIndex(), 12);
  ReleaseMouse(c, below);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);  // released outside: nothing chosen
}

TEST_F(ComboBox, TheEditStyleTypesIntoAFieldThatTheListAndTheKeysFill) {
  auto* c = Combo({L"alpha", L"beta", L"gamma"});
  c->SetStyle(TksSkinCustomComboBoxStyle::kscbEditStyle);
  TksComboEdit* edit = c->Edit();
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(c->TabStop());
  // In the item area (2,2–36,17 at 54 wide), as high as its text.
  EXPECT_EQ(edit->Left(), 2);
  EXPECT_EQ(edit->Width(), 34);
  EXPECT_LE(edit->Height(), 15);
  wchar_t text[32] = {};
  GetWindowTextW(edit->Handle(), text, 32);
  EXPECT_STREQ(text, L"alpha");
  c->SetFocus();
  EXPECT_TRUE(edit->Focused());

  changes = 0;
  SetWindowTextW(edit->Handle(), L"typed");
  EXPECT_EQ(c->Text(), L"typed");
  EXPECT_EQ(changes, 1);
  PressKey(edit, VK_DOWN);
  EXPECT_EQ(c->ItemIndex(), 1);
  GetWindowTextW(edit->Handle(), text, 32);
  EXPECT_STREQ(text, L"beta");
  PressAltKey(edit, VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  ClickRow(c, 2);
  EXPECT_FALSE(c->DroppedDown());
  GetWindowTextW(edit->Handle(), text, 32);
  EXPECT_STREQ(text, L"gamma");
  EXPECT_TRUE(edit->Focused());

  c->SetStyle(TksSkinCustomComboBoxStyle::kscbFixedStyle);
  EXPECT_EQ(c->Edit(), nullptr);
  EXPECT_TRUE(c->TabStop());
}

}  // namespace
}  // namespace kelmar::test
