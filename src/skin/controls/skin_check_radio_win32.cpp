#include "skin/controls/skin_check_radio_win32.h"

#include <algorithm>
#include <vector>

#include "skin/data/effect_bmp.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"

namespace kelmar {

namespace {

// The radio boxes of one group as one object for screen readers. It reaches
// the group through one of its boxes, by that box's link: once the box is
// gone, the object is no longer connected.
class TksRadioGroupAccessible : public TAccessibleSource {
 public:
  explicit TksRadioGroupAccessible(std::shared_ptr<TAccessibleLink> member) : member_(std::move(member)) {}

  HWND AccWindow() const override {
    const TksSkinCheckRadioBox* box = Member();
    return box ? box->Handle() : nullptr;
  }
  int AccChildCount() const override { return int(Boxes().size()); }
  IDispatch* AccChildObject(int child) const override {
    const auto boxes = Boxes();
    return child >= 1 && size_t(child) <= boxes.size() ? ClientObjectOf(boxes[size_t(child - 1)]->Handle()) : nullptr;
  }
  std::wstring AccName(int child) const override {
    if (child != 0) return {};
    for (const TksSkinCheckRadioBox* box : Boxes())
      if (!box->GroupName.empty()) return box->GroupName;
    return {};
  }
  long AccRole(int child) const override { return child == 0 ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_RADIOBUTTON; }
  long AccState(int child) const override {
    const auto boxes = Boxes();
    if (child == 0) {
      long state = STATE_SYSTEM_UNAVAILABLE;
      for (const TksSkinCheckRadioBox* box : boxes)
        if (box->Enabled()) state = 0;
      return state;
    }
    return boxes[size_t(child - 1)]->AccState(0);
  }
  Rect AccLocation(int child) const override {
    const auto boxes = Boxes();
    if (child != 0) return boxes[size_t(child - 1)]->AccLocation(0);
    Rect all;
    for (const TksSkinCheckRadioBox* box : boxes) {
      const Rect r = box->AccLocation(0);
      all = all.IsEmpty() ? r : Rect{std::min(all.left, r.left), std::min(all.top, r.top),
                                     std::max(all.right, r.right), std::max(all.bottom, r.bottom)};
    }
    return all;
  }
  IDispatch* AccParent() const override {
    const TksSkinCheckRadioBox* box = Member();
    return box && box->Parent() ? ClientObjectOf(box->Parent()->Handle()) : nullptr;
  }
  int AccFocus() const override {
    const auto boxes = Boxes();
    for (size_t i = 0; i < boxes.size(); ++i)
      if (boxes[i]->Focused()) return int(i + 1);
    return -1;
  }
  int AccSelection() const override {
    const auto boxes = Boxes();
    for (size_t i = 0; i < boxes.size(); ++i)
      if (boxes[i]->Checked()) return int(i + 1);
    return -1;
  }

 private:
  const TksSkinCheckRadioBox* Member() const { return dynamic_cast<const TksSkinCheckRadioBox*>(member_->source); }
  // The group's boxes that have a window.
  std::vector<const TksSkinCheckRadioBox*> Boxes() const {
    std::vector<const TksSkinCheckRadioBox*> boxes;
    if (const TksSkinCheckRadioBox* box = Member())
      for (const TksSkinCheckRadioBox* b : box->Group())
        if (b->HandleAllocated()) boxes.push_back(b);
    return boxes;
  }

