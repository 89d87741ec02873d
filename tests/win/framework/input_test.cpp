// The input model of own-class windows: real window messages in, the decoded
// handlers out, with the mouse held from press to release, enter and leave,
// focus, keys, the enabled state and the form's Tab order.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"

namespace kelmar {
namespace {

std::string Shift(TShiftState s) {
  std::string r;
  if (s.shift) r += " shift";
  if (s.ctrl) r += " ctrl";
  if (s.left) r += " left";
  if (s.right) r += " right";
  if (s.dbl) r += " double";
  return r;
}

const char* ButtonName(TMouseButton b) {
  return b == TMouseButton::mbLeft ? "left" : b == TMouseButton::mbRight ? "right" : "middle";
}

class Probe : public TWinControl {
 public:
  Probe(TComponent* owner, std::string name) : TWinControl(owner, std::move(name)) { CaptureMouseOnPress = true; }
  std::vector<std::string> log;
  bool held_in_up = true;  // whether the mouse was still held when the up handler ran
  WORD dialog_key = 0;     // a dialog key this control uses

  bool DialogKey(WORD key, TShiftState) override {
    if (key != dialog_key) return false;
    log.push_back("dialog key");
    return true;
  }

 protected:
  void MouseEnter() override { log.push_back("enter"); }
  void MouseLeave() override { log.push_back("leave"); }
  void MouseButtonDown(TMouseButton b, TShiftState s, Point p) override {
    log.push_back(std::string("down ") + ButtonName(b) + Shift(s) + " " + std::to_string(p.x) + "," +
                  std::to_string(p.y));
  }
  void MouseButtonUp(TMouseButton b, TShiftState s, Point p) override {
    held_in_up = GetCapture() == Handle();
    log.push_back(std::string("up ") + ButtonName(b));
  }
  void CaptureLost() override { log.push_back("capture lost"); }
  void FocusChanged(bool focused) override { log.push_back(focused ? "focus" : "no focus"); }
  void KeyDown(WORD key, TShiftState) override { log.push_back("key down " + std::to_string(key)); }
  void KeyUp(WORD key, TShiftState) override { log.push_back("key up " + std::to_string(key)); }
  void KeyPress(wchar_t ch) override { log.push_back(std::string("char ") + char(ch)); }
};

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Application().CreateForm<TForm>(nullptr, std::string("InputForm"));
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    probe = Add("probe", 10, 10);
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    ReleaseCapture();
    delete form;
    Application().ProcessMessages();
  }
  Probe* Add(const char* name, int left, int top, TWinControl* parent = nullptr) {
    auto* p = new Probe(form, name);
    p->SetBounds(left, top, 40, 20);
    p->SetParent(parent ? parent : form);
    return p;
  }
  LRESULT Send(UINT msg, WPARAM w, int x, int y) { return SendMessageW(probe->Handle(), msg, w, MAKELPARAM(x, y)); }
  void PointerOver(TWinControl* c, int x, int y) {
    POINT p{x, y};
    ClientToScreen(c->Handle(), &p);
    SetCursorPos(p.x, p.y);
  }

  TForm* form = nullptr;
  Probe* probe = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(Input, TheFirstMoveEntersAndTheLeaveMessageLeaves) {
  PointerOver(probe, 5, 5);
  Send(WM_MOUSEMOVE, 0, 5, 5);
  Send(WM_MOUSEMOVE, 0, 6, 5);
  EXPECT_TRUE(probe->MouseInside());
  Send(WM_MOUSELEAVE, 0, 0, 0);
  EXPECT_EQ(probe->log, (Log{"enter", "leave"}));
  EXPECT_FALSE(probe->MouseInside());
}

TEST_F(Input, ThePressHoldsTheMouseUntilTheRelease) {
  PointerOver(probe, 5, 5);
  Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 5, 6);
  EXPECT_EQ(GetCapture(), probe->Handle());
  // Held, moves from outside arrive here and count as leaving.
  Send(WM_MOUSEMOVE, MK_LBUTTON, -20, 6);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 5, 6);
  Send(WM_LBUTTONUP, 0, 5, 6);
  EXPECT_FALSE(probe->held_in_up);  // let go before the release is handled
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(probe->log, (Log{"enter", "down left shift left 5,6", "leave", "enter", "up left"}));
}

TEST_F(Input, AnotherWindowTakingTheMouseEndsThePress) {
  PointerOver(probe, 5, 5);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  SetCapture(form->Handle());
  ReleaseCapture();
  EXPECT_EQ(probe->log.back(), "capture lost");
}

