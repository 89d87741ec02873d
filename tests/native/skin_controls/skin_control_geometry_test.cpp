// The skinned controls' arithmetic against the rules worked out by hand:
// stretch kinds, FitToSkin, MapSkinRect, composed state images against the
// own skin's picture, the button's look and glyph choices, the glyph and
// caption layout, the check and radio box geometry and the panel's area.
#include <gtest/gtest.h>

#include "skin/controls/skin_control_geometry.h"
#include "native/own_skin_package.h"
#include "skin/data/skin_data.h"

namespace kelmar {
namespace {

class OwnSkinControls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = &OwnSkinPackage(); }
  template <typename T>
  static const T& Record(const char* name) {
    const T* r = FindControlRecord<T>(*skin, name);
    EXPECT_NE(r, nullptr) << name;
    return *r;
  }
  static const Image& Controls() { return skin->ActivePictures.at(1); }
  static Pixel Rgb(Pixel p) { return p & 0xFFFFFFu; }

  static const TksSkinData* skin;
};
const TksSkinData* OwnSkinControls::skin = nullptr;

TksSectionGeometry Section(Rect skin, Point lt, Point rt, Point lb, Point rb, Rect client) {
  return {skin, lt, rt, lb, rb, client};
}

// ------------------------------------------------------------ stretch kinds

TEST_F(OwnSkinControls, StretchKindsOfTheOwnSkinsSections) {
  // Both corner points of "rightbottompoint" set: nine parts.
  EXPECT_EQ(StretchKindOf(SectionGeometryOf(Record<TksDataSkinButtonControl>("button"))), TksStretchKind::skBoth);
  EXPECT_EQ(StretchKindOf(SectionGeometryOf(Record<TksDataSkinPanelControl>("panel"))), TksStretchKind::skBoth);
  // "righttoppoint" set, "rightbottompoint" not: across only.
  EXPECT_EQ(StretchKindOf(SectionGeometryOf(Record<TksDataSkinPanelControl>("statusbar"))),
            TksStretchKind::skHorizontal);
  EXPECT_EQ(StretchKindOf(SectionGeometryOf(Record<TksDataSkinLabelControl>("statuspanel"))),
            TksStretchKind::skHorizontal);
  EXPECT_EQ(StretchKindOf(SectionGeometryOf(Record<TksDataSkinCheckRadioControl>("radiobox"))),
            TksStretchKind::skHorizontal);
}

TEST(StretchKind, IsTestedInTheOrderNoneBothHorizontalVerticalFixed) {
  const Rect piece{0, 0, 20, 10};
  // An empty piece is none whatever the points say.
  EXPECT_EQ(StretchKindOf(Section({5, 5, 5, 9}, {1, 1}, {4, 1}, {1, 4}, {4, 4}, {})), TksStretchKind::skNone);
  EXPECT_EQ(StretchKindOf(Section({5, 5, 9, 5}, {}, {}, {}, {}, {})), TksStretchKind::skNone);
  // One zero coordinate of "rightbottompoint" is not "both"; the right-top
  // point then decides.
  EXPECT_EQ(StretchKindOf(Section(piece, {2, 2}, {18, 0}, {2, 8}, {18, 0}, {})), TksStretchKind::skHorizontal);
  EXPECT_EQ(StretchKindOf(Section(piece, {2, 2}, {0, 3}, {}, {}, {})), TksStretchKind::skHorizontal);
  EXPECT_EQ(StretchKindOf(Section(piece, {0, 3}, {}, {0, 7}, {}, {})), TksStretchKind::skVertical);
  EXPECT_EQ(StretchKindOf(Section(piece, {0, 3}, {}, {5, 0}, {}, {})), TksStretchKind::skVertical);
  EXPECT_EQ(StretchKindOf(Section(piece, {3, 3}, {}, {}, {}, {})), TksStretchKind::skFixed);
}

// --------------------------------------------------------------- FitToSkin

