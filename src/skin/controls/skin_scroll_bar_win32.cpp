#include "skin/controls/skin_scroll_bar_win32.h"

#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"

namespace kelmar {

namespace {

constexpr UINT kFirstDelay = 500, kRepeatInterval = 50;

}  // namespace

TksSkinScrollBar::TksSkinScrollBar(TComponent* owner, std::string name)
    : TksSkinCustomControl(owner, std::move(name)), repeatTimer_(new TTimer(this, "RepeatTimer", kFirstDelay)) {
  SetSkinDataName("hscrollbar");
  SetBounds(0, 0, 200, 19);
  SetDefaultHeight(19);
  CaptureMouseOnPress = true;
  repeatTimer_->OnTimer = [this] { RepeatTick(); };
}

// ------------------------------------------------------------- properties

void TksSkinScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  // Longer than thick either way; the default size stays the thickness, so
  // that a bar without a section keeps its length on a skin change.
  const int thickness = kind == TScrollBarKind::sbVertical ? DefaultHeight() : DefaultWidth();
  SetBounds(Left(), Top(), Height(), Width());
  if (kind == TScrollBarKind::sbVertical) {
    SetDefaultHeight(0);
    SetDefaultWidth(thickness);
  } else {
    SetDefaultWidth(0);
    SetDefaultHeight(thickness);
  }
  Invalidate();
}

void TksSkinScrollBar::SetMin(int value) {
  min_ = value;
  position_ = LimitScrollPosition(Range(), position_);
  Invalidate();
}

void TksSkinScrollBar::SetMax(int value) {
  max_ = value;
  position_ = LimitScrollPosition(Range(), position_);
  Invalidate();
}

void TksSkinScrollBar::SetPosition(int value) {
  value = LimitScrollPosition(Range(), value);
  if (value == position_) return;
  position_ = value;
  Invalidate();
  if (OnChange) OnChange();
}

void TksSkinScrollBar::SetPageSize(int value) {
  if (ScrollPageFits(Range(), value)) pageSize_ = value;
  Invalidate();
}

void TksSkinScrollBar::SetRange(int min, int max, int pageSize, int position) {
  // A list mirrors itself on every message that may scroll it: most change
  // nothing.
  if (min == min_ && max == max_ && pageSize == pageSize_ && position == position_) return;
  min_ = min;
  max_ = max;
  pageSize_ = pageSize;
  position_ = LimitScrollPosition(Range(), position);
  Invalidate();
}

void TksSkinScrollBar::SetSmallChange(int value) {
  smallChange_ = value;
  Invalidate();
}

void TksSkinScrollBar::SetLargeChange(int value) {
  largeChange_ = value;
  Invalidate();
}

void TksSkinScrollBar::SetCanFocused(bool can) {
  canFocused_ = can;
  SetTabStop(can);
}

void TksSkinScrollBar::SetBoth(bool on) {
  if (on == both_) return;
  both_ = on;
  if (on) {
    unbothSkinDataName_ = SkinDataName();
    SetSkinDataName(BothSkinDataName);
  } else {
    SetSkinDataName(unbothSkinDataName_);
  }
  ReadSkinSection();
  if (SectionIndex() < 0)
    Invalidate();
  else
    ApplySkinChange();
}

void TksSkinScrollBar::SetBothMarkerWidth(int width) {
  if (width < 0) return;
  bothMarkerWidth_ = width;
  if (SectionIndex() < 0) Invalidate();
}

const TksScrollBarLayout& TksSkinScrollBar::Layout() {
  layout_ = ScrollBarLayout(kind_, Width(), Height(), Range(), SectionIndex() >= 0 ? &rects_ : nullptr,
                            both_ ? bothMarkerWidth_ : 0);
  return layout_;
}

// ------------------------------------------------------------------ looks

void TksSkinScrollBar::ReadSkinSection() {
  TksSkinCustomControl::ReadSkinSection();
  if (const auto* record = dynamic_cast<const TksDataSkinScrollBarControl*>(SectionRecord()))
    rects_ = ScrollBarRectsOf(*record);
}

void TksSkinScrollBar::DrawSkinImage(TBitmap& bitmap) {
  TksSkinCustomControl::DrawSkinImage(bitmap);
  Layout();
  if (!picture_) return;
  DrawSkinButton(bitmap, TksScrollBarPart::spUpButton, rects_.activeupbuttonrect, rects_.downupbuttonrect);
  DrawSkinButton(bitmap, TksScrollBarPart::spDownButton, rects_.activedownbuttonrect, rects_.downdownbuttonrect);
  const Rect& at = layout_.thumb;
  if (!Enabled() || at.IsEmpty()) return;
  const bool pressed = ThumbPressedLook(), hot = Part(TksScrollBarPart::spThumb).hot;
  const Rect& piece = pressed ? rects_.downthumbrect : hot ? rects_.activethumbrect : rects_.thumbrect;
  const Rect& glyph = pressed ? rects_.downglyphrect : hot ? rects_.activeglyphrect : rects_.glyphrect;
  const Image thumb = ComposeScrollThumb(picture_->View(), kind_, pageSize_ > 0, piece, rects_.thumboffset1,
                                         rects_.thumboffset2, at.Width(), at.Height(), glyph);
  PutScrollThumb(bitmap.Pixels(), at, thumb, AlphaBlend() ? 1.0 - AlphaBlendValue() / 255.0 : 0.0,
                 rects_.thumbtransparent, PixelFromColor(rects_.thumbtransparentcolor));
}

