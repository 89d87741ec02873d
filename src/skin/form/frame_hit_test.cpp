#include "skin/form/frame_hit_test.h"

#include "skin/data/mask_region.h"
#include "skin/data/skin_compose.h"

namespace kelmar {

void FrameMaskShape::Compose(const TksSkinData& skin, const FrameGeometry& g, int width, int height) {
  if (skin.Mask.IsEmpty()) {
    Clear();
    return;
  }
  if (!mask_.IsEmpty() && width == width_ && height == height_ && mask_ == g.SizedMaskRect) return;
  ComposeMaskBorders(skin.Mask.View(), g.MaskGeometry(skin), g.SizedMaskGeometry(), top_, bottom_, left_, right_);
  mask_ = g.SizedMaskRect;
  width_ = width;
  height_ = height;
}

void FrameMaskShape::Clear() {
  mask_ = {};
  width_ = height_ = 0;
  top_ = bottom_ = left_ = right_ = Image();
}

bool FrameMaskShape::Inside(Point p) const {
  if (mask_.Contains(p)) return true;
  const struct {
    const Image& strip;
    Point origin;
  } strips[] = {{top_, {0, 0}}, {left_, {0, mask_.top}}, {right_, {mask_.right, mask_.top}}, {bottom_, {0, mask_.bottom}}};
  for (const auto& s : strips) {
    if (RectOfSize(s.origin.x, s.origin.y, s.strip.Width(), s.strip.Height()).Contains(p))
      return IsMaskBlack(s.strip.At(p.x - s.origin.x, p.y - s.origin.y));
  }
  return false;
}

namespace {

bool AtBorder(int width, int height, int w, const FrameMaskShape* mask, const Rect& maskRect, Point p) {
  const Point probes[] = {{p.x - w, p.y}, {p.x, p.y - w}, {p.x + w, p.y}, {p.x, p.y + w}};
  if (!mask || mask->IsEmpty()) {
    const Rect window{0, 0, width, height};
    for (Point q : probes)
      if (!window.Contains(q)) return true;
    return false;
  }
  if (maskRect.Contains(p)) return false;
  for (Point q : probes)
    if (!mask->Inside(q)) return true;
  // Where the shape rounds a corner, the bands of its two borders would
  // meet only in the few pixels the rounding leaves: the diagonal probes
  // give the corner a full border's width inside the shape.
  const Point diagonals[] = {{p.x - w, p.y - w}, {p.x + w, p.y - w}, {p.x - w, p.y + w}, {p.x + w, p.y + w}};
  for (Point q : diagonals)
    if (!mask->Inside(q)) return true;
  return false;
}

// The sizing code at the border, or 0 when the point lies in none of the
// sizing areas.
int BorderCode(const FrameGeometry& g, int width, int height, Point p) {
  const Rect& c = g.SizedClientRect;
  const Point lt = g.SizedHitLeftTop, rt = g.SizedHitRightTop, lb = g.SizedHitLeftBottom, rb = g.SizedHitRightBottom;
  if (p.x <= lt.x && p.y <= lt.y) return kHitTopLeft;
  if (p.x >= rt.x && p.y <= rt.y) return kHitTopRight;
  if (p.x <= lb.x && p.y >= lb.y) return kHitBottomLeft;
  if (p.x >= rb.x && p.y >= rb.y) return kHitBottomRight;
  if (Rect{lt.x, 0, rt.x, c.top}.Contains(p)) return kHitTop;
  if (Rect{lb.x, c.bottom, rb.x, height}.Contains(p)) return kHitBottom;
  if (Rect{0, lt.y, c.left, lb.y}.Contains(p)) return kHitLeft;
  if (Rect{c.right, rt.y, width, rb.y}.Contains(p)) return kHitRight;
  return 0;
}

int InnerCode(const Rect& client, const FrameHitState& s, Point p) {
  if (client.Contains(p)) return kHitClient;
  return s.onCaption ? kHitCaption : kHitObject;
}

}  // namespace

int SkinnedFrameHitTest(const FrameGeometry& g, int width, int height, int borderWidth, const FrameMaskShape* mask,
                        const FrameHitState& s, Point p) {
  if (s.rolledUp || s.minimized) return s.onCaption ? kHitCaption : kHitObject;
  const Rect& client = g.SizedClientRect;
  // A hot button keeps the whole frame off the sizing codes until the
  // cursor polling has seen the mouse leave it.
  if (s.objectHot && !s.onCaption && !client.Contains(p) && !s.inSizeMove) return kHitObject;
  if (!s.maximized && s.sizeable && AtBorder(width, height, borderWidth, mask, g.SizedMaskRect, p)) {
    if (int code = BorderCode(g, width, height, p)) return code;
  }
  return InnerCode(client, s, p);
}

int PlainFrameHitTest(int width, int height, const Rect& captionRect, const PlainFrame& frame,
                      const FrameHitState& s, Point p) {
  const int b = frame.border;
  const Rect client{b, frame.caption + b, width - b, height - b};
  if (!s.maximized && !s.minimized && !s.rolledUp && s.sizeable) {
    // Only outside the client area: a click there is the form's, hot
    // button or not.
    if (s.objectHot && !client.Contains(p)) return kHitObject;
    // The outermost border pixels but the innermost size the band.
    const bool left = p.x < b, top = p.y < b, right = p.x >= width - b + 1, bottom = p.y >= height - b + 1;
    if (left && top) return kHitTopLeft;
    if (right && top) return kHitTopRight;
    if (left && bottom) return kHitBottomLeft;
    if (right && bottom) return kHitBottomRight;
    if (left) return kHitLeft;
    if (top) return kHitTop;
    if (right) return kHitRight;
    if (bottom) return kHitBottom;
  }
  if (captionRect.Contains(p)) return kHitCaption;
  return client.Contains(p) ? kHitClient : kHitObject;
}

}  // namespace kelmar