TEST_F(OwnSkinControls, HorizontalSectionFixesTheHeightAndWidensTheClientPart) {
  // statusbar: skinrect 6,242,74,261 (68 x 19), right-top 64,0, client 3,2,65,18.
  const TksSectionGeometry g = SectionGeometryOf(Record<TksDataSkinPanelControl>("statusbar"));
  int w = 667, h = 21;
  const TksScaledGeometry s = FitToSkin(g, TksStretchKind::skHorizontal, w, h);
  EXPECT_EQ(w, 667);
  EXPECT_EQ(h, 19);
  EXPECT_EQ(s.lefttoppoint, (Point{4, 0}));
  EXPECT_EQ(s.righttoppoint, (Point{64 + 599, 0}));
  EXPECT_EQ(s.clientrect, (Rect{3, 2, 65 + 599, 18}));
}

TEST_F(OwnSkinControls, NinePartSectionKeepsTheSizeAndMovesTheFarPoints) {
  // button: 30 x 25, points 4,4 26,4 4,21 26,21, client 4,4,26,21; at 41 x 33.
  const TksSectionGeometry g = SectionGeometryOf(Record<TksDataSkinButtonControl>("button"));
  int w = 41, h = 33;
  const TksScaledGeometry s = FitToSkin(g, TksStretchKind::skBoth, w, h);
  EXPECT_EQ(w, 41);
  EXPECT_EQ(h, 33);
  EXPECT_EQ(s.lefttoppoint, (Point{4, 4}));
  EXPECT_EQ(s.righttoppoint, (Point{37, 4}));
  EXPECT_EQ(s.leftbottompoint, (Point{4, 29}));
  EXPECT_EQ(s.rightbottompoint, (Point{37, 29}));
  EXPECT_EQ(s.clientrect, (Rect{4, 4, 37, 29}));
}

TEST(FitToSkin, VerticalFixesTheWidthFixedBothNoneNothing) {
  const TksSectionGeometry vertical = Section({0, 0, 10, 20}, {0, 3}, {}, {0, 15}, {}, {1, 3, 9, 15});
  int w = 40, h = 50;
  TksScaledGeometry s = FitToSkin(vertical, TksStretchKind::skVertical, w, h);
  EXPECT_EQ(w, 10);
  EXPECT_EQ(h, 50);
  EXPECT_EQ(s.leftbottompoint, (Point{0, 45}));
  EXPECT_EQ(s.clientrect, (Rect{1, 3, 9, 45}));

  const TksSectionGeometry fixed = Section({10, 10, 30, 25}, {}, {}, {}, {}, {2, 2, 18, 13});
  w = 50, h = 40;
  s = FitToSkin(fixed, TksStretchKind::skFixed, w, h);
  EXPECT_EQ(w, 20);
  EXPECT_EQ(h, 15);
  EXPECT_EQ(s.clientrect, (Rect{2, 2, 18, 13}));

  w = 50, h = 40;
  FitToSkin(Section({}, {}, {}, {}, {}, {}), TksStretchKind::skNone, w, h);
  EXPECT_EQ(w, 50);
  EXPECT_EQ(h, 40);
}

// -------------------------------------------------------------- MapSkinRect

TEST_F(OwnSkinControls, MapSkinRectAcrossAHorizontalSection) {
  // statusbar at 667 wide: 599 wider than its piece; right-top at 64.
  const TksSectionGeometry g = SectionGeometryOf(Record<TksDataSkinPanelControl>("statusbar"));
  const auto map = [&](Rect r) { return MapSkinRect(g, TksStretchKind::skHorizontal, r, 667, 19); };
  EXPECT_EQ(map({64, 2, 68, 10}), (Rect{663, 2, 667, 10}));  // right of the stretch: moves
  EXPECT_EQ(map({2, 2, 66, 10}), (Rect{2, 2, 665, 10}));     // spans it: grows
  EXPECT_EQ(map({0, 0, 4, 5}), (Rect{0, 0, 4, 5}));          // left part: stays
  EXPECT_EQ(map({10, 0, 30, 5}), (Rect{10, 0, 30, 5}));      // inside the middle: stays
}

