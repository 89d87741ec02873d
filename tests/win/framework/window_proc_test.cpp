// The framework seam the skinned parts stand on: filters that watch a form's
// messages ahead of the form and go when their owner does, bounds that follow
// the window, a size a control can limit, and references that clear themselves.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/component.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "win/pump.h"

namespace kelmar {
namespace {

constexpr UINT kProbe = WM_APP + 7;

// A derived form that takes the probe itself, as the main form takes drops.
class LoggingForm : public TForm {
 public:
  explicit LoggingForm(std::vector<std::string>& log) : TForm(nullptr, "Logging"), log_(log) { CreateHandle(); }
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe) {
      log_.push_back("form");
      m.Result = 7;
      return;
    }
    TForm::WndProc(m);
  }

 private:
  std::vector<std::string>& log_;
};

TEST(WindowFilter, RunsAheadOfTheFormAndChoosesWhenTheFormRuns) {
  std::vector<std::string> log;
  LoggingForm form(log);
  bool callSaved = true;
  TWindowFilter filter = form.AddFilter([&](TMessage& m, const TWindowNext& next) {
    if (m.Msg != kProbe) return next(m);
    log.push_back("before");
    if (callSaved) next(m);
    log.push_back("after");
    if (!callSaved) m.Result = 9;
  });
  EXPECT_EQ(SendMessageW(form.Handle(), kProbe, 0, 0), 7);
  EXPECT_EQ(log, (std::vector<std::string>{"before", "form", "after"}));

  log.clear();
  callSaved = false;
  EXPECT_EQ(SendMessageW(form.Handle(), kProbe, 0, 0), 9);
  EXPECT_EQ(log, (std::vector<std::string>{"before", "after"}));

  // Perform goes the same way as a real message.
  log.clear();
  EXPECT_EQ(form.Perform(kProbe), 9);
  EXPECT_EQ(log, (std::vector<std::string>{"before", "after"}));

  log.clear();
  filter.Reset();
  EXPECT_EQ(SendMessageW(form.Handle(), kProbe, 0, 0), 7);
  EXPECT_EQ(log, (std::vector<std::string>{"form"}));
}

TEST(WindowFilter, TheNewestSeesTheMessageFirstAndEachGoesWithItsOwner) {
  std::vector<std::string> log;
  LoggingForm form(log);
  auto named = [&](std::string name) {
    return [&log, name](TMessage& m, const TWindowNext& next) {
      if (m.Msg == kProbe) log.push_back(name);
      next(m);
    };
  };
  TWindowFilter outer;
  {
    TWindowFilter first = form.AddFilter(named("first"));
    outer = form.AddFilter(named("second"));
    SendMessageW(form.Handle(), kProbe, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first", "form"}));
  }
  // The first went out of scope; the second, moved out, stays.
  log.clear();
  SendMessageW(form.Handle(), kProbe, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"second", "form"}));

  // A filter removed while the message is on its way is passed over, and the
  // one that removed it finishes its call.
  TWindowFilter removed = form.AddFilter(named("removed"));
  TWindowFilter remover = form.AddFilter([&](TMessage& m, const TWindowNext& next) {
    if (m.Msg == kProbe) {
      removed.Reset();
      log.push_back("remover");
    }
    next(m);
  });
  log.clear();
  EXPECT_EQ(SendMessageW(form.Handle(), kProbe, 0, 0), 7);
  EXPECT_EQ(log, (std::vector<std::string>{"remover", "second", "form"}));
}

TEST(WindowFilter, OneThatOutlivesItsWindowIsHarmless) {
  std::vector<std::string> log;
  TWindowFilter late;
  {
    LoggingForm form(log);
    late = form.AddFilter([](TMessage& m, const TWindowNext& next) { next(m); });
  }
  late.Reset();
  EXPECT_FALSE(late);
}

TEST(LoopFilter, SeesTheLoopsMessagesAheadOfTheirWindowAndMaySwallowThem) {
  std::vector<std::string> log;
  LoggingForm form(log);
  int seen = 0;
  bool swallow = true;
  {
    TLoopFilter filter = Application().AddLoopFilter([&](MSG& msg, const TLoopFilters::Next& next) {
      if (msg.message == kProbe) ++seen;
      if (!(swallow && msg.message == kProbe)) next(msg);
    });
    PostMessageW(form.Handle(), kProbe, 0, 0);
    Application().ProcessMessages();
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(log.empty());
    swallow = false;
    PostMessageW(form.Handle(), kProbe, 0, 0);
    Application().ProcessMessages();
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"form"}));
  }
  // Gone with its scope: the next message goes straight to the form.
  PostMessageW(form.Handle(), kProbe, 0, 0);
  Application().ProcessMessages();
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(log, (std::vector<std::string>{"form", "form"}));
}

