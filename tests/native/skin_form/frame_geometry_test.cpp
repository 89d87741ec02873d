// The skinned frame's arithmetic: the geometry for a size, the client area
// it leaves, where frame pieces and caption buttons go, with the program's
// own skin and with small skins made here.
#include <gtest/gtest.h>

#include <vector>

#include "native/own_skin_package.h"
#include "skin/data/skin_data.h"
#include "skin/form/frame_geometry.h"

namespace kelmar {
namespace {

class OwnSkinFrame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = &OwnSkinPackage(); }

  // The layout entries of the skin's frame objects, as the frame makes them.
  std::vector<FrameObjectLayout> Objects() const {
    std::vector<FrameObjectLayout> objects;
    for (const auto& r : skin->ObjectData) {
      FrameObjectLayout o;
      o.skinrect = r->skinrect;
      o.skinrectinapicture = r->skinrectinapicture;
      if (dynamic_cast<const TksDataSkinCaption*>(r.get())) {
        o.Kind = FrameObjectKind::Caption;
      } else if (auto* b = dynamic_cast<const TksDataSkinStdButton*>(r.get())) {
        o.Kind = FrameObjectKind::StdButton;
        o.Command = b->command;
      } else {
        continue;  // the menu item record makes no frame object
      }
      objects.push_back(o);
    }
    return objects;
  }
  static std::vector<FrameObjectLayout*> Pointers(std::vector<FrameObjectLayout>& objects) {
    std::vector<FrameObjectLayout*> p;
    for (auto& o : objects) p.push_back(&o);
    return p;
  }
  static const FrameObjectLayout* ByCommand(const std::vector<FrameObjectLayout>& objects, SkinCommand c) {
    for (const auto& o : objects)
      if (o.Kind == FrameObjectKind::StdButton && o.Command == c) return &o;
    return nullptr;
  }
  static const FrameObjectLayout* Caption(const std::vector<FrameObjectLayout>& objects) {
    for (const auto& o : objects)
      if (o.Kind == FrameObjectKind::Caption) return &o;
    return nullptr;
  }

  static const TksSkinData* skin;
};
const TksSkinData* OwnSkinFrame::skin = nullptr;

TEST_F(OwnSkinFrame, TheFrameIsEightPixelsAroundAndTwentyEightOnTop) {
  ASSERT_FALSE(skin->Empty);
  EXPECT_TRUE(SkinIsUsable(skin));
  for (Rect window : {Rect{0, 0, 704, 399}, Rect{100, 50, 1124, 818}, Rect{0, 0, 704, 292}}) {
    const Rect client = FrameClientRect(skin, window, false);
    EXPECT_EQ(client.left - window.left, 8);
    EXPECT_EQ(client.top - window.top, 28);
    EXPECT_EQ(window.right - client.right, 8);
    EXPECT_EQ(window.bottom - client.bottom, 8);
  }
  // The main window: 704 x 399 leaves the designed 363 rows and 688 columns.
  const FrameGeometry g = ComputeFrameGeometry(*skin, 704, 399);
  EXPECT_EQ(g.SizedClientRect, (Rect{8, 28, 696, 391}));
  EXPECT_EQ(g.SizedCaptionRect, (Rect{7, 1, 697, 25}));
  EXPECT_EQ(g.SizedMaskRect, (Rect{7, 3, 697, 391}));
  EXPECT_EQ(g.SizedRightBottom, (Point{695, 390}));
  // A frame too small for its borders leaves an empty client area, never an
  // inside-out one.
  const Rect tiny = FrameClientRect(skin, {0, 0, 10, 10}, false);
  EXPECT_EQ(tiny.Width(), 0);
  EXPECT_EQ(tiny.Height(), 0);
}