TEST(MapSkinRect, NinePartCornersMoveWithTheirCorner) {
  // 30 x 25 piece, points 4,4 26,4 4,21 26,21, shown at 41 x 35: dW 11, dH 10.
  const TksSectionGeometry g = Section({0, 0, 30, 25}, {4, 4}, {26, 4}, {4, 21}, {26, 21}, {4, 4, 26, 21});
  const auto map = [&](Rect r) { return MapSkinRect(g, TksStretchKind::skBoth, r, 41, 35); };
  EXPECT_EQ(map({1, 1, 3, 3}), (Rect{1, 1, 3, 3}));          // top-left corner
  EXPECT_EQ(map({27, 1, 28, 2}), (Rect{38, 1, 39, 2}));      // top-right corner
  EXPECT_EQ(map({1, 22, 2, 23}), (Rect{1, 32, 2, 33}));      // bottom-left corner
  EXPECT_EQ(map({27, 22, 29, 24}), (Rect{38, 32, 40, 34}));  // bottom-right corner
  // Spanning corners: the far edges follow.
  EXPECT_EQ(map({1, 1, 28, 24}), (Rect{1, 1, 39, 34}));      // top-left to bottom-right
  EXPECT_EQ(map({1, 1, 28, 3}), (Rect{1, 1, 39, 3}));        // top-left to top-right
  EXPECT_EQ(map({1, 22, 28, 24}), (Rect{1, 32, 39, 34}));    // bottom-left to bottom-right
  EXPECT_EQ(map({1, 1, 3, 24}), (Rect{1, 1, 3, 34}));        // top-left to bottom-left
  EXPECT_EQ(map({27, 1, 29, 24}), (Rect{38, 1, 40, 34}));    // top-right to bottom-right
  EXPECT_EQ(map({10, 10, 12, 12}), (Rect{10, 10, 12, 12}));  // the middle: stays
}

TEST(MapSkinRect, VerticalAndFixedSections) {
  const TksSectionGeometry g = Section({0, 0, 10, 20}, {0, 3}, {}, {0, 15}, {}, {});
  EXPECT_EQ(MapSkinRect(g, TksStretchKind::skVertical, {0, 2, 5, 16}, 10, 50), (Rect{0, 2, 5, 46}));
  EXPECT_EQ(MapSkinRect(g, TksStretchKind::skVertical, {0, 16, 5, 18}, 10, 50), (Rect{0, 46, 5, 48}));
  EXPECT_EQ(MapSkinRect(g, TksStretchKind::skVertical, {0, 0, 5, 2}, 10, 50), (Rect{0, 0, 5, 2}));
  EXPECT_EQ(MapSkinRect(g, TksStretchKind::skFixed, {0, 16, 5, 18}, 10, 50), (Rect{0, 16, 5, 18}));
}

// ------------------------------------------------------------- state images

TEST_F(OwnSkinControls, ButtonStateImagesAreThePicturesRectangles) {
  const auto& button = Record<TksDataSkinButtonControl>("button");
  const TksSectionGeometry g = SectionGeometryOf(button);
  const TksButtonRects rects = ButtonRectsOf(button);
  // The rectangles of skins/default/skin.ini [button].
  EXPECT_EQ(rects.skinrect, (Rect{0, 0, 30, 25}));
  EXPECT_EQ(rects.activeskinrect, (Rect{30, 0, 60, 25}));
  EXPECT_EQ(rects.downskinrect, (Rect{60, 0, 90, 25}));
  EXPECT_EQ(rects.disabledskinrect, (Rect{90, 0, 120, 25}));
  for (const Rect& state : {rects.skinrect, rects.activeskinrect, rects.downskinrect, rects.disabledskinrect}) {
    // At the piece's own size the image is the piece, pixel for pixel.
    int w = 30, h = 25;
    const TksScaledGeometry s = FitToSkin(g, TksStretchKind::skBoth, w, h);
    Image image;
    ComposeSkinImage(Controls().View(), state, g, TksStretchKind::skBoth, s, w, h, image);
    ASSERT_EQ(image.Width(), 30);
    ASSERT_EQ(image.Height(), 25);
    for (int y = 0; y < 25; ++y)
      for (int x = 0; x < 30; ++x)
        ASSERT_EQ(Rgb(image.At(x, y)), Rgb(Controls().At(state.left + x, state.top + y))) << x << "," << y;
  }
}

