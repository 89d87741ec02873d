#include "skin/form/frame_geometry.h"

#include <algorithm>

namespace kelmar {

namespace {

Point Moved(Point p, int dx, int dy) { return {p.x + dx, p.y + dy}; }

// Both corners of r inside the area, the area's right and bottom edges left out.
bool Inside(const Rect& area, const Rect& r) {
  return !area.IsEmpty() && area.Contains({r.left, r.top}) && area.Contains({r.right, r.bottom});
}

FrameObjectLayout* FirstButton(const std::vector<FrameObjectLayout*>& objects, SkinCommand command) {
  for (FrameObjectLayout* o : objects)
    if (o->IsFreeStanding() && o->Command == command) return o;
  return nullptr;
}

FrameObjectLayout* FirstCaption(const std::vector<FrameObjectLayout*>& objects) {
  for (FrameObjectLayout* o : objects)
    if (o->Kind == FrameObjectKind::Caption) return o;
  return nullptr;
}

// Close first, then outwards: the order the row is laid from its end.
constexpr SkinCommand kRowCommands[] = {SkinCommand::cmClose, SkinCommand::cmMaximize, SkinCommand::cmMinimize,
                                        SkinCommand::cmRollUp, SkinCommand::cmMinimizeToTray};

// The row's buttons in the order they are laid: one per command, then every
// free-standing button without a command of its own.
std::vector<FrameObjectLayout*> RowButtons(const std::vector<FrameObjectLayout*>& objects) {
  std::vector<FrameObjectLayout*> row;
  for (SkinCommand c : kRowCommands)
    if (FrameObjectLayout* b = FirstButton(objects, c)) row.push_back(b);
  for (FrameObjectLayout* o : objects)
    if (o->IsFreeStanding() && o->Command == SkinCommand::cmDefault) row.push_back(o);
  return row;
}

Point ButtonSize(const FrameObjectLayout& b, bool showIcon, Point iconSize) {
  if (b.Command == SkinCommand::cmSysMenu && showIcon) return iconSize;
  return {RectWidth(b.skinrect), RectHeight(b.skinrect)};
}

}  // namespace

FrameGeometry ComputeFrameGeometry(const TksSkinData& skin, int width, int height) {
  FrameGeometry g;
  const int pw = skin.Picture.Width(), ph = skin.Picture.Height();
  const int dx = width - pw, dy = height - ph;
  g.dx = dx;
  g.dy = dy;
  g.SizedLeftTop = skin.lefttoppoint;
  g.SizedRightTop = Moved(skin.righttoppoint, dx, 0);
  g.SizedLeftBottom = Moved(skin.leftbottompoint, 0, dy);
  g.SizedRightBottom = Moved(skin.rightbottompoint, dx, dy);
  const Rect& c = skin.clientrect;
  g.SizedClientRect = {c.left, c.top, c.right + dx, c.bottom + dy};
  g.SizedCaptionRect = skin.captionrect;
  if (!RectIsEmpty(skin.captionrect)) g.SizedCaptionRect.right += dx;
  g.SizedButtonsRect = skin.buttonsrect;
  if (!RectIsEmpty(skin.buttonsrect) && skin.buttonsrect.left > pw / 2)
    g.SizedButtonsRect = skin.buttonsrect.Offset(dx, 0);
  g.ButtonsInLeft = skin.buttonsinleft;
  g.ButtonsOffset = skin.buttonsoffset;
  g.SizedHitLeftTop = skin.hittestlefttoppoint;
  g.SizedHitRightTop = Moved(skin.hittestrighttoppoint, dx, 0);
  g.SizedHitRightBottom = Moved(skin.hittestrightbottompoint, dx, dy);
  // The y of the frame corner, not of the hit-test point.
  g.SizedHitLeftBottom = {skin.hittestleftbottompoint.x, skin.leftbottompoint.y + dy};
  const Rect& m = skin.maskrectarea;
  g.SizedMaskRect = {m.left, m.top, m.right + dx, m.bottom + dy};
  return g;
}

SkinGeometry FrameGeometry::PictureGeometry(const TksSkinData& skin) const {
  return {skin.clientrect, skin.lefttoppoint, skin.righttoppoint, skin.leftbottompoint, skin.rightbottompoint};
}

SkinGeometry FrameGeometry::SizedGeometry() const {
  return {SizedClientRect, SizedLeftTop, SizedRightTop, SizedLeftBottom, SizedRightBottom};
}

SkinGeometry FrameGeometry::MaskGeometry(const TksSkinData& skin) const {
  return {skin.maskrectarea, skin.lefttoppoint, skin.righttoppoint, skin.leftbottompoint, skin.rightbottompoint};
}

SkinGeometry FrameGeometry::SizedMaskGeometry() const {
  return {SizedMaskRect, SizedLeftTop, SizedRightTop, SizedLeftBottom, SizedRightBottom};
}

Rect FrameClientRect(const TksSkinData* skin, const Rect& window, bool toolWindow, int dpi) {
  Rect r = window;
  if (SkinIsUsable(skin)) {
    r.left += skin->clientrect.left;
    r.top += skin->clientrect.top;
    r.right += skin->clientrect.right - skin->Picture.Width();
    r.bottom += skin->clientrect.bottom - skin->Picture.Height();
  } else {
    const PlainFrame plain(toolWindow, dpi);
    r.left += plain.border;
    r.top += plain.caption + plain.border;
    r.right -= plain.border;
    r.bottom -= plain.border;
  }
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  return r;
}

Rect TransformFrameRect(const TksSkinData& skin, int dx, int dy, const Rect& r) {
  const int pw = skin.Picture.Width(), ph = skin.Picture.Height();
  const Rect lt{0, 0, skin.lefttoppoint.x, skin.lefttoppoint.y};
  const Rect lb{0, skin.leftbottompoint.y, skin.leftbottompoint.x, ph};
  const Rect rt{skin.righttoppoint.x, 0, pw, skin.righttoppoint.y};
  const Rect rb{skin.rightbottompoint.x, skin.rightbottompoint.y, pw, ph};
  if ((lt.IsEmpty() && lb.IsEmpty() && rt.IsEmpty() && rb.IsEmpty()) || Inside(lt, r)) return r;
  if (Inside(rt, r)) return r.Offset(dx, 0);
  if (Inside(lb, r)) return r.Offset(0, dy);
  if (Inside(rb, r)) return r.Offset(dx, dy);
  const Point a{r.left, r.top}, b{r.right, r.bottom};
  Rect t = r;
  if (lt.Contains(a) && rb.Contains(b)) {
    t.right += dx;
    t.bottom += dy;
  } else if (lt.Contains(a) && rt.Contains(b)) {
    t.right += dx;
  } else if (lb.Contains(a) && rb.Contains(b)) {
    t.right += dx;
    t.top += dy;
    t.bottom += dy;
  } else if (lt.Contains(a) && lb.Contains(b)) {
    t.bottom += dy;
  } else if (rt.Contains(a) && rb.Contains(b)) {
    t.left += dx;
    t.right += dx;
    t.bottom += dy;
  }
  return t;
}

void PlaceFrameObjects(const TksSkinData& skin, const FrameGeometry& g, const std::vector<FrameObjectLayout*>& objects,
                       bool showIcon, Point iconSize) {
  for (FrameObjectLayout* o : objects) o->ObjectRect = TransformFrameRect(skin, g.dx, g.dy, o->skinrect);
  const bool noButtonsRect = RectIsEmpty(skin.buttonsrect);
  Rect area;
  if (noButtonsRect && !RectIsEmpty(skin.captionrect))
    area = g.SizedCaptionRect;
  else if (!noButtonsRect)
    area = g.SizedButtonsRect;
  else
    return;
  const int y = area.top;
  const int offset = g.ButtonsOffset;
  FrameObjectLayout* caption = FirstCaption(objects);
  FrameObjectLayout* sysMenu = FirstButton(objects, SkinCommand::cmSysMenu);
  const Rect& cr = g.SizedCaptionRect;
  if (!g.ButtonsInLeft) {
    int x = area.right;
    for (FrameObjectLayout* b : RowButtons(objects)) {
      const Point s = ButtonSize(*b, showIcon, iconSize);
      b->ObjectRect = {x - s.x, y, x, y + s.y};
      x -= offset + s.x;
    }
    if (noButtonsRect && caption) caption->ObjectRect.right = x + offset;
    x = cr.left;
    if (sysMenu) {
      const Point s = ButtonSize(*sysMenu, showIcon, iconSize);
      const int ys = cr.top + RectHeight(cr) / 2 - s.y / 2;
      sysMenu->ObjectRect = {x, ys, x + s.x, ys + s.y};
      x += offset + s.x;
      if (caption) caption->ObjectRect.left = x - offset;
    }
  } else {
    int x = area.left;
    std::vector<FrameObjectLayout*> row = RowButtons(objects);
    if (noButtonsRect && sysMenu) row.push_back(sysMenu);
    for (FrameObjectLayout* b : row) {
      const Point s = ButtonSize(*b, showIcon, iconSize);
      b->ObjectRect = {x, y, x + s.x, y + s.y};
      x += offset + s.x;
    }
    if (noButtonsRect && caption) caption->ObjectRect.left = x + offset;
  }
}

Rect PlacePlainCaption(int frameWidth, bool toolWindow, const std::vector<FrameObjectLayout*>& objects, bool showIcon,
                       Point iconSize, int dpi) {
  const PlainFrame plain(toolWindow, dpi);
  Rect caption{plain.border, plain.border, frameWidth - plain.border, plain.caption};
  const int size = plain.button, top = plain.buttonTop;
  int x = frameWidth - plain.border;
  for (SkinCommand c : kRowCommands) {
    if (FrameObjectLayout* b = FirstButton(objects, c)) {
      b->ObjectRect = {x - size, top, x, top + size};
      x -= size;
    }
  }
  caption.right = x;
  if (FrameObjectLayout* sysMenu = FirstButton(objects, SkinCommand::cmSysMenu)) {
    const Point s = showIcon ? iconSize : Point{size, size};
    sysMenu->ObjectRect = {plain.border, top, plain.border + s.x, top + s.y};
    caption.left = sysMenu->ObjectRect.right;
  }
  return caption;
}

bool CommandSwitchedOff(SkinCommand command, TksBorderIcons icons) {
  switch (command) {
    case SkinCommand::cmMinimizeToTray: return !(icons & biMinimizeToTray);
    case SkinCommand::cmRollUp: return !(icons & biRollUp);
    case SkinCommand::cmMaximize: return !(icons & biMaximize);
    case SkinCommand::cmMinimize: return !(icons & biMinimize);
    case SkinCommand::cmSysMenu: return !(icons & biSystemMenu);
    default: return false;
  }
}

}  // namespace kelmar