class Panel : public TWinControl {
 public:
  using TWinControl::TWinControl;
};

// A control that never gets narrower than 120 pixels, whoever sets its size.
class WideOnly : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void SetBounds(int left, int top, int width, int height) override {
    TWinControl::SetBounds(left, top, width < 120 ? 120 : width, height);
  }
};

class PlainForm : public TForm {
 public:
  PlainForm() : TForm(nullptr, "Form") {
    SetBounds(10, 20, 300, 200);
    CreateHandle();
  }
};

TEST(Bounds, FollowTheWindowAndAlignmentStillRunsBehindAHandler) {
  PlainForm form;
  auto* top = new Panel(&form, "Top");
  top->SetBounds(0, 0, 50, 30);
  top->SetAlign(TAlign::alTop);
  top->SetParent(&form);
  int sizes = 0;
  TWindowFilter counter = form.AddFilter([&](TMessage& m, const TWindowNext& next) {
    if (m.Msg == WM_SIZE) ++sizes;
    next(m);
  });

  // Moved by the system, not through the framework: the bounds follow.
  SetWindowPos(form.Handle(), nullptr, 40, 50, 420, 260, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(form.BoundsRect(), (Rect{40, 50, 460, 310}));
  EXPECT_GE(sizes, 1);
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(top->Width(), client.right);
  MoveWindow(top->Handle(), 0, 0, 90, 33, TRUE);
  EXPECT_EQ(top->BoundsRect(), (Rect{0, 0, 90, 33}));

  auto* wide = new WideOnly(&form, "Wide");
  wide->SetParent(&form);
  wide->SetBounds(5, 40, 60, 20);
  EXPECT_EQ(wide->BoundsRect(), (Rect{5, 40, 125, 60}));
  RECT rc;
  GetWindowRect(wide->Handle(), &rc);
  EXPECT_EQ(rc.right - rc.left, 120);
  // Alignment sets sizes through the same setter.
  wide->SetAlign(TAlign::alLeft);
  form.SetBounds(40, 50, 100, 200);
  EXPECT_EQ(wide->Width(), 120);
}

TEST(Bounds, AControlJoiningAFormOfAnotherDpiIsMadeForItOnceAndKeepsIts96DpiLayout) {
  PlainForm form;
  form.ScaleChildren(144);
  // Laid out in 96-DPI numbers, a panel with a child of its own, and font 11.
  auto* panel = new Panel(&form, "Panel");
  panel->SetBounds(10, 20, 100, 40);
  panel->Font().SetHeight(11);
  auto* inner = new Panel(&form, "Inner");
  inner->SetBounds(2, 4, 30, 10);
  inner->SetParent(panel);
  panel->SetParent(&form);
  EXPECT_EQ(panel->BoundsRect(), (Rect{15, 30, 165, 90}));
  EXPECT_EQ(panel->Font().Height(), 17);
  EXPECT_EQ(inner->BoundsRect(), (Rect{3, 6, 48, 21}));
  RECT rc;
  GetWindowRect(panel->Handle(), &rc);
  EXPECT_EQ(rc.right - rc.left, 150);
  // Scaled again (no second scale on top): back at 96 its own numbers.
  form.ScaleChildren(144);
  EXPECT_EQ(panel->BoundsRect(), (Rect{15, 30, 165, 90}));
  form.ScaleChildren(96);
  EXPECT_EQ(panel->BoundsRect(), (Rect{10, 20, 110, 60}));
  EXPECT_EQ(inner->BoundsRect(), (Rect{2, 4, 32, 14}));
  EXPECT_EQ(panel->Font().Height(), 11);
}

// A control that fills itself with one colour and counts its paints.
class Swatch : public TWinControl {
 public:
  Swatch(TComponent* owner, std::string name, TColor colour) : TWinControl(owner, std::move(name)), colour_(colour) {}
  void SetColour(TColor colour) { colour_ = colour; }
  int paints = 0;

 protected:
  void PaintWindow(TCanvas& canvas) override {
    ++paints;
    canvas.FillRect(ClientRect(), colour_);
  }

 private:
  TColor colour_;
};

// A swatch (or a kind of one) on parent, at the given bounds.
template <class T = Swatch>
T* PutSwatch(TForm& form, TWinControl* parent, const char* name, TColor colour, Rect bounds) {
  auto* s = new T(&form, name, colour);
  s->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  s->SetParent(parent);
  return s;
}

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

// Shown, or asked to draw at once, a control draws itself in the system's
// erase and needs no paint after it; a panel's erase leaves its children's
// own updates alone (a panel does not clip its children).
TEST(Paint, AControlErasedOutsideAPaintDrawsItselfOnceAndLeavesItsChildrensUpdates) {
  PlainForm form;
  auto* panel = PutSwatch(form, &form, "Panel", RGB(0, 0, 255), {10, 10, 130, 90});
  auto* child = PutSwatch(form, panel, "Child", RGB(255, 0, 0), {20, 20, 60, 50});
  ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(form.Handle());
  test::PumpUntilQuiet();
  EXPECT_EQ(panel->paints, 1);
  EXPECT_EQ(child->paints, 1);
  EXPECT_EQ(PixelOf(panel->Handle(), 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(child->Handle(), 5, 5), RGB(255, 0, 0));

  // The child's new look waits for its paint, without an erase; the panel
  // is then drawn at once.
  child->SetColour(RGB(0, 255, 0));
  InvalidateRect(child->Handle(), nullptr, FALSE);
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_NOCHILDREN);
  EXPECT_EQ(panel->paints, 2);
  EXPECT_FALSE(GetUpdateRect(panel->Handle(), nullptr, FALSE));
  EXPECT_TRUE(GetUpdateRect(child->Handle(), nullptr, FALSE));
  test::PumpUntilQuiet();
  EXPECT_EQ(panel->paints, 2);
  EXPECT_EQ(child->paints, 2);
  EXPECT_EQ(PixelOf(child->Handle(), 5, 5), RGB(0, 255, 0));
  EXPECT_EQ(PixelOf(panel->Handle(), 5, 5), RGB(0, 0, 255));
}

// A swatch with a border, which the system draws.
class FramedSwatch : public Swatch {
 public:
  using Swatch::Swatch;

 protected:
  void CreateParams(TCreateParams& params) override { params.Style |= WS_BORDER; }
};

// A system control: a black rectangle of the system's own drawing.
class BlackRect : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& params) override {
    params.ClassName = L"STATIC";
    params.Style |= SS_BLACKRECT;
  }
};