TEST_F(OwnSkinControls, AWideButtonKeepsItsCornersAndTilesItsEdges) {
  const auto& button = Record<TksDataSkinButtonControl>("button");
  const TksSectionGeometry g = SectionGeometryOf(button);
  const Rect hot{30, 0, 60, 25};
  int w = 41, h = 25;
  const TksScaledGeometry s = FitToSkin(g, TksStretchKind::skBoth, w, h);
  Image image;
  ComposeSkinImage(Controls().View(), hot, g, TksStretchKind::skBoth, s, w, h, image);
  ASSERT_EQ(image.Width(), 41);
  const auto picture = [&](int x, int y) { return Rgb(Controls().At(hot.left + x, hot.top + y)); };
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Rgb(image.At(x, y)), picture(x, y)) << x << "," << y;  // left part
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Rgb(image.At(37 + x, y)), picture(26 + x, y)) << x << "," << y;
  }
  // The top edge between the corners repeats the piece's columns 4 … 25
  // from the left: column 30 of the image is column 4 + (30 − 4) mod 22.
  EXPECT_EQ(Rgb(image.At(30, 1)), picture(8, 1));
  EXPECT_EQ(Rgb(image.At(20, 1)), picture(20, 1));
}

TEST_F(OwnSkinControls, TheStatusBarIsComposedAcrossFromItsFixedEnds) {
  const auto& bar = Record<TksDataSkinPanelControl>("statusbar");
  const TksSectionGeometry g = SectionGeometryOf(bar);
  int w = 200, h = 25;
  const TksScaledGeometry s = FitToSkin(g, TksStretchKind::skHorizontal, w, h);
  Image image;
  ComposeSkinImage(Controls().View(), g.skinrect, g, TksStretchKind::skHorizontal, s, w, h, image);
  ASSERT_EQ(image.Width(), 200);
  ASSERT_EQ(image.Height(), 19);
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(Rgb(image.At(x, y)), Rgb(Controls().At(6 + x, 242 + y)));
      EXPECT_EQ(Rgb(image.At(196 + x, y)), Rgb(Controls().At(70 + x, 242 + y)));
    }
}

TEST(ComposeSkinImage, FixedCopiesThePieceAndNoneLeavesTheTarget) {
  Image picture(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) picture.At(x, y) = MakePixel(uint8_t(x * 30), uint8_t(y * 30), 7);
  const TksSectionGeometry g = Section({2, 3, 6, 6}, {}, {}, {}, {}, {});
  Image target;
  ComposeSkinImage(picture.View(), {4, 1, 8, 4}, g, TksStretchKind::skFixed, {}, 4, 3, target);
  ASSERT_EQ(target.Width(), 4);
  ASSERT_EQ(target.Height(), 3);
  EXPECT_EQ(target.At(0, 0), picture.At(4, 1));
  EXPECT_EQ(target.At(3, 2), picture.At(7, 3));
  Image untouched(2, 2, 0x12345678u);
  ComposeSkinImage(picture.View(), {4, 1, 8, 4}, g, TksStretchKind::skNone, {}, 4, 3, untouched);
  EXPECT_EQ(untouched, Image(2, 2, 0x12345678u));
}

TEST(ButtonRects, MissingStateImagesFallBack) {
  TksDataSkinButtonControl record("button");
  record.skinrect = {0, 0, 30, 25};
  TksButtonRects r = ButtonRectsOf(record);
  EXPECT_EQ(r.activeskinrect, record.skinrect);
  EXPECT_EQ(r.downskinrect, record.skinrect);
  EXPECT_TRUE(RectIsEmpty(r.disabledskinrect));
  record.activeskinrect = {30, 0, 60, 25};
  r = ButtonRectsOf(record);
  EXPECT_EQ(r.downskinrect, record.activeskinrect);  // pressed shows the active image
}