void TksSkinScrollBar::DrawSkinButton(TBitmap& bitmap, TksScrollBarPart part, const Rect& active,
                                      const Rect& down) {
  // The normal button is part of the base image.
  const TPartState& s = Part(part);
  if (!s.hot) return;
  const Rect& piece = s.down ? down : active;
  const Rect& at = part == TksScrollBarPart::spUpButton ? layout_.upButton : layout_.downButton;
  if (!RectIsEmpty(piece)) CopyImageRect(bitmap.Pixels(), at, picture_->View(), piece);
}

void TksSkinScrollBar::DrawDefaultImage(TBitmap& bitmap) {
  TksSkinCustomControl::DrawDefaultImage(bitmap);
  Layout();
  HDC dc = bitmap.Dc();
  const bool vertical = kind_ == TScrollBarKind::sbVertical;
  const TPartState &up = Part(TksScrollBarPart::spUpButton), &down = Part(TksScrollBarPart::spDownButton);
  DrawDefaultStateBox(dc, layout_.downButton, down.down && down.hot, down.hot);
  DrawArrow(dc, layout_.downButton, RGB(0, 0, 0), vertical ? 3 : 1);
  DrawDefaultStateBox(dc, layout_.upButton, up.down && up.hot, up.hot);
  DrawArrow(dc, layout_.upButton, RGB(0, 0, 0), vertical ? 4 : 2);
  if (Enabled()) DrawDefaultStateBox(dc, layout_.thumb, ThumbPressedLook(), Part(TksScrollBarPart::spThumb).hot);
}

// ------------------------------------------------------------------ mouse

void TksSkinScrollBar::MouseButtonDown(TMouseButton button, TShiftState shift, Point p) {
  if (button != TMouseButton::mbLeft) return;
  if (canFocused_ && !Focused()) {
    SetFocus();
    // A press that could not take the focus is dropped.
    if (!Focused()) return;
  }
  pressed_ = true;
  lastPointer_ = p;
  Layout();
  StopRepeat();
  const TksScrollBarPart part = ScrollBarPartAt(layout_, p);
  if (IsArrow(part)) {
    captured_ = part;
    UpdateHotPart(p);
    Part(part).down = true;
    Invalidate();
    ArrowStep(part);
    StartRepeat(part == TksScrollBarPart::spUpButton ? TRepeat::rpIncrease : TRepeat::rpDecrease);
  } else if (part == TksScrollBarPart::spThumb) {
    captured_ = part;
    dragAlong_ = AlongAxis(kind_, p);
    dragOffset_ = layout_.offset;
    dragging_ = true;
    UpdateHotPart(p);
    Invalidate();
  } else if (layout_.track.Contains(p)) {
    const bool forward = ThumbSide(kind_, layout_, p) >= 0;
    PageStep(forward);
    StartRepeat(forward ? TRepeat::rpPageForward : TRepeat::rpPageBack);
  }
}

void TksSkinScrollBar::MouseMoved(TShiftState shift, Point p) {
  lastPointer_ = p;
  UpdateHotPart(p);
  if (!dragging_) return;
  Layout();
  SetPosition(ScrollPositionFromOffset(Range(), layout_.firstCentre, layout_.lastCentre,
                                       AlongAxis(kind_, p) - dragAlong_ + dragOffset_));
}

void TksSkinScrollBar::MouseButtonUp(TMouseButton button, TShiftState shift, Point p) {
  if (button != TMouseButton::mbLeft || !pressed_) return;
  EndPress(p);
}

void TksSkinScrollBar::CaptureLost() {
  // Another window took the mouse mid-press: the press ends here.
  if (pressed_) EndPress(lastPointer_);
}

void TksSkinScrollBar::EndPress(Point p) {
  pressed_ = false;
  if (repeat_ == TRepeat::rpPageBack || repeat_ == TRepeat::rpPageForward) StopRepeat();
  const TksScrollBarPart part = captured_;
  if (part == TksScrollBarPart::spNone) return;
  captured_ = TksScrollBarPart::spNone;
  TPartState& s = Part(part);
  s.down = false;
  if (!ClientRect().Contains(p) || ScrollBarPartAt(Layout(), p) != part) {
    s.hot = false;
    if (hot_ == part) hot_ = TksScrollBarPart::spNone;
  }
  if (part == TksScrollBarPart::spThumb)
    dragging_ = false;
  else
    StopRepeat();
  Invalidate();
  if (part == TksScrollBarPart::spThumb && OnLastChange) OnLastChange();
}

