// The panel's caption modes (check box, roll-up), the label's width that
// follows its caption, and alpha blending with what lies underneath.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin_controls_fixture.h"
#include "win/mouse_input.h"

namespace kelmar::test {
namespace {

class Panels : public SkinControls {
 protected:
  // A panel in caption mode with three children, one of them hidden.
  TksSkinPanel* CaptionPanel(bool skinned) {
    auto* panel = Add(new TksSkinPanel(form, "panel"), 10, 10, 200, 150, nullptr, skinned);
    panel->SetCaptionMode(true);
    for (int i = 0; i < 3; ++i) children[i] = Add(new TksSkinButton(form, "child" + std::to_string(i)), 10 + 50 * i, 40, 41, 25, panel);
    children[2]->SetVisible(false);
    return panel;
  }
  TksSkinButton* children[3] = {};
};

TEST_F(Panels, RollingUpKeepsTheHeightAndUnrollingShowsEveryChild) {
  TksSkinPanel* panel = CaptionPanel(false);
  panel->SetRollUpState(true);  // outside roll-up mode: stays false
  EXPECT_FALSE(panel->RollUpState());
  EXPECT_EQ(panel->Height(), 150);
  panel->SetRollUpMode(true);
  int changes = 0;
  panel->OnChangeRollUpState = [&] { ++changes; };
  panel->SetRollUpState(true);
  EXPECT_EQ(panel->Height(), 22 + 1);  // the caption bar and a line
  EXPECT_EQ(panel->RealHeight(), 150);
  for (auto* c : children) EXPECT_FALSE(c->Visible());
  panel->SetRollUpState(true);  // no change, no event
  EXPECT_EQ(changes, 1);
  panel->SetRollUpState(false);
  EXPECT_EQ(panel->Height(), 150);
  EXPECT_EQ(panel->RealHeight(), -1);
  for (auto* c : children) EXPECT_TRUE(c->Visible());  // also the one hidden before
  EXPECT_EQ(changes, 2);
}

TEST_F(Panels, ASkinnedPanelRollsUpToWhatLiesOutsideItsClientPart) {
  // [panel]: 40 x 41 with client part 2,2,38,39: 4 rows lie outside it.
  TksSkinPanel* panel = CaptionPanel(true);
  panel->SetRollUpMode(true);
  panel->SetRollUpState(true);
  EXPECT_EQ(panel->Height(), 4);
  EXPECT_EQ(panel->RealHeight(), 150);
  // The skin applied again while rolled up: the same expanded height is kept.
  panel->ApplySkinChange();
  EXPECT_EQ(panel->Height(), 4);
  EXPECT_EQ(panel->RealHeight(), 150);
  panel->SetRollUpState(false);
  EXPECT_EQ(panel->Height(), 150);
}

TEST_F(Panels, CheckedSwitchesTheChildrenOnlyInCheckedMode) {
  TksSkinPanel* panel = CaptionPanel(false);
  int fired = 0;
  panel->OnChecked = [&] { ++fired; };
  panel->SetChecked(false);  // not in checked mode: the event only
  EXPECT_EQ(fired, 1);
  for (auto* c : children) EXPECT_TRUE(c->Enabled());
  panel->SetCheckedMode(true);
  panel->SetChecked(false);
  for (auto* c : children) EXPECT_FALSE(c->Enabled());
  panel->SetChecked(true);
  for (auto* c : children) EXPECT_TRUE(c->Enabled());
  EXPECT_EQ(fired, 3);
}

TEST_F(Panels, AClickOnTheCaptionTogglesBothModes) {
  TksSkinPanel* panel = CaptionPanel(false);
  panel->SetCheckedMode(true);
  panel->SetRollUpMode(true);
  PressMouse(panel, {100, 10});
  ReleaseMouse(panel, {100, 10});
  EXPECT_TRUE(panel->Checked());
  EXPECT_TRUE(panel->RollUpState());
  // Below the caption bar: nothing.
  panel->SetRollUpState(false);
  PressMouse(panel, {100, 60});
  ReleaseMouse(panel, {100, 60});
  EXPECT_TRUE(panel->Checked());
  EXPECT_FALSE(panel->RollUpState());
}

TEST_F(Panels, TheDefaultCaptionBarAndItsCheckSquare) {
  const Pixel shadow = SysPixel(COLOR_BTNSHADOW), light = SysPixel(COLOR_BTNHIGHLIGHT);
  TksSkinPanel* panel = CaptionPanel(false);
  panel->SetCheckedMode(true);
  const Image shot = Shot(panel);
  // Framed: a shadow frame 0,0,200,22 and inside it a light top-left edge.
  EXPECT_EQ(shot.At(0, 0), shadow);
  EXPECT_EQ(shot.At(100, 21), shadow);
  EXPECT_EQ(shot.At(1, 1), light);
  // The square: 14 x 14 at x 5, centred in the bar's inside (2 … 20).
  EXPECT_EQ(shot.At(5, 4), shadow);
  EXPECT_EQ(shot.At(18, 17), shadow);
  EXPECT_EQ(panel->AlignArea(), (Rect{1, 23, 199, 149}));  // children go below the bar

  // At 150 %: a 300 x 225 panel, the bar 33 high, the square 21 x 21 at
  // x 8, centred in the bar (16 - 11 = 5).
  form->ScaleChildren(144);
  const Image scaled = Shot(panel);
  EXPECT_EQ(scaled.At(150, 32), shadow);
  EXPECT_NE(scaled.At(150, 33), shadow);
  EXPECT_EQ(scaled.At(8, 5), shadow);
  EXPECT_EQ(scaled.At(28, 25), shadow);
  EXPECT_NE(scaled.At(7, 15), shadow);
  EXPECT_EQ(panel->AlignArea(), (Rect{1, 34, 299, 224}));
}

TEST_F(Panels, ALabelsWidthFollowsItsCaptionUnlessAligned) {
  auto* label = Add(new TksSkinLabel(form, "label"), 10, 10, 75, 21, nullptr, false);
  label->SetAutoSize(true);
  const auto width_of = [&](const std::wstring& text) {
    // The default font, measured here on its own: 宋体, 14 pixels.
    WindowDc screen(nullptr);
    return int(TCanvas(screen).TextExtent(TFont(L"宋体", 14), text).cx);
  };
  label->SetCaption(L"a longer caption than before");
  EXPECT_EQ(label->Width(), width_of(L"a longer caption than before") + 4);
  label->SetCaption(L"short");
  EXPECT_EQ(label->Width(), width_of(L"short") + 4);
  label->SetAlign(TAlign::alTop);
  const int aligned = label->Width();
  label->SetCaption(L"a longer caption than before");
  EXPECT_EQ(label->Width(), aligned);
}

TEST_F(Panels, AlphaBlendMixesTheImageWithWhatLiesUnder) {
  auto* panel = Add(new TksSkinPanel(form, "panel"), 0, 0, 200, 60);
  auto* b = Add(new TksSkinButton(form, "b"), 10, 10, 30, 25, panel);
  b->SetCanFocused(false);
  MoveAway();
  const Image alone = Shot(b);
  EXPECT_EQ(alone, Piece({0, 0, 30, 25}));
  // The panel's picture at the button's place.
  const Image panel_shot = Shot(panel);
  b->SetAlphaBlend(true);
  b->SetAlphaBlendValue(255);
  EXPECT_EQ(Shot(b), alone);
  b->SetAlphaBlendValue(0);
  Image under = Shot(b);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(under.At(x, y), panel_shot.At(10 + x, 10 + y)) << x << "," << y;
  b->SetAlphaBlendValue(128);
  const Image half = Shot(b);
  // Each channel: image × 128/255 + background × 127/255.
  const auto mix = [](Pixel a, Pixel b, int shift) {
    return (int((a >> shift) & 255) * 128 + int((b >> shift) & 255) * 127) / 255;
  };
  for (int shift : {0, 8, 16}) {
    const int want = mix(alone.At(15, 12), panel_shot.At(25, 22), shift);
    EXPECT_NEAR(int((half.At(15, 12) >> shift) & 255), want, 2);
  }
}

// A control keeps its picture's memory from paint to paint: painted again
// smaller, then larger, it must look as a new one of that size does, with
// nothing left from the size before.
TEST_F(Panels, PaintedAgainAtAnotherSizeAPanelLooksAsANewOne) {
  auto* kept = Add(new TksSkinPanel(form, "kept"), 10, 10, 300, 60);
  kept->SetCaption(L"Kelmar 面板");
  Shot(kept);
  for (auto [w, h] : {std::pair{180, 40}, std::pair{260, 70}}) {
    kept->SetBounds(10, 10, w, h);
    auto* fresh = Add(new TksSkinPanel(form, "fresh"), 10, 90, w, h);
    fresh->SetCaption(kept->Caption());
    EXPECT_EQ(Shot(kept), Shot(fresh)) << w << " x " << h;
    delete fresh;
  }
}

}  // namespace
}  // namespace kelmar::test
