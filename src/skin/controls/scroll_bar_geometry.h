#pragma once
// The scroll bar's arithmetic, kept apart from the window: where the track,
// the arrow buttons and the thumb lie for a size, a range and a position,
// and which position a dragged thumb stands for.
#include "base/geometry.h"

namespace kelmar {

enum class TScrollBarKind { sbHorizontal, sbVertical };

// The parts in control coordinates. "Up" is the increase button (right or
// bottom end), "down" the decrease button (left or top end).
struct TksScrollBarLayout {
  Rect track;
  Rect upButton, downButton;
  Rect thumb;
  // The thumb's travel: first and last possible centre, and its offset from
  // the first.
  int firstCentre = 0, lastCentre = 0, offset = 0;
};

}  // namespace kelmar
