// The skinned scroll bar driven with the real pointer: arrow repeat over
// time, page clicks that stop at the pointer, thumb drags, keys and wheel,
// the range rules, and its pictures in the default look and from picture 8
// of the own skin.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/controls/skin_scroll_bar_win32.h"
#include "skin_controls_fixture.h"
#include "win/mouse_input.h"
#include "win/pump.h"

namespace kelmar::test {
namespace {

class ScrollBars : public SkinControls {
 protected:
  // 200 x 19 horizontal, default look unless skinned.
  TksSkinScrollBar* Bar(bool skinned = false, int width = 200, int height = 19) {
    auto* bar = Add(new TksSkinScrollBar(form, "bar"), 10, 10, width, height, nullptr, skinned);
    bar->OnChange = [this] { ++changes; };
    bar->OnLastChange = [this] { ++lastChanges; };
    Application().ProcessMessages();
    return bar;
  }
  // The controls picture's scroll bar sheet (active picture 8) at x, y.
  Pixel Sheet(int x, int y) const { return Rgb(skin->Skin().ActivePictures.at(8).At(x, y)); }

  int changes = 0, lastChanges = 0;
};

Pixel Colour(int r, int g, int b) { return PixelFromColor(RGB(r, g, b)) & 0xFFFFFFu; }

// ------------------------------------------------------------------ mouse

TEST_F(ScrollBars, HoldingAnArrowStepsAtOnceThenEvery50msAfterHalfASecond) {
  TksSkinScrollBar* bar = Bar();
  bar->SetMax(1000);
  PressMouse(bar, {190, 9});
  EXPECT_EQ(bar->Position(), 1);
  // The tick at 500 ms only switches to 50 ms: nothing before 550 ms.
  Wait(540);
  EXPECT_EQ(bar->Position(), 1);
  Wait(10);
  EXPECT_EQ(bar->Position(), 2);
  // Then one step at each 50 ms: 600, 650, ..., 1100.
  Wait(550);
  EXPECT_EQ(bar->Position(), 2 + 11);

  // Off the held arrow the stepping pauses; back on it resumes at 50 ms.
  MoveMouse(bar, {100, 9});
  const int paused = bar->Position();
  Wait(300);
  EXPECT_EQ(bar->Position(), paused);
  MoveMouse(bar, {190, 9});
  Wait(300);
  EXPECT_EQ(bar->Position() - paused, 6);  // at 50, 100, ..., 300 ms; a 500 ms delay would give none
  ReleaseMouse(bar, {190, 9});
  const int released = bar->Position();
  Wait(200);
  EXPECT_EQ(bar->Position(), released);
}

TEST_F(ScrollBars, TrackPressesPageUntilTheThumbReachesThePointer) {
  // No page, 0..100: the 16-pixel thumb starts at 17 + 1.5 × position.
  TksSkinScrollBar* bar = Bar();
  bar->SetLargeChange(10);
  int downs = 0, ups = 0;
  bar->OnPageDown = [&] { ++downs; };
  bar->OnPageUp = [&] { ++ups; };
  PressMouse(bar, {150, 9});
  EXPECT_EQ(bar->Position(), 10);
  // At 80 the thumb covers 137..153 and so the pointer.
  EXPECT_TRUE(WaitUntil([&] { return bar->Position() == 80; }, 3000));
  Wait(300);
  EXPECT_EQ(bar->Position(), 80);
  EXPECT_EQ(downs, 8);
  ReleaseMouse(bar, {150, 9});
  // Back: at 10 the thumb covers 32..48 and so 40.
  PressMouse(bar, {40, 9});
  EXPECT_TRUE(WaitUntil([&] { return bar->Position() == 10; }, 3000));
  Wait(300);
  ReleaseMouse(bar, {40, 9});
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(ups, 7);
  EXPECT_EQ(lastChanges, 0);
}

TEST_F(ScrollBars, DraggingTheThumbToTheEndGivesTheLargestPosition) {
  // Default look, 0..99 with a page of 10: the largest position is 90.
  TksSkinScrollBar* bar = Bar();
  bar->SetRange(0, 99, 10, 0);
  EXPECT_EQ(changes, 0);  // the range alone fires nothing
  PressMouse(bar, {25, 9});
  MoveMouse(bar, {100, 9});
  EXPECT_GT(bar->Position(), 0);
  EXPECT_LT(bar->Position(), 90);
  MoveMouse(bar, {260, 9});  // beyond the bar: the thumb is held
  EXPECT_EQ(bar->Position(), 90);
  EXPECT_EQ(lastChanges, 0);
  ReleaseMouse(bar, {260, 9});
  EXPECT_EQ(lastChanges, 1);
  EXPECT_GE(changes, 2);
  MoveMouse(bar, {25, 9});
  EXPECT_EQ(bar->Position(), 90);  // no drag without the button

  // The list's vertical skinned bar: 20 rows, 8 visible; the thumb runs
  // 3..14 across and 17..67 along at the start.
  auto* list = Add(new TksSkinScrollBar(form, "list"), 250, 10, 17, 160);
  list->SetSkinDataName("vscrollbar");
  list->SetKind(TScrollBarKind::sbVertical);
  list->SetBounds(250, 10, 17, 160);
  list->SetRange(0, 19, 8, 0);
  EXPECT_EQ(list->Layout().thumb, (Rect{3, 17, 14, 67}));
  int listLast = 0;
  list->OnLastChange = [&] { ++listLast; };
  PressMouse(list, {8, 40});
  MoveMouse(list, {8, 300});
  ReleaseMouse(list, {8, 300});
  EXPECT_EQ(list->Position(), 12);
  EXPECT_EQ(listLast, 1);
}

// --------------------------------------------------------------- keyboard

TEST_F(ScrollBars, KeysAndWheelOnlyWhenTheBarCanTakeTheFocus) {
  TksSkinScrollBar* bar = Bar();
  bar->SetPosition(50);
  bar->SetFocus();
  PressKey(bar, VK_RIGHT);
  EXPECT_EQ(bar->Position(), 50);
  bar->SetCanFocused(true);
  bar->SetFocus();
  bar->SetSmallChange(3);
  PressKey(bar, VK_DOWN);
  EXPECT_EQ(bar->Position(), 53);
  PressKey(bar, VK_LEFT);
  EXPECT_EQ(bar->Position(), 50);
  // Turned towards the user: further on; away: back.
  SendMessageW(bar->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  EXPECT_EQ(bar->Position(), 53);
  SendMessageW(bar->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ScrollBars, RangeChangesKeepThePositionInside) {
  TksSkinScrollBar* bar = Bar();
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(changes, 1);
  // 10..109 with a page of 10; Max 59 leaves 50 values: at most 50.
  bar->SetRange(10, 109, 10, 100);
  bar->SetMax(59);
  EXPECT_EQ(bar->Position(), 50);
  bar->SetPageSize(11);  // would end beyond 59
  EXPECT_EQ(bar->PageSize(), 10);
  EXPECT_EQ(changes, 1);
}

// ------------------------------------------------------------------ looks

TEST_F(ScrollBars, DefaultLookFramesPartsInShadowHotInNavyPressedDarker) {
  TksSkinScrollBar* bar = Bar();
  const Pixel face = SysPixel(COLOR_BTNFACE), shadow = SysPixel(COLOR_BTNSHADOW), navy = Colour(0, 0, 128);
  MoveMouse(bar, {100, 9});  // over the track: no part hot
  Image shot = Shot(bar);
  EXPECT_EQ(shot.At(0, 0), face);
  EXPECT_EQ(shot.At(1, 1), shadow);      // decrease button 1..17
  EXPECT_EQ(shot.At(2, 2), face);
  EXPECT_EQ(shot.At(198, 17), shadow);   // increase button 183..199
  EXPECT_EQ(shot.At(32, 17), shadow);    // thumb 17..33
  EXPECT_EQ(shot.At(100, 9), face);      // the track
  int blackLeft = 0, blackRight = 0;
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 17; ++x) {
      blackLeft += shot.At(x, y) == 0;
      blackRight += shot.At(183 + x, y) == 0;
    }
  EXPECT_GT(blackLeft, 5);
  EXPECT_EQ(blackLeft, blackRight);  // the same arrow, turned

  MoveMouse(bar, {190, 9});
  shot = Shot(bar);
  EXPECT_EQ(shot.At(183, 1), navy);
  EXPECT_EQ(shot.At(184, 2), Colour(182, 189, 210));
  PressMouse(bar, {190, 9});
  shot = Shot(bar);
  EXPECT_EQ(shot.At(183, 1), navy);
  EXPECT_EQ(shot.At(184, 2), Colour(133, 147, 181));
  ReleaseMouse(bar, {190, 9});

  // A dragged thumb shows the pressed look; at position 1 it is 1.5 pixels
  // on, rounded to 2: 19..35.
  PressMouse(bar, {25, 9});
  shot = Shot(bar);
  EXPECT_EQ(shot.At(18, 1), face);
  EXPECT_EQ(shot.At(19, 1), navy);
  EXPECT_EQ(shot.At(21, 5), Colour(133, 147, 181));
  ReleaseMouse(bar, {25, 9});
  // Disabled: no thumb.
  bar->SetEnabled(false);
  EXPECT_EQ(Shot(bar).At(19, 1), face);
}

TEST_F(ScrollBars, SkinnedLookIsMadeOfPicture8) {
  // [hscrollbar] at 200 x 17: base piece 20,0,80,17 with 17 fixed columns on
  // the left and 18 on the right; the increase button 183..200 is the
  // piece's 43..60 (picture 63..80).
  TksSkinScrollBar* bar = Bar(true, 200, 17);
  ASSERT_GE(bar->SectionIndex(), 0);
  MoveMouse(bar, {100, 8});  // over the track: no part hot
  Image shot = Shot(bar);
  EXPECT_EQ(shot.At(8, 8), Sheet(28, 8));
  EXPECT_EQ(shot.At(190, 8), Sheet(70, 8));
  // The thumb 17..47 × 3..14 is thumbrect 40,84,70,95; its magenta corner
  // lets the track show; the 5 × 7 grip at 90,84 sits at (12, 2) in it.
  ASSERT_EQ(Sheet(40, 84), 0xFF00FFu);
  EXPECT_EQ(shot.At(17, 3), Sheet(37, 3));
  EXPECT_EQ(shot.At(22, 8), Sheet(45, 89));
  EXPECT_EQ(shot.At(31, 8), Sheet(92, 87));

  // Hot and pressed buttons: the 17 x 17 plates at y 64 (right: 102 and 119).
  MoveMouse(bar, {190, 8});
  EXPECT_EQ(Shot(bar).At(190, 8), Sheet(102 + 7, 64 + 8));
  PressMouse(bar, {190, 8});
  EXPECT_EQ(Shot(bar).At(190, 8), Sheet(119 + 7, 64 + 8));
  ReleaseMouse(bar, {190, 8});
  // The hot thumb (position 1: one pixel on) is the piece at 40,95.
  MoveMouse(bar, {30, 8});
  shot = Shot(bar);
  EXPECT_EQ(shot.At(23, 8), Sheet(45, 95 + 5));
  // Dragged: the piece at 40,106.
  PressMouse(bar, {30, 8});
  EXPECT_EQ(Shot(bar).At(23, 8), Sheet(45, 106 + 5));
  ReleaseMouse(bar, {30, 8});
}

TEST_F(ScrollBars, BothSwitchesToTheCornerSectionAndBack) {
  TksSkinScrollBar* bar = Bar(true, 200, 17);
  bar->SetBoth(true);
  EXPECT_EQ(bar->SkinDataName(), "bothhscrollbar");
  // The corner box after the button: the button ends at 183; 35 fixed
  // columns on the right, so x 190 is the piece's 67 (picture 87).
  EXPECT_EQ(bar->Layout().upButton, (Rect{166, 0, 183, 17}));
  EXPECT_EQ(Shot(bar).At(190, 8), Sheet(87, 28));
  bar->SetBoth(false);
  EXPECT_EQ(bar->SkinDataName(), "hscrollbar");
  EXPECT_EQ(bar->Layout().upButton, (Rect{183, 0, 200, 17}));
}

}  // namespace
}  // namespace kelmar::test
