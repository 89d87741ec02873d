#include "skin/controls/skin_combo_box_win32.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/clock.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"

namespace kelmar {

namespace {

void DrawItemText(HDC dc, const TFont& font, const std::wstring& text, const Rect& r) {
  ScopedSelect select(dc, font.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, font.Color());
  DrawTextInRect(dc, text, r);
}

bool IsPress(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return true;
  }
  return false;
}

}  // namespace

// -------------------------------------------------------------- TksComboEdit

TksComboEdit::TksComboEdit(TksSkinCustomComboBox* combo) : TWinControl(combo, "Edit"), combo_(combo) {}

void TksComboEdit::CreateParams(TCreateParams& params) {
  params.ClassName = L"EDIT";
  params.Style |= ES_AUTOHSCROLL | (combo_->HideSelection ? 0 : ES_NOHIDESEL);
}

void TksComboEdit::CommandNotify(WORD code) {
  if (code != EN_CHANGE) return;
  const int n = GetWindowTextLengthW(Handle());
  std::wstring text(size_t(n) + 1, L'\0');
  GetWindowTextW(Handle(), text.data(), n + 1);
  text.resize(size_t(n));
  combo_->EditTextChanged(text);
}

HBRUSH TksComboEdit::CtlColor(HDC dc) {
  SetTextColor(dc, Font().Color());
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  if (!background_) background_ = BrushHandle(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  return background_;
}

// Keys that move through the list or open and close it belong to the combo
// box; the rest edit the text.
void TksComboEdit::WndProc(TMessage& m) {
  if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
    switch (m.WParam) {
      case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_F4:
        combo_->ComboKey(WORD(m.WParam), ShiftFromKeyboard());
        return;
    }
  }
  TWinControl::WndProc(m);
  if (m.Msg == WM_GETDLGCODE) m.Result |= DLGC_WANTARROWS;
}

// ----------------------------------------------------- TksSkinCustomComboBox

TksSkinCustomComboBox::TksSkinCustomComboBox(TComponent* owner, std::string name)
    : TksSkinCustomControl(owner, std::move(name)),
      list_(new TksPopupListBox(this, "ListBox")),
      autoScrollTimer_(new TTimer(this, "AutoScrollTimer", 25)) {
  SetSkinDataName("combobox");
  SetBounds(0, 0, 120, 20);
  SetTabStop(true);
  CaptureMouseOnPress = true;
  Font() = TFont(L"宋体", 14, GetSysColor(COLOR_WINDOWTEXT));
  list_->InnerList()->SetTabStop(false);
  listFilter_ = list_->InnerList()->AddFilter([this](TMessage& m, const TWindowNext& next) { ListMessage(m, next); });
  autoScrollTimer_->SetEnabled(false);
  autoScrollTimer_->OnTimer = [this] { AutoScrollTick(); };
}

void TksSkinCustomComboBox::HandleCreated() {
  TksSkinCustomControl::HandleCreated();
  list_->SetOwnerWindow(GetAncestor(Handle(), GA_ROOT));
  PlaceEdit();
}

const TksDataSkinComboBox* TksSkinCustomComboBox::ComboSection() const {
  return dynamic_cast<const TksDataSkinComboBox*>(SectionRecord());
}

TksComboBoxAreas TksSkinCustomComboBox::Areas() {
  ReadSkinSection();
  const TksDataSkinComboBox* section = ComboSection();
  return section ? SkinComboBoxAreas(*section, useSkinSize_, Width(), Height())
                 : DefaultComboBoxAreas(Width(), Height());
}

// ------------------------------------------------------------- properties

void TksSkinCustomComboBox::SetItems(std::vector<std::wstring> items) {
  list_->SetItems(std::move(items));
  savedIndex_ = -1;
  Invalidate();
}

void TksSkinCustomComboBox::SetItemIndex(int index) {
  list_->SetItemIndex(index);
  const int selected = list_->ItemIndex();
  if (Count() > 0 && selected >= 0) SetText(Items()[size_t(selected)]);
  savedIndex_ = selected;
  if (!edit_) Invalidate();
  Selected();
}

void TksSkinCustomComboBox::Selected() {
  if (OnClick) OnClick();
  SelectionChanged();
}