// ------------------------------------------------------------- button looks

TEST(ButtonLook, TheFirstRuleThatHoldsChoosesTheImage) {
  TksButtonState s;
  EXPECT_EQ(ChooseButtonLook(s).image, TksButtonImage::biNormal);
  s.mouse_in = true;
  EXPECT_EQ(ChooseButtonLook(s).image, TksButtonImage::biActive);
  EXPECT_TRUE(ChooseButtonLook(s).active);
  s.down = s.pressed = true;
  EXPECT_EQ(ChooseButtonLook(s).image, TksButtonImage::biDown);
  EXPECT_TRUE(ChooseButtonLook(s).down);
  // Held down, the pointer gone: the normal image until it returns.
  s.mouse_in = false;
  EXPECT_EQ(ChooseButtonLook(s).image, TksButtonImage::biNormal);
  // Held by the Space key on the focused button: down.
  s.pressed = false;
  s.focused = true;
  EXPECT_EQ(ChooseButtonLook(s).image, TksButtonImage::biDown);
  // A sticky group button shows down without the pointer.
  TksButtonState g;
  g.down = g.grouped = true;
  EXPECT_EQ(ChooseButtonLook(g).image, TksButtonImage::biDown);
  // Disabled: the disabled image when the section has one.
  g.enabled = false;
  g.has_disabled_image = true;
  EXPECT_EQ(ChooseButtonLook(g).image, TksButtonImage::biDisabled);
  EXPECT_FALSE(ChooseButtonLook(g).active);
  g.has_disabled_image = false;
  EXPECT_EQ(ChooseButtonLook(g).image, TksButtonImage::biDown);
  // Focus alone shows active; a finished fade shows active, a running one not.
  TksButtonState f;
  f.focused = true;
  EXPECT_EQ(ChooseButtonLook(f).image, TksButtonImage::biActive);
  TksButtonState m;
  m.morphing = true;
  m.morph_factor = 1;
  EXPECT_EQ(ChooseButtonLook(m).image, TksButtonImage::biActive);
  m.morph_factor = 0.6;
  EXPECT_EQ(ChooseButtonLook(m).image, TksButtonImage::biNormal);
}

TEST(ButtonGlyphCell, FourCellsNormalDisabledDownActive) {
  EXPECT_EQ(ButtonGlyphCell(false, false, true, 4), 1);
  EXPECT_EQ(ButtonGlyphCell(false, false, false, 4), 2);
  EXPECT_EQ(ButtonGlyphCell(true, true, true, 4), 3);
  EXPECT_EQ(ButtonGlyphCell(false, true, true, 4), 4);
  // Never a cell the strip does not have.
  EXPECT_EQ(ButtonGlyphCell(false, false, false, 1), 1);
  EXPECT_EQ(ButtonGlyphCell(true, true, true, 2), 1);
  EXPECT_EQ(ButtonGlyphCell(false, false, false, 2), 2);
  EXPECT_EQ(ButtonGlyphCell(false, true, true, 3), 1);
}

TEST(MorphFactor, FadesInFiveStepsAndStopsAtTheEnd) {
  double f = 0;
  bool finished = false;
  int steps = 0;
  while (!finished && steps < 10) {
    f = StepMorphFactor(f, true, finished);
    ++steps;
  }
  EXPECT_EQ(f, 1.0);
  EXPECT_LE(steps, 6);  // five steps of 0.2, then the stop
  EXPECT_GE(steps, 5);
  f = StepMorphFactor(f, false, finished);
  EXPECT_FALSE(finished);
  EXPECT_NEAR(f, 0.8, 1e-9);
}

