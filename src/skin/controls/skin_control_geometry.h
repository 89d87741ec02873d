#pragma once
// The arithmetic of the skinned controls, kept apart from the windows: how a
// section's piece is fitted to a control's size (stretch kinds, FitToSkin),
// where section coordinates land in the control (MapSkinRect), the composed
// state images, the button's state and glyph choices, the layout of glyph
// and caption, and the check and radio box geometry.
#include "base/image.h"
#include "skin/data/skin_control_data.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {

enum class TksStretchKind { skNone, skFixed, skBoth, skHorizontal, skVertical };

// The geometry keys of a section (all but "skinrect" relative to the piece).
struct TksSectionGeometry {
  Rect skinrect;
  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  Rect clientrect;
};
TksSectionGeometry SectionGeometryOf(const TksDataSkinCustomControl& record);

// Tested in this order: none (empty "skinrect"), both ("rightbottompoint"
// wholly set), horizontal ("righttoppoint" partly set), vertical
// ("leftbottompoint" partly set), fixed.
TksStretchKind StretchKindOf(const TksSectionGeometry& g);

// The corner points and client rectangle at the control's size.
struct TksScaledGeometry {
  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  Rect clientrect;
};

// Adjusts a requested size to the section: horizontal fixes the height,
// vertical the width, fixed both, both neither; none changes nothing. The
// scaled points that a kind does not use keep the section's values.
TksScaledGeometry FitToSkin(const TksSectionGeometry& g, TksStretchKind kind, int& width, int& height);

// A rectangle in section coordinates (a caption or button area) in control
// coordinates for a control of width × height.
Rect MapSkinRect(const TksSectionGeometry& g, TksStretchKind kind, const Rect& r, int width, int height);

// The section's piece at state rectangle `state` (same size as "skinrect")
// of `picture`, composed to width × height into target. Fixed copies the
// piece at its own size; none leaves target as it is.
void ComposeSkinImage(const ImageView& picture, const Rect& state, const TksSectionGeometry& g,
                      TksStretchKind kind, const TksScaledGeometry& scaled, int width, int height,
                      Image& target);

// The piece and target geometry a mask region is built with; the horizontal
// and vertical kinds move only the point they stretch by.
SkinGeometry MaskPieceGeometry(const TksSectionGeometry& g);
SkinGeometry MaskTargetGeometry(const TksSectionGeometry& g, TksStretchKind kind, const TksScaledGeometry& scaled,
                                int width, int height);

// ------------------------------------------------------------------ button

// A button section's rectangles with their fall-backs: no active image shows
// the normal one, no down image the active one.
struct TksButtonRects {
  Rect skinrect, activeskinrect, downskinrect, disabledskinrect;
};
TksButtonRects ButtonRectsOf(const TksDataSkinButtonControl& record);

enum class TksButtonImage { biNormal, biActive, biDown, biDisabled };
struct TksButtonState {
  bool enabled = true;
  bool down = false;          // the Down property
  bool grouped = false;       // a non-zero GroupIndex
  bool mouse_in = false;
  bool focused = false;       // focused and able to take the focus
  bool pressed = false;       // the left button is held on it
  bool morphing = false;
  double morph_factor = 0;
  bool has_disabled_image = false;
};
struct TksButtonLook {
  TksButtonImage image = TksButtonImage::biNormal;
  bool active = false;
  bool down = false;
};
// The one state image a button shows (outside a running cross-fade).
TksButtonLook ChooseButtonLook(const TksButtonState& s);
// The down look's condition, shared by the skinned and the default look.
bool ShowsDownLook(const TksButtonState& s);

// Glyph cell (from 1) for a state of a strip of numGlyphs cells.
int ButtonGlyphCell(bool down, bool active, bool enabled, int numGlyphs);

// One fade step of 20 ms: towards 1 while active, towards 0 otherwise, in
// steps of 0.2; when the end is passed or reached the factor is set to it
// and `finished` becomes true.
double StepMorphFactor(double factor, bool active, bool& finished);

enum class TksButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
struct TksGlyphTextPlace {
  Point glyph, text;
};
// Glyph of gw × gh and caption of tw × th in r; margin −1 centres the block
// (glyph, spacing, caption) as a whole.
TksGlyphTextPlace LayoutGlyphAndText(const Rect& r, int margin, TksButtonLayout layout, int spacing, int gw, int gh,
                                     int tw, int th);

// ----------------------------------------------------------- check / radio

// A check or radio section's mark rectangles with their fall-backs (active
// and disabled marks default to the normal ones, the active frame to the
// normal frame).
struct TksCheckRadioRects {
  Rect skinrect, activeskinrect, checkimagearea, textarea;
  Rect checkimagerect, uncheckimagerect, activecheckimagerect, activeuncheckimagerect, unenabledcheckimagerect,
      unenableduncheckimagerect;
};
TksCheckRadioRects CheckRadioRectsOf(const TksDataSkinCheckRadioControl& record);
// The mark picture for a state; the focus does not select the active one.
Rect CheckMarkRect(const TksCheckRadioRects& r, bool checked, bool enabled, bool mouse_in);

// The framed box at control width: the text area grows with the width; the
// mark area moves with the right edge when it lies right of the text; the
// mark is centred in its area.
struct TksCheckRadioPlaces {
  Rect textarea, checkimage;
};
TksCheckRadioPlaces FitCheckRadio(const TksCheckRadioRects& r, int width);

// ------------------------------------------------------------------- panel

// Where a text block of w × h starts in r: centred vertically, placed across
// by the alignment (left edge, right edge, centre).
Point AlignedTextOrigin(const Rect& r, Alignment alignment, int w, int h);

// Where the panel places aligned children, in control coordinates.
enum class TksSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
Rect PanelClientArea(bool has_section, bool has_background_picture, TksSkinBorderStyle border, bool caption_mode,
                     int default_caption_height, TksStretchKind kind, const Rect& scaled_client, int width,
                     int height);

}  // namespace kelmar
