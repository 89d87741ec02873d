#include "skin/controls/scroll_bar_geometry.h"

#include <algorithm>
#include <cmath>

#include "skin/data/effect_bmp.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {

namespace {

// To the nearest integer, halves to even (the default rounding mode).
int Round(double v) { return int(std::nearbyint(v)); }

const Rect& Fallback(const Rect& r, const Rect& instead) { return RectIsEmpty(r) ? instead : r; }

}  // namespace

// ----------------------------------------------------------------- range

int LargestScrollPosition(const TksScrollRange& r) {
  return r.pageSize > 0 ? r.max - r.pageSize + 1 : r.max;
}

int LimitScrollPosition(const TksScrollRange& r, int value) {
  return std::max(r.min, std::min(value, LargestScrollPosition(r)));
}

bool ScrollPageFits(const TksScrollRange& r, int pageSize) {
  // Measured from Min: the page starting at the position ends inside the range.
  return pageSize >= 0 && r.max - r.min + 1 >= pageSize + (r.position - r.min);
}

// --------------------------------------------------------------- section

TksScrollBarRects ScrollBarRectsOf(const TksDataSkinScrollBarControl& d) {
  TksScrollBarRects r;
  r.skinrect = d.skinrect;
  r.righttoppoint = d.righttoppoint;
  r.leftbottompoint = d.leftbottompoint;
  r.trackarea = d.trackarea;
  r.upbuttonrect = d.upbuttonrect;
  r.activeupbuttonrect = d.activeupbuttonrect;
  r.downupbuttonrect = Fallback(d.downupbuttonrect, d.activeupbuttonrect);
  r.downbuttonrect = d.downbuttonrect;
  r.activedownbuttonrect = d.activedownbuttonrect;
  r.downdownbuttonrect = Fallback(d.downdownbuttonrect, d.activedownbuttonrect);
  r.thumbrect = d.thumbrect;
  r.activethumbrect = Fallback(d.activethumbrect, d.thumbrect);
  r.downthumbrect = Fallback(d.downthumbrect, r.activethumbrect);
  r.thumboffset1 = d.thumboffset1;
  r.thumboffset2 = d.thumboffset2;
  r.thumbtransparent = d.thumbtransparent;
  r.thumbtransparentcolor = d.thumbtransparentcolor;
  r.glyphrect = d.glyphrect;
  r.activeglyphrect = Fallback(d.activeglyphrect, d.glyphrect);
  r.downglyphrect = Fallback(d.downglyphrect, r.activeglyphrect);
  return r;
}

// ---------------------------------------------------------------- layout

TksThumbSpan ScrollThumbSpan(int t0, int t1, int length, bool skinned, const TksScrollRange& r) {
  const bool paged = r.pageSize > 0;
  int l = length;
  double f = 0;
  if (paged) {
    const int values = r.max - r.min + 1;
    // A range without values is all page.
    l = std::max(length, values > 0 ? Round(double(t1 - t0) * r.pageSize / values) : t1 - t0);
    const int travel = values - r.pageSize;
    f = travel > 0 ? double(r.position - r.min) / travel : skinned ? 0 : 1;
  } else if (r.max != r.min) {
    f = double(r.position - r.min) / (r.max - r.min);
  }
  // A position outside the range (Min raised past it) keeps the thumb on the track.
  f = std::clamp(f, 0.0, 1.0);
  TksThumbSpan s;
  const int half = l / 2;
  s.firstCentre = t0 + half;
  s.lastCentre = t1 - half;
  s.offset = Round(f * (s.lastCentre - s.firstCentre));
  s.start = s.firstCentre + s.offset - half;
  s.end = paged ? s.firstCentre + s.offset + half : s.start + l;
  return s;
}

