// Snapping, the maximized and minimized places, the fade-in steps and
// bringing a window back onto an existing monitor, against values worked out
// by hand.
#include <gtest/gtest.h>

#include "skin/form/frame_behaviour.h"

namespace kelmar {
namespace {

const Rect kArea{0, 0, 1280, 994};

TEST(Snap, StrictTestsAgainstEachEdgeInOrder) {
  // Magnetic size 10: 8 and -9 snap to the left edge, 10 and -10 do not.
  EXPECT_EQ(SnapToArea(kArea, 10, {8, 300}, 400, 300), (Point{0, 300}));
  EXPECT_EQ(SnapToArea(kArea, 10, {-9, 300}, 400, 300), (Point{0, 300}));
  EXPECT_EQ(SnapToArea(kArea, 10, {10, 300}, 400, 300), (Point{10, 300}));
  EXPECT_EQ(SnapToArea(kArea, 10, {-10, 300}, 400, 300), (Point{-10, 300}));
  EXPECT_EQ(SnapToArea(kArea, 10, {300, 5}, 400, 300), (Point{300, 0}));
  // Right and bottom edges: 875 + 400 = 1275 lies within 10 of 1280.
  EXPECT_EQ(SnapToArea(kArea, 10, {875, 690}, 400, 300), (Point{880, 694}));
  EXPECT_EQ(SnapToArea(kArea, 10, {870, 684}, 400, 300), (Point{870, 684}));
  // The right test sees the left already snapped: a window 1275 wide at 8
  // goes to 0 first, then its right edge (1275) snaps to 1280.
  EXPECT_EQ(SnapToArea(kArea, 10, {8, 300}, 1275, 300), (Point{5, 300}));
  // Another monitor's area.
  EXPECT_EQ(SnapToArea({1280, 0, 2560, 1024}, 10, {1287, 3}, 400, 300), (Point{1280, 0}));
}

TEST(Maximize, WorkAreaOrOnePixelInsideAWholeScreenWorkArea) {
  const Point screen{1280, 1024};
  const Rect whole{0, 0, 1280, 1024};
  EXPECT_EQ(MaximizeTarget(whole, whole, screen, false), (Rect{1, 1, 1279, 1023}));
  EXPECT_EQ(MaximizeTarget(kArea, whole, screen, false), kArea);
  EXPECT_EQ(MaximizeTarget(kArea, whole, screen, true), whole);
  // A second monitor whose work area is the whole monitor is not shrunk.
  const Rect second{1280, 0, 2560, 1024};
  EXPECT_EQ(MaximizeTarget(second, second, screen, false), second);
}

TEST(Minimize, PlacesAlongTheBottomThenRowsUpwards) {
  const Rect area{0, 0, 1000, 700};
  const Point size{200, 36};
  EXPECT_EQ(MinimizedPlace(area, size, {}), (Point{0, 664}));
  EXPECT_EQ(MinimizedPlace(area, size, {{0, 664}}), (Point{200, 664}));
  // Only an exact left and top takes a place.
  EXPECT_EQ(MinimizedPlace(area, size, {{1, 664}}), (Point{0, 664}));
  // 600 + 400 = 1000 does not pass the right edge: 800 is still a place.
  EXPECT_EQ(MinimizedPlace(area, size, {{0, 664}, {200, 664}, {400, 664}, {600, 664}}), (Point{800, 664}));
  EXPECT_EQ(MinimizedPlace(area, size, {{0, 664}, {200, 664}, {400, 664}, {600, 664}, {800, 664}}),
            (Point{0, 628}));
  // Rows run out above the area's top: back to the first place.
  const Rect low{0, 0, 1000, 80};
  const Point wide{500, 36};
  EXPECT_EQ(MinimizedPlace(low, wide, {{0, 44}, {500, 44}}), (Point{0, 8}));
  EXPECT_EQ(MinimizedPlace(low, wide, {{0, 44}, {500, 44}, {0, 8}, {500, 8}}), (Point{0, 44}));
}

TEST(FadeIn, StepsOfFiveCappedAtTheTarget) {
  const auto to200 = FadeInSteps(200);
  ASSERT_EQ(to200.size(), 40u);
  EXPECT_EQ(to200.front(), 5);
  EXPECT_EQ(to200[1], 10);
  EXPECT_EQ(to200.back(), 200);
  EXPECT_EQ(FadeInSteps(12), (std::vector<uint8_t>{5, 10, 12}));
  const auto to255 = FadeInSteps(255);
  EXPECT_EQ(to255.size(), 51u);
  EXPECT_EQ(to255.back(), 255);
  EXPECT_EQ(FadeInSteps(3), (std::vector<uint8_t>{3}));
}

TEST(KeepOnArea, BoundsFromAMonitorThatIsGoneComeOntoTheArea) {
  // The size stays; the window lies wholly in the area when it fits.
  EXPECT_EQ(KeepOnArea({5000, 5000, 5667, 5400}, kArea), (Rect{613, 594, 1280, 994}));
  EXPECT_EQ(KeepOnArea({-3000, 100, -2300, 500}, kArea), (Rect{0, 100, 700, 500}));
  EXPECT_EQ(KeepOnArea({100, 100, 800, 500}, kArea), (Rect{100, 100, 800, 500}));
  // Wider than the area: its left edge at the area's left.
  EXPECT_EQ(KeepOnArea({-3000, 10, -1500, 410}, kArea), (Rect{0, 10, 1500, 410}));
}

}  // namespace
}  // namespace kelmar