TEST_F(Input, DoubleClicksAndOtherButtons) {
  PointerOver(probe, 5, 5);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL, 3, 4);
  Send(WM_LBUTTONUP, 0, 3, 4);
  Send(WM_RBUTTONDOWN, MK_RBUTTON, 7, 8);
  EXPECT_EQ(GetCapture(), nullptr);  // only the left press holds the mouse
  Send(WM_RBUTTONUP, 0, 7, 8);
  EXPECT_EQ(probe->log, (Log{"enter", "down left ctrl left double 3,4", "up left", "down right right 7,8", "up right"}));
}

TEST_F(Input, FocusAndKeys) {
  Probe* other = Add("other", 60, 10);
  probe->SetFocus();
  EXPECT_TRUE(probe->Focused());
  SendMessageW(probe->Handle(), WM_KEYDOWN, 'A', 1);
  SendMessageW(probe->Handle(), WM_CHAR, 'a', 1);
  SendMessageW(probe->Handle(), WM_KEYUP, 'A', 0xC0000001);
  other->SetFocus();
  EXPECT_EQ(probe->log, (Log{"focus", "key down 65", "char a", "key up 65", "no focus"}));
  EXPECT_EQ(other->log, (Log{"focus"}));
}

TEST_F(Input, ADisabledControlTakesNoFocusAndItsWindowIsDisabled) {
  probe->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(probe->Handle()));
  EXPECT_FALSE(probe->CanFocus());
  probe->SetEnabled(true);
  EXPECT_TRUE(probe->CanFocus());
  // Made while disabled: the window starts disabled.
  auto* late = new Probe(form, "late");
  late->SetEnabled(false);
  late->SetBounds(0, 0, 10, 10);
  late->SetParent(form);
  EXPECT_FALSE(IsWindowEnabled(late->Handle()));
}

TEST_F(Input, TabGoesThroughTheTabStopsInTheOrderTheyWereAdded) {
  auto* container = new Probe(form, "container");  // not a stop itself
  container->SetBounds(0, 50, 200, 60);
  container->SetParent(form);
  Probe* inner = Add("inner", 5, 5, container);
  Probe* skipped = Add("skipped", 60, 5, container);
  Probe* hidden = Add("hidden", 110, 5, container);
  Probe* last = Add("last", 100, 10);
  for (Probe* p : {probe, inner, skipped, hidden, last}) p->SetTabStop(true);
  skipped->SetEnabled(false);
  hidden->SetVisible(false);
  EXPECT_TRUE(GetWindowLongPtrW(inner->Handle(), GWL_STYLE) & WS_TABSTOP);
  probe->SetFocus();
  TShiftState none, shift;
  shift.shift = true;
  EXPECT_TRUE(form->DialogKey(probe, VK_TAB, none));
  EXPECT_TRUE(inner->Focused());
  form->DialogKey(inner, VK_TAB, none);
  EXPECT_TRUE(last->Focused());
  form->DialogKey(last, VK_TAB, none);
  EXPECT_TRUE(probe->Focused());  // round again
  form->DialogKey(probe, VK_TAB, shift);
  EXPECT_TRUE(last->Focused());
  // From the form itself Tab starts at the first stop.
  form->DialogKey(form, VK_TAB, none);
  EXPECT_TRUE(probe->Focused());
}

TEST_F(Input, DialogKeysReachTheFocusedControlFirstThroughTheMessageLoop) {
  Probe* next = Add("next", 60, 10);
  probe->SetTabStop(true);
  next->SetTabStop(true);
  probe->dialog_key = VK_RIGHT;
  probe->SetFocus();
  PostMessageW(probe->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
  Application().ProcessMessages();
  const auto has = [&](const char* entry) { return std::count(probe->log.begin(), probe->log.end(), entry); };
  EXPECT_EQ(has("dialog key"), 1);
  EXPECT_EQ(has("key down 39"), 0);  // used: no key down handler ran
  PostMessageW(probe->Handle(), WM_KEYDOWN, VK_LEFT, 1);
  Application().ProcessMessages();
  EXPECT_EQ(has("key down 37"), 1);  // not a key it uses: the window gets it
  PostMessageW(probe->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Application().ProcessMessages();
  EXPECT_TRUE(next->Focused());
}

TEST(Accelerator, TheLetterAfterASingleAmpersandInAnyCase) {
  EXPECT_TRUE(IsAccelerator(L'g', L"&Go"));
  EXPECT_TRUE(IsAccelerator(L'G', L"&go"));
  EXPECT_FALSE(IsAccelerator(L'o', L"&Go"));
  EXPECT_FALSE(IsAccelerator(L'b', L"A&&B"));  // a plain ampersand
  EXPECT_TRUE(IsAccelerator(L'x', L"a && &x"));
  EXPECT_FALSE(IsAccelerator(L'x', L"x&"));
  EXPECT_FALSE(IsAccelerator(L'x', L"plain"));
}

}  // namespace
}  // namespace kelmar
