// Hit-test codes of the skinned frame and of the plain frame: the program's
// own skin (border width 4, client 8,28,696,284, corner points 8,28 /
// 695,28 / 8,283 / 695,283) at its picture size and larger, and a small
// skin whose mask cuts a corner, for the probes against the window's shape.
#include <gtest/gtest.h>

#include "base/file.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"
#include "native/own_skin_package.h"
#include "skin/form/frame_hit_test.h"

namespace kelmar {
namespace {

class OwnSkinHitTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = &OwnSkinPackage(); }
  int Hit(int w, int h, Point p, FrameHitState s = {}) {
    const FrameGeometry g = ComputeFrameGeometry(*skin, w, h);
    mask.Compose(*skin, g, w, h);
    return SkinnedFrameHitTest(g, w, h, skin->borderwidth, &mask, s, p);
  }

  static const TksSkinData* skin;
  FrameMaskShape mask;
};
const TksSkinData* OwnSkinHitTest::skin = nullptr;

TEST_F(OwnSkinHitTest, BordersCornersAndClientAtThePictureSize) {
  ASSERT_FALSE(skin->Mask.IsEmpty());
  ASSERT_EQ(skin->borderwidth, 4);
  // The four outermost pixels of the sides and the bottom are the border.
  for (int x = 0; x <= 3; ++x) EXPECT_EQ(Hit(704, 292, {x, 150}), kHitLeft) << x;
  for (int x = 700; x <= 703; ++x) EXPECT_EQ(Hit(704, 292, {x, 150}), kHitRight) << x;
  for (int y = 288; y <= 291; ++y) EXPECT_EQ(Hit(704, 292, {300, y}), kHitBottom) << y;
  // The mask rectangle starts at y = 3: only three rows size from the top.
  for (int y = 0; y <= 2; ++y) EXPECT_EQ(Hit(704, 292, {300, y}), kHitTop) << y;
  EXPECT_EQ(Hit(704, 292, {300, 3}), kHitObject);
  // Inside them the frame is neither border nor client.
  EXPECT_EQ(Hit(704, 292, {5, 150}), kHitObject);
  EXPECT_EQ(Hit(704, 292, {698, 150}), kHitObject);
  EXPECT_EQ(Hit(704, 292, {300, 286}), kHitObject);
  // Corners reach to the corner points: the left border beside the caption
  // sizes from the top-left.
  EXPECT_EQ(Hit(704, 292, {2, 20}), kHitTopLeft);
  EXPECT_EQ(Hit(704, 292, {8, 2}), kHitTopLeft);
  EXPECT_EQ(Hit(704, 292, {9, 2}), kHitTop);
  EXPECT_EQ(Hit(704, 292, {702, 20}), kHitTopRight);
  EXPECT_EQ(Hit(704, 292, {2, 290}), kHitBottomLeft);
  EXPECT_EQ(Hit(704, 292, {702, 290}), kHitBottomRight);
  // The mask rounds the top corners (row 1 starts at x = 3, row 2 at 2):
  // still a border's width square sizes from the corner inside the shape.
  for (int y = 2; y <= 5; ++y)
    for (int x = 2; x <= 5; ++x) {
      EXPECT_EQ(Hit(704, 292, {x, y}), kHitTopLeft) << x << "," << y;
      EXPECT_EQ(Hit(704, 292, {703 - x, y}), kHitTopRight) << x << "," << y;
    }
  EXPECT_EQ(Hit(704, 292, {8, 28}), kHitClient);
  EXPECT_EQ(Hit(704, 292, {695, 283}), kHitClient);
  EXPECT_EQ(Hit(704, 292, {696, 150}), kHitObject);
}

TEST_F(OwnSkinHitTest, BordersFollowTheRightAndBottomEdgesOfALargerWindow) {
  // 900 × 500: dx 196, dy 208.
  EXPECT_EQ(Hit(900, 500, {898, 300}), kHitRight);
  EXPECT_EQ(Hit(900, 500, {895, 300}), kHitObject);
  EXPECT_EQ(Hit(900, 500, {891, 300}), kHitClient);
  EXPECT_EQ(Hit(900, 500, {450, 498}), kHitBottom);
  EXPECT_EQ(Hit(900, 500, {898, 498}), kHitBottomRight);
  EXPECT_EQ(Hit(900, 500, {600, 2}), kHitTop);
}

