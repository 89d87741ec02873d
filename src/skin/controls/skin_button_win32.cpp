#include "skin/controls/skin_button_win32.h"

#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/data/effect_bmp.h"
#include "skin/data/effect_bmp_win32.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"

namespace kelmar {

TksSkinButton::TksSkinButton(TComponent* owner, std::string name)
    : TksSkinCustomControl(owner, std::move(name)),
      repeatTimer_(new TTimer(this, "RepeatTimer", 100)),
      fader_(
          this, [this] { return Active(); }, [this] { return morphing_ && SectionIndex() >= 0; },
          [this] { Invalidate(); }) {
  SetSkinDataName("button");
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  CaptureMouseOnPress = true;
  repeatTimer_->OnTimer = [this] { ButtonClick(); };
}

void TksSkinButton::SetGlyph(Image glyph) {
  glyph_ = std::move(glyph);
  Invalidate();
}

void TksSkinButton::SetGlyph(HBITMAP bitmap) { SetGlyph(EffectBmpFromBitmap(bitmap).GetImage()); }

void TksSkinButton::SetNumGlyphs(int n) {
  numGlyphs_ = n < 1 ? 1 : n > 4 ? 4 : n;
  Invalidate();
}

void TksSkinButton::SetLayout(TksButtonLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Invalidate();
}

void TksSkinButton::SetMargin(int margin) {
  if (margin == margin_ || margin < -1) return;
  margin_ = margin;
  Invalidate();
}

void TksSkinButton::SetSpacing(int spacing) {
  if (spacing == spacing_) return;
  spacing_ = spacing;
  Invalidate();
}

void TksSkinButton::SetCanFocused(bool can) {
  canFocused_ = can;
  SetTabStop(can);
}

void TksSkinButton::SetGroupIndex(int group) {
  groupIndex_ = group;
  if (group != 0) SetCanFocused(false);
}

void TksSkinButton::SetDown(bool down) {
  // A sticky button's state lasts: screen readers are told of it.
  if (groupIndex_ != 0 && down != down_) AccNotify(EVENT_OBJECT_STATECHANGE, Handle());
  down_ = down;
  if (morphing_) {
    if (down) {
      fader_.SetFactor(1);
      fader_.Stop();
    } else {
      fader_.Start();
    }
  }
  Invalidate();
  if (groupIndex_ == 0 || !down || AllowAllUp || !Parent()) return;
  for (TControl* c : Parent()->Controls()) {
    auto* other = dynamic_cast<TksSkinButton*>(c);
    if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) other->SetDown(false);
  }
}

