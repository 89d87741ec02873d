#include "skin/controls/skin_control_geometry.h"

#include "skin/data/skin_compose.h"

namespace kelmar {

TksSectionGeometry SectionGeometryOf(const TksDataSkinCustomControl& record) {
  return {record.skinrect,        record.lefttoppoint,     record.righttoppoint,
          record.leftbottompoint, record.rightbottompoint, record.clientrect};
}

TksStretchKind StretchKindOf(const TksSectionGeometry& g) {
  if (RectIsEmpty(g.skinrect)) return TksStretchKind::skNone;
  if (g.rightbottompoint.x != 0 && g.rightbottompoint.y != 0) return TksStretchKind::skBoth;
  if (g.righttoppoint.x != 0 || g.righttoppoint.y != 0) return TksStretchKind::skHorizontal;
  if (g.leftbottompoint.x != 0 || g.leftbottompoint.y != 0) return TksStretchKind::skVertical;
  return TksStretchKind::skFixed;
}

TksScaledGeometry FitToSkin(const TksSectionGeometry& g, TksStretchKind kind, int& width, int& height) {
  TksScaledGeometry s{g.lefttoppoint, g.righttoppoint, g.leftbottompoint, g.rightbottompoint, g.clientrect};
  const int sw = RectWidth(g.skinrect), sh = RectHeight(g.skinrect);
  const int dw = width - sw, dh = height - sh;
  switch (kind) {
    case TksStretchKind::skBoth:
      s.righttoppoint.x += dw;
      s.leftbottompoint.y += dh;
      s.rightbottompoint = {g.rightbottompoint.x + dw, g.rightbottompoint.y + dh};
      s.clientrect.right += dw;
      s.clientrect.bottom += dh;
      break;
    case TksStretchKind::skHorizontal:
      height = sh;
      s.righttoppoint.x += dw;
      s.clientrect.right += dw;
      break;
    case TksStretchKind::skVertical:
      width = sw;
      s.leftbottompoint.y += dh;
      s.clientrect.bottom += dh;
      break;
    case TksStretchKind::skFixed:
      width = sw;
      height = sh;
      break;
    case TksStretchKind::skNone:
      break;
  }
  return s;
}

Rect MapSkinRect(const TksSectionGeometry& g, TksStretchKind kind, const Rect& r, int width, int height) {
  const int sw = RectWidth(g.skinrect), sh = RectHeight(g.skinrect);
  const int dw = width - sw, dh = height - sh;
  const Point lt = g.lefttoppoint, rt = g.righttoppoint, lb = g.leftbottompoint, rb = g.rightbottompoint;
  switch (kind) {
    case TksStretchKind::skBoth: {
      const Rect areas[4] = {{0, 0, lt.x, lt.y}, {rt.x, 0, sw, rt.y}, {0, lb.y, lb.x, sh}, {rb.x, rb.y, sw, sh}};
      const Point moves[4] = {{0, 0}, {dw, 0}, {0, dh}, {dw, dh}};
      // Both corners of r inside one corner area (its right and bottom edges
      // exclusive): r moves with that corner.
      const Point tl{r.left, r.top}, br{r.right, r.bottom};
      for (int i = 0; i < 4; ++i)
        if (areas[i].Contains(tl) && areas[i].Contains(br)) return r.Offset(moves[i].x, moves[i].y);
      const auto in = [&](int area, Point p) { return PointInRectInclusive(areas[area], p); };
      Rect m = r;
      if (in(0, tl) && in(3, br)) {
        m.right += dw;
        m.bottom += dh;
      } else if (in(0, tl) && in(1, br)) {
        m.right += dw;
      } else if (in(2, tl) && in(3, br)) {
        m = m.Offset(0, dh);
        m.right += dw;
      } else if (in(0, tl) && in(2, br)) {
        m.bottom += dh;
      } else if (in(1, tl) && in(3, br)) {
        m = m.Offset(dw, 0);
        m.bottom += dh;
      }
      return m;
    }
    case TksStretchKind::skHorizontal:
      if (r.left <= lt.x && r.right >= rt.x) return {r.left, r.top, r.right + dw, r.bottom};
      if (r.left >= rt.x && r.right > rt.x) return r.Offset(dw, 0);
      return r;
    case TksStretchKind::skVertical:
      if (r.top <= lt.y && r.bottom >= lb.y) return {r.left, r.top, r.right, r.bottom + dh};
      if (r.top >= lb.y && r.bottom > lb.y) return r.Offset(0, dh);
      return r;
    case TksStretchKind::skFixed:
    case TksStretchKind::skNone:
      break;
  }
  return r;
}

void ComposeSkinImage(const ImageView& picture, const Rect& state, const TksSectionGeometry& g,
                      TksStretchKind kind, const TksScaledGeometry& scaled, int width, int height,
                      Image& target) {
  const ImageView piece = picture.Sub(state);
  const int sw = RectWidth(g.skinrect), sh = RectHeight(g.skinrect);
  switch (kind) {
    case TksStretchKind::skFixed:
      target = Image(RectWidth(state), RectHeight(state));
      CopyImageRect(target.View(), target.Bounds(), piece, piece.Bounds());
      break;
    case TksStretchKind::skBoth:
      ComposeNinePart(piece, MaskPieceGeometry(g),
                      {scaled.clientrect, scaled.lefttoppoint, scaled.righttoppoint, scaled.leftbottompoint,
                       scaled.rightbottompoint},
                      width, height, true, target);
      break;
    case TksStretchKind::skHorizontal:
      ComposeHorizontal(piece, g.lefttoppoint.x, sw - g.righttoppoint.x, width, target);
      break;
    case TksStretchKind::skVertical:
      ComposeVertical(piece, g.lefttoppoint.y, sh - g.leftbottompoint.y, height, target);
      break;
    case TksStretchKind::skNone:
      break;
  }
}

SkinGeometry MaskPieceGeometry(const TksSectionGeometry& g) {
  return {g.clientrect, g.lefttoppoint, g.righttoppoint, g.leftbottompoint, g.rightbottompoint};
}

SkinGeometry MaskTargetGeometry(const TksSectionGeometry& g, TksStretchKind kind, const TksScaledGeometry& scaled,
                                int width, int height) {
  SkinGeometry t = MaskPieceGeometry(g);
  t.client = scaled.clientrect;
  const int sw = RectWidth(g.skinrect), sh = RectHeight(g.skinrect);
  switch (kind) {
    case TksStretchKind::skBoth:
      t = {scaled.clientrect, scaled.lefttoppoint, scaled.righttoppoint, scaled.leftbottompoint,
           scaled.rightbottompoint};
      break;
    case TksStretchKind::skHorizontal:
      t.rt = {width + g.righttoppoint.x - sw, g.righttoppoint.y};
      break;
    case TksStretchKind::skVertical:
      t.lb = {g.leftbottompoint.x, height + g.leftbottompoint.y - sh};
      break;
    default:
      break;
  }
  return t;
}

// ------------------------------------------------------------------ button

TksButtonRects ButtonRectsOf(const TksDataSkinButtonControl& record) {
  TksButtonRects r{record.skinrect, record.activeskinrect, record.downskinrect, record.disabledskinrect};
  if (RectIsEmpty(r.activeskinrect)) r.activeskinrect = r.skinrect;
  if (RectIsEmpty(r.downskinrect)) r.downskinrect = r.activeskinrect;
  return r;
}

bool ShowsDownLook(const TksButtonState& s) {
  return s.down && (s.grouped || s.mouse_in || (s.focused && !s.pressed));
}

TksButtonLook ChooseButtonLook(const TksButtonState& s) {
  if (!s.enabled && s.has_disabled_image) return {TksButtonImage::biDisabled, false, false};
  if (ShowsDownLook(s)) return {TksButtonImage::biDown, true, true};
  if (s.focused || s.mouse_in) return {TksButtonImage::biActive, true, false};
  if (!s.morphing || s.morph_factor != 1) return {TksButtonImage::biNormal, false, false};
  return {TksButtonImage::biActive, true, false};
}

int ButtonGlyphCell(bool down, bool active, bool enabled, int numGlyphs) {
  if (down && active && numGlyphs > 2) return 3;
  if (active && numGlyphs > 3) return 4;
  if (enabled || numGlyphs < 2) return 1;
  return 2;
}

double StepMorphFactor(double factor, bool active, bool& finished) {
  finished = false;
  if (active && factor < 1) return factor + 0.2;
  if (!active && factor > 0) return factor - 0.2;
  finished = true;
  return active ? 1 : 0;
}

TksGlyphTextPlace LayoutGlyphAndText(const Rect& r, int margin, TksButtonLayout layout, int spacing, int gw, int gh,
                                     int tw, int th) {
  const int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2;
  const int h = (gw + tw + spacing) / 2, v = (gh + th + spacing) / 2;
  TksGlyphTextPlace p;
  Point& g = p.glyph;
  Point& t = p.text;
  switch (layout) {
    case TksButtonLayout::blGlyphLeft:
      if (margin < 0) {
        g = {cx - h, cy - gh / 2};
        t = {cx + h - tw, cy - th / 2};
      } else {
        g = {r.left + margin, cy - gh / 2};
        t = {g.x + gw + spacing, cy - th / 2};
      }
      break;
    case TksButtonLayout::blGlyphRight:
      if (margin < 0) {
        t = {cx - h, cy - th / 2};
        g = {cx + h - gw, cy - gh / 2};
      } else {
        g = {r.right - gw - margin, cy - gh / 2};
        t = {g.x - spacing - tw, cy - th / 2};
      }
      break;
    case TksButtonLayout::blGlyphTop:
      if (margin < 0) {
        g = {cx - gw / 2, cy - v};
        t = {cx - tw / 2, cy + v - th};
      } else {
        g = {cx - gw / 2, r.top + margin};
        t = {cx - tw / 2, g.y + gh + spacing};
      }
      break;
    case TksButtonLayout::blGlyphBottom:
      if (margin < 0) {
        g = {cx - gw / 2, cy + v - gh};
        t = {cx - tw / 2, cy - v};
      } else {
        g = {cx - gw / 2, r.bottom - gh - margin};
        t = {cx - tw / 2, g.y - spacing - th};
      }
      break;
  }
  return p;
}

// ----------------------------------------------------------- check / radio

TksCheckRadioRects CheckRadioRectsOf(const TksDataSkinCheckRadioControl& record) {
  TksCheckRadioRects r{record.skinrect,
                       record.activeskinrect,
                       record.checkimagearea,
                       record.textarea,
                       record.checkimagerect,
                       record.uncheckimagerect,
                       record.activecheckimagerect,
                       record.activeuncheckimagerect,
                       record.unenabledcheckimagerect,
                       record.unenableduncheckimagerect};
  auto fallBack = [](Rect& r, const Rect& to) {
    if (RectIsEmpty(r)) r = to;
  };
  fallBack(r.activeskinrect, r.skinrect);
  fallBack(r.unenabledcheckimagerect, r.checkimagerect);
  fallBack(r.unenableduncheckimagerect, r.uncheckimagerect);
  fallBack(r.activecheckimagerect, r.checkimagerect);
  fallBack(r.activeuncheckimagerect, r.uncheckimagerect);
  return r;
}

Rect CheckMarkRect(const TksCheckRadioRects& r, bool checked, bool enabled, bool mouse_in) {
  if (!enabled) return checked ? r.unenabledcheckimagerect : r.unenableduncheckimagerect;
  if (mouse_in) return checked ? r.activecheckimagerect : r.activeuncheckimagerect;
  return checked ? r.checkimagerect : r.uncheckimagerect;
}

TksCheckRadioPlaces FitCheckRadio(const TksCheckRadioRects& r, int width) {
  const int dw = width - RectWidth(r.skinrect);
  TksCheckRadioPlaces p;
  p.textarea = r.textarea;
  p.textarea.right += dw;
  Rect area = r.checkimagearea;
  if (r.textarea.right < r.checkimagearea.right) area = area.Offset(dw, 0);
  const int iw = RectWidth(r.checkimagerect), ih = RectHeight(r.checkimagerect);
  const int left = area.left + RectWidth(area) / 2 - iw / 2, top = area.top + RectHeight(area) / 2 - ih / 2;
  p.checkimage = {left, top, left + iw, top + ih};
  return p;
}

// ------------------------------------------------------------------- panel

Point AlignedTextOrigin(const Rect& r, Alignment alignment, int w, int h) {
  const int y = r.top + r.Height() / 2 - h / 2;
  switch (alignment) {
    case Alignment::taRightJustify:
      return {r.right - w, y};
    case Alignment::taCenter:
      return {r.left + r.Width() / 2 - w / 2, y};
    case Alignment::taLeftJustify:
      break;
  }
  return {r.left, y};
}

Rect PanelClientArea(bool has_section, bool has_background_picture, TksSkinBorderStyle border, bool caption_mode,
                     int default_caption_height, TksStretchKind kind, const Rect& scaled_client, int width,
                     int height) {
  Rect r{0, 0, width, height};
  if (!has_section) {
    if (border != TksSkinBorderStyle::bvNone) r = {1, 1, width - 1, height - 1};
    if (caption_mode) r.top += default_caption_height;
    return r;
  }
  if (has_background_picture || (border == TksSkinBorderStyle::bvNone && !caption_mode && kind == TksStretchKind::skBoth))
    return r;
  return scaled_client;
}

}  // namespace kelmar