TEST_F(OwnSkinHitTest, CaptionAndTheTopBandOverTheButtons) {
  FrameHitState onCaption;
  onCaption.onCaption = true;
  EXPECT_EQ(Hit(704, 292, {300, 12}, onCaption), kHitCaption);
  // The top band still sizes where the caption object reaches into it.
  EXPECT_EQ(Hit(704, 292, {300, 2}, onCaption), kHitTop);
  // Over the close button (654..697, 1..18): top band while nothing is hot,
  // object below it.
  EXPECT_EQ(Hit(704, 292, {670, 2}), kHitTop);
  EXPECT_EQ(Hit(704, 292, {670, 10}), kHitObject);
  FrameHitState hot;
  hot.objectHot = true;
  EXPECT_EQ(Hit(704, 292, {670, 2}, hot), kHitObject);
  // A hot button takes the sizing codes away from the whole frame, not from
  // the client area or the caption.
  EXPECT_EQ(Hit(704, 292, {1, 150}, hot), kHitObject);
  EXPECT_EQ(Hit(704, 292, {300, 150}, hot), kHitClient);
  hot.onCaption = true;
  EXPECT_EQ(Hit(704, 292, {300, 12}, hot), kHitCaption);
  // Inside the move/size loop the borders answer as usual.
  hot.onCaption = false;
  hot.inSizeMove = true;
  EXPECT_EQ(Hit(704, 292, {1, 150}, hot), kHitLeft);
}

TEST_F(OwnSkinHitTest, NoSizingWhenMaximizedOrFixedAndOnlyTheCaptionWhenRolledUp) {
  for (auto change : {+[](FrameHitState& s) { s.maximized = true; }, +[](FrameHitState& s) { s.sizeable = false; }}) {
    FrameHitState s;
    change(s);
    EXPECT_EQ(Hit(704, 292, {1, 150}, s), kHitObject);
    EXPECT_EQ(Hit(704, 292, {702, 290}, s), kHitObject);
    EXPECT_EQ(Hit(704, 292, {300, 150}, s), kHitClient);
    s.onCaption = true;
    EXPECT_EQ(Hit(704, 292, {300, 2}, s), kHitCaption);
  }
  for (auto change : {+[](FrameHitState& s) { s.rolledUp = true; }, +[](FrameHitState& s) { s.minimized = true; }}) {
    FrameHitState s;
    change(s);
    // Rolled up to 704 × 36: no client, no borders.
    EXPECT_EQ(Hit(704, 36, {1, 20}, s), kHitObject);
    EXPECT_EQ(Hit(704, 36, {300, 30}, s), kHitObject);
    s.onCaption = true;
    EXPECT_EQ(Hit(704, 36, {300, 2}, s), kHitCaption);
  }
}

// A 20 × 20 frame: client and mask rectangle 4,4,16,16, corner points at
// the client's corners, border width 2; the mask is black but for a cut
// top-left corner of 4 × 4 and, when asked, a white left column.
void MakeSmallSkin(TksSkinData& skin, bool whiteLeftColumn, Rect maskRect = {4, 4, 16, 16}) {
  skin.Empty = false;
  skin.Picture = Image(20, 20);
  skin.clientrect = {4, 4, 16, 16};
  skin.maskrectarea = maskRect;
  skin.lefttoppoint = skin.hittestlefttoppoint = {4, 4};
  skin.righttoppoint = skin.hittestrighttoppoint = {15, 4};
  skin.leftbottompoint = skin.hittestleftbottompoint = {4, 15};
  skin.rightbottompoint = skin.hittestrightbottompoint = {15, 15};
  skin.borderwidth = 2;
  skin.Mask = Image(20, 20, MakePixel(0, 0, 0));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) skin.Mask.At(x, y) = MakePixel(255, 255, 255);
  if (whiteLeftColumn)
    for (int y = 0; y < 20; ++y) skin.Mask.At(0, y) = MakePixel(255, 255, 255);
}

