// The skinned frame and the mouse: which frame object is hot, the cursor
// polling that takes the hot look away when the mouse leaves, press and
// release with the mouse capture, double clicks, and the hit-test codes.
#include <windowsx.h>

#include "skin/form/skin_form_win32.h"

namespace kelmar {

namespace {

Point ScreenPoint(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

constexpr Point kNowhere{-1, -1};

}  // namespace

TksActiveSkinObject* TksSkinForm::ObjectAt(int index) const {
  return index >= 0 && size_t(index) < objects_.size() ? objects_[size_t(index)].get() : nullptr;
}

Point TksSkinForm::CursorInWindow() const {
  POINT c{};
  GetCursorPos(&c);
  const Rect b = WindowBounds(ownerForm_->Handle());
  return {c.x - b.left, c.y - b.top};
}

bool TksSkinForm::OnCaptionObject(Point p) const {
  // In frame mode the objects marked for the rolled-up picture are never hit.
  for (const auto& o : objects_)
    if (o->Kind == FrameObjectKind::Caption && !o->rollup && o->ObjectRect.Contains(p)) return true;
  return false;
}

void TksSkinForm::TrackHover(Point p, bool track) {
  if (objects_.empty() || !IsActive()) return;
  PrevHotObjectIndex = HotObjectIndex;
  int found = -1;
  for (size_t i = 0; i < objects_.size(); ++i) {
    const TksActiveSkinObject& o = *objects_[i];
    if (!o.rollup && o.IsEnabled && o.IsVisible && o.ObjectRect.Contains(p)) {
      found = int(i);
      break;
    }
  }
  int hot = track ? found : -1;
  // While an object is held, no other can become hot.
  if (CapturedObjectIndex >= 0 && hot >= 0 && hot != CapturedObjectIndex) hot = -1;
  HotObjectIndex = hot;
  if (hot == PrevHotObjectIndex) return;
  if (TksActiveSkinObject* before = ObjectAt(PrevHotObjectIndex); before && before->IsEnabled && before->IsVisible) {
    before->MouseLeave();
    ObjectHintLeave(*before);
  }
  if (TksActiveSkinObject* now = ObjectAt(hot); now && now->IsEnabled && now->IsVisible) {
    now->MouseEnter();
    ObjectHintEnter(*now);
  }
}

void TksSkinForm::PollCursor() {
  if (InSizeMove) {
    hoverPollTimer_->SetEnabled(false);
    return;
  }
  const Point p = CursorInWindow();
  const Rect b = WindowBounds(ownerForm_->Handle());
  const Rect client = FrameClientRect(FrameUsable() ? Skin() : nullptr, {0, 0, b.Width(), b.Height()}, ToolWindow(), Dpi());
  if (!client.Contains(p))
    TrackHover(p, true);
  else if (HotObjectIndex >= 0)
    TrackHover(kNowhere, true);
}

void TksSkinForm::Press(TMouseButton button, Point p) {
  TksActiveSkinObject* o = ObjectAt(HotObjectIndex);
  if (!o) return;
  if (o->Kind != FrameObjectKind::Caption) SetCapture(ownerForm_->Handle());
  CapturedObjectIndex = HotObjectIndex;
  o->MouseDown(p.x, p.y, button);
}

void TksSkinForm::Release(TMouseButton button, Point p) {
  TksActiveSkinObject* o = ObjectAt(CapturedObjectIndex);
  if (!o) return;
  if (o->Kind != FrameObjectKind::Caption) {
    ReleaseCapture();
    // Where the mouse is now, not where the last poll saw it: a button
    // released off itself must not act, however fast the mouse left it.
    TrackHover(CursorInWindow(), true);
  }
  o->MouseUp(p.x, p.y, button);
  CapturedObjectIndex = -1;
}

void TksSkinForm::CaptionDoubleClick() {
  const bool maximized = FrameState == TWindowState::wsMaximized;
  if (Sizeable && FrameState == TWindowState::wsMinimized)
    SetWindowState(TWindowState::wsNormal);
  else if (Sizeable && !maximized && !RollUpState && (borderIcons_ & biMaximize))
    SetWindowState(TWindowState::wsMaximized);
  else if (Sizeable && maximized && !RolledUpWhileMaximized)
    SetWindowState(TWindowState::wsNormal);
  else
    RollUp(!RollUpState);
}

void TksSkinForm::OnMouseMessage(TMessage& m, const TWindowNext& next) {
  // Default handling first: a press on the caption or a border runs the
  // system's move/size loop inside it.
  if (m.Msg == WM_NCLBUTTONDOWN) sizeMoveRan_ = false;
  // Except a right press on the caption: the system would track the button
  // itself and swallow its release; the frame shows its own menu there.
  const bool onCaption = m.WParam == HTCAPTION;
  if (!(m.Msg == WM_NCRBUTTONDOWN && onCaption)) next(m);
  // A minimized main window is the system's icon, not the frame.
  if (IsIconic(ownerForm_->Handle())) return;
  const Rect b = WindowBounds(ownerForm_->Handle());
  const Point screen = ScreenPoint(m.LParam);
  const Point p{screen.x - b.left, screen.y - b.top};
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (TksActiveSkinObject* o = ObjectAt(CapturedObjectIndex >= 0 ? CapturedObjectIndex : HotObjectIndex))
        o->MouseMove(p.x, p.y);
      break;
    case WM_NCLBUTTONDOWN:
      if (sizeMoveRan_) {
        sizeMoveRan_ = false;
        break;
      }
      TrackHover(p, true);
      Press(TMouseButton::mbLeft, p);
      if (onCaption) CapturedObjectIndex = -1;
      break;
    case WM_NCLBUTTONUP:
      Release(TMouseButton::mbLeft, p);
      break;
    case WM_NCLBUTTONDBLCLK:
      TrackHover(p, true);
      Press(TMouseButton::mbLeft, p);
      if (TksActiveSkinObject* o = ObjectAt(HotObjectIndex)) o->DblClick();
      if (onCaption) {
        CaptionDoubleClick();
        CapturedObjectIndex = -1;
      }
      break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
      TrackHover(p, true);
      Press(TMouseButton::mbRight, p);
      if (onCaption) CapturedObjectIndex = -1;
      if (onCaption && m.Msg == WM_NCRBUTTONDOWN) PopupSystemMenu(RectOfSize(screen.x, screen.y, 0, 0));
      break;
    case WM_NCRBUTTONUP:
      Release(TMouseButton::mbRight, p);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      // Only while the window holds the capture for a pressed object.
      Release(m.Msg == WM_LBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight, kNowhere);
      break;
    case WM_LBUTTONDBLCLK: {
      // Client coordinates: into window coordinates.
      POINT c{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      ClientToScreen(ownerForm_->Handle(), &c);
      const Point q{c.x - b.left, c.y - b.top};
      Press(TMouseButton::mbLeft, q);
      TksActiveSkinObject* o = ObjectAt(HotObjectIndex);
      if (!o) break;
      o->DblClick();
      if (o->Kind != FrameObjectKind::Caption) break;
      if (RollUpState)
        RollUp(false);
      else if (Sizeable)
        SetWindowState(FrameState == TWindowState::wsMaximized ? TWindowState::wsNormal : TWindowState::wsMaximized);
      else
        RollUp(true);
      break;
    }
    default:
      break;
  }
}

int TksSkinForm::HitTest(Point p) {
  const Rect b = WindowBounds(ownerForm_->Handle());
  const int w = b.Width(), h = b.Height();
  FrameHitState s;
  s.sizeable = Sizeable;
  s.maximized = FrameState == TWindowState::wsMaximized;
  s.minimized = FrameState == TWindowState::wsMinimized;
  s.rolledUp = RollUpState;
  s.objectHot = ObjectAt(HotObjectIndex) != nullptr;
  s.inSizeMove = InSizeMove;
  if (!FrameUsable()) return PlainFrameHitTest(w, h, PlainCaptionRect, PlainFrame(ToolWindow(), Dpi()), s, p);
  if (FrameWidth != w || FrameHeight != h) {
    FrameWidth = w;
    FrameHeight = h;
    ComputeGeometry();
    PlaceObjects();
  }
  s.onCaption = OnCaptionObject(p);
  const TksSkinData& skin = *Skin();
  maskShape_.Compose(skin, geometry_, w, h);
  return SkinnedFrameHitTest(geometry_, w, h, skin.borderwidth, &maskShape_, s, p);
}

void TksSkinForm::OnNcHitTest(TMessage& m, const TWindowNext& next) {
  if (IsIconic(ownerForm_->Handle())) {
    next(m);
    return;
  }
  const Rect b = WindowBounds(ownerForm_->Handle());
  const Point screen = ScreenPoint(m.LParam);
  const Point p{screen.x - b.left, screen.y - b.top};
  const int code = HitTest(p);
  m.Result = code;
  if (code == kHitObject && !hoverPollTimer_->Enabled()) {
    TrackHover(p, true);
    hoverPollTimer_->SetEnabled(true);
  }
}

}  // namespace kelmar