// Shown, a form draws its own frameless windows in one pass, each in its
// place and inside its parent; the system erases none of them, and draws
// its own controls and the frames it owns as always.
TEST(Paint, AFormBeingShownDrawsItsWindowsAtOnceAndLeavesTheSystemItsOwn) {
  PlainForm form;
  ShowWindow(form.Handle(), SW_HIDE);  // built hidden, as the program's form is
  form.SetColor(RGB(255, 255, 255));
  auto* framed = PutSwatch<FramedSwatch>(form, &form, "Framed", RGB(255, 255, 0), {150, 10, 210, 50});
  auto* system = new BlackRect(&form, "System");
  system->SetBounds(150, 60, 60, 30);
  system->SetParent(&form);
  auto* panel = PutSwatch(form, &form, "Panel", RGB(0, 0, 255), {10, 10, 130, 90});
  auto* child = PutSwatch(form, panel, "Child", RGB(255, 0, 0), {20, 20, 60, 50});
  // Half outside the panel.
  auto* overhang = PutSwatch(form, panel, "Overhang", RGB(255, 0, 255), {100, 60, 140, 90});
  std::map<HWND, int> ownErases;
  std::vector<TWindowFilter> filters;
  for (TWinControl* c : std::initializer_list<TWinControl*>{panel, child, overhang})
    filters.push_back(c->AddFilter([&ownErases, c](TMessage& m, const TWindowNext& next) {
      if (m.Msg == WM_ERASEBKGND && WindowFromDC(reinterpret_cast<HDC>(m.WParam)) == c->Handle())
        ++ownErases[c->Handle()];
      next(m);
    }));

  ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(form.Handle());
  test::PumpUntilQuiet();
  for (Swatch* s : {panel, child, overhang}) {
    EXPECT_EQ(s->paints, 1) << s->Name();
    EXPECT_EQ(ownErases[s->Handle()], 0) << s->Name();
  }
  EXPECT_EQ(framed->paints, 1);

  // In the panel: its own blue around the child's red, the overhang's
  // magenta up to the panel's edge and the form's white beyond it.
  EXPECT_EQ(PixelOf(panel->Handle(), 19, 19), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(panel->Handle(), 20, 20), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(panel->Handle(), 59, 49), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(panel->Handle(), 60, 50), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(panel->Handle(), 119, 79), RGB(255, 0, 255));
  EXPECT_EQ(PixelOf(form.Handle(), 130, 75), RGB(255, 255, 255));
  EXPECT_EQ(PixelOf(form.Handle(), 135, 80), RGB(255, 255, 255));
  // The border the system draws, the swatch inside it, the system's control
  // (not the form's white).
  HDC frameDc = GetWindowDC(framed->Handle());
  EXPECT_EQ(GetPixel(frameDc, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  ReleaseDC(framed->Handle(), frameDc);
  EXPECT_EQ(PixelOf(framed->Handle(), 0, 0), RGB(255, 255, 0));
  EXPECT_NE(PixelOf(system->Handle(), 30, 15), RGB(255, 255, 255));
  EXPECT_EQ(PixelOf(form.Handle(), 149, 55), RGB(255, 255, 255));
}

// A control that draws the picture of its parent behind itself (a paint
// within its own paint), then a green square at its centre, and leaves the
// context's origin and clipping changed behind it.
class Glass : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void PaintWindow(TCanvas& canvas) override {
    HDC dc = canvas.Handle();
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - Left(), origin.y - Top(), nullptr);
    SendMessageW(GetParent(Handle()), WM_ERASEBKGND, WPARAM(dc), 0);
    SetViewportOrgEx(dc, origin.x + Width() / 2 - 5, origin.y + Height() / 2 - 5, nullptr);
    canvas.FillRect({0, 0, 10, 10}, RGB(0, 255, 0));
    IntersectClipRect(dc, 0, 0, 1, 1);
  }
};