int SmallHit(const TksSkinData& skin, Point p, bool withMask) {
  const FrameGeometry g = ComputeFrameGeometry(skin, 20, 20);
  FrameMaskShape mask;
  mask.Compose(skin, g, 20, 20);
  return SkinnedFrameHitTest(g, 20, 20, skin.borderwidth, withMask ? &mask : nullptr, {}, p);
}

TEST(MaskProbes, TheWindowsShapeDecidesWhereTheBorderIs) {
  TksSkinData skin;
  MakeSmallSkin(skin, false);
  // 5,3: a probe 2 to the left lies in the cut corner, outside the shape;
  // without the mask every probe lies in the window rectangle.
  EXPECT_EQ(SmallHit(skin, {5, 3}, true), kHitTop);
  EXPECT_EQ(SmallHit(skin, {5, 3}, false), kHitObject);
  // 3,10: every probe lands on black or in the mask rectangle.
  EXPECT_EQ(SmallHit(skin, {3, 10}, true), kHitObject);
  EXPECT_EQ(SmallHit(skin, {1, 10}, true), kHitLeft);
  EXPECT_EQ(SmallHit(skin, {1, 10}, false), kHitLeft);
  EXPECT_EQ(SmallHit(skin, {18, 18}, true), kHitBottomRight);
}

TEST(MaskProbes, APointInsideTheMaskRectangleIsNeverAtTheBorder) {
  // Column 0 is white: from 2,10 the probe 0,10 lies outside the shape.
  TksSkinData skin;
  MakeSmallSkin(skin, true);
  EXPECT_EQ(SmallHit(skin, {2, 10}, true), kHitLeft);
  // With the mask rectangle reaching to x = 2 the point itself is inside.
  TksSkinData wider;
  MakeSmallSkin(wider, true, {2, 4, 16, 16});
  EXPECT_EQ(SmallHit(wider, {2, 10}, true), kHitObject);
}

TEST(PlainHitTest, ThreePixelRingCaptionAndClient) {
  // 300 × 200, caption 19 high, caption rectangle between the buttons.
  const Rect caption{22, 3, 246, 19};
  auto hit = [&](Point p, FrameHitState s = {}) { return PlainFrameHitTest(300, 200, caption, PlainFrame(false), s, p); };
  EXPECT_EQ(hit({0, 0}), kHitTopLeft);
  EXPECT_EQ(hit({2, 2}), kHitTopLeft);
  EXPECT_EQ(hit({298, 1}), kHitTopRight);
  EXPECT_EQ(hit({1, 199}), kHitBottomLeft);
  EXPECT_EQ(hit({299, 198}), kHitBottomRight);
  EXPECT_EQ(hit({2, 100}), kHitLeft);
  EXPECT_EQ(hit({100, 2}), kHitTop);
  EXPECT_EQ(hit({298, 100}), kHitRight);
  EXPECT_EQ(hit({100, 198}), kHitBottom);
  EXPECT_EQ(hit({100, 10}), kHitCaption);
  EXPECT_EQ(hit({10, 10}), kHitObject);   // the system menu button
  EXPECT_EQ(hit({260, 10}), kHitObject);  // a caption button
  EXPECT_EQ(hit({3, 22}), kHitClient);
  EXPECT_EQ(hit({296, 196}), kHitClient);
  EXPECT_EQ(hit({297, 100}), kHitObject);
  FrameHitState s;
  s.objectHot = true;
  EXPECT_EQ(hit({1, 100}, s), kHitObject);
  EXPECT_EQ(hit({100, 100}, s), kHitClient);
  s = {};
  s.maximized = true;
  EXPECT_EQ(hit({1, 100}, s), kHitObject);
  EXPECT_EQ(hit({100, 10}, s), kHitCaption);
  s = {};
  s.sizeable = false;
  EXPECT_EQ(hit({100, 1}, s), kHitObject);
}

}  // namespace
}  // namespace kelmar
