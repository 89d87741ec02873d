// The skinned controls on a test form with the program's own skin (and
// without one): their pictures compared with the skin picture's rectangles,
// driven by real mouse and keyboard messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "skin/controls/skin_controls_win32.h"
#include "skin/form/skin_form_win32.h"
#include "win/mouse_input.h"
#include "skin_controls_fixture.h"

namespace kelmar::test {
namespace {

// skins/default/skin.ini [button]: normal 0,0  hot 30,0  down 60,0  disabled 90,0.
const Rect kNormal{0, 0, 30, 25}, kHot{30, 0, 60, 25}, kDown{60, 0, 90, 25}, kDisabled{90, 0, 120, 25};

TEST_F(SkinControls, AButtonShowsTheSkinsStateImagesUnderTheRealMouse) {
  auto* b = Add(new TksSkinButton(form, "b"), 10, 10, 30, 25);
  b->SetCanFocused(false);  // the focus would show the active image too
  int clicks = 0;
  b->OnClick = [&] { ++clicks; };
  MoveAway();
  EXPECT_EQ(Shot(b), Piece(kNormal));
  MoveMouse(b, {15, 12});
  EXPECT_TRUE(b->MouseIn());
  // The fade to the active image takes five 20 ms steps.
  EXPECT_TRUE(WaitUntil([&] { return Shot(b) == Piece(kHot); }, 1000));
  PressMouse(b, {15, 12});
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(Shot(b), Piece(kDown));
  // Held, with the pointer gone: the normal image until it comes back.
  MoveMouse(b, {-40, 12});
  EXPECT_TRUE(WaitUntil([&] { return !b->MouseIn() && Shot(b) == Piece(kNormal); }, 1000));
  MoveMouse(b, {15, 12});
  EXPECT_EQ(Shot(b), Piece(kDown));
  MoveMouse(b, {-40, 12});
  ReleaseMouse(b, {-40, 12});
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(b->Down());
  EXPECT_TRUE(WaitUntil([&] { return Shot(b) == Piece(kNormal); }, 1000));
  b->SetEnabled(false);
  EXPECT_EQ(Shot(b), Piece(kDisabled));
}

TEST_F(SkinControls, AClickInsideClicksOnceAndTakesTheFocus) {
  auto* b = Add(new TksSkinButton(form, "b"), 10, 10, 41, 25);
  int clicks = 0;
  b->OnClick = [&] { ++clicks; };
  Click(b);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(GetCapture(), nullptr);  // the mouse is free again
  // A release without a press on the button is no click.
  ReleaseMouse(b, {10, 10});
  EXPECT_EQ(clicks, 1);
  // Someone else taking the mouse ends the press unclicked.
  PressMouse(b, {10, 10});
  SetCapture(form->Handle());
  ReleaseCapture();
  ReleaseMouse(b, {10, 10});
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());
}

TEST_F(SkinControls, SpaceAndEnterOnTheFocusedButton) {
  auto* b = Add(new TksSkinButton(form, "b"), 10, 10, 41, 25);
  int clicks = 0;
  b->OnClick = [&] { ++clicks; };
  b->SetFocus();
  ASSERT_TRUE(b->Focused());
  SendMessageW(b->Handle(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks, 0);  // a press on key down, the click on key up
  SendMessageW(b->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clicks, 1);
  SendMessageW(b->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinControls, EnterClicksTheDefaultButtonUnlessAnotherButtonHasTheFocus) {
  auto* box = Add(new TksSkinCheckRadioBox(form, "box"), 10, 40, 65, 25);
  box->SetTabStop(true);
  auto* ok = Add(new TksSkinButton(form, "ok"), 10, 10, 41, 25);
  auto* cancel = Add(new TksSkinButton(form, "cancel"), 60, 10, 41, 25);
  auto* other = Add(new TksSkinButton(form, "other"), 110, 10, 41, 25);
  int oks = 0, cancels = 0, others = 0;
  ok->OnClick = [&] { ++oks; };
  cancel->OnClick = [&] { ++cancels; };
  other->OnClick = [&] { ++others; };
  ok->SetDefault(true);
  ok->ModalResult = 1;
  cancel->Cancel = true;
  cancel->ModalResult = 2;
  box->SetFocus();
  EXPECT_TRUE(ok->ActiveDefault());
  EXPECT_TRUE(ok->MouseIn());  // the default button looks active meanwhile
  PressKey(box, VK_RETURN);
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(form->ModalResult, 1);
  PressKey(box, VK_ESCAPE);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(form->ModalResult, 2);
  // Another button focused: Enter is its, once.
  other->SetFocus();
  EXPECT_FALSE(ok->ActiveDefault());
  EXPECT_TRUE(other->ActiveDefault());
  EXPECT_FALSE(ok->MouseIn());
  PressKey(other, VK_RETURN);
  EXPECT_EQ(others, 1);
  EXPECT_EQ(oks, 1);
}

TEST_F(SkinControls, AltAndTheMarkedLetterClicksOrToggles) {
  auto* go = Add(new TksSkinButton(form, "go"), 10, 10, 41, 25);
  go->SetCaption(L"&Go");
  auto* box = Add(new TksSkinCheckRadioBox(form, "box"), 10, 40, 65, 25);
  box->SetCaption(L"&Small");
  int clicks = 0;
  go->OnClick = [&] { ++clicks; };
  box->SetFocus();
  PostMessageW(box->Handle(), WM_SYSCHAR, 'g', 1 << 29);
  Application().ProcessMessages();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(go->Focused());
  PostMessageW(go->Handle(), WM_SYSCHAR, 'S', 1 << 29);
  Application().ProcessMessages();
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(box->Focused());
  PostMessageW(go->Handle(), WM_SYSCHAR, 'x', 1 << 29);  // nobody's letter
  Application().ProcessMessages();
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinControls, AFlatBoxDrawsItsImageBetweenMarkAndCaption) {
  auto* images = new TImageList(form, "images", 16, 16);
  ICONINFO info{};
  // A 16 x 16 icon of one colour: pure red, no mask.
  std::vector<uint32_t> red(16 * 16, 0x00FF0000u);
  BitmapHandle colour(CreateBitmap(16, 16, 1, 32, red.data()));
  std::vector<uint8_t> zero(16 * 16 / 8, 0);
  BitmapHandle mask(CreateBitmap(16, 16, 1, 1, zero.data()));
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  IconHandle icon(CreateIconIndirect(&info));
  images->AddIcon(icon);
  auto* box = Add(new TksSkinCheckRadioBox(form, "box"), 10, 10, 120, 25);
  box->SetSkinDataName("radiobox");
  box->SetImages(images);
  box->SetImageIndex(0);
  MoveAway();
  // The mark is 14 wide at x 3: the image starts at 14 + 3 + 4 = 21, centred.
  Image shot = Shot(box);
  EXPECT_EQ(shot.At(21, 5), 0xFF0000u);
  EXPECT_EQ(shot.At(36, 19), 0xFF0000u);
  EXPECT_NE(shot.At(20, 12), 0xFF0000u);
  box->SetImageIndex(1);  // outside the list: no image
  EXPECT_NE(Shot(box).At(25, 12), 0xFF0000u);
  delete images;  // the box lets go of a list that is freed
  EXPECT_EQ(box->Images(), nullptr);
}

TEST_F(SkinControls, TabWalksTheFormsTabStopsInOrderAndShiftTabBack) {
  auto* first = Add(new TksSkinButton(form, "first"), 10, 10, 41, 25);
  auto* panel = Add(new TksSkinPanel(form, "panel"), 10, 40, 300, 41);
  auto* box = Add(new TksSkinCheckRadioBox(form, "box"), 5, 8, 65, 25, panel);
  box->SetTabStop(true);
  auto* sticky = Add(new TksSkinButton(form, "sticky"), 80, 8, 29, 25, panel);
  sticky->SetGroupIndex(1);  // a group button takes no focus
  auto* last = Add(new TksSkinButton(form, "last"), 120, 8, 29, 25, panel);
  EXPECT_FALSE(sticky->TabStop());
  first->SetFocus();
  PressKey(first, VK_TAB);
  EXPECT_TRUE(box->Focused());
  PressKey(box, VK_TAB);
  EXPECT_TRUE(last->Focused());
  PressKey(last, VK_TAB);
  EXPECT_TRUE(first->Focused());  // round again
  {
    ShiftHeld shift;
    PressKey(first, VK_TAB);
    EXPECT_TRUE(last->Focused());
  }
  // Space on the button Tab reached clicks it.
  int clicks = 0;
  last->OnClick = [&] { ++clicks; };
  PressKey(last, VK_SPACE);
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinControls, RadioBoxesOfAGroupUncheckEachOtherBeforeTheClick) {
  auto* a = Add(new TksSkinCheckRadioBox(form, "a"), 10, 10, 65, 25);
  auto* b = Add(new TksSkinCheckRadioBox(form, "b"), 80, 10, 65, 25);
  for (auto* box : {a, b}) {
    box->SetSkinDataName("radiobox");
    box->SetRadio(true);
    box->SetGroupIndex(1);
    box->SetTabStop(true);
  }
  b->SetChecked(true);
  std::vector<std::string> events;
  a->OnClick = [&] { events.push_back(std::string("a:") + (b->Checked() ? "b checked" : "b unchecked")); };
  b->OnClick = [&] { events.push_back("b"); };
  Click(a);
  EXPECT_TRUE(a->Checked());
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(events, (std::vector<std::string>{"a:b unchecked"}));
  Click(a);  // already checked: nothing
  EXPECT_EQ(events.size(), 1u);
  // The arrows walk the group and check what they reach.
  ASSERT_TRUE(a->Focused());
  PressKey(a, VK_RIGHT);
  EXPECT_TRUE(b->Focused());
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(events.back(), "b");
  // Pressed, moved off and released: no change.
  PressMouse(a, {10, 10});
  MoveMouse(a, {10, -30});
  ReleaseMouse(a, {10, -30});
  EXPECT_FALSE(a->Checked());
}

TEST_F(SkinControls, CheckBoxesOfAGroupBothFire) {
  auto* a = Add(new TksSkinCheckRadioBox(form, "a"), 10, 10, 65, 25);
  auto* b = Add(new TksSkinCheckRadioBox(form, "b"), 80, 10, 65, 25);
  a->SetGroupIndex(3);
  b->SetGroupIndex(3);
  int fired_a = 0, fired_b = 0;
  a->OnClick = [&] { ++fired_a; };
  b->OnClick = [&] { ++fired_b; };
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(fired_a, 2);  // checked, then unchecked by b
  EXPECT_EQ(fired_b, 1);
  Click(b);  // a check box flips
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(fired_b, 2);
}

TEST_F(SkinControls, AFlatRadioBoxDrawsTheSkinsMarkAtThreeFive) {
  auto* box = Add(new TksSkinCheckRadioBox(form, "box"), 10, 10, 65, 25);
  box->SetSkinDataName("radiobox");
  box->SetRadio(true);
  MoveAway();
  for (bool checked : {false, true}) {
    box->SetChecked(checked);
    // skins/default/skin.ini [radiobox]: unchecked 0,64  checked 14,64, 14 x 14.
    const Image mark = Piece(checked ? Rect{14, 64, 28, 78} : Rect{0, 64, 14, 78});
    const Image shot = Shot(box);
    int compared = 0;
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 14; ++x) {
        if (mark.At(x, y) == 0xFF00FFu) {
          EXPECT_NE(shot.At(3 + x, 5 + y), 0xFF00FFu);  // the key colour is left out
          continue;
        }
        ++compared;
        ASSERT_EQ(shot.At(3 + x, 5 + y), mark.At(x, y)) << checked << " " << x << "," << y;
      }
    EXPECT_GT(compared, 100);
  }
  EXPECT_EQ(box->Width(), 65);  // a flat box keeps any size
}

TEST_F(SkinControls, WithoutSkinDataEveryControlShowsItsDefaultLook) {
  const Pixel face = SysPixel(COLOR_BTNFACE), shadow = SysPixel(COLOR_BTNSHADOW);
  auto* button = Add(new TksSkinButton(form, "button"), 10, 10, 41, 25, nullptr, false);
  auto* box = Add(new TksSkinCheckRadioBox(form, "box"), 60, 10, 65, 25, nullptr, false);
  auto* panel = Add(new TksSkinPanel(form, "panel"), 10, 40, 100, 41, nullptr, false);
  auto* bar = new TksSkinStatusBar(form, "bar");  // as created: no size given
  bar->SetParent(form);
  auto* field = Add(new TksSkinStatusPanel(form, "field"), 0, 0, 50, 10, bar, false);
  field->SetAlign(TAlign::alClient);
  auto* label = Add(new TksSkinLabel(form, "label"), 130, 40, 75, 21, nullptr, false);
  MoveAway();

  Image shot = Shot(button);  // a shadow frame round the button face
  EXPECT_EQ(shot.At(0, 0), shadow);
  EXPECT_EQ(shot.At(40, 24), shadow);
  EXPECT_EQ(shot.At(3, 3), face);
  button->SetEnabled(false);
  EXPECT_EQ(Shot(button).At(0, 0), shadow);

  box->SetRadio(true);
  box->SetChecked(true);
  shot = Shot(box);  // the square 3,5 … 17,19 and a black dot at 7,9 … 13,15
  EXPECT_EQ(shot.At(3, 5), shadow);
  EXPECT_EQ(shot.At(16, 18), shadow);
  EXPECT_EQ(shot.At(9, 11), 0u);

  shot = Shot(panel);  // a frame round the button face
  EXPECT_EQ(shot.At(0, 0), shadow);
  EXPECT_EQ(shot.At(50, 20), face);
  EXPECT_EQ(panel->AlignArea(), (Rect{1, 1, 99, 40}));

  EXPECT_EQ(bar->Height(), 21);  // the default height, at the bottom
  EXPECT_EQ(bar->Align(), TAlign::alBottom);
  EXPECT_EQ(bar->BoundsRect().bottom, form->ClientHeight());
  EXPECT_EQ(Shot(bar).At(0, 0), face);  // no border
  EXPECT_EQ(field->BoundsRect(), (Rect{0, 0, bar->Width(), 21}));
  EXPECT_EQ(Shot(field).At(0, 0), shadow);

  shot = Shot(label);
  EXPECT_EQ(shot.At(0, 0), shadow);
  EXPECT_EQ(shot.At(37, 10), face);
}

TEST_F(SkinControls, TheStatusBarTakesTheSkinsHeightAndHandsTheSkinOn) {
  auto* bar = Add(new TksSkinStatusBar(form, "bar"), 0, 0, 300, 21, nullptr, false);
  auto* field = Add(new TksSkinStatusPanel(form, "field"), 0, 0, 50, 10, bar, false);
  field->SetAlign(TAlign::alClient);
  field->SetCaption(L"status");
  bar->SetSkinData(skin);
  EXPECT_EQ(field->SkinData(), skin);
  // [statusbar]: 68 x 19, stretched across; its client part 3,2,65,18 holds
  // the panel, whose own piece ([statuspanel], 68 x 16) fixes its height.
  const int w = form->ClientWidth();
  EXPECT_EQ(bar->Height(), 19);
  EXPECT_EQ(bar->Width(), w);
  EXPECT_EQ(bar->BoundsRect().bottom, form->ClientHeight());
  EXPECT_EQ(field->BoundsRect(), (Rect{3, 2, w - 68 + 65, 18}));
  // The bar's picture: its piece's fixed ends at both sides.
  const Image shot = Shot(bar);
  const Image piece = Piece({6, 242, 74, 261});
  for (int y = 0; y < 19; ++y) {
    EXPECT_EQ(shot.At(0, y), piece.At(0, y));
    EXPECT_EQ(shot.At(w - 1, y), piece.At(67, y));
  }
}

// Counts the frame's calls around a skin change and what it saw then.
class WatchedButton : public TksSkinButton {
 public:
  using TksSkinButton::TksSkinButton;
  void PrepareSkinChange() override {
    TksSkinButton::PrepareSkinChange();
    prepared_index = SectionIndex();
    ++prepares;
  }
  void ApplySkinChange() override {
    TksSkinButton::ApplySkinChange();
    applied_index = SectionIndex();
    ++applies;
  }
  int prepares = 0, applies = 0, prepared_index = 99, applied_index = 99;
};

TEST_F(SkinControls, TheFrameTellsTheControlsOfItsSkinBeforeAndAfterAChange) {
  auto* frame = new TksSkinForm(form, "frame");
  frame->SetSkinData(skin);
  auto* panel = Add(new TksSkinPanel(form, "panel"), 0, 0, 200, 41);
  auto* watched = Add(new WatchedButton(form, "watched"), 5, 8, 41, 25, panel);
  auto* other = Add(new WatchedButton(form, "other"), 50, 8, 41, 25, panel, false);
  watched->applies = 0;
  skin->SetCompressedStoredSkin(stored);  // loads the package again
  EXPECT_EQ(watched->prepares, 1);
  EXPECT_EQ(watched->prepared_index, -1);  // no record of the old skin kept
  EXPECT_EQ(watched->applies, 1);
  EXPECT_EQ(watched->applied_index, skin->Skin().FindControlData("button"));
  EXPECT_EQ(other->prepares, 0);  // bound to no skin
  EXPECT_EQ(Shot(panel).At(0, 0), Piece({0, 78, 40, 119}).At(0, 0));
}

TEST_F(SkinControls, RepeatModeClicksWhileHeld) {
  auto* b = Add(new TksSkinButton(form, "b"), 10, 10, 41, 25);
  b->RepeatMode = true;
  b->RepeatInterval = 100;
  int clicks = 0;
  b->OnClick = [&] { ++clicks; };
  PressMouse(b, {10, 10});
  Wait(350);
  const int held = clicks;
  EXPECT_EQ(held, 3);  // at 100, 200 and 300 ms
  // Off the button the repeats stop.
  MoveMouse(b, {10, -40});
  Wait(250);
  EXPECT_EQ(clicks, held);
  MoveMouse(b, {10, 10});
  ReleaseMouse(b, {10, 10});
  EXPECT_EQ(clicks, held + 1);  // and one on release
}

TEST_F(SkinControls, StickyGroupButtonsClickAtThePressAndReleaseEachOther) {
  auto* a = Add(new TksSkinButton(form, "a"), 10, 10, 41, 25);
  auto* b = Add(new TksSkinButton(form, "b"), 60, 10, 41, 25);
  a->SetGroupIndex(2);
  b->SetGroupIndex(2);
  int clicks_a = 0;
  a->OnClick = [&] { ++clicks_a; };
  PressMouse(a, {10, 10});
  EXPECT_EQ(clicks_a, 1);  // at the press
  ReleaseMouse(a, {10, 10});
  EXPECT_TRUE(a->Down());
  Click(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  Click(b);  // pressing a down one keeps it down
  EXPECT_TRUE(b->Down());
  b->AllowAllUp = true;
  Click(b);  // with AllowAllUp it comes up on the release
  EXPECT_FALSE(b->Down());
}

}  // namespace

TEST_F(SkinControls, AButtonsGlyphMarginAndSpacingFollowItsScale) {
  // A 10 x 10 blue glyph (its bottom-left pixel, the transparent colour,
  // white) 4 px from the left and 8 px before a black caption at 96 DPI.
  Image glyph(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) glyph.At(x, y) = 0xFF0000FFu;
  glyph.At(0, 9) = 0xFFFFFFFFu;
  auto* button = Add(new TksSkinButton(form, "button"), 10, 10, 120, 30, nullptr, false);
  button->SetGlyph(std::move(glyph));
  button->SetMargin(4);
  button->SetSpacing(8);
  button->SetCaption(L"W");
  MoveAway();
  // The first column from `from` on with a pixel that `wanted` takes.
  auto first_column = [&](int from, auto wanted) {
    const Image shot = Shot(button);
    for (int x = from; x < shot.Width(); ++x)
      for (int y = 0; y < shot.Height(); ++y)
        if (wanted(shot.At(x, y))) return x;
    return -1;
  };
  auto blue = [](Pixel p) { return p == 0x0000FFu; };
  auto dark = [](Pixel p) { return (p & 0xFF) < 0x40 && ((p >> 8) & 0xFF) < 0x40 && ((p >> 16) & 0xFF) < 0x40; };
  EXPECT_EQ(first_column(0, blue), 4);
  const int gap96 = first_column(14, dark) - 14;
  form->ScaleChildren(144);
  EXPECT_EQ(first_column(0, blue), 6);
  // The glyph keeps its 10 px (the program gives each scale its own); the
  // gap after it grows from 8 to 12.
  EXPECT_EQ(first_column(16, dark) - 16, gap96 + 4);
}

}  // namespace kelmar::test
