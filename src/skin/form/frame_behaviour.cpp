#include "skin/form/frame_behaviour.h"

#include <algorithm>

namespace kelmar {

namespace {

bool Near(int value, int edge, int m) { return edge - m < value && value < edge + m; }

}  // namespace

Point SnapToArea(const Rect& area, int m, Point p, int width, int height) {
  if (Near(p.x, area.left, m)) p.x = area.left;
  if (Near(p.y, area.top, m)) p.y = area.top;
  if (Near(p.x + width, area.right, m)) p.x = area.right - width;
  if (Near(p.y + height, area.bottom, m)) p.y = area.bottom - height;
  return p;
}

Rect MaximizeTarget(const Rect& workArea, const Rect& monitor, Point screenSize, bool fullScreen) {
  if (fullScreen) return monitor;
  if (workArea.Width() == monitor.Width() && workArea.Height() == monitor.Height() && monitor.left == 0 &&
      monitor.top == 0 && monitor.Width() == screenSize.x && monitor.Height() == screenSize.y)
    return {workArea.left + 1, workArea.top + 1, workArea.right - 1, workArea.bottom - 1};
  return workArea;
}

Point MinimizedPlace(const Rect& area, Point minSize, const std::vector<Point>& taken) {
  const Point first{area.left, area.bottom - minSize.y};
  Point p = first;
  while (std::find(taken.begin(), taken.end(), p) != taken.end()) {
    if (p.x + 2 * minSize.x > area.right) {
      p = {area.left, p.y - minSize.y};
      if (p.y < area.top) return first;
    } else {
      p.x += minSize.x;
    }
  }
  return p;
}

std::vector<uint8_t> FadeInSteps(uint8_t target) {
  std::vector<uint8_t> steps;
  for (int a = 5;; a += 5) {
    steps.push_back(uint8_t(std::min<int>(a, target)));
    if (a >= target) break;
  }
  return steps;
}

Rect KeepOnArea(const Rect& bounds, const Rect& area) {
  const int w = bounds.Width(), h = bounds.Height();
  const int x = std::max(area.left, std::min(bounds.left, area.right - w));
  const int y = std::max(area.top, std::min(bounds.top, area.bottom - h));
  return RectOfSize(x, y, w, h);
}

}  // namespace kelmar