void TksSkinButton::ButtonClick() {
  if (canFocused_)
    if (TForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
  Click();
}

void TksSkinButton::HandleCreated() {
  TksSkinCustomControl::HandleCreated();
  activeDefault_ = default_;
}

void TksSkinButton::SetDefault(bool on) {
  default_ = on;
  if (!HandleAllocated() || !canFocused_) return;
  // Every button works out again which one Enter clicks.
  if (TForm* form = GetParentForm(this)) form->FocusMoved(TWinControl::FromHandle(GetFocus()));
}

void TksSkinButton::FormFocusChanged(TWinControl* focused) {
  auto* button = dynamic_cast<TksSkinButton*>(focused);
  activeDefault_ = button ? button == this : default_;
  if (!canFocused_ || !default_) return;
  if (button && button != this) {
    mouseIn_ = false;
    fader_.Refresh();
  } else if (!button) {
    // The focus is on something that is not a button: Enter is ours, and
    // the look says so.
    mouseIn_ = true;
    if (morphing_) fader_.SetFactor(1);
    Invalidate();
  }
}

bool TksSkinButton::DialogKey(WORD key, TShiftState shift) {
  if (key == VK_RETURN && activeDefault_ && Enabled()) {
    ButtonClick();
    return true;
  }
  if (key == VK_ESCAPE && Cancel && canFocused_ && !shift.shift && CanFocus()) {
    ButtonClick();
    return true;
  }
  return false;
}

bool TksSkinButton::DialogChar(wchar_t ch) {
  if (!canFocused_ || !CanFocus() || !IsAccelerator(ch, Caption())) return false;
  SetFocus();
  ButtonClick();
  return true;
}

bool TksSkinButton::Active() const { return mouseIn_ || FocusedLook(); }

TksButtonState TksSkinButton::State() const {
  TksButtonState s;
  s.enabled = Enabled();
  s.down = down_;
  s.grouped = groupIndex_ != 0;
  s.mouse_in = mouseIn_;
  s.focused = FocusedLook();
  s.pressed = pressed_;
  s.morphing = morphing_;
  s.morph_factor = fader_.Factor();
  s.has_disabled_image = !RectIsEmpty(rects_.disabledskinrect);
  return s;
}

// ------------------------------------------------------------------ looks

void TksSkinButton::ReadSkinSection() {
  TksSkinCustomControl::ReadSkinSection();
  if (SectionIndex() < 0) {
    morphing_ = false;
    return;
  }
  const auto* record = dynamic_cast<const TksDataSkinButtonControl*>(SectionRecord());
  if (!record) return;
  rects_ = ButtonRectsOf(*record);
  font_ = record->font;
  activefontcolor_ = record->activefontcolor;
  disabledfontcolor_ = record->disabledfontcolor;
  downfontcolor_ = record->downfontcolor;
  morphing_ = record->morphing;
  morphkind_ = record->morphkind;
}

void TksSkinButton::DrawSkinImage(TBitmap& bitmap) {
  if (morphing_ && fader_.Between() && Enabled()) {
    DrawMorphed(bitmap, morphkind_, fader_.Factor(), [this](TBitmap& b, bool active) {
      DrawStateImage(b, active ? rects_.activeskinrect : rects_.skinrect, false, active);
    });
    DrawFocusMark(bitmap.Dc());
    return;
  }
  const TksButtonLook look = ChooseButtonLook(State());
  const Rect& state = look.image == TksButtonImage::biDisabled ? rects_.disabledskinrect
                      : look.image == TksButtonImage::biDown   ? rects_.downskinrect
                      : look.image == TksButtonImage::biActive ? rects_.activeskinrect
                                                               : rects_.skinrect;
  DrawStateImage(bitmap, state, look.down, look.active);
  DrawFocusMark(bitmap.Dc());
}

void TksSkinButton::DrawFocusMark(HDC dc) const {
  // The skin has no focus picture for buttons: the dotted rectangle tells
  // the focus from the pointer's hover.
  const int inset = Scaled(3);
  if (!FocusedLook() || Width() < 8 || Height() < 8) return;
  const RECT r{inset, inset, Width() - inset, Height() - inset};
  DrawDottedFocusRect(dc, r);
}

void TksSkinButton::DrawStateImage(TBitmap& bitmap, const Rect& state, bool down, bool active) {
  ComposeSkinImage(bitmap, state);
  const COLORREF colour = !Enabled()      ? disabledfontcolor_
                          : down && active ? downfontcolor_
                          : active         ? activefontcolor_
                                           : font_.color;
  const int cell = ButtonGlyphCell(down, active, Enabled(), numGlyphs_);
  DrawGlyphAndText(bitmap.Dc(), scaled_.clientrect, down && active, cell, SectionFont(font_, colour));
}

void TksSkinButton::DrawDefaultImage(TBitmap& bitmap) {
  TksSkinCustomControl::DrawDefaultImage(bitmap);
  const Rect all = ClientRect();
  const bool downLook = ShowsDownLook(State());
  DrawDefaultStateBox(bitmap.Dc(), all, downLook, Active());
  const TFont font = PlainFont(Enabled() ? DefaultFont().Color() : GetSysColor(COLOR_BTNSHADOW));
  DrawGlyphAndText(bitmap.Dc(), all, downLook, 1, font);
  DrawFocusMark(bitmap.Dc());
}

void TksSkinButton::DrawGlyphAndText(HDC dc, const Rect& r, bool pressed, int cell, const TFont& font) {
  const int gw = glyph_.IsEmpty() ? 0 : glyph_.Width() / numGlyphs_, gh = glyph_.IsEmpty() ? 0 : glyph_.Height();
  const SIZE text = CaptionExtent(dc, font, Caption(), true);
  // Margin and spacing are 96-DPI lengths (a negative margin centres); the
  // spacing is the gap before a caption, and a glyph alone keeps the place
  // it had.
  const int spacing = Caption().empty() ? spacing_ : Scaled(spacing_);
  TksGlyphTextPlace place = LayoutGlyphAndText(r, margin_ < 0 ? margin_ : Scaled(margin_), layout_, spacing, gw, gh,
                                               text.cx, text.cy);
  if (pressed) {
    const int shift = Scaled(1);
    place.glyph = {place.glyph.x + shift, place.glyph.y + shift};
    place.text = {place.text.x + shift, place.text.y + shift};
  }
  if (!Caption().empty())
    TCanvas(dc).DrawText(font, {place.text.x, place.text.y, place.text.x + text.cx + 2, place.text.y + text.cy},
                         Caption(), DT_CENTER | DT_VCENTER);
  if (!glyph_.IsEmpty()) kelmar::DrawGlyphCell(dc, place.glyph.x, place.glyph.y, cell, numGlyphs_, glyph_.View());
}

// ------------------------------------------------------------ state changes

void TksSkinButton::ApplySkinChange() {
  fader_.Stop();
  TksSkinCustomControl::ApplySkinChange();
  if (morphing_ && SectionIndex() >= 0 && Active()) fader_.SetFactor(1);
}

void TksSkinButton::EnabledChanged() {
  if (morphing_) {
    fader_.Stop();
    fader_.SetFactor(0);
  }
  mouseIn_ = false;
  TksSkinCustomControl::EnabledChanged();
}

// ------------------------------------------------------------------ mouse

bool TksSkinButton::NeedsRefreshOnHover() const {
  return groupIndex_ != 0 ? !down_ : (!FocusedLook() || down_);
}

void TksSkinButton::MouseEnter() {
  TksSkinCustomControl::MouseEnter();
  mouseIn_ = true;
  if (NeedsRefreshOnHover()) {
    if (down_) {
      if (morphing_) fader_.SetFactor(1);
      Invalidate();
    } else {
      fader_.Refresh();
    }
  }
  if (down_ && RepeatMode && groupIndex_ == 0) StartRepeat();
}

void TksSkinButton::MouseLeave() {
  TksSkinCustomControl::MouseLeave();
  // The default button keeps its active look while Enter is its.
  if (!(default_ && canFocused_ && activeDefault_ && !Focused())) mouseIn_ = false;
  if (NeedsRefreshOnHover()) fader_.Refresh();
  if (down_ && RepeatMode && groupIndex_ == 0) StopRepeat();
}

void TksSkinButton::MouseButtonDown(TMouseButton button, TShiftState shift, Point p) {
  if (button != TMouseButton::mbLeft) return;
  if (canFocused_ && !Focused()) {
    SetFocus();
    // A press that could not take the focus is dropped.
    if (!Focused()) return;
  }
  pressed_ = true;
  if (!down_) {
    mouseIn_ = true;
    SetDown(true);
    if (RepeatMode && groupIndex_ == 0)
      StartRepeat();
    else if (groupIndex_ != 0)
      ButtonClick();
    releaseOnClick_ = false;
  } else if (groupIndex_ != 0) {
    releaseOnClick_ = true;
  }
}

void TksSkinButton::MouseButtonUp(TMouseButton button, TShiftState shift, Point p) {
  if (button != TMouseButton::mbLeft || !pressed_) return;
  pressed_ = false;
  if (groupIndex_ == 0) {
    StopRepeat();
    if (mouseIn_) {
      SetDown(false);
      ButtonClick();
    } else {
      down_ = false;
    }
  } else if (down_ && AllowAllUp && releaseOnClick_ && mouseIn_) {
    SetDown(false);
    ButtonClick();
  }
}

void TksSkinButton::CaptureLost() {
  // Another window took the mouse mid-press: the press is over, unclicked.
  if (!pressed_) return;
  pressed_ = false;
  StopRepeat();
  if (groupIndex_ == 0 && down_) SetDown(false);
}

void TksSkinButton::StartRepeat() {
  repeatTimer_->SetEnabled(false);
  repeatTimer_->SetInterval(RepeatInterval);
  repeatTimer_->SetEnabled(true);
}

void TksSkinButton::StopRepeat() { repeatTimer_->SetEnabled(false); }

// --------------------------------------------------------- keyboard, focus

void TksSkinButton::KeyDown(WORD key, TShiftState shift) {
  if (!canFocused_) return;
  if (key == VK_SPACE) {
    // Held down, the keyboard repeats the key: no second press.
    if (down_ && !RepeatMode) return;
    SetDown(true);
    if (RepeatMode) ButtonClick();
  } else if (key == VK_RETURN) {
    ButtonClick();
  }
}

void TksSkinButton::KeyUp(WORD key, TShiftState shift) {
  if (!canFocused_ || key != VK_SPACE || !down_) return;
  SetDown(false);
  ButtonClick();
}

void TksSkinButton::FocusChanged(bool focused) {
  if (!focused) {
    if (RepeatMode) StopRepeat();
    if (groupIndex_ == 0 && down_) down_ = false;
  }
  if (canFocused_) fader_.Refresh();
}

// ------------------------------------------------------------ screen readers

long TksSkinButton::AccState(int child) const {
  long state = TksSkinCustomControl::AccState(child);
  if (child != 0) return state;
  if (down_) state |= STATE_SYSTEM_PRESSED;
  if (mouseIn_) state |= STATE_SYSTEM_HOTTRACKED;
  if (activeDefault_) state |= STATE_SYSTEM_DEFAULT;
  return state;
}

std::wstring TksSkinButton::AccDefaultAction(int child) const { return child == 0 ? L"按下" : L""; }

void TksSkinButton::AccRunDefaultAction(int child) {
  if (child != 0 || !CanFocus()) return;
  if (groupIndex_ == 0) {
    ButtonClick();
  } else if (!down_) {
    SetDown(true);
    ButtonClick();
  } else if (AllowAllUp) {
    SetDown(false);
    ButtonClick();
  }
}

}  // namespace kelmar
