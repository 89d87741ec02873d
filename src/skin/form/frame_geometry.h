#pragma once
// The arithmetic of the skinned window frame: where the skin's corner points,
// client, caption, button and mask rectangles lie for the window's current
// size, the client area the frame leaves, and where each frame object goes.
// Window coordinates: origin at the window's top-left corner.
#include <cstdint>
#include <vector>

#include "base/display_scale.h"
#include "base/geometry.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {

// The plain frame (no skin) at 96 DPI: 3-pixel borders, a 19-pixel caption
// and 17-pixel caption buttons 4 from the top (15 and 13 for tool windows),
// sizing bands 3 pixels wide.
constexpr int kPlainBorder = 3;
constexpr int kPlainCaptionHeight = 19;
constexpr int kPlainToolCaptionHeight = 15;

// Those lengths at a DPI.
struct PlainFrame {
  int border = kPlainBorder;
  int caption = kPlainCaptionHeight;
  int button = 17;
  int buttonTop = 4;
  PlainFrame(bool toolWindow, int dpi = kDesignDpi)
      : border(ScaleLength(kPlainBorder, dpi)),
        caption(ScaleLength(toolWindow ? kPlainToolCaptionHeight : kPlainCaptionHeight, dpi)),
        button(ScaleLength(toolWindow ? 13 : 17, dpi)),
        buttonTop(ScaleLength(4, dpi)) {}
};
inline int PlainCaptionHeight(bool toolWindow, int dpi = kDesignDpi) { return PlainFrame(toolWindow, dpi).caption; }

// The skin can draw a frame: loaded, with a client rectangle.
inline bool SkinIsUsable(const TksSkinData* skin) {
  return skin && !skin->Empty && !RectIsEmpty(skin->clientrect);
}

struct FrameGeometry {
  int32_t dx = 0, dy = 0;  // window size minus frame picture size
  Point SizedLeftTop, SizedRightTop, SizedLeftBottom, SizedRightBottom;
  Rect SizedClientRect, SizedCaptionRect, SizedButtonsRect, SizedMaskRect;
  Point SizedHitLeftTop, SizedHitRightTop, SizedHitLeftBottom, SizedHitRightBottom;
  bool ButtonsInLeft = false;
  int32_t ButtonsOffset = 0;

  // The frame picture's pieces and where they go at this size.
  SkinGeometry PictureGeometry(const TksSkinData& skin) const;
  SkinGeometry SizedGeometry() const;
  SkinGeometry MaskGeometry(const TksSkinData& skin) const;
  SkinGeometry SizedMaskGeometry() const;
};

// The geometry for a window of width × height.
FrameGeometry ComputeFrameGeometry(const TksSkinData& skin, int width, int height);

// The client rectangle the frame leaves inside the window rectangle `window`
// (any origin): the skin's client insets when `skin` is usable, else the
// plain frame's at `dpi`. Never inside out.
Rect FrameClientRect(const TksSkinData* skin, const Rect& window, bool toolWindow, int dpi = kDesignDpi);

// A rectangle of the frame picture moved to the window's size: pieces in a
// corner move with that corner, pieces spanning two corners stretch.
Rect TransformFrameRect(const TksSkinData& skin, int dx, int dy, const Rect& r);

// What the layout needs to know of a frame object.
enum class FrameObjectKind { Caption, StdButton, Animate, Other };
struct FrameObjectLayout {
  FrameObjectKind Kind = FrameObjectKind::Other;
  SkinCommand Command = SkinCommand::cmDefault;
  bool IsVisible = true;
  bool IsEnabled = true;
  bool skinrectinapicture = false;
  Rect skinrect;
  Rect ObjectRect;  // the result
  bool IsButton() const { return Kind == FrameObjectKind::StdButton || Kind == FrameObjectKind::Animate; }
  bool IsFreeStanding() const { return IsButton() && IsVisible && skinrectinapicture; }
};

// Places every object for the current size: its transformed "skinrect", then
// the caption buttons in a row at the right (or left) of the caption or
// button area, the system menu button at the caption's left (iconSize when
// the form shows its icon there), and the caption between them.
void PlaceFrameObjects(const TksSkinData& skin, const FrameGeometry& g, const std::vector<FrameObjectLayout*>& objects,
                       bool showIcon, Point iconSize);

// The plain frame's caption buttons (17 pixels, 13 for tool windows) from the
// right, the system menu button at the left; returns the caption rectangle
// left between them.
Rect PlacePlainCaption(int frameWidth, bool toolWindow, const std::vector<FrameObjectLayout*>& objects, bool showIcon,
                       Point iconSize, int dpi = kDesignDpi);

// The border icons as a set of bits.
enum TksBorderIcon : uint32_t {
  biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biRollUp = 8, biMinimizeToTray = 16
};
using TksBorderIcons = uint32_t;
constexpr TksBorderIcons kDefaultBorderIcons = biSystemMenu | biMinimize | biMaximize | biRollUp;

// Whether the border icons switch a caption button's command off (close never is).
bool CommandSwitchedOff(SkinCommand command, TksBorderIcons icons);

}  // namespace kelmar
