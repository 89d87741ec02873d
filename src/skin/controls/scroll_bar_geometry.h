#pragma once
// The scroll bar's arithmetic, kept apart from the window: where the track,
// the arrow buttons and the thumb lie for a size, a range and a position,
// and which position a dragged thumb stands for.
#include <cstdint>

#include "base/geometry.h"
#include "base/image.h"
#include "skin/data/skin_control_data.h"

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

// Range, page and position as the bar holds them; a page of 0 means none
// (a thumb of fixed length).
struct TksScrollRange {
  int min = 0, max = 100, pageSize = 0, position = 0;
};

// The largest position: Max − PageSize + 1 with a page, else Max.
int LargestScrollPosition(const TksScrollRange& r);
// value limited to Min … the largest position (Min wins when they cross).
int LimitScrollPosition(const TksScrollRange& r, int value);
// Whether a page of that size fits the range from the current position on.
bool ScrollPageFits(const TksScrollRange& r, int pageSize);

// A scroll bar section's values, with the fall-backs of the state pieces
// (down ones default to the active ones, active thumb and glyph to the
// normal ones). Track and buttons are in section coordinates, the state
// pieces, thumbs and glyphs in picture coordinates.
struct TksScrollBarRects {
  Rect skinrect;
  Point righttoppoint, leftbottompoint;
  Rect trackarea;
  Rect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  Rect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  Rect thumbrect, activethumbrect, downthumbrect;
  int thumboffset1 = 0, thumboffset2 = 0;
  bool thumbtransparent = false;
  uint32_t thumbtransparentcolor = 0;
  Rect glyphrect, activeglyphrect, downglyphrect;
};
TksScrollBarRects ScrollBarRectsOf(const TksDataSkinScrollBarControl& record);

// The thumb along the axis of a track from t0 to t1. length is the fixed
// length without a page and the least length with one; skinned chooses
// where a page that fills the whole range puts the thumb (start for a
// section, end for the default look).
struct TksThumbSpan {
  int start = 0, end = 0;
  int firstCentre = 0, lastCentre = 0, offset = 0;
};
TksThumbSpan ScrollThumbSpan(int t0, int t1, int length, bool skinned, const TksScrollRange& r);

// The layout of a bar of width × height: from a section when one is given,
// else the default look's (1-pixel inset, 17-pixel buttons, 16-pixel thumb
// without a page). markerWidth is kept free at the right end of a
// horizontal bar in the default look.
TksScrollBarLayout ScrollBarLayout(TScrollBarKind kind, int width, int height, const TksScrollRange& r,
                                   const TksScrollBarRects* section, int markerWidth = 0);

// The position a thumb offset from the first centre stands for, limited.
int ScrollPositionFromOffset(const TksScrollRange& r, int firstCentre, int lastCentre, int offset);

// Parts in the order they are tested: thumb, increase, decrease button.
enum class TksScrollBarPart { spNone = -1, spThumb = 0, spUpButton = 1, spDownButton = 2 };
TksScrollBarPart ScrollBarPartAt(const TksScrollBarLayout& layout, Point p);
// The pointer's coordinate along the axis.
int AlongAxis(TScrollBarKind kind, Point p);
// Where p lies against the thumb along the axis: −1 before its start, +1 at
// or after its end, 0 on it.
int ThumbSide(TScrollBarKind kind, const TksScrollBarLayout& layout, Point p);

// The thumb's image at w × h from the state piece of `picture`: with a page
// composed along the axis with fixed ends fixed1 and fixed2, without one
// scaled; the glyph piece (when not empty) copied centred onto it.
Image ComposeScrollThumb(const ImageView& picture, TScrollBarKind kind, bool withPage, const Rect& piece,
                         int fixed1, int fixed2, int w, int h, const Rect& glyph);
// Draws thumb at `at` of dst: mixed with what lies there with weight
// underWeight (0: the thumb alone), and where `transparent`, pixels of the
// colour key (compared without alpha) left out.
void PutScrollThumb(const ImageView& dst, const Rect& at, const Image& thumb, double underWeight, bool transparent,
                    Pixel key);

}  // namespace kelmar
