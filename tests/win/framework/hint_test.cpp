// The framework's hints: which control a point's hint belongs to, when the
// hint window shows and hides as the mouse moves, clicks and types, its
// size for the text and its place below the cursor. The mouse
// is the real cursor (SetCursorPos) with a posted move, as the system sends;
// time passes on a manual clock.
#include <gtest/gtest.h>

#include <string>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/hints.h"
#include "framework/std_controls.h"
#include "win/pump.h"

namespace kelmar {
namespace {

using test::Elapse;
using test::PumpUntilQuiet;

class HintForm : public TForm {
 public:
  HintForm() : TForm(nullptr, "HintForm") {
    SetBounds(100, 100, 420, 200);
    SetShowHint(true);
    CreateHandle();
    a = Panel("A", L"第一个提示", 10, 10);
    b = Panel("B", L"第二个", 120, 10);
    c = Panel("C", L"", 10, 100, 300);
    d = Panel("D", L"容器", 240, 10);
    l1 = Label(c, "L1", L"标签提示", 10);
    l2 = Label(c, "L2", L"", 150);
    l3 = Label(d, "L3", L"", 10);
  }
  TPanel* Panel(const char* name, const wchar_t* hint, int x, int y, int w = 100) {
    auto* p = new TPanel(this, name);
    p->SetBounds(x, y, w, 40);
    p->SetHint(hint);
    p->SetParent(this);
    return p;
  }
  TLabel* Label(TPanel* parent, const char* name, const wchar_t* hint, int x) {
    auto* l = new TLabel(this, name);
    l->SetBounds(x, 10, 60, 20);
    l->SetHint(hint);
    l->SetParent(parent);
    return l;
  }
  TPanel *a, *b, *c, *d;
  TLabel *l1, *l2, *l3;
};

// The screen point at (x, y) of a control.
Point ScreenPoint(TControl* control, int x, int y) {
  POINT p{x, y};
  if (control->IsWindowed()) {
    ClientToScreen(static_cast<TWinControl*>(control)->Handle(), &p);
  } else {
    p.x += control->Left();
    p.y += control->Top();
    ClientToScreen(control->Parent()->Handle(), &p);
  }
  return {p.x, p.y};
}

void MoveMouse(Point screen) {
  SetCursorPos(screen.x, screen.y);
  POINT p{screen.x, screen.y};
  HWND hwnd = WindowFromPoint(p);
  ScreenToClient(hwnd, &p);
  PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

Rect WindowRect(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  return FromRECT(rc);
}

class HintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Application().CreateForm<HintForm>();
    form->Show();
    SetForegroundWindow(form->Handle());
    Application().ProcessMessages();
    THintHandler& hints = Application().Hints();
    hints.HintPause = 300;
    hints.HintShortPause = 50;
    hints.HintHidePause = 20000;
  }
  void TearDown() override {
    delete form;
    Application().ProcessMessages();
  }
  THintHandler& Hints() { return Application().Hints(); }
  bool Showing() { return Hints().HintWindow() && Hints().HintWindow()->Showing(); }
  bool ShowsText(const std::wstring& text) { return Showing() && Hints().HintWindow()->Text() == text; }
  void Hover(TControl* c) {
    MoveMouse(ScreenPoint(c, 15, 12));
    PumpUntilQuiet();
  }
  void Wait(DWORD ms) { Elapse(clock, ms); }