TEST(GlyphLayout, CentredBlocksAndMargins) {
  // A 16-pixel glyph alone, spacing 1, in a 41-wide rectangle: 20 − 8 = 12.
  TksGlyphTextPlace p = LayoutGlyphAndText({0, 0, 41, 25}, -1, TksButtonLayout::blGlyphLeft, 1, 16, 16, 0, 0);
  EXPECT_EQ(p.glyph, (Point{12, 4}));
  // The same in a tool button's client part 4,4,37,21: centre 20,12.
  p = LayoutGlyphAndText({4, 4, 37, 21}, -1, TksButtonLayout::blGlyphLeft, 1, 18, 18, 0, 0);
  EXPECT_EQ(p.glyph, (Point{20 - 9, 12 - 9}));
  // Glyph left of a caption with a margin.
  p = LayoutGlyphAndText({10, 0, 110, 20}, 3, TksButtonLayout::blGlyphLeft, 2, 16, 16, 30, 12);
  EXPECT_EQ(p.glyph, (Point{13, 2}));
  EXPECT_EQ(p.text, (Point{13 + 16 + 2, 4}));
  // Glyph right, margin 2: 40 − 16 − 2 = 22; the caption 2 before it.
  p = LayoutGlyphAndText({0, 0, 40, 40}, 2, TksButtonLayout::blGlyphRight, 2, 16, 16, 20, 10);
  EXPECT_EQ(p.glyph, (Point{22, 12}));
  EXPECT_EQ(p.text, (Point{0, 15}));
  // Glyph over a caption, centred: v = (16 + 10 + 2) / 2 = 14.
  p = LayoutGlyphAndText({0, 0, 40, 40}, -1, TksButtonLayout::blGlyphTop, 2, 16, 16, 20, 10);
  EXPECT_EQ(p.glyph, (Point{12, 6}));
  EXPECT_EQ(p.text, (Point{10, 24}));
  p = LayoutGlyphAndText({0, 0, 40, 40}, -1, TksButtonLayout::blGlyphBottom, 2, 16, 16, 20, 10);
  EXPECT_EQ(p.glyph, (Point{12, 18}));
  EXPECT_EQ(p.text, (Point{10, 6}));
  p = LayoutGlyphAndText({0, 0, 40, 40}, 5, TksButtonLayout::blGlyphBottom, 2, 16, 16, 20, 10);
  EXPECT_EQ(p.glyph, (Point{12, 19}));
  EXPECT_EQ(p.text, (Point{10, 7}));
}

// ---------------------------------------------------------- check and radio

TEST_F(OwnSkinControls, RadioMarksAreTheSkinsRectanglesKeyedAtTheirBottomLeft) {
  const TksCheckRadioRects r = CheckRadioRectsOf(Record<TksDataSkinCheckRadioControl>("radiobox"));
  // skins/default/skin.ini [radiobox]: the marks at y 64, 14 × 14 each.
  EXPECT_EQ(CheckMarkRect(r, false, true, false), (Rect{0, 64, 14, 78}));
  EXPECT_EQ(CheckMarkRect(r, true, true, false), (Rect{14, 64, 28, 78}));
  EXPECT_EQ(CheckMarkRect(r, false, true, true), (Rect{28, 64, 42, 78}));
  EXPECT_EQ(CheckMarkRect(r, true, true, true), (Rect{42, 64, 56, 78}));
  EXPECT_EQ(CheckMarkRect(r, false, false, true), (Rect{56, 64, 70, 78}));
  EXPECT_EQ(CheckMarkRect(r, true, false, false), (Rect{70, 64, 84, 78}));
  // The transparent colour comes from each mark's bottom-left pixel: it must
  // be the skin's key colour, magenta, and the mark's middle must not.
  for (bool checked : {false, true})
    for (bool enabled : {false, true})
      for (bool in : {false, true}) {
        const Rect m = CheckMarkRect(r, checked, enabled, in);
        EXPECT_EQ(Rgb(Controls().At(m.left, m.bottom - 1)), 0xFF00FFu);
        EXPECT_NE(Rgb(Controls().At(m.left + 7, m.top + 7)), 0xFF00FFu);
      }
}