void TksSkinCustomComboBox::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  if (edit_ && !editChanging_) edit_->SetCaption(text);
  Invalidate();
  AccNotify(EVENT_OBJECT_VALUECHANGE, Handle());
  if (OnChange) OnChange();
  if (editChanging_) SelectionChanged();
}

void TksSkinCustomComboBox::EditTextChanged(const std::wstring& text) {
  editChanging_ = true;
  SetText(text);
  editChanging_ = false;
  // The list follows what is typed.
  if (DroppedDown()) {
    const int found = list_->FindPrefix(text, -1);
    if (found >= 0) list_->SetItemIndex(found);
  }
}

void TksSkinCustomComboBox::SetDropDownCount(int count) {
  if (count > 0) dropDownCount_ = count;
}

void TksSkinCustomComboBox::SetUseSkinSize(bool on) {
  useSkinSize_ = on;
  ApplySkinChange();
}

void TksSkinCustomComboBox::SetImages(TImageList* images) {
  list_->SetImages(images);
  Invalidate();
}

void TksSkinCustomComboBox::SetImageIndex(int index) {
  list_->SetImageIndex(index);
  Invalidate();
}

void TksSkinCustomComboBox::SetStyle(TksSkinCustomComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  if (style == TksSkinCustomComboBoxStyle::kscbEditStyle) {
    const bool focused = Focused();
    SetTabStop(false);
    edit_ = new TksComboEdit(this);
    edit_->SetCaption(text_);
    edit_->SetParent(this);
    PlaceEdit();
    if (focused) edit_->SetFocus();
  } else {
    SetTabStop(true);
    delete edit_;
    edit_ = nullptr;
  }
  Invalidate();
}

void TksSkinCustomComboBox::PlaceEdit() {
  if (!edit_) return;
  const Rect item = Areas().item;
  TBitmap probe(1, 1);
  const int h = std::min(int(CaptionExtent(probe.Dc(), edit_->Font(), L"Wg", false).cy), item.Height());
  edit_->SetBounds(item.left, item.top + (item.Height() - h) / 2, item.Width(), h);
}

void TksSkinCustomComboBox::BoundsChanged() {
  TksSkinCustomControl::BoundsChanged();
  PlaceEdit();
}

void TksSkinCustomComboBox::DefaultFontChanged() { Font() = DefaultFont(); }

void TksSkinCustomComboBox::EnabledChanged() {
  if (!Enabled()) CloseDropDown(false);
  TksSkinCustomControl::EnabledChanged();
}

// ------------------------------------------------------------- skin change

void TksSkinCustomComboBox::FitToSkin(int& width, int& height) {
  if (useSkinSize_) {
    TksSkinCustomControl::FitToSkin(width, height);
    return;
  }
  if (SectionIndex() < 0) return;
  const int dx = width - RectWidth(geometry_.skinrect);
  scaled_.lefttoppoint = geometry_.lefttoppoint;
  scaled_.righttoppoint = {geometry_.righttoppoint.x + dx, geometry_.righttoppoint.y};
  scaled_.clientrect = geometry_.clientrect;
  scaled_.clientrect.right += dx;
}

void TksSkinCustomComboBox::UpdateSkinRegion() {
  if (useSkinSize_) TksSkinCustomControl::UpdateSkinRegion();
}

void TksSkinCustomComboBox::PrepareSkinChange() {
  TksSkinCustomControl::PrepareSkinChange();
  list_->PrepareSkinChange();
}

void TksSkinCustomComboBox::ApplySkinChange() {
  TksSkinCustomControl::ApplySkinChange();
  if (edit_) {
    const TksDataSkinComboBox* section = ComboSection();
    const COLORREF colour = section ? section->font.color : DefaultFont().Color();
    edit_->Font() = section ? SectionFont(section->font, colour) : PlainFont(colour);
    PlaceEdit();
  }
  Invalidate();
  const TksDataSkinComboBox* section = ComboSection();
  list_->SetSkinDataName(section ? section->listboxname : std::string());
  list_->SetSkinData(SkinData());
}

// ----------------------------------------------------------------- looks