  TManualClock clock;
  HintForm* form = nullptr;
};

TEST_F(HintTest, PointsBelongToTheControlUnderThemOrTheirNearestParentWithAHint) {
  EXPECT_EQ(THintHandler::HintControlAt(ScreenPoint(form->a, 5, 5)), form->a);
  EXPECT_EQ(THintHandler::HintControlAt(ScreenPoint(form->l1, 5, 5)), form->l1);
  EXPECT_EQ(THintHandler::HintControlAt(ScreenPoint(form->l3, 5, 5)), form->d);
  // No hint on the label, its panel or the form.
  EXPECT_EQ(THintHandler::HintControlAt(ScreenPoint(form->l2, 5, 5)), nullptr);
  EXPECT_EQ(THintHandler::HintControlAt(ScreenPoint(form, 400, 180)), nullptr);
  form->SetShowHint(false);
  EXPECT_EQ(THintHandler::HintControlAt(ScreenPoint(form->a, 5, 5)), nullptr);
}

TEST_F(HintTest, RestingOnAControlShowsItsHintInAWindowOfOurOwnBelowTheCursor) {
  Hover(form->a);
  Wait(290);
  EXPECT_FALSE(Showing()) << "not before the pause";
  Wait(10);
  ASSERT_TRUE(ShowsText(L"第一个提示"));
  HWND hwnd = Hints().HintWindow()->Handle();
  EXPECT_EQ(ClassOf(hwnd), L"KelmarHint");
  EXPECT_EQ(FindWindowW(L"tooltips_class32", nullptr), nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_BORDER | WS_CAPTION));
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetForegroundWindow(), hwnd);

  // The text in the plain font with 2 pixels around it, measured here.
  HDC dc = GetDC(nullptr);
  TFont font(L"MS Sans Serif", 11);
  HGDIOBJ old = SelectObject(dc, font.Handle());
  SIZE text{};
  GetTextExtentPoint32W(dc, L"第一个提示", 5, &text);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const Rect r = WindowRect(hwnd);
  EXPECT_EQ(r.Width(), text.cx + 4);
  EXPECT_EQ(r.Height(), tm.tmHeight + 4);
  const Point cursor = ScreenPoint(form->a, 15, 12);
  EXPECT_EQ(r.left, cursor.x);
  EXPECT_GT(r.top, cursor.y);
}

TEST_F(HintTest, MovingOnShowsTheNextHintAfterTheShortPauseAndLeavingHidesIt) {
  Hints().HintPause = 1500;
  Hover(form->a);
  Wait(1500);
  ASSERT_TRUE(ShowsText(L"第一个提示"));
  Hover(form->b);
  Wait(100);
  EXPECT_TRUE(ShowsText(L"第二个")) << "the short pause, not the full one";
  MoveMouse(ScreenPoint(form, 400, 180));
  Wait(100);  // one look of the pointer poll
  EXPECT_FALSE(Showing());
  Wait(1600);
  EXPECT_FALSE(Showing());
}

TEST_F(HintTest, TheMouseLeavingTheApplicationHidesTheHint) {
  Hover(form->a);
  Wait(300);
  ASSERT_TRUE(Showing());
  SetCursorPos(5, 5);  // no window of ours there, and no move message to us
  Wait(100);
  EXPECT_FALSE(Showing());
}

TEST_F(HintTest, AClickOrAKeyHidesTheHintUntilTheMouseLeavesTheControl) {
  for (UINT msg : {UINT(WM_LBUTTONDOWN), UINT(WM_KEYDOWN)}) {
    Hover(form->a);
    Wait(300);
    ASSERT_TRUE(Showing());
    PostMessageW(form->a->Handle(), msg, msg == WM_KEYDOWN ? VK_SPACE : MK_LBUTTON, MAKELPARAM(15, 12));
    PumpUntilQuiet();
    EXPECT_FALSE(Showing()) << msg;
    if (msg == WM_LBUTTONDOWN) PostMessageW(form->a->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 12));
    Wait(700);
    EXPECT_FALSE(Showing()) << "stays hidden on the same control";
    MoveMouse(ScreenPoint(form, 400, 180));
    Wait(150);
  }
}

TEST_F(HintTest, AHintHidesAfterTheHidePauseAndDoesNotComeBackOnTheSameControl) {
  Hints().HintHidePause = 300;
  Hover(form->l1);
  Wait(300);
  ASSERT_TRUE(ShowsText(L"标签提示"));
  Wait(290);
  EXPECT_TRUE(Showing()) << "not before the hide pause";
  Wait(10);
  EXPECT_FALSE(Showing());
  Wait(800);
  EXPECT_FALSE(Showing());
}

TEST_F(HintTest, TheShowHintEventChangesOrCancelsTheHint) {
  TControl* asked = nullptr;
  Hints().OnShowHint = [&](THintInfo& info) {
    asked = info.HintControl;
    info.HintStr += L"!";
  };
  Hover(form->a);
  Wait(300);
  ASSERT_TRUE(ShowsText(L"第一个提示!"));
  EXPECT_EQ(asked, form->a);
  Hints().OnShowHint = [](THintInfo& info) { info.CanShow = false; };
  Hover(form->b);
  Wait(800);
  EXPECT_FALSE(Showing());
}

}  // namespace
}  // namespace kelmar