  std::shared_ptr<TAccessibleLink> member_;
};

}  // namespace

TksSkinCheckRadioBox::TksSkinCheckRadioBox(TComponent* owner, std::string name)
    : TksSkinCustomControl(owner, std::move(name)),
      fader_(
          this, [this] { return Active(); }, [this] { return morphing_ && SectionIndex() >= 0; },
          [this] { Invalidate(); }) {
  SetSkinDataName("checkbox");
  SetBounds(0, 0, 150, 25);
  CaptureMouseOnPress = true;
}

void TksSkinCheckRadioBox::SetRadio(bool radio) {
  radio_ = radio;
  Invalidate();
}

void TksSkinCheckRadioBox::SetFlat(bool flat) {
  flat_ = flat;
  Invalidate();
}

void TksSkinCheckRadioBox::SetImages(TImageList* images) {
  images_ = images;
  Invalidate();
}

void TksSkinCheckRadioBox::SetImageIndex(int index) {
  imageIndex_ = index;
  Invalidate();
}

void TksSkinCheckRadioBox::SetCanFocused(bool can) {
  canFocused_ = can;
  SetTabStop(can);
}

void TksSkinCheckRadioBox::SetChecked(bool checked) {
  if (checked != checked_) AccNotify(EVENT_OBJECT_STATECHANGE, Handle());
  checked_ = checked;
  Invalidate();
  if (checked && groupIndex_ != 0 && Parent()) {
    // Tab stops at the group's checked radio box alone (the arrows reach
    // the others), as in the system's dialogs.
    bool group_stops_tab = TabStop();
    std::vector<TksSkinCheckRadioBox*> group;
    for (TControl* c : Parent()->Controls()) {
      auto* other = dynamic_cast<TksSkinCheckRadioBox*>(c);
      if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
      group.push_back(other);
      group_stops_tab |= other->TabStop();
      if (other->checked_) other->SetChecked(false);
    }
    if (radio_ && group_stops_tab) {
      SetTabStop(true);
      for (TksSkinCheckRadioBox* other : group)
        if (other->radio_) other->SetTabStop(false);
    }
  }
  if (!radio_ || checked) Click();
}

void TksSkinCheckRadioBox::Toggle() {
  if (!radio_)
    SetChecked(!checked_);
  else if (!checked_)
    SetChecked(true);
}

// ------------------------------------------------------------------ section

void TksSkinCheckRadioBox::ReadSkinSection() {
  TksSkinCustomControl::ReadSkinSection();
  if (SectionIndex() < 0) {
    morphing_ = false;
    fader_.SetFactor(0);
    return;
  }
  if (const auto* record = dynamic_cast<const TksDataSkinCheckRadioControl*>(SectionRecord())) {
    rects_ = CheckRadioRectsOf(*record);
    font_ = record->font;
    activefontcolor_ = record->activefontcolor;
    unenabledfontcolor_ = record->unenabledfontcolor;
    framefontcolor_ = record->framefontcolor;
    morphing_ = record->morphing;
    morphkind_ = record->morphkind;
  }
  if (flat_) {
    // A flat box never fades and never gets a window region.
    morphing_ = false;
    mask_ = nullptr;
  }
}

void TksSkinCheckRadioBox::FitToSkin(int& width, int& height) {
  if (flat_) return;  // any size
  TksSkinCustomControl::FitToSkin(width, height);
  places_ = FitCheckRadio(rects_, width);
}

void TksSkinCheckRadioBox::ApplySkinChange() {
  if (flat_) {
    ReadSkinSection();
    Invalidate();
    return;
  }
  fader_.Stop();
  TksSkinCustomControl::ApplySkinChange();
  if (morphing_ && SectionIndex() >= 0 && Active()) fader_.SetFactor(1);
}

// -------------------------------------------------------------------- looks

void TksSkinCheckRadioBox::DrawSkinImage(TBitmap& bitmap) {
  if (flat_) {
    DrawFlat(bitmap, true);
  } else if (morphing_ && fader_.Between()) {
    DrawMorphed(bitmap, morphkind_, fader_.Factor(), [this](TBitmap& b, bool active) {
      DrawFrameImage(b, active ? rects_.activeskinrect : rects_.skinrect, active);
    });
  } else {
    DrawFrameImage(bitmap, Active() ? rects_.activeskinrect : rects_.skinrect, Active());
  }
}

void TksSkinCheckRadioBox::DrawFrameImage(TBitmap& bitmap, const Rect& state, bool active) {
  ComposeSkinImage(bitmap, state);
  HDC dc = bitmap.Dc();
  const Rect mark = CheckMarkRect(rects_, checked_, Enabled(), mouseIn_);
  const Rect& at = places_.checkimage;
  DrawSkinPiece(dc, at.left, at.top + RectHeight(at) / 2 - RectHeight(mark) / 2, mark);
  const COLORREF colour = !Enabled() ? unenabledfontcolor_ : active ? activefontcolor_ : font_.color;
  TCanvas(dc).DrawText(SectionFont(font_, colour), places_.textarea, Caption(), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TksSkinCheckRadioBox::DrawDefaultImage(TBitmap& bitmap) {
  if (flat_) {
    DrawFlat(bitmap, false);
    return;
  }
  TksSkinCustomControl::DrawDefaultImage(bitmap);
  HDC dc = bitmap.Dc();
  if (Active()) TCanvas(dc).FrameRect(ClientRect(), GetSysColor(COLOR_BTNSHADOW));
  DrawPlainMark(dc);
  const TFont font = PlainFont(Enabled() ? DefaultFont().Color() : GetSysColor(COLOR_BTNSHADOW));
  TCanvas(dc).DrawText(font, {19, 0, Width(), Height()}, Caption(), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TksSkinCheckRadioBox::DrawFlat(TBitmap& bitmap, bool skinned) {
  HDC dc = bitmap.Dc();
  CaptureParentSurface(Handle(), dc);
  const int h = Height();
  int x = Scaled(22);
  TFont font = PlainFont(Enabled() ? DefaultFont().Color() : GetSysColor(COLOR_BTNSHADOW));
  if (skinned) {
    const Rect mark = CheckMarkRect(rects_, checked_, Enabled(), mouseIn_);
    DrawSkinPiece(dc, Scaled(3), h / 2 - RectHeight(mark) / 2, mark);
    font = SectionFont(font_, Enabled() ? framefontcolor_ : unenabledfontcolor_);
    x = RectWidth(mark) + Scaled(3) + Scaled(4);
  } else {
    DrawPlainMark(dc);
  }
  const SIZE extent = CaptionExtent(dc, font, Caption(), false);
  const int top = h / 2 - extent.cy / 2;
  Rect text{x, top, std::min<int>(x + extent.cx, Width() - Scaled(2)), top + extent.cy};
  Rect image;
  if (images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count()) {
    const int iw = images_->Width(), ih = images_->Height();
    image = RectOfSize(text.left, h / 2 - ih / 2, iw, ih);
    ImageList_DrawEx(images_->Handle(), imageIndex_, dc, image.left, image.top, iw, ih, CLR_NONE, CLR_DEFAULT,
                     Enabled() ? ILD_NORMAL : ILD_BLEND50);
    text = text.Offset(iw + 5, 0);
  }
  TCanvas(dc).DrawText(font, text, Caption(), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  DrawFocusMark(dc, text, image);
}

void TksSkinCheckRadioBox::DrawPlainMark(HDC dc) {
  const int h = Height();
  const TColor shadow = GetSysColor(COLOR_BTNSHADOW);
  TCanvas(dc).FrameRect({3, h / 2 - 7, 17, h / 2 + 7}, mouseIn_ ? RGB(0, 0, 128) : shadow);
  if (!checked_) return;
  const COLORREF mark = Enabled() ? RGB(0, 0, 0) : shadow;
  if (radio_)
    DrawRadioDot(dc, 7, h / 2 - 3, mark);
  else
    DrawCheckMark(dc, 7, h / 2 - 4, mark);
}

void TksSkinCheckRadioBox::DrawFocusMark(HDC dc, Rect text, const Rect& image) const {
  if (!FocusedLook() || (Caption().empty() && image.IsEmpty())) return;
  // Round the caption, or round the image when there is no caption.
  const RECT r = Caption().empty() ? RECT{image.left - 1, image.top - 1, image.right + 1, image.bottom + 1}
                                   : RECT{text.left - 2, text.top - 1, text.right + 3, text.bottom + 1};
  DrawDottedFocusRect(dc, r);
}

// ------------------------------------------------------------ state, input

void TksSkinCheckRadioBox::EnabledChanged() {
  fader_.Stop();
  fader_.SetFactor(0);
  mouseIn_ = false;
  TksSkinCustomControl::EnabledChanged();
}

void TksSkinCheckRadioBox::WndProc(TMessage& m) {
  TksSkinCustomControl::WndProc(m);
  // A flat box shows the background of its new place.
  if (m.Msg == WM_MOVE && flat_) Invalidate();
}

void TksSkinCheckRadioBox::MouseEnter() {
  TksSkinCustomControl::MouseEnter();
  mouseIn_ = true;
  fader_.Refresh();
}

void TksSkinCheckRadioBox::MouseLeave() {
  TksSkinCustomControl::MouseLeave();
  mouseIn_ = false;
  fader_.Refresh();
}

void TksSkinCheckRadioBox::MouseButtonDown(TMouseButton button, TShiftState shift, Point p) {
  if (button == TMouseButton::mbLeft && canFocused_ && !Focused()) {
    SetFocus();
    if (!Focused()) return;  // the press is dropped
  }
  if (button == TMouseButton::mbLeft) pressed_ = true;
  if (!mouseIn_) {
    mouseIn_ = true;
    fader_.Refresh();
  }
}

void TksSkinCheckRadioBox::MouseButtonUp(TMouseButton button, TShiftState shift, Point p) {
  if (button != TMouseButton::mbLeft || !pressed_) return;
  pressed_ = false;
  if (mouseIn_) Toggle();
}

void TksSkinCheckRadioBox::FocusChanged(bool focused) {
  if (canFocused_) fader_.Refresh();
}

void TksSkinCheckRadioBox::KeyUp(WORD key, TShiftState shift) {
  if (key == VK_SPACE && FocusedLook()) Toggle();
}

bool TksSkinCheckRadioBox::DialogChar(wchar_t ch) {
  if (!canFocused_ || !CanFocus() || !IsAccelerator(ch, Caption())) return false;
  SetFocus();
  Toggle();
  return true;
}

bool TksSkinCheckRadioBox::DialogKey(WORD key, TShiftState shift) {
  const bool back = key == VK_LEFT || key == VK_UP, ahead = key == VK_RIGHT || key == VK_DOWN;
  if ((!back && !ahead) || !radio_ || groupIndex_ == 0 || !Parent()) return false;
  // The arrows walk the radio group, checking the box they reach.
  std::vector<TksSkinCheckRadioBox*> group;
  for (TControl* c : Parent()->Controls()) {
    auto* box = dynamic_cast<TksSkinCheckRadioBox*>(c);
    if (box && box->radio_ && box->groupIndex_ == groupIndex_ && (box == this || box->CanFocus())) group.push_back(box);
  }
  const size_t n = group.size(), at = size_t(std::find(group.begin(), group.end(), this) - group.begin());
  TksSkinCheckRadioBox* next = group[(at + (ahead ? 1 : n - 1)) % n];
  next->SetFocus();
  next->Toggle();
  return true;
}

// ------------------------------------------------------------ screen readers

std::vector<const TksSkinCheckRadioBox*> TksSkinCheckRadioBox::Group() const {
  if (groupIndex_ == 0 || !Parent()) return {this};
  std::vector<const TksSkinCheckRadioBox*> group;
  for (TControl* c : Parent()->Controls())
    if (auto* box = dynamic_cast<TksSkinCheckRadioBox*>(c); box && box->groupIndex_ == groupIndex_) group.push_back(box);
  return group;
}

long TksSkinCheckRadioBox::AccState(int child) const {
  long state = TksSkinCustomControl::AccState(child);
  if (child == 0 && checked_) state |= STATE_SYSTEM_CHECKED;
  if (child == 0 && mouseIn_) state |= STATE_SYSTEM_HOTTRACKED;
  return state;
}

std::wstring TksSkinCheckRadioBox::AccDefaultAction(int child) const {
  if (child != 0) return {};
  return !radio_ && checked_ ? L"清除" : L"选中";
}

void TksSkinCheckRadioBox::AccRunDefaultAction(int child) {
  if (child == 0 && CanFocus()) Toggle();
}

IDispatch* TksSkinCheckRadioBox::AccParent() const {
  if (!AccGroup()) return TksSkinCustomControl::AccParent();
  return NewAccessibleObject(std::make_unique<TksRadioGroupAccessible>(AccessibleLink()));
}

const void* TksSkinCheckRadioBox::AccGroup() const {
  if (!radio_ || groupIndex_ == 0 || !Parent()) return nullptr;
  // The group is known by its first box.
  return Group().front();
}

}  // namespace kelmar
