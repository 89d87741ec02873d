// The scroll bar's arithmetic against values worked out by hand: the
// default look's parts, the own skin's vertical, horizontal and corner
// sections stretched to a size, the thumb with and without a page (halves
// rounded to even), positions from a dragged thumb, limits, hit testing and
// the thumb image against picture 8 of the own skin.
#include <gtest/gtest.h>

#include "native/own_skin_package.h"
#include "skin/controls/scroll_bar_geometry.h"
#include "skin/data/skin_data.h"

namespace kelmar {
namespace {

constexpr TScrollBarKind kH = TScrollBarKind::sbHorizontal, kV = TScrollBarKind::sbVertical;

TksScrollRange Range(int min, int max, int page, int position) { return {min, max, page, position}; }

// ------------------------------------------------------------ default look

TEST(ScrollBarDefaultLayout, HorizontalAndVerticalWithoutAPage) {
  // 200 x 19: buttons 1..17 and 183..199, a 16-pixel thumb whose centre
  // travels from 17 + 8 to 183 - 8.
  TksScrollBarLayout l = ScrollBarLayout(kH, 200, 19, Range(0, 100, 0, 0), nullptr);
  EXPECT_EQ(l.downButton, (Rect{1, 1, 17, 18}));
  EXPECT_EQ(l.upButton, (Rect{183, 1, 199, 18}));
  EXPECT_EQ(l.track, (Rect{17, 1, 183, 18}));
  EXPECT_EQ(l.thumb, (Rect{17, 1, 33, 18}));
  EXPECT_EQ(l.lastCentre, 175);
  EXPECT_EQ(ScrollBarLayout(kH, 200, 19, Range(0, 100, 0, 100), nullptr).thumb, (Rect{167, 1, 183, 18}));
  // Range 0..4: a quarter of 150 is 37.5 (to 38), three quarters 112.5 (to 112).
  EXPECT_EQ(ScrollBarLayout(kH, 200, 19, Range(0, 4, 0, 1), nullptr).offset, 38);
  EXPECT_EQ(ScrollBarLayout(kH, 200, 19, Range(0, 4, 0, 3), nullptr).offset, 112);
  // 17 pixels kept free at the right end: the bar ends at 183.
  TksScrollBarLayout both = ScrollBarLayout(kH, 200, 19, Range(0, 100, 0, 100), nullptr, 17);
  EXPECT_EQ(both.upButton, (Rect{166, 1, 182, 18}));
  EXPECT_EQ(both.thumb, (Rect{150, 1, 166, 18}));
  TksScrollBarLayout v = ScrollBarLayout(kV, 19, 120, Range(0, 100, 0, 0), nullptr);
  EXPECT_EQ(v.downButton, (Rect{1, 1, 18, 17}));
  EXPECT_EQ(v.upButton, (Rect{1, 103, 18, 119}));
  EXPECT_EQ(v.thumb, (Rect{1, 17, 18, 33}));
}

TEST(ScrollBarDefaultLayout, ThumbOfAPage) {
  // Track 166 long, page 10 of 100 values: round(16.6) = 17, half 8; the
  // largest position 90 puts the centre at 175.
  TksScrollBarLayout end = ScrollBarLayout(kH, 200, 19, Range(0, 99, 10, 90), nullptr);
  EXPECT_EQ(end.offset, 150);
  EXPECT_EQ(end.thumb, (Rect{167, 1, 183, 18}));
  // Page 5: round(8.3) = 8 is below the least length 16.
  EXPECT_EQ(ScrollBarLayout(kH, 200, 19, Range(0, 99, 5, 0), nullptr).thumb, (Rect{17, 1, 33, 18}));
  // No values at all (Max below Min) is all page, not a division by zero.
  const TksThumbSpan none = ScrollThumbSpan(0, 100, 16, true, Range(0, -1, 5, 0));
  EXPECT_EQ(none.start, 0);
  EXPECT_EQ(none.end, 100);
}

// -------------------------------------------------------------- positions

TEST(ScrollPosition, LimitsAndPagesThatFit) {
  EXPECT_EQ(LimitScrollPosition(Range(0, 99, 10, 0), 95), 90);
  EXPECT_EQ(LimitScrollPosition(Range(0, 99, 10, 0), -3), 0);
  EXPECT_EQ(LimitScrollPosition(Range(0, 100, 0, 0), 150), 100);
  EXPECT_EQ(LimitScrollPosition(Range(10, 15, 20, 0), 12), 10);  // Min wins
  // 100 values 10..109, position 100 is the 91st: 10 more fit, 11 do not.
  EXPECT_TRUE(ScrollPageFits(Range(10, 109, 0, 100), 10));
  EXPECT_FALSE(ScrollPageFits(Range(10, 109, 0, 100), 11));
}

TEST(ScrollPosition, FromADraggedThumb) {
  // Centres 25 … 175 (150 pixels of travel), page 10 of 0..99: 90 positions.
  const TksScrollRange paged = Range(0, 99, 10, 0);
  EXPECT_EQ(ScrollPositionFromOffset(paged, 25, 175, 150), 90);
  EXPECT_EQ(ScrollPositionFromOffset(paged, 25, 175, 1000), 90);
  EXPECT_EQ(ScrollPositionFromOffset(paged, 25, 175, -5), 0);
  EXPECT_EQ(ScrollPositionFromOffset(paged, 25, 175, 5), 3);  // 90 × 5/150
  // Without a page: Min + round(100 × f).
  EXPECT_EQ(ScrollPositionFromOffset(Range(-50, 50, 0, 0), 25, 175, 3), -48);
  EXPECT_EQ(ScrollPositionFromOffset(Range(7, 100, 0, 0), 40, 40, 10), 7);  // no travel
}

TEST(ScrollBarHitTest, PartsAndTheSideOfTheThumb) {
  const TksScrollBarLayout l = ScrollBarLayout(kH, 200, 19, Range(0, 100, 0, 50), nullptr);  // thumb 92..108
  EXPECT_EQ(ScrollBarPartAt(l, {100, 9}), TksScrollBarPart::spThumb);
  EXPECT_EQ(ScrollBarPartAt(l, {190, 9}), TksScrollBarPart::spUpButton);
  EXPECT_EQ(ScrollBarPartAt(l, {5, 9}), TksScrollBarPart::spDownButton);
  EXPECT_EQ(ScrollBarPartAt(l, {0, 9}), TksScrollBarPart::spNone);  // the frame pixel
  EXPECT_EQ(ThumbSide(kH, l, {91, 9}), -1);
  EXPECT_EQ(ThumbSide(kH, l, {107, 9}), 0);
  EXPECT_EQ(ThumbSide(kH, l, {108, 9}), 1);
}

// --------------------------------------------------------------- own skin

class OwnSkinScrollBars : public ::testing::Test {
 protected:
  static TksScrollBarRects Rects(const char* name) {
    const auto* r = FindControlRecord<TksDataSkinScrollBarControl>(OwnSkinPackage(), name);
    EXPECT_NE(r, nullptr) << name;
    return r ? ScrollBarRectsOf(*r) : TksScrollBarRects{};
  }
  static const Image& Picture() { return OwnSkinPackage().ActivePictures.at(8); }
  static Pixel Rgb(Pixel p) { return p & 0xFFFFFFu; }
};

TEST_F(OwnSkinScrollBars, VerticalSectionStretchedToTheListsHeight) {
  // [vscrollbar]: 17 x 60, left-bottom point y 42, track 0,17,17,43, buttons
  // 0,0,17,17 and 0,43,17,60, thumb 11 x 30. At 160 high the track and the
  // lower button move by 100; the thumb is centred across at (17 - 11) / 2.
  const TksScrollBarRects s = Rects("vscrollbar");
  TksScrollBarLayout l = ScrollBarLayout(kV, 17, 160, Range(0, 100, 0, 0), &s);
  EXPECT_EQ(l.track, (Rect{0, 17, 17, 143}));
  EXPECT_EQ(l.downButton, (Rect{0, 0, 17, 17}));
  EXPECT_EQ(l.upButton, (Rect{0, 143, 17, 160}));
  EXPECT_EQ(l.thumb, (Rect{3, 17, 14, 47}));
  // 20 rows, 8 visible: round(126 × 8 / 20) = round(50.4) = 50, centres 42 … 118.
  EXPECT_EQ(ScrollBarLayout(kV, 17, 160, Range(0, 19, 8, 6), &s).thumb, (Rect{3, 55, 14, 105}));
  EXPECT_EQ(ScrollBarLayout(kV, 17, 160, Range(0, 19, 8, 12), &s).thumb, (Rect{3, 93, 14, 143}));
  // A small page is held at the thumb piece's 30 rows.
  EXPECT_EQ(ScrollBarLayout(kV, 17, 160, Range(0, 199, 8, 0), &s).thumb, (Rect{3, 17, 14, 47}));
  // The own skin names one glyph only: hot and dragged thumbs use it too.
  EXPECT_EQ(s.downglyphrect, (Rect{80, 84, 87, 89}));
}

TEST_F(OwnSkinScrollBars, HorizontalAndCornerSections) {
  // [hscrollbar]: 60 wide, right-top point x 42; the increase button (43..60)
  // lies right of it and moves by 140 at 200 wide, the decrease button stays.
  const TksScrollBarRects h = Rects("hscrollbar");
  TksScrollBarLayout l = ScrollBarLayout(kH, 200, 17, Range(0, 100, 0, 0), &h);
  EXPECT_EQ(l.track, (Rect{17, 0, 183, 17}));
  EXPECT_EQ(l.downButton, (Rect{0, 0, 17, 17}));
  EXPECT_EQ(l.upButton, (Rect{183, 0, 200, 17}));
  EXPECT_EQ(l.thumb, (Rect{17, 3, 47, 14}));
  // [bothhscrollbar] is 77 wide with the corner box after the button: the
  // button moves by 123 only and the corner stays free.
  const TksScrollBarRects both = Rects("bothhscrollbar");
  TksScrollBarLayout b = ScrollBarLayout(kH, 200, 17, Range(0, 100, 0, 100), &both);
  EXPECT_EQ(b.upButton, (Rect{166, 0, 183, 17}));
  EXPECT_EQ(b.track, (Rect{17, 0, 166, 17}));
  EXPECT_EQ(b.thumb, (Rect{136, 3, 166, 14}));
}

TEST_F(OwnSkinScrollBars, ThumbImageComposedWithFixedEndsAndTheGlyphCentred) {
  // Vertical thumb 0,84,11,114 at 50 rows: 5 fixed rows at each end, the 20
  // middle rows (89..108) tiled; the 7 x 5 glyph at 80,84 centred at (2, 22).
  const TksScrollBarRects s = Rects("vscrollbar");
  const Image& pic = Picture();
  const Image thumb = ComposeScrollThumb(pic.View(), kV, true, s.thumbrect, 5, 5, 11, 50, s.glyphrect);
  ASSERT_EQ(thumb.Width(), 11);
  ASSERT_EQ(thumb.Height(), 50);
  for (int x = 0; x < 11; ++x) {
    EXPECT_EQ(Rgb(thumb.At(x, 0)), Rgb(pic.At(x, 84))) << x;
    EXPECT_EQ(Rgb(thumb.At(x, 30)), Rgb(pic.At(x, 94))) << x;  // the second tile
    EXPECT_EQ(Rgb(thumb.At(x, 49)), Rgb(pic.At(x, 113))) << x;
  }
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(Rgb(thumb.At(2 + x, 22 + y)), Rgb(pic.At(80 + x, 84 + y))) << x << "," << y;
}

TEST(ScrollThumbPut, TransparentKeyAndBlendingWithTheTrack) {
  const Pixel track = MakePixel(200, 100, 0), key = MakePixel(255, 0, 255), blue = MakePixel(0, 100, 200);
  Image dst(4, 1, track);
  Image thumb(2, 1);
  thumb.At(0, 0) = key;
  thumb.At(1, 0) = blue;
  PutScrollThumb(dst.View(), {1, 0, 3, 1}, thumb, 0.5, true, key);
  EXPECT_EQ(dst.At(1, 0), track);  // the key lets the track show
  EXPECT_EQ(dst.At(2, 0) & 0xFFFFFFu, MakePixel(100, 100, 100) & 0xFFFFFFu);
  EXPECT_EQ(dst.At(3, 0), track);
}

}  // namespace
}  // namespace kelmar