TEST_F(OwnSkinFrame, CaptionButtonsSitAtTheRightOfTheCaptionAndTheIconAtItsLeft) {
  for (int width : {704, 1000, 1920}) {
    SCOPED_TRACE(width);
    const int dx = width - 704;
    std::vector<FrameObjectLayout> objects = Objects();
    ASSERT_EQ(objects.size(), 5u);
    PlaceFrameObjects(*skin, ComputeFrameGeometry(*skin, width, 500), Pointers(objects), true, {16, 16});
    // Close 43 x 17 ends at the caption's right edge (697 + dx), then
    // maximize and minimize, 25 x 17 each, all on the caption's top row.
    EXPECT_EQ(ByCommand(objects, SkinCommand::cmClose)->ObjectRect, (Rect{654 + dx, 1, 697 + dx, 18}));
    EXPECT_EQ(ByCommand(objects, SkinCommand::cmMaximize)->ObjectRect, (Rect{629 + dx, 1, 654 + dx, 18}));
    EXPECT_EQ(ByCommand(objects, SkinCommand::cmMinimize)->ObjectRect, (Rect{604 + dx, 1, 629 + dx, 18}));
    // The form's 16 x 16 icon centred on the caption's height: 1 + 12 - 8.
    EXPECT_EQ(ByCommand(objects, SkinCommand::cmSysMenu)->ObjectRect, (Rect{7, 5, 23, 21}));
    EXPECT_EQ(Caption(objects)->ObjectRect.left, 23);
    EXPECT_EQ(Caption(objects)->ObjectRect.right, 604 + dx);
  }
}

TEST_F(OwnSkinFrame, AHiddenButtonLeavesItsPlaceToTheNext) {
  std::vector<FrameObjectLayout> objects = Objects();
  for (auto& o : objects)
    if (o.Command == SkinCommand::cmMaximize && o.Kind == FrameObjectKind::StdButton) o.IsVisible = false;
  PlaceFrameObjects(*skin, ComputeFrameGeometry(*skin, 704, 400), Pointers(objects), false, {16, 16});
  EXPECT_EQ(ByCommand(objects, SkinCommand::cmMinimize)->ObjectRect, (Rect{629, 1, 654, 18}));
  EXPECT_EQ(Caption(objects)->ObjectRect.right, 629);
  // Without the icon the button keeps its own 16 x 16 image size.
  EXPECT_EQ(ByCommand(objects, SkinCommand::cmSysMenu)->ObjectRect, (Rect{7, 5, 23, 21}));
}

TEST(PlainFrame, ThreePixelBordersAndANineteenPixelCaption) {
  EXPECT_EQ(FrameClientRect(nullptr, {0, 0, 300, 200}, false), (Rect{3, 22, 297, 197}));
  EXPECT_EQ(FrameClientRect(nullptr, {0, 0, 300, 200}, true), (Rect{3, 18, 297, 197}));
  TksSkinData empty;  // loaded nothing: the plain frame
  EXPECT_EQ(FrameClientRect(&empty, {10, 10, 310, 210}, false), (Rect{13, 32, 307, 207}));

  // close, maximize, minimize, roll-up, system menu, tray; tray switched off.
  const SkinCommand commands[] = {SkinCommand::cmClose,  SkinCommand::cmMaximize, SkinCommand::cmMinimize,
                                  SkinCommand::cmRollUp, SkinCommand::cmSysMenu,  SkinCommand::cmMinimizeToTray};
  std::vector<FrameObjectLayout> buttons;
  for (SkinCommand c : commands) {
    FrameObjectLayout b;
    b.Kind = FrameObjectKind::StdButton;
    b.Command = c;
    b.skinrectinapicture = true;
    b.IsVisible = !CommandSwitchedOff(c, kDefaultBorderIcons);
    buttons.push_back(b);
  }
  std::vector<FrameObjectLayout*> p;
  for (auto& b : buttons) p.push_back(&b);
  const Rect caption = PlacePlainCaption(300, false, p, false, {16, 16});
  EXPECT_EQ(buttons[0].ObjectRect, (Rect{280, 4, 297, 21}));
  EXPECT_EQ(buttons[1].ObjectRect, (Rect{263, 4, 280, 21}));
  EXPECT_EQ(buttons[2].ObjectRect, (Rect{246, 4, 263, 21}));
  EXPECT_EQ(buttons[3].ObjectRect, (Rect{229, 4, 246, 21}));
  EXPECT_EQ(buttons[4].ObjectRect, (Rect{3, 4, 20, 21}));
  EXPECT_FALSE(buttons[5].IsVisible);
  EXPECT_EQ(caption, (Rect{20, 3, 229, 19}));
  // Tool windows: 13-pixel buttons; the icon takes its own size.
  const Rect tool = PlacePlainCaption(300, true, p, true, {16, 16});
  EXPECT_EQ(buttons[0].ObjectRect, (Rect{284, 4, 297, 17}));
  EXPECT_EQ(buttons[4].ObjectRect, (Rect{3, 4, 19, 20}));
  EXPECT_EQ(tool, (Rect{19, 3, 245, 15}));
}

