#pragma once
// The arithmetic of moving, maximizing, minimizing and fading the skinned
// frame's window: screen rectangles in, screen rectangles out.
#include <cstdint>
#include <vector>

#include "base/geometry.h"

namespace kelmar {

// The top-left of a window of width × height dragged to topLeft, snapped to
// the edges of `area` that lie closer than m (strictly); the right and
// bottom tests see the left and top already snapped.
Point SnapToArea(const Rect& area, int m, Point topLeft, int width, int height);

// The bounds of a maximized window: the whole monitor when fullScreen, else
// the work area, one pixel smaller on every side when the work area is the
// whole screen at (0, 0) (a task bar that hides itself stays reachable).
Rect MaximizeTarget(const Rect& workArea, const Rect& monitor, Point screenSize, bool fullScreen);

// Where a minimized form (a frame-only strip of minSize) goes: along the
// bottom of `area` from its left, past the places other minimized forms
// hold, row by row upwards; back to the first place when the rows run out.
Point MinimizedPlace(const Rect& area, Point minSize, const std::vector<Point>& taken);

// The alpha values of a fade-in to target: 5, 10, 15, ..., the last one
// capped at the target.
std::vector<uint8_t> FadeInSteps(uint8_t target);

// Bounds moved (not resized) so that they start inside `area`, and lie
// wholly in it when they fit: a window that would come back on a monitor
// that is gone comes onto this one instead.
Rect KeepOnArea(const Rect& bounds, const Rect& area);

}  // namespace kelmar