void TksSkinScrollBar::MouseLeave() {
  TksSkinCustomControl::MouseLeave();
  // Paging towards a pointer that has left the bar would run on blindly.
  if (repeat_ == TRepeat::rpPageBack || repeat_ == TRepeat::rpPageForward) StopRepeat();
  if (captured_ == TksScrollBarPart::spNone && !dragging_) UpdateHotPart({-1, -1});
}

void TksSkinScrollBar::UpdateHotPart(Point p) {
  TksScrollBarPart at = ClientRect().Contains(p) ? ScrollBarPartAt(Layout(), p) : TksScrollBarPart::spNone;
  // While a part is held, no other part becomes hot.
  if (captured_ != TksScrollBarPart::spNone && at != captured_) at = TksScrollBarPart::spNone;
  if (at == hot_) return;
  if (hot_ != TksScrollBarPart::spNone) {
    TPartState& left = Part(hot_);
    left.hot = false;
    // Off a held arrow the stepping pauses.
    if (IsArrow(hot_) && left.down) repeatTimer_->SetEnabled(false);
  }
  hot_ = at;
  if (at != TksScrollBarPart::spNone) {
    TPartState& entered = Part(at);
    entered.hot = true;
    if (IsArrow(at) && entered.down && !repeatTimer_->Enabled()) {
      firstDelay_ = false;
      RunRepeatTimer(kRepeatInterval);
    }
  }
  Invalidate();
}

// ------------------------------------------------------------------ steps

void TksSkinScrollBar::ArrowStep(TksScrollBarPart part) {
  if (part == TksScrollBarPart::spUpButton) {
    if (OnUpButtonClick)
      OnUpButtonClick();
    else
      SetPosition(position_ + smallChange_);
  } else {
    if (OnDownButtonClick)
      OnDownButtonClick();
    else
      SetPosition(position_ - smallChange_);
  }
}

void TksSkinScrollBar::PageStep(bool forward) {
  SetPosition(position_ + (forward ? largeChange_ : -largeChange_));
  if (forward) {
    if (OnPageDown) OnPageDown();
  } else if (OnPageUp) {
    OnPageUp();
  }
}

void TksSkinScrollBar::StartRepeat(TRepeat mode) {
  repeat_ = mode;
  firstDelay_ = true;
  RunRepeatTimer(kFirstDelay);
}

void TksSkinScrollBar::RunRepeatTimer(UINT interval) {
  repeatTimer_->SetEnabled(false);
  repeatTimer_->SetInterval(interval);
  repeatTimer_->SetEnabled(true);
}

void TksSkinScrollBar::StopRepeat() {
  repeatTimer_->SetEnabled(false);
  repeat_ = TRepeat::rpNone;
}

void TksSkinScrollBar::RepeatTick() {
  // The first tick only ends the delay.
  if (firstDelay_) {
    firstDelay_ = false;
    RunRepeatTimer(kRepeatInterval);
    return;
  }
  switch (repeat_) {
    case TRepeat::rpDecrease:
      ArrowStep(TksScrollBarPart::spDownButton);
      break;
    case TRepeat::rpIncrease:
      ArrowStep(TksScrollBarPart::spUpButton);
      break;
    case TRepeat::rpPageBack:
    case TRepeat::rpPageForward: {
      // Paging goes on until the thumb has reached the pointer.
      const bool forward = repeat_ == TRepeat::rpPageForward;
      if (ThumbSide(kind_, Layout(), lastPointer_) == (forward ? 1 : -1))
        PageStep(forward);
      else
        StopRepeat();
      break;
    }
    case TRepeat::rpNone:
      StopRepeat();
      break;
  }
}

// --------------------------------------------------------- keyboard, focus

void TksSkinScrollBar::KeyDown(WORD key, TShiftState shift) {
  if (!canFocused_) return;
  if (key == VK_LEFT || key == VK_UP)
    SetPosition(position_ - smallChange_);
  else if (key == VK_RIGHT || key == VK_DOWN)
    SetPosition(position_ + smallChange_);
}

void TksSkinScrollBar::FocusChanged(bool focused) {
  if (canFocused_) Invalidate();
}

void TksSkinScrollBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      // The arrow keys are the bar's own.
      if (canFocused_) {
        m.Result = DLGC_WANTARROWS;
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      if (canFocused_ && Focused()) {
        // Turned towards the user (0 or less): further on.
        SetPosition(position_ + (GET_WHEEL_DELTA_WPARAM(m.WParam) <= 0 ? smallChange_ : -smallChange_));
        m.Result = 0;
        return;
      }
      break;
  }
  TksSkinCustomControl::WndProc(m);
}

}  // namespace kelmar
