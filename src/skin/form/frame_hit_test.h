#pragma once
// Where the skinned frame answers client, caption, a sizing border or "an
// object" for a point in window coordinates: the codes that decide where the
// system moves and sizes the window.
#include "base/image.h"
#include "skin/form/frame_geometry.h"

namespace kelmar {

// The system's hit-test codes the frame answers.
enum FrameHitCode : int {
  kHitClient = 1,
  kHitCaption = 2,
  kHitLeft = 10,
  kHitRight = 11,
  kHitTop = 12,
  kHitTopLeft = 13,
  kHitTopRight = 14,
  kHitBottom = 15,
  kHitBottomLeft = 16,
  kHitBottomRight = 17,
  kHitObject = 19,  // caption buttons and the frame that is neither border nor caption
};

// The window's shape at its current size, for probing: the mask rectangle
// counts as inside, and so does every black pixel of the four mask strips
// around it (top at the window's top-left, left and right beside the mask
// rectangle, bottom under it).
class FrameMaskShape {
 public:
  // Empty (no mask picture): Compose leaves it so.
  bool IsEmpty() const { return mask_.IsEmpty(); }
  // Composes the strips for the geometry's size; does nothing when that size
  // was composed last.
  void Compose(const TksSkinData& skin, const FrameGeometry& g, int width, int height);
  void Clear();
  bool Inside(Point p) const;

 private:
  Rect mask_;
  int width_ = 0, height_ = 0;
  Image top_, bottom_, left_, right_;
};

// What the hit test needs of the frame's state besides the geometry.
struct FrameHitState {
  bool sizeable = true;
  bool maximized = false;
  bool minimized = false;
  bool rolledUp = false;
  bool objectHot = false;     // a frame object is hot
  bool inSizeMove = false;    // the system's move/size loop runs
  bool onCaption = false;     // the point lies on a caption object of the current roll-up state
};

// The skinned frame's answer for a window of width × height. mask: null or
// empty when the skin has no mask picture.
int SkinnedFrameHitTest(const FrameGeometry& g, int width, int height, int borderWidth, const FrameMaskShape* mask,
                        const FrameHitState& state, Point p);

// The plain frame's answer (its border at the DPI the frame was laid out
// for): captionRect is the plain caption rectangle after the plain layout.
int PlainFrameHitTest(int width, int height, const Rect& captionRect, const PlainFrame& frame,
                      const FrameHitState& state, Point p);

}  // namespace kelmar