TksScrollBarLayout ScrollBarLayout(TScrollBarKind kind, int width, int height, const TksScrollRange& r,
                                   const TksScrollBarRects* section, int markerWidth) {
  const bool vertical = kind == TScrollBarKind::sbVertical;
  TksScrollBarLayout l;
  int thickness = 0, length = 0;
  if (section) {
    const TksScrollBarRects& s = *section;
    l.track = s.trackarea;
    l.upButton = s.upbuttonrect;
    l.downButton = s.downbuttonrect;
    // Buttons beyond the stretched part move with the far edge.
    if (vertical) {
      const int dh = height - s.skinrect.Height();
      l.track.bottom += dh;
      for (Rect* b : {&l.upButton, &l.downButton})
        if (s.leftbottompoint.y < b->top) *b = b->Offset(0, dh);
      thickness = s.thumbrect.Width();
      length = s.thumbrect.Height();
    } else {
      const int dw = width - s.skinrect.Width();
      l.track.right += dw;
      for (Rect* b : {&l.upButton, &l.downButton})
        if (s.righttoppoint.x < b->left) *b = b->Offset(dw, 0);
      thickness = s.thumbrect.Height();
      length = s.thumbrect.Width();
    }
  } else if (vertical) {
    l.downButton = {1, 1, width - 1, 17};
    l.upButton = {1, height - 17, width - 1, height - 1};
    l.track = {1, 17, width - 1, height - 17};
    thickness = l.track.Width();
    length = 16;
  } else {
    const int usable = width - markerWidth;
    l.downButton = {1, 1, 17, height - 1};
    l.upButton = {usable - 17, 1, usable - 1, height - 1};
    l.track = {17, 1, usable - 17, height - 1};
    thickness = l.track.Height();
    length = 16;
  }
  const bool skinned = section != nullptr;
  const TksThumbSpan span = vertical ? ScrollThumbSpan(l.track.top, l.track.bottom, length, skinned, r)
                                     : ScrollThumbSpan(l.track.left, l.track.right, length, skinned, r);
  l.firstCentre = span.firstCentre;
  l.lastCentre = span.lastCentre;
  l.offset = span.offset;
  if (vertical) {
    const int left = l.track.left + (l.track.Width() - thickness) / 2;
    l.thumb = {left, span.start, left + thickness, span.end};
  } else {
    const int top = l.track.top + (l.track.Height() - thickness) / 2;
    l.thumb = {span.start, top, span.end, top + thickness};
  }
  return l;
}

int ScrollPositionFromOffset(const TksScrollRange& r, int firstCentre, int lastCentre, int offset) {
  const double f =
      lastCentre > firstCentre ? std::clamp(double(offset) / (lastCentre - firstCentre), 0.0, 1.0) : 0.0;
  const int span = r.pageSize > 0 ? r.max - r.min - r.pageSize + 1 : r.max - r.min;
  return LimitScrollPosition(r, r.min + Round(span * f));
}

// ----------------------------------------------------------- hit testing

TksScrollBarPart ScrollBarPartAt(const TksScrollBarLayout& layout, Point p) {
  if (layout.thumb.Contains(p)) return TksScrollBarPart::spThumb;
  if (layout.upButton.Contains(p)) return TksScrollBarPart::spUpButton;
  if (layout.downButton.Contains(p)) return TksScrollBarPart::spDownButton;
  return TksScrollBarPart::spNone;
}

int AlongAxis(TScrollBarKind kind, Point p) { return kind == TScrollBarKind::sbVertical ? p.y : p.x; }

int ThumbSide(TScrollBarKind kind, const TksScrollBarLayout& layout, Point p) {
  const bool vertical = kind == TScrollBarKind::sbVertical;
  const int at = AlongAxis(kind, p);
  if (at < (vertical ? layout.thumb.top : layout.thumb.left)) return -1;
  if (at >= (vertical ? layout.thumb.bottom : layout.thumb.right)) return 1;
  return 0;
}

// ----------------------------------------------------------------- thumb

Image ComposeScrollThumb(const ImageView& picture, TScrollBarKind kind, bool withPage, const Rect& piece,
                         int fixed1, int fixed2, int w, int h, const Rect& glyph) {
  Image thumb(w, h);
  if (withPage) {
    Image composed;
    if (kind == TScrollBarKind::sbVertical)
      ComposeVertical(picture.Sub(piece), fixed1, fixed2, h, composed);
    else
      ComposeHorizontal(picture.Sub(piece), fixed1, fixed2, w, composed);
    CopyImageRect(thumb.View(), thumb.Bounds(), composed.View(), composed.Bounds());
  } else {
    CopyImageRect(thumb.View(), thumb.Bounds(), picture, piece);
  }
  if (!RectIsEmpty(glyph)) {
    const int x = (w - glyph.Width()) / 2, y = (h - glyph.Height()) / 2;
    CopyImageRect(thumb.View(), RectOfSize(x, y, glyph.Width(), glyph.Height()), picture, glyph);
  }
  return thumb;
}

void PutScrollThumb(const ImageView& dst, const Rect& at, const Image& thumb, double underWeight, bool transparent,
                    Pixel key) {
  TksEffectBmp shown(thumb);
  if (underWeight > 0) {
    TksEffectBmp under(thumb.Width(), thumb.Height());
    CopyImageRect(under.GetImage().View(), under.GetImage().Bounds(), dst, at);
    shown.BlendWith(under, underWeight);
  }
  const Rect visible = at.Intersect(dst.Bounds());
  for (int y = visible.top; y < visible.bottom; ++y)
    for (int x = visible.left; x < visible.right; ++x) {
      const Pixel p = thumb.At(x - at.left, y - at.top);
      if (transparent && (p & 0xFFFFFFu) == (key & 0xFFFFFFu)) continue;
      dst.At(x, y) = shown.GetPixel(x - at.left, y - at.top);
    }
}

}  // namespace kelmar
