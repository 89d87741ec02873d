// A skinned test form with the settings the main window leaves off: a
// fixed frame that rolls up, snapping, transparency, the minimized strip,
// and windows coming back from a monitor that is gone. A plain form is the
// application's main form, so the test form behaves as any other form.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/clock.h"
#include "frame_input.h"
#include "skin/form/skin_form_win32.h"

namespace kelmar::test {
namespace {

class FrameTestForm : public TForm {
 public:
  explicit FrameTestForm(const char* name, Rect bounds = {200, 150, 904, 550}) : TForm(nullptr, name) {
    SetCaption(L"Frame test");
    SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    // Shown by the test, so that the frame sees the window appear.
    SetVisible(false);
    CreateHandle();
    stored = new TksCompressedStoredSkinComponent(this, "stored");
    stored->CompressedData() = EmbeddedSkinPackage();
    data = new TksSkinDataComponent(this, "data");
    data->SetCompressedStoredSkin(stored);
    frame = new TksSkinForm(this, "frame");
    frame->SetSkinData(data);
  }
  TksCompressedStoredSkinComponent* stored;
  TksSkinDataComponent* data;
  TksSkinForm* frame;
};

class TestFormFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    mainStandIn = new TForm(nullptr, "MainStandIn");
    ASSERT_EQ(Application().MainForm(), mainStandIn);
    SetCursorPos(5, 5);
  }
  void TearDown() override {
    for (TForm* f : forms) delete f;
    delete mainStandIn;
    PumpUntilQuiet();
  }
  FrameTestForm* Make(const char* name, Rect bounds = {200, 150, 904, 550}) {
    auto* f = new FrameTestForm(name, bounds);
    forms.push_back(f);
    return f;
  }
  void ShowActive(FrameTestForm* f) {
    f->Show();
    SetForegroundWindow(f->Handle());
    PumpUntilQuiet();
  }
  static const TksActiveSkinObject& Button(FrameTestForm* f, SkinCommand command) {
    for (const auto& o : f->frame->FrameObjects())
      if (o->Command == command && o->IsButton()) return *o;
    throw std::runtime_error("no such button");
  }
  static Point ButtonOnScreen(FrameTestForm* f, SkinCommand command) {
    const Rect& r = Button(f, command).ObjectRect;
    return OnScreen(f->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

  TForm* mainStandIn = nullptr;
  std::vector<TForm*> forms;
};

TEST_F(TestFormFrame, AFixedFrameRollsUpOnACaptionDoubleClickAndDownOnTheNext) {
  FrameTestForm* f = Make("Fixed");
  f->frame->Sizeable = false;
  int changes = 0;
  f->frame->OnChangeRollUpState = [&] { ++changes; };
  ShowActive(f);
  HWND hwnd = f->Handle();
  const Rect before = WindowBounds(hwnd);
  // Not sizeable: no sizing codes anywhere.
  EXPECT_EQ(NcHitTest(hwnd, {1, 150}), HTOBJECT);
  EXPECT_EQ(NcHitTest(hwnd, {702, 398}), HTOBJECT);
  EXPECT_EQ(NcHitTest(hwnd, {300, 1}), HTCAPTION);
  DoubleClick(OnScreen(hwnd, {300, 12}));
  EXPECT_TRUE(f->frame->RollUpState);
  // The frame without its client area: 292 - 256.
  EXPECT_EQ(WindowBounds(hwnd), (Rect{before.left, before.top, before.right, before.top + 36}));
  EXPECT_EQ(NcHitTest(hwnd, {300, 12}), HTCAPTION);
  EXPECT_EQ(NcHitTest(hwnd, {300, 30}), HTOBJECT);
  DoubleClick(OnScreen(hwnd, {300, 12}));
  EXPECT_FALSE(f->frame->RollUpState);
  EXPECT_EQ(WindowBounds(hwnd), before);
  EXPECT_EQ(changes, 2);
}

TEST_F(TestFormFrame, ADoubleClickOnTheSystemMenuButtonClosesTheForm) {
  FrameTestForm* f = Make("SysMenu");
  ShowActive(f);
  DoubleClick(ButtonOnScreen(f, SkinCommand::cmSysMenu));
  EXPECT_FALSE(IsWindowVisible(f->Handle()));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TestFormFrame, MagneticEdgesSnapCloserThanTheMagneticSize) {
  FrameTestForm* f = Make("Magnetic");
  f->frame->Magnetic = true;
  ShowActive(f);
  HWND hwnd = f->Handle();
  const Rect work = WorkArea();
  auto dragLeftTo = [&](int left) {
    const Rect b = WindowBounds(hwnd);
    const Point from = OnScreen(hwnd, {300, 12});
    Drag(from, {from.x + (work.left + left - b.left), from.y});
    return WindowBounds(hwnd).left - work.left;
  };
  EXPECT_EQ(dragLeftTo(8), 0);
  EXPECT_EQ(dragLeftTo(10), 10);
  EXPECT_EQ(dragLeftTo(30), 30);
  EXPECT_EQ(dragLeftTo(-9), 0);
  // Pulled well off the edge, the window leaves it.
  EXPECT_EQ(dragLeftTo(60), 60);
  // The right edge: 704 wide, right edge 5 short of the work area's.
  EXPECT_EQ(dragLeftTo(work.Width() - 704 - 5), work.Width() - 704);
}

TEST_F(TestFormFrame, AnotherFormMinimizesToAFrameStripAlongTheBottom) {
  FrameTestForm* a = Make("MinA");
  FrameTestForm* b = Make("MinB", {300, 560, 1004, 960});
  ShowActive(b);
  ShowActive(a);
  const Rect work = WorkArea();
  const Rect before = WindowBounds(a->Handle());
  Click(ButtonOnScreen(a, SkinCommand::cmMinimize));
  EXPECT_EQ(a->frame->FrameState, TWindowState::wsMinimized);
  EXPECT_EQ(WindowBounds(a->Handle()), (Rect{work.left, work.bottom - 36, work.left + 704, work.bottom}));
  SetForegroundWindow(b->Handle());
  PumpUntilQuiet();
  b->frame->SetWindowState(TWindowState::wsMinimized);
  // The first place is taken: the next one to the right, when it fits.
  const int expectedLeft = work.left + 2 * 704 <= work.right ? work.left + 704 : work.left;
  const int expectedTop = expectedLeft == work.left ? work.bottom - 72 : work.bottom - 36;
  EXPECT_EQ(WindowBounds(b->Handle()), RectOfSize(expectedLeft, expectedTop, 704, 36));
  // The minimize button of a minimized form restores it.
  SetForegroundWindow(a->Handle());
  PumpUntilQuiet();
  Click(ButtonOnScreen(a, SkinCommand::cmMinimize));
  EXPECT_EQ(a->frame->FrameState, TWindowState::wsNormal);
  EXPECT_EQ(WindowBounds(a->Handle()), before);
}

TEST_F(TestFormFrame, RestoringFromAMonitorThatIsGoneComesBackOntoTheWorkArea) {
  FrameTestForm* f = Make("Gone");
  ShowActive(f);
  HWND hwnd = f->Handle();
  f->frame->SetWindowState(TWindowState::wsMaximized);
  // Saved while the window was on a monitor far to the right.
  f->frame->RestoreBounds = {5000, 300, 5704, 700};
  f->frame->SetWindowState(TWindowState::wsNormal);
  const Rect work = WorkArea();
  EXPECT_EQ(WindowBounds(hwnd), (Rect{work.right - 704, 300, work.right, 700}));
  // Maximizing a window that lies off every monitor fills the nearest one.
  SetWindowPos(hwnd, nullptr, 5000, 5000, 704, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  f->frame->SetWindowState(TWindowState::wsMaximized);
  const Rect b = WindowBounds(hwnd);
  EXPECT_GE(b.left, work.left);
  EXPECT_LE(b.right, work.right);
  EXPECT_GE(b.Width(), work.Width() - 2);
  f->frame->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(WindowBounds(hwnd), (Rect{work.right - 704, work.bottom - 400, work.right, work.bottom}));
}

TEST_F(TestFormFrame, WithFullWindowDragTheFrameIsLaidOutAheadOfEachSizingStep) {
  for (BOOL full : {TRUE, FALSE}) {
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, full, nullptr, 0);
    FrameTestForm* f = Make(full ? "Full" : "Outline");
    ShowActive(f);
    HWND hwnd = f->Handle();
    // Client rectangles laid out for a window wider than the window is at
    // that moment: the frame composed for the size the system proposes.
    int ahead = 0;
    f->frame->OnChangeClientRect = [&](const Rect& client) {
      if (f->frame->InSizeMove && client.right > 696 + WindowBounds(hwnd).Width() - 704) ++ahead;
    };
    const Rect before = WindowBounds(hwnd);
    Drag(OnScreen(hwnd, {before.Width() - 2, 200}), OnScreen(hwnd, {before.Width() - 2 + 100, 200}));
    EXPECT_EQ(WindowBounds(hwnd).Width(), before.Width() + 100) << full;
    EXPECT_FALSE(f->frame->InSizeMove);
    if (full)
      EXPECT_GT(ahead, 0);
    else
      EXPECT_EQ(ahead, 0);
    // Either way the frame ends up laid out for the new size.
    EXPECT_EQ(Button(f, SkinCommand::cmClose).ObjectRect.right, 697 + before.Width() + 100 - 704) << full;
  }
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
}

TEST_F(TestFormFrame, FadeInToTheBlendValueOrToOpaqueWithoutTheLayeredStyle) {
  TManualClock clock;
  FrameTestForm* blended = Make("Blended");
  blended->frame->LayeredWindows = true;
  blended->frame->AlphaBlend = true;
  blended->frame->AlphaBlendValue = 200;
  HWND hwnd = blended->Handle();
  ShowActive(blended);
  // Shown and painted, still fully transparent: the fade waits for the clock.
  ASSERT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 255;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 0);
  clock.Advance(1);
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  // Run-time changes apply at once.
  blended->frame->SetAlphaBlendValue(120);
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 120);
  blended->frame->SetAlphaBlend(false);
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);

  FrameTestForm* animated = Make("Animated");
  animated->frame->LayeredWindows = true;
  animated->frame->AlphaBlendAnimation = true;
  ShowActive(animated);
  EXPECT_TRUE(GetWindowLongPtrW(animated->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  clock.Advance(1);
  EXPECT_FALSE(GetWindowLongPtrW(animated->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);

  // Without layered windows the settings change nothing.
  FrameTestForm* opaque = Make("Opaque");
  opaque->frame->LayeredWindows = false;
  opaque->frame->AlphaBlend = true;
  ShowActive(opaque);
  EXPECT_FALSE(GetWindowLongPtrW(opaque->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace
}  // namespace kelmar::test
