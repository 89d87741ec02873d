#pragma once
// Rectangles and points of the skin engine: 32-bit signed, right and bottom
// exclusive.
#include <algorithm>
#include <cstdint>

namespace kelmar {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    if (r.IsEmpty()) return {};
    return r;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect RectOfSize(int32_t x, int32_t y, int32_t w, int32_t h) { return {x, y, x + w, y + h}; }

}  // namespace kelmar