void TksSkinCustomComboBox::DrawSkinImage(TBitmap& bitmap) {
  const TksDataSkinComboBox* section = ComboSection();
  if (!section || !picture_) return;
  const TksComboBoxAreas areas = Areas();
  // The box.
  if (useSkinSize_) {
    ComposeSkinImage(bitmap, geometry_.skinrect);
  } else {
    Image frame;
    ComposeHorizontal(picture_->View().Sub(geometry_.skinrect), geometry_.lefttoppoint.x,
                      RectWidth(geometry_.skinrect) - geometry_.righttoppoint.x, Width(), frame);
    CopyImageRect(bitmap.Pixels(), ClientRect(), frame.View(), frame.Bounds());
  }
  // The button: the normal one is part of the box.
  const Rect* button = nullptr;
  if (!Enabled() && !RectIsEmpty(section->unenabledbuttonrect))
    button = &section->unenabledbuttonrect;
  else if (buttonPressed_ && buttonHot_)
    button = &section->downbuttonrect;
  else if (buttonHot_)
    button = &section->activebuttonrect;
  if (button && !RectIsEmpty(*button)) CopyImageRect(bitmap.Pixels(), areas.button, picture_->View(), *button);
  if (edit_) return;

  const int w = areas.item.Width();
  if (w <= 0) return;
  Rect text = ComboItemTextRect(*section, w);
  int h = ComboItemImageHeight(*section, areas.item);
  if (!useSkinSize_) {
    text.bottom += Height() - RectHeight(geometry_.skinrect);
    h = areas.item.Height();
  }
  const bool focused = Focused();
  const Rect& background = focused ? section->focusitemrect : section->itemrect;
  TBitmap item(w, h);
  if (RectIsEmpty(background)) {
    // No item picture: the box shows through.
    BitBlt(item.Dc(), 0, 0, w, h, bitmap.Dc(), areas.item.left, areas.item.top, SRCCOPY);
  } else {
    Image composed;
    ComposeHorizontal(picture_->View().Sub(background), section->itemleftoffset, section->itemrightoffset, w,
                      composed);
    CopyImageRect(item.Pixels(), {0, 0, w, h}, composed.View(), composed.Bounds());
  }
  const TFont font = SectionFont(section->font, focused ? section->focusfontcolor : section->font.color);
  DrawItem(item, font, text);
  BitBlt(bitmap.Dc(), areas.item.left, areas.item.top, w, h, item.Dc(), 0, 0, SRCCOPY);
}