// A 100 x 50 picture with corners at 10 and 90 across, 10 and 40 down; the
// window is 20 wider and 5 higher.
TEST(FrameRects, PiecesMoveWithTheirCornerAndStretchAcrossTwo) {
  TksSkinData skin;
  skin.Picture = Image(100, 50);
  skin.lefttoppoint = {10, 10};
  skin.righttoppoint = {90, 10};
  skin.leftbottompoint = {10, 40};
  skin.rightbottompoint = {90, 40};
  struct Case {
    Rect in, out;
  } cases[] = {
      {{2, 2, 5, 5}, {2, 2, 5, 5}},          // in the left-top corner: stays
      {{92, 2, 95, 5}, {112, 2, 115, 5}},    // right-top: moves right
      {{2, 42, 5, 45}, {2, 47, 5, 50}},      // left-bottom: moves down
      {{92, 42, 95, 45}, {112, 47, 115, 50}},  // right-bottom: both
      {{2, 2, 95, 45}, {2, 2, 115, 50}},     // left-top to right-bottom: stretches both ways
      {{2, 2, 95, 5}, {2, 2, 115, 5}},       // along the top: wider
      {{2, 42, 95, 45}, {2, 47, 115, 50}},   // along the bottom: wider and down
      {{2, 2, 5, 45}, {2, 2, 5, 50}},        // down the left: taller
      {{92, 2, 95, 45}, {112, 2, 115, 50}},  // down the right: right and taller
      {{20, 20, 30, 30}, {20, 20, 30, 30}},  // in no corner
      // Right and bottom edges are not in an area: a piece ending on the
      // corner point is in no corner at all.
      {{2, 2, 10, 5}, {2, 2, 10, 5}},
  };
  for (const auto& c : cases) EXPECT_EQ(TransformFrameRect(skin, 20, 5, c.in), c.out) << c.in.left << "," << c.in.top;
  // A skin without a frame picture has no corner areas: pieces stay.
  TksSkinData flat;
  EXPECT_EQ(TransformFrameRect(flat, 20, 5, {92, 42, 95, 45}), (Rect{92, 42, 95, 45}));
}

TEST(FrameRects, ButtonsOnTheLeftRunFromTheAreaWithTheIconLast) {
  TksSkinData skin;
  skin.Picture = Image(200, 100);
  skin.captionrect = {4, 2, 196, 22};
  FrameGeometry g = ComputeFrameGeometry(skin, 300, 100);
  g.ButtonsInLeft = true;
  g.ButtonsOffset = 2;
  std::vector<FrameObjectLayout> objects(3);
  objects[0].Kind = FrameObjectKind::Caption;
  objects[0].skinrect = {30, 2, 150, 22};
  objects[1].Kind = FrameObjectKind::StdButton;
  objects[1].Command = SkinCommand::cmClose;
  objects[1].skinrectinapicture = true;
  objects[1].skinrect = {0, 0, 20, 16};
  objects[2].Kind = FrameObjectKind::StdButton;
  objects[2].Command = SkinCommand::cmSysMenu;
  objects[2].skinrectinapicture = true;
  objects[2].skinrect = {0, 0, 18, 18};
  PlaceFrameObjects(skin, g, {&objects[0], &objects[1], &objects[2]}, false, {16, 16});
  EXPECT_EQ(objects[1].ObjectRect, (Rect{4, 2, 24, 18}));
  EXPECT_EQ(objects[2].ObjectRect, (Rect{26, 2, 44, 20}));
  EXPECT_EQ(objects[0].ObjectRect.left, 48);
}

}  // namespace
}  // namespace kelmar