// Paints are composed in buffers kept from paint to paint: a paint within a
// paint has its own, and what one control leaves in the context does not
// reach the next.
TEST(Paint, ComposingWithinAComposeAndAfterAnotherControlKeepsEachPictureWhole) {
  PlainForm form;
  auto* panel = PutSwatch(form, &form, "Panel", RGB(0, 0, 255), {0, 0, 200, 100});
  auto* glass = new Glass(&form, "Glass");
  glass->SetBounds(20, 20, 60, 40);
  glass->SetParent(panel);
  auto* after = PutSwatch(form, &form, "After", RGB(255, 0, 0), {10, 110, 90, 160});
  ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(form.Handle());
  test::PumpUntilQuiet();

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(PixelOf(glass->Handle(), 2, 2), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(glass->Handle(), 57, 37), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(glass->Handle(), 30, 20), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(glass->Handle(), 25, 15), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(glass->Handle(), 35, 25), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(after->Handle(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(after->Handle(), 79, 49), RGB(255, 0, 0));
    // Drawn again, in the order glass then its neighbour.
    RedrawWindow(glass->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(after->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

TEST(ComponentRef, ClearsItselfWhenTheComponentIsFreed) {
  TComponent a(nullptr, "a");
  TComponent b(nullptr, "b");
  auto* data = new TComponent(&a, "data");
  int cleared = 0;
  TComponentRef<TComponent> ref([&] { ++cleared; });
  ref = data;
  EXPECT_EQ(ref.Get(), data);
  delete data;  // owned elsewhere: only the reference can notice
  EXPECT_EQ(ref.Get(), nullptr);
  EXPECT_EQ(cleared, 1);

  // A reference that goes first leaves nothing behind in the component.
  auto* other = new TComponent(&b, "other");
  {
    TComponentRef<TComponent> shortLived;
    shortLived = other;
  }
  delete other;
  // Set to another component: only the current one is watched.
  auto* first = new TComponent(&a, "first");
  auto* second = new TComponent(&a, "second");
  ref = first;
  ref = second;
  delete first;
  EXPECT_EQ(ref.Get(), second);
  EXPECT_EQ(cleared, 1);
  delete second;
  EXPECT_EQ(ref.Get(), nullptr);
  EXPECT_EQ(cleared, 2);
}

}  // namespace
}  // namespace kelmar
