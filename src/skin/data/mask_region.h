#pragma once
// Window shapes from mask pictures, as rectangle lists in the platform's
// region-data order (bands of rows top to bottom, runs left to right, none
// overlapping). The Win32 side turns one list into one region with a single
// call.
#include <optional>
#include <vector>

#include "base/image.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {

// A mask pixel that belongs to the window: pure black (alpha is not looked at).
inline bool IsMaskBlack(Pixel p) { return (p & 0xFFFFFFu) == 0; }

struct RegionData {
  Rect bounds;
  std::vector<Rect> rects;
};

// Every maximal run of pure black pixels (red + green + blue = 0; alpha is not
// looked at) of each row becomes one rectangle, moved by dx, dy; a row with
// the same runs as the row above makes the rectangles above one row taller
// (the same region in fewer rectangles). The bounds are the whole mask moved
// by dx, dy. An empty mask gives no data.
std::optional<RegionData> MaskToRegionData(const ImageView& mask, int dx, int dy);

// The shape of a window of w × h from its mask picture: the four mask borders
// (ComposeMaskBorders) placed around the target client rectangle, which is
// wholly inside. A window lower than the corner points (a frame rolled up to
// its caption) keeps the top and bottom bands whole and as much of the
// sides' fixed ends as there is room for. No data when the target is
// narrower than the corner pieces, lower than the top and bottom bands, or
// the mask is empty; the window is then left unshaped.
std::optional<RegionData> ComposeMaskRegionData(const ImageView& mask, const SkinGeometry& mask_geometry,
                                                const SkinGeometry& target_geometry);

}  // namespace kelmar
