#pragma once
// Geometry of a skin piece and its placement at a target size, plus the small
// rectangle and point helpers the skinned parts share.
#include "base/geometry.h"

namespace kelmar {

inline int32_t RectWidth(const Rect& r) { return r.right - r.left; }
inline int32_t RectHeight(const Rect& r) { return r.bottom - r.top; }
inline bool RectIsEmpty(const Rect& r) { return RectWidth(r) < 1 || RectHeight(r) < 1; }
// Skin descriptions write 0,0 (or a zero coordinate) for "no such point".
inline bool PointIsUnset(Point p) { return p.x == 0 || p.y == 0; }
inline bool PointInRectInclusive(const Rect& r, Point p) {
  return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}

// The client rectangle and the four corner points of a piece, relative to the
// piece's top-left (SC, LT, RT, LB, RB). The same shape describes the piece
// placed at a target size (TC, nLT, nRT, nLB, nRB).
struct SkinGeometry {
  Rect client;
  Point lt, rt, lb, rb;
  friend bool operator==(const SkinGeometry&, const SkinGeometry&) = default;
};

// Moves the right-hand coordinates by the width difference and the bottom
// ones by the height difference; left and top ones stay.
SkinGeometry ScaleSkinGeometry(const SkinGeometry& piece, int source_width, int source_height,
                               int target_width, int target_height);

}  // namespace kelmar