void TksSkinCustomComboBox::DrawDefaultImage(TBitmap& bitmap) {
  HDC dc = bitmap.Dc();
  TCanvas canvas(dc);
  const TksComboBoxAreas areas = Areas();
  canvas.FillRect(ClientRect(), GetSysColor(COLOR_BTNFACE));
  canvas.FrameRect(ClientRect(), GetSysColor(COLOR_BTNSHADOW));
  canvas.FillRect({1, 1, Width() - 1, Height() - 1}, GetSysColor(COLOR_WINDOW));
  DrawDefaultStateBox(dc, areas.button, buttonPressed_ && buttonHot_, buttonHot_);
  DrawArrow(dc, areas.button, Enabled() ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNSHADOW), 4);
  if (edit_) return;

  const int w = areas.item.Width(), h = areas.item.Height();
  if (w <= 0 || h <= 0) return;
  const bool focused = Focused();
  TBitmap item(w, h);
  TCanvas(item.Dc()).FillRect({0, 0, w, h}, GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  TFont font = Font();
  font.SetColor(GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawItem(item, font, {2, 0, w - 2, h});
  if (focused) {
    const RECT all{0, 0, w, h};
    DrawFocusRect(item.Dc(), &all);
  }
  BitBlt(dc, areas.item.left, areas.item.top, w, h, item.Dc(), 0, 0, SRCCOPY);
}

// The item shown: the one from before the list opened while it is open.
void TksSkinCustomComboBox::DrawItem(TBitmap& bitmap, const TFont& font, const Rect& text) {
  const int index = DroppedDown() ? savedIndex_ : ItemIndex();
  if (index < 0 || index >= Count()) return;
  HDC dc = bitmap.Dc();
  if (OnComboBoxDrawItem) {
    TCanvas canvas(dc);
    OnComboBoxDrawItem(canvas, index, TksItemState{true, Focused()}, text);
    return;
  }
  Rect r = text;
  DrawItemImage(dc, Images(), ImageIndex(), index, r);
  DrawItemText(dc, font, Items()[size_t(index)], r);
}

// -------------------------------------------------------------- drop-down

void TksSkinCustomComboBox::OpenDropDown() {
  if (DroppedDown() || Count() == 0) return;
  enteredList_ = false;
  SetAutoScroll(0);
  if (OnDropDown) OnDropDown();
  list_->MakeWindow(GetAncestor(Handle(), GA_ROOT));
  // The list pops up outside the form's tree of controls, so a change of
  // scale does not reach it there: it takes the combo box's as it opens.
  if (list_->Dpi() != Dpi()) list_->ScaleChildren(Dpi());
  const int rows = std::min(Count(), dropDownCount_);
  const int height = list_->HeightForRows(rows);
  const int width = ListBoxWidth > 0 ? ListBoxWidth : Width();
  const Rect combo = WindowBounds(Handle());
  Rect work = combo;
  GetMonitorWorkArea(Handle(), true, work);
  const Point at = DropDownOrigin(combo, height, work);
  if (edit_) edit_->SetFocus();
  list_->SetBounds(at.x, at.y, width, height);
  savedIndex_ = list_->ItemIndex();
  // Selecting another row and back brings the inner list's own state in
  // step with the selection.
  if (savedIndex_ == 0 && Count() >= 2) {
    list_->SetItemIndex(1);
    list_->SetItemIndex(0);
  }
  list_->SetTopIndex(std::max(savedIndex_, 0));
  list_->AccessibleName = AccName(0);
  ShowList();
  WatchOutsidePresses(true);
  Invalidate();
  AccNotify(EVENT_OBJECT_STATECHANGE, Handle());
}

void TksSkinCustomComboBox::ShowList() {
  const bool fade = ListBoxAlphaBlend && ListBoxAlphaBlendAnimation;
  if (LayeredWindowsAvailable()) {
    list_->SetLayered(ListBoxAlphaBlend);
    if (ListBoxAlphaBlend && list_->Opacity() != ListBoxAlphaBlendValue)
      list_->SetOpacity(fade ? 0 : ListBoxAlphaBlendValue);
  }
  list_->SetVisible(true);
  if (!fade || !list_->Layered()) return;
  Application().ProcessMessages();
  for (int alpha = 0; alpha < ListBoxAlphaBlendValue && list_->Visible();) {
    alpha = std::min(alpha + 2, int(ListBoxAlphaBlendValue));
    list_->SetOpacity(uint8_t(alpha));
  }
}

void TksSkinCustomComboBox::CloseDropDown(bool accept) {
  if (!DroppedDown()) return;
  list_->SetVisible(false);
  AccNotify(EVENT_OBJECT_STATECHANGE, Handle());
  WatchOutsidePresses(false);
  SetAutoScroll(0);
  const int selected = list_->ItemIndex();
  if (selected < 0) {
    list_->SetItemIndex(savedIndex_);
  } else if (selected < Count() && accept) {
    const std::wstring& item = Items()[size_t(selected)];
    if (edit_) {
      edit_->SetCaption(item);
      edit_->Perform(EM_SETSEL, 0, -1);
    } else {
      SetText(item);
    }
    Selected();
  } else {
    list_->SetItemIndex(savedIndex_);
  }
  Invalidate();
  if (accept && OnCloseUp) OnCloseUp();
}

// A press anywhere but on the combo box and its list closes the list.
void TksSkinCustomComboBox::WatchOutsidePresses(bool on) {
  if (!on) {
    pressFilter_.Reset();
    return;
  }
  if (pressFilter_) return;
  pressFilter_ = Application().AddLoopFilter([this](MSG& msg, const TLoopFilters::Next& next) {
    if (IsPress(msg.message)) {
      const bool ours = msg.hwnd == Handle() || msg.hwnd == list_->Handle() || IsChild(list_->Handle(), msg.hwnd) ||
                        (edit_ && msg.hwnd == edit_->Handle());
      if (!ours) CloseDropDown(false);
    }
    next(msg);
  });
}

void TksSkinCustomComboBox::FormMoved() { CloseDropDown(false); }

// ------------------------------------------------------------------ mouse

void TksSkinCustomComboBox::MouseButtonDown(TMouseButton button, TShiftState shift, Point p) {
  if (!edit_ && !Focused()) SetFocus();
  if (button != TMouseButton::mbLeft) return;
  const TksComboBoxAreas areas = Areas();
  const bool opens =
      areas.button.Contains(p) || (style_ == TksSkinCustomComboBoxStyle::kscbFixedStyle && areas.item.Contains(p));
  if (!opens) {
    CloseDropDown(false);
    return;
  }
  buttonHot_ = areas.button.Contains(p);
  buttonPressed_ = true;
  Invalidate();
  if (DroppedDown()) {
    CloseDropDown(false);
    return;
  }
  enteredList_ = false;
  tracking_ = true;
  OpenDropDown();
}

void TksSkinCustomComboBox::MouseMoved(TShiftState shift, Point p) {
  if (tracking_) {
    TrackList(p);
    return;
  }
  const bool hot = Areas().button.Contains(p);
  if (hot == buttonHot_) return;
  buttonHot_ = hot;
  Invalidate();
}

void TksSkinCustomComboBox::MouseButtonUp(TMouseButton button, TShiftState shift, Point p) {
  if (button == TMouseButton::mbLeft) {
    const bool close = tracking_ && enteredList_;
    tracking_ = false;
    SetAutoScroll(0);
    if (close) {
      if (GetCapture() == Handle()) ReleaseCapture();
      POINT at{p.x, p.y};
      ClientToScreen(Handle(), &at);
      CloseDropDown(WindowFromPoint(at) == list_->InnerList()->Handle());
    }
  }
  if (buttonPressed_) {
    buttonPressed_ = false;
    Invalidate();
  }
}

void TksSkinCustomComboBox::MouseLeave() {
  if (!buttonHot_) return;
  buttonHot_ = false;
  Invalidate();
}

void TksSkinCustomComboBox::CaptureLost() {
  tracking_ = false;
  SetAutoScroll(0);
}

// The pointer, held since a press on the box or in the list, over the list.
void TksSkinCustomComboBox::TrackList(Point p) {
  TksListBox* inner = list_->InnerList();
  POINT at{p.x, p.y};
  MapWindowPoints(Handle(), inner->Handle(), &at, 1);
  const bool bar = list_->ScrollBar() && list_->ScrollBar()->Visible();
  if (at.y < 0) {
    if (bar && enteredList_) SetAutoScroll(1);
  } else if (at.y >= inner->Height()) {
    if (bar && enteredList_) SetAutoScroll(2);
  } else {
    SetAutoScroll(0);
    list_->HotTrack(at.y);
    enteredList_ = true;
  }
}

void TksSkinCustomComboBox::SetAutoScroll(int mode) {
  if (mode == autoScroll_) return;
  autoScroll_ = mode;
  autoScrollTimer_->SetEnabled(false);
  autoScrollTimer_->SetEnabled(mode != 0);
}

void TksSkinCustomComboBox::AutoScrollTick() {
  const int selected = list_->ItemIndex();
  if (autoScroll_ == 1 && selected > 0) list_->SetItemIndex(selected - 1);
  if (autoScroll_ == 2 && selected < Count() - 1) list_->SetItemIndex(selected + 1);
}

// The inner list's mouse: rows follow the free pointer; a press there
// starts tracking by the combo box, and no other press reaches the list.
void TksSkinCustomComboBox::ListMessage(TMessage& m, const TWindowNext& next) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (!(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) list_->HotTrack(short(HIWORD(m.LParam)));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      tracking_ = true;
      enteredList_ = true;
      SetCapture(Handle());
      return;
    case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      return;
    case WM_MOUSEWHEEL:
      m.Result = Perform(m.Msg, m.WParam, m.LParam);
      return;
  }
  next(m);
}

