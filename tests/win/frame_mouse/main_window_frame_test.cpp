// The real main window's frame under the mouse: hit-test codes, the hover
// look and its end, moving and sizing by the frame, the caption buttons and
// caption double clicks. Figures from the embedded skin: frame picture
// 704 × 292, client 8,28,696,284, border width 4, close button 43 × 17 at
// the caption's right end (697 + dx), maximize and minimize 25 × 17 to its
// left, all at y = 1.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/form_kelmar.h"
#include "framework/application.h"
#include "frame_input.h"

namespace kelmar::test {
namespace {

class MainWindowFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Application().CreateForm<TFormKelmar>(nullptr, nullptr);
    ASSERT_EQ(Application().MainForm(), form);
    form->Show();
    hwnd = form->Handle();
    SetForegroundWindow(hwnd);
    SetCursorPos(5, 5);  // away from the window
    PumpUntilQuiet();
    frame = form->ksSkinForm1;
  }
  void TearDown() override {
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    delete form;
    PumpUntilQuiet();
  }
  const TksActiveSkinObject& Button(SkinCommand command) const {
    for (const auto& o : frame->FrameObjects())
      if (o->Command == command && o->IsButton()) return *o;
    throw std::runtime_error("no such button");
  }
  Point Centre(const Rect& r) const { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  Point ButtonOnScreen(SkinCommand command) const { return OnScreen(hwnd, Centre(Button(command).ObjectRect)); }

  TFormKelmar* form = nullptr;
  TksSkinForm* frame = nullptr;
  HWND hwnd = nullptr;
};

TEST_F(MainWindowFrame, HitTestCodesOfClientCaptionBordersAndCorners) {
  const Rect b = WindowBounds(hwnd);
  const int w = b.Width(), h = b.Height();
  ASSERT_EQ(w, 704);
  EXPECT_EQ(NcHitTest(hwnd, {w / 2, h / 2}), HTCLIENT);
  EXPECT_EQ(NcHitTest(hwnd, {8, 28}), HTCLIENT);
  EXPECT_EQ(NcHitTest(hwnd, {300, 12}), HTCAPTION);
  EXPECT_EQ(NcHitTest(hwnd, {1, h / 2}), HTLEFT);
  EXPECT_EQ(NcHitTest(hwnd, {w - 2, h / 2}), HTRIGHT);
  EXPECT_EQ(NcHitTest(hwnd, {w / 2, 1}), HTTOP);
  EXPECT_EQ(NcHitTest(hwnd, {w / 2, h - 2}), HTBOTTOM);
  EXPECT_EQ(NcHitTest(hwnd, {2, 20}), HTTOPLEFT);
  EXPECT_EQ(NcHitTest(hwnd, {w - 2, 20}), HTTOPRIGHT);
  EXPECT_EQ(NcHitTest(hwnd, {2, h - 2}), HTBOTTOMLEFT);
  EXPECT_EQ(NcHitTest(hwnd, {w - 2, h - 2}), HTBOTTOMRIGHT);
  // The frame between the border and the client, and the system menu
  // button (icon at 7,5): the object code.
  EXPECT_EQ(NcHitTest(hwnd, {5, h / 2}), HTOBJECT);
  EXPECT_EQ(NcHitTest(hwnd, {14, 12}), HTOBJECT);
}

TEST_F(MainWindowFrame, AHoveredButtonAnswersObjectOverTheTopBandUntilTheMouseLeaves) {
  const TksActiveSkinObject& close = Button(SkinCommand::cmClose);
  EXPECT_EQ(close.ObjectRect, (Rect{654, 1, 697, 18}));
  // Nothing hot: the band over the buttons sizes from the top.
  EXPECT_EQ(NcHitTest(hwnd, {670, 2}), HTTOP);
  EXPECT_EQ(NcHitTest(hwnd, {670, 10}), HTOBJECT);
  const Point over = OnScreen(hwnd, {670, 10});
  SetCursorPos(over.x, over.y);
  EXPECT_TRUE(PumpUntil([&] { return close.Highlighted; }, 1000));
  EXPECT_EQ(NcHitTest(hwnd, {670, 10}), HTOBJECT);
  EXPECT_EQ(NcHitTest(hwnd, {670, 2}), HTOBJECT);
  EXPECT_EQ(NcHitTest(hwnd, {1, 150}), HTOBJECT);
  EXPECT_EQ(NcHitTest(hwnd, {300, 12}), HTCAPTION);
  EXPECT_EQ(NcHitTest(hwnd, {300, 150}), HTCLIENT);
  const Point client = OnScreen(hwnd, {300, 150});
  SetCursorPos(client.x, client.y);
  EXPECT_TRUE(PumpUntil([&] { return !close.Highlighted; }, 1000));
  EXPECT_EQ(NcHitTest(hwnd, {670, 2}), HTTOP);
}

// The close button's pixels in a paint of the whole frame.
std::vector<Pixel> ClosePixels(TksSkinForm* frame, const Rect& r) {
  const Rect b = WindowBounds(frame->OwnerForm()->Handle());
  TBitmap bitmap(b.Width(), b.Height());
  frame->PaintFrame(bitmap.Dc());
  GdiFlush();
  std::vector<Pixel> pixels;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(bitmap.Pixels().At(x, y) & 0xFFFFFF);
  return pixels;
}

std::vector<Pixel> PicturePixels(const Image& picture, const Rect& r) {
  std::vector<Pixel> pixels;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(picture.At(x, y) & 0xFFFFFF);
  return pixels;
}

TEST_F(MainWindowFrame, HoverShowsTheHotLookAndLeavingRestoresTheNormalOneWithinAFewPolls) {
  const TksActiveSkinObject& close = Button(SkinCommand::cmClose);
  const Image& buttons = form->ksSkinData1->Skin().ActivePictures.at(0);
  // Skin rows of the close button: normal 0..17, hot 17..34.
  const auto normal = PicturePixels(buttons, {0, 0, 43, 17});
  const auto hot = PicturePixels(buttons, {0, 17, 43, 34});
  ASSERT_NE(normal, hot);
  EXPECT_EQ(ClosePixels(frame, close.ObjectRect), normal);
  TManualClock clock;
  const Point over = OnScreen(hwnd, Centre(close.ObjectRect));
  SetCursorPos(over.x, over.y);
  // The poll (50 ms) sees the pointer, then the fade (5 × 20 ms) runs.
  Elapse(clock, 50);
  EXPECT_TRUE(close.Highlighted);
  Elapse(clock, 100);
  EXPECT_EQ(ClosePixels(frame, close.ObjectRect), hot);
  // Off the window: the same the other way.
  SetCursorPos(5, 5);
  Elapse(clock, 50);
  EXPECT_FALSE(close.Highlighted);
  Elapse(clock, 100);
  EXPECT_EQ(close.MorphFactor, 0);
  EXPECT_EQ(ClosePixels(frame, close.ObjectRect), normal);
}

TEST_F(MainWindowFrame, DraggingTheCaptionMovesTheWindowByTheDragDistance) {
  const Rect before = WindowBounds(hwnd);
  Drag(OnScreen(hwnd, {300, 12}), OnScreen(hwnd, {300 + 120, 12 + 70}));
  EXPECT_EQ(WindowBounds(hwnd), before.Offset(120, 70));
  // The system menu button and the frame beside the client don't move it.
  Drag(OnScreen(hwnd, {14, 12}), OnScreen(hwnd, {14 + 50, 12 + 50}));
  Drag(OnScreen(hwnd, {5, 150}), OnScreen(hwnd, {5 + 50, 150 + 50}));
  EXPECT_EQ(WindowBounds(hwnd), before.Offset(120, 70));
}

TEST_F(MainWindowFrame, BordersResizeButNeverNarrowerThan704) {
  const Rect before = WindowBounds(hwnd);
  const int h = before.Height();
  Drag(OnScreen(hwnd, {702, h / 2}), OnScreen(hwnd, {702 + 150, h / 2}));
  Rect b = WindowBounds(hwnd);
  EXPECT_EQ(b, (Rect{before.left, before.top, before.right + 150, before.bottom}));
  // The frame follows: the close button ends at 697 + dx.
  EXPECT_EQ(Button(SkinCommand::cmClose).ObjectRect.right, 697 + 150);
  Drag(OnScreen(hwnd, {b.Width() - 2, h - 2}), OnScreen(hwnd, {b.Width() - 2 - 60, h - 2 + 40}));
  b = WindowBounds(hwnd);
  EXPECT_EQ(b, (Rect{before.left, before.top, before.right + 90, before.bottom + 40}));
  Drag(OnScreen(hwnd, {b.Width() - 2, 150}), OnScreen(hwnd, {b.Width() - 2 - 300, 150}));
  b = WindowBounds(hwnd);
  EXPECT_EQ(b.Width(), 704);
  EXPECT_EQ(b.left, before.left);
  // From the left too: the right edge stays.
  Drag(OnScreen(hwnd, {1, 150}), OnScreen(hwnd, {1 + 200, 150}));
  EXPECT_EQ(WindowBounds(hwnd).right, b.right);
  EXPECT_GE(WindowBounds(hwnd).Width(), 704);
}

TEST_F(MainWindowFrame, MaximizeFillsTheWorkAreaAndTogglesBack) {
  const Rect before = WindowBounds(hwnd);
  Click(ButtonOnScreen(SkinCommand::cmMaximize));
  const Rect work = WorkArea();
  const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  // A work area that is the whole screen leaves one pixel round it.
  const Rect expected = work == screen ? Rect{1, 1, screen.right - 1, screen.bottom - 1} : work;
  EXPECT_EQ(WindowBounds(hwnd), expected);
  EXPECT_EQ(frame->FrameState, TWindowState::wsMaximized);
  // Maximized: no sizing border, and dragging the caption leaves it put.
  EXPECT_EQ(NcHitTest(hwnd, {1, 300}), HTOBJECT);
  EXPECT_EQ(NcHitTest(hwnd, {300, 12}), HTCAPTION);
  Drag(OnScreen(hwnd, {300, 12}), OnScreen(hwnd, {400, 112}));
  EXPECT_EQ(WindowBounds(hwnd), expected);
  Click(ButtonOnScreen(SkinCommand::cmMaximize));
  EXPECT_EQ(WindowBounds(hwnd), before);
  EXPECT_EQ(frame->FrameState, TWindowState::wsNormal);
}

TEST_F(MainWindowFrame, CaptionDoubleClickMaximizesAndRestores) {
  const Rect before = WindowBounds(hwnd);
  DoubleClick(OnScreen(hwnd, {300, 12}));
  EXPECT_EQ(frame->FrameState, TWindowState::wsMaximized);
  EXPECT_NE(WindowBounds(hwnd), before);
  DoubleClick(OnScreen(hwnd, {300, 12}));
  EXPECT_EQ(frame->FrameState, TWindowState::wsNormal);
  EXPECT_EQ(WindowBounds(hwnd), before);
}

TEST_F(MainWindowFrame, MinimizeButtonMinimizesTheApplication) {
  Click(ButtonOnScreen(SkinCommand::cmMinimize));
  EXPECT_TRUE(IsIconic(hwnd));
  // The frame's own state stays normal: the system restores the main window.
  EXPECT_EQ(frame->FrameState, TWindowState::wsNormal);
}

}  // namespace
}  // namespace kelmar::test
