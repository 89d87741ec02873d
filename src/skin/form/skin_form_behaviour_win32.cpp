// The skinned frame and the system's move/size loop (snapping, a maximized
// window that stays put, the frame following the mouse while sizing), and
// the window's transparency with its fade-in.
#include "skin/form/frame_behaviour.h"
#include "framework/application.h"
#include "skin/form/skin_form_win32.h"

namespace kelmar {

namespace {

Rect ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

void TksSkinForm::OnEnterSizeMove() {
  for (const auto& o : objects_)
    if (o->Kind != FrameObjectKind::Caption) o->ResetState();
  hoverPollTimer_->SetEnabled(false);
  HotObjectIndex = CapturedObjectIndex = -1;
  InSizeMove = true;
  sizeMoveRan_ = true;
  BOOL full = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
  FullWindowDrag = full != FALSE;
  POINT c{};
  GetCursorPos(&c);
  const Rect b = WindowBounds(ownerForm_->Handle());
  dragOffset_ = {c.x - b.left, c.y - b.top};
}

void TksSkinForm::OnExitSizeMove() {
  hoverPollTimer_->SetEnabled(false);
  HotObjectIndex = PrevHotObjectIndex = CapturedObjectIndex = -1;
  // Cleared here, not at the next press: a loop started from the keyboard
  // or by a command must not leave the size updates switched off.
  InSizeMove = false;
  if (Skin()) SendNcPaint();
}

void TksSkinForm::OnMoving(TMessage& m, const TWindowNext& next) {
  auto* r = reinterpret_cast<RECT*>(m.LParam);
  HWND hwnd = ownerForm_->Handle();
  if (FrameState == TWindowState::wsMaximized) {
    *r = ToRECT(WindowBounds(hwnd));
  } else if (Magnetic) {
    // From the cursor, not from the proposed rectangle: the system builds
    // each step on the last answer, so a snapped window would stick.
    POINT c{};
    GetCursorPos(&c);
    const int w = r->right - r->left, h = r->bottom - r->top;
    Rect area = ScreenRect();
    GetMonitorWorkArea(hwnd, true, area);
    const Point p = SnapToArea(area, MagneticSize, {c.x - dragOffset_.x, c.y - dragOffset_.y}, w, h);
    *r = RECT{p.x, p.y, p.x + w, p.y + h};
  }
  next(m);
  m.Result = TRUE;
}

void TksSkinForm::OnSizing(TMessage& m, const TWindowNext& next) {
  next(m);
  m.Result = TRUE;
  if (!InSizeMove || !FullWindowDrag) return;
  const auto* r = reinterpret_cast<const RECT*>(m.LParam);
  FrameWidth = r->right - r->left;
  FrameHeight = r->bottom - r->top;
  if (!Skin()) return;
  // The frame follows the mouse live: geometry, objects and shape for the
  // size the system is about to give the window.
  const Point min = MinTrackSize();
  if (FrameWidth >= min.x && FrameHeight >= min.y) UpdateForNewSize(true);
}

// ------------------------------------------------------------ transparency

void TksSkinForm::SetLayered(bool layered) {
  HWND hwnd = ownerForm_->Handle();
  if (!hwnd) return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, layered ? style | WS_EX_LAYERED : style & ~LONG_PTR(WS_EX_LAYERED));
}

void TksSkinForm::StartFadeIn() {
  if (!LayeredWindows || !(AlphaBlend || AlphaBlendAnimation)) return;
  SetLayered(true);
  SetWindowAlpha(ownerForm_->Handle(), 0);
  fadeInTimer_->SetEnabled(true);
}

void TksSkinForm::StepFadeIn() {
  fadeInTimer_->SetEnabled(false);
  HWND hwnd = ownerForm_->Handle();
  const uint8_t target = AlphaBlendAnimation && !AlphaBlend ? 255 : AlphaBlendValue;
  if (AlphaBlendAnimation) {
    // The window shows its content before it becomes visible.
    Application().ProcessMessages();
    for (uint8_t alpha : FadeInSteps(target)) SetWindowAlpha(hwnd, alpha);
  } else if (target != 255) {
    SetWindowAlpha(hwnd, target);
  }
  if (target == 255) SetLayered(false);
}

void TksSkinForm::SetAlphaBlend(bool value) {
  AlphaBlend = value;
  if (!LayeredWindows) return;
  SetLayered(value);
  if (value) SetWindowAlpha(ownerForm_->Handle(), AlphaBlendValue);
}

void TksSkinForm::SetAlphaBlendValue(uint8_t value) {
  AlphaBlendValue = value;
  if (LayeredWindows && AlphaBlend) SetWindowAlpha(ownerForm_->Handle(), value);
}

}  // namespace kelmar