TEST(CheckRadioRects, MissingMarksFallBackToTheNormalOnes) {
  TksDataSkinCheckRadioControl record("checkbox");
  record.skinrect = {0, 0, 60, 25};
  record.checkimagerect = {14, 50, 28, 64};
  record.uncheckimagerect = {0, 50, 14, 64};
  const TksCheckRadioRects r = CheckRadioRectsOf(record);
  EXPECT_EQ(r.activeskinrect, record.skinrect);
  EXPECT_EQ(CheckMarkRect(r, true, true, true), record.checkimagerect);
  EXPECT_EQ(CheckMarkRect(r, false, true, true), record.uncheckimagerect);
  EXPECT_EQ(CheckMarkRect(r, true, false, false), record.checkimagerect);
  EXPECT_EQ(CheckMarkRect(r, false, false, false), record.uncheckimagerect);
}

TEST_F(OwnSkinControls, AFramedBoxWidensItsTextAndCentresItsMark) {
  // radiobox at 65 wide (5 more than its piece): text 20,0,58,25 grows to 63;
  // the mark area 0,0,20,25 stays (left of the text); a 14 × 14 mark centred.
  const TksCheckRadioPlaces p = FitCheckRadio(CheckRadioRectsOf(Record<TksDataSkinCheckRadioControl>("radiobox")), 65);
  EXPECT_EQ(p.textarea, (Rect{20, 0, 63, 25}));
  EXPECT_EQ(p.checkimage, (Rect{3, 5, 17, 19}));
}

TEST(CheckRadioPlaces, AMarkRightOfTheTextMovesWithTheRightEdge) {
  TksCheckRadioRects r;
  r.skinrect = {0, 0, 60, 25};
  r.textarea = {0, 0, 40, 25};
  r.checkimagearea = {40, 0, 60, 25};
  r.checkimagerect = {0, 0, 14, 14};
  const TksCheckRadioPlaces p = FitCheckRadio(r, 80);
  EXPECT_EQ(p.textarea, (Rect{0, 0, 60, 25}));
  EXPECT_EQ(p.checkimage, (Rect{63, 5, 77, 19}));
}

// -------------------------------------------------------------------- panel

TEST(PanelClientArea, BordersSectionsAndBackgrounds) {
  const Rect scaled{2, 2, 98, 48};
  using B = TksSkinBorderStyle;
  // Without a section: one pixel in unless there is no border; the caption bar.
  EXPECT_EQ(PanelClientArea(false, false, B::bvFrame, false, 22, TksStretchKind::skNone, scaled, 100, 50),
            (Rect{1, 1, 99, 49}));
  EXPECT_EQ(PanelClientArea(false, false, B::bvNone, false, 22, TksStretchKind::skNone, scaled, 100, 50),
            (Rect{0, 0, 100, 50}));
  EXPECT_EQ(PanelClientArea(false, false, B::bvRaised, true, 22, TksStretchKind::skNone, scaled, 100, 50),
            (Rect{1, 23, 99, 49}));
  // With one: the scaled client part, or all of it for a background picture
  // or a borderless nine-part piece.
  EXPECT_EQ(PanelClientArea(true, false, B::bvFrame, false, 22, TksStretchKind::skBoth, scaled, 100, 50), scaled);
  EXPECT_EQ(PanelClientArea(true, true, B::bvFrame, false, 22, TksStretchKind::skBoth, scaled, 100, 50),
            (Rect{0, 0, 100, 50}));
  EXPECT_EQ(PanelClientArea(true, false, B::bvNone, false, 22, TksStretchKind::skBoth, scaled, 100, 50),
            (Rect{0, 0, 100, 50}));
  EXPECT_EQ(PanelClientArea(true, false, B::bvNone, false, 22, TksStretchKind::skHorizontal, scaled, 100, 50),
            scaled);
}

TEST(AlignedTextOrigin, LeftRightAndCentreVerticallyCentred) {
  const Rect r{10, 4, 110, 24};
  EXPECT_EQ(AlignedTextOrigin(r, Alignment::taLeftJustify, 30, 13), (Point{10, 14 - 6}));
  EXPECT_EQ(AlignedTextOrigin(r, Alignment::taRightJustify, 30, 13), (Point{80, 8}));
  EXPECT_EQ(AlignedTextOrigin(r, Alignment::taCenter, 30, 13), (Point{60 - 15, 8}));
}

}  // namespace
}  // namespace kelmar