// ------------------------------------------------------------------- keys

bool TksSkinCustomComboBox::DialogKey(WORD key, TShiftState shift) {
  if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown()) {
    CloseDropDown(key == VK_RETURN);
    return true;
  }
  return false;
}

void TksSkinCustomComboBox::KeyDown(WORD key, TShiftState shift) {
  if (style_ == TksSkinCustomComboBoxStyle::kscbFixedStyle) ComboKey(key, shift);
}

void TksSkinCustomComboBox::ComboKey(WORD key, TShiftState shift) {
  const int selected = ItemIndex();
  switch (key) {
    case VK_RETURN:
      CloseDropDown(true);
      break;
    case VK_ESCAPE:
      CloseDropDown(false);
      break;
    case VK_UP:
    case VK_LEFT:
      if (shift.alt)
        CloseDropDown(false);
      else if (selected > 0)
        SetItemIndex(selected - 1);
      break;
    case VK_DOWN:
    case VK_RIGHT:
      if (shift.alt)
        OpenDropDown();
      else if (selected < Count() - 1)
        SetItemIndex(selected + 1);
      break;
    case VK_F4:
      if (DroppedDown())
        CloseDropDown(false);
      else
        OpenDropDown();
      break;
    case VK_HOME:
      if (Count() > 0 && selected != 0) SetItemIndex(0);
      break;
    case VK_END:
      if (Count() > 0 && selected != Count() - 1) SetItemIndex(Count() - 1);
      break;
    case VK_PRIOR:
      if (Count() > 0) SetItemIndex(PageUpIndex(selected, dropDownCount_));
      break;
    case VK_NEXT:
      if (Count() > 0) SetItemIndex(PageDownIndex(selected, dropDownCount_, Count()));
      break;
  }
}

void TksSkinCustomComboBox::KeyPress(wchar_t ch) {
  if (ch < L' ' || style_ != TksSkinCustomComboBoxStyle::kscbFixedStyle) return;
  const std::wstring& search = typeAhead_.Add(ch, Application().Clock().Now(), AutoComplete);
  const int found = list_->FindPrefix(search, search.size() == 1 ? ItemIndex() : -1);
  if (found >= 0) SetItemIndex(found);
}

// One item on: through the selection while the list is closed, through the
// list's rows only while it is open.
void TksSkinCustomComboBox::Step(int delta) {
  const int selected = ItemIndex();
  const int next = selected + delta;
  if (next < 0 || next >= Count()) return;
  if (DroppedDown())
    list_->SetItemIndex(next);
  else
    SetItemIndex(next);
}

void TksSkinCustomComboBox::FocusChanged(bool focused) {
  if (focused && edit_) edit_->SetFocus();
  if (!focused && style_ == TksSkinCustomComboBoxStyle::kscbFixedStyle) CloseDropDown(false);
  Invalidate();
}

void TksSkinCustomComboBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEWHEEL:
      if (style_ == TksSkinCustomComboBoxStyle::kscbFixedStyle) {
        Step(GET_WHEEL_DELTA_WPARAM(m.WParam) <= 0 ? 1 : -1);
        m.Result = 0;
        return;
      }
      break;
    case WM_CANCELMODE:
      CloseDropDown(false);
      break;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
  }
  TksSkinCustomControl::WndProc(m);
}

// ------------------------------------------------------------ screen readers

int TksSkinCustomComboBox::AccChildCount() const { return list_->HandleAllocated() ? 1 : 0; }

IDispatch* TksSkinCustomComboBox::AccChildObject(int child) const {
  return child == 1 ? ClientObjectOf(list_->Handle()) : nullptr;
}

long TksSkinCustomComboBox::AccState(int child) const {
  long state = TksSkinCustomControl::AccState(child);
  if (child == 0) state |= DroppedDown() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
  if (child == 0 && edit_ && edit_->Focused()) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

std::wstring TksSkinCustomComboBox::AccDefaultAction(int child) const {
  if (child != 0) return {};
  return DroppedDown() ? L"关闭" : L"打开";
}

void TksSkinCustomComboBox::AccRunDefaultAction(int child) {
  if (child != 0 || !CanFocus()) return;
  if (DroppedDown())
    CloseDropDown(false);
  else
    OpenDropDown();
}

}  // namespace kelmar
