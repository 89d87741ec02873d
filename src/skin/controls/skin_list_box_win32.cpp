#include "skin/controls/skin_list_box_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/combo_box_geometry.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"

namespace kelmar {

namespace {

// Messages after which the inner list may have scrolled or changed its rows.
bool MayScroll(UINT msg) {
  switch (msg) {
    case LB_SETCURSEL: case LB_SETTOPINDEX: case LB_ADDSTRING: case LB_INSERTSTRING: case LB_DELETESTRING:
    case LB_RESETCONTENT: case LB_SETITEMHEIGHT: case WM_VSCROLL: case WM_MOUSEWHEEL: case WM_KEYDOWN:
    case WM_SIZE: case WM_LBUTTONDOWN: case WM_MOUSEMOVE:
      return true;
  }
  return false;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(), int(b.size())) ==
         CSTR_LESS_THAN;
}

}  // namespace

void DrawItemImage(HDC dc, const TImageList* images, int image_index, int item, Rect& text) {
  if (!images) return;
  const int n = image_index < 0 ? item : image_index;
  if (n < images->Count())
    ImageList_Draw(images->Handle(), n, dc, text.left, text.top + (text.Height() - images->Height()) / 2,
                   ILD_TRANSPARENT);
  text.left += images->Width() + 2;
}

void TksListBox::CreateParams(TCreateParams& params) {
  params.ClassName = L"LISTBOX";
  params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
}

// ------------------------------------------------------ TksSkinCustomListBox

TksSkinCustomListBox::TksSkinCustomListBox(TComponent* owner, std::string name)
    : TksSkinCustomControl(owner, std::move(name)), list_(new TksListBox(this, "ListBox")) {
  SetSkinDataName("listbox");
  SetBounds(0, 0, 120, 80);
  list_->SetParent(this);
  listFilter_ = list_->AddFilter([this](TMessage& m, const TWindowNext& next) { ListMessage(m, next); });
}

void TksSkinCustomListBox::HandleCreated() {
  TksSkinCustomControl::HandleCreated();
  FillInnerList();
  UpdateItemHeight();
  LayOut();
}

const TksDataSkinListBox* TksSkinCustomListBox::ListSection() const {
  return dynamic_cast<const TksDataSkinListBox*>(SectionRecord());
}

// ------------------------------------------------------------------ items

void TksSkinCustomListBox::FillInnerList() {
  if (!list_->HandleAllocated()) return;
  list_->Perform(LB_RESETCONTENT);
  for (const auto& text : items_) list_->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  list_->Perform(LB_SETCURSEL, WPARAM(itemIndex_));
}

void TksSkinCustomListBox::SetItems(std::vector<std::wstring> items) {
  items_ = std::move(items);
  if (sorted_) std::stable_sort(items_.begin(), items_.end(), LessIgnoringCase);
  itemIndex_ = -1;
  FillInnerList();
  LayOut();
}

void TksSkinCustomListBox::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (!sorted) return;
  const int selected = ItemIndex();
  const std::wstring text = selected >= 0 ? items_[size_t(selected)] : std::wstring();
  SetItems(std::move(items_));
  if (selected >= 0)
    SetItemIndex(int(std::find(items_.begin(), items_.end(), text) - items_.begin()));
}

int TksSkinCustomListBox::ItemIndex() const {
  return list_->HandleAllocated() ? int(list_->Perform(LB_GETCURSEL)) : itemIndex_;
}

void TksSkinCustomListBox::SetItemIndex(int index) {
  const int before = ItemIndex();
  itemIndex_ = index >= 0 && index < Count() ? index : -1;
  if (list_->HandleAllocated()) list_->Perform(LB_SETCURSEL, WPARAM(itemIndex_));
  if (itemIndex_ >= 0 && itemIndex_ != before) AccNotify(EVENT_OBJECT_SELECTION, Handle(), itemIndex_ + 1);
}

int TksSkinCustomListBox::TopIndex() const {
  return list_->HandleAllocated() ? int(list_->Perform(LB_GETTOPINDEX)) : 0;
}

void TksSkinCustomListBox::SetTopIndex(int index) {
  if (list_->HandleAllocated()) list_->Perform(LB_SETTOPINDEX, WPARAM(std::max(index, 0)));
}

int TksSkinCustomListBox::FindPrefix(const std::wstring& text, int start) const {
  // As the system's list finds a string (its window may not be made yet):
  // the first item after start, round to the beginning, that begins with
  // text in any case.
  const int n = Count();
  if (text.empty() || n == 0) return -1;
  const int first = start >= 0 && start < n ? start + 1 : 0;
  for (int i = 0; i < n; ++i) {
    const std::wstring& item = items_[size_t((first + i) % n)];
    if (item.size() >= text.size() &&
        CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, item.c_str(), int(text.size()), text.c_str(),
                       int(text.size())) == CSTR_EQUAL)
      return (first + i) % n;
  }
  return -1;
}

void TksSkinCustomListBox::HotTrack(int y) {
  if (!list_->HandleAllocated() || y < 0 || y >= list_->Height()) return;
  const int row = TopIndex() + y / std::max(itemHeight_, 1);
  if (row < Count() && row != ItemIndex()) SetItemIndex(row);
}

// ------------------------------------------------------------ properties

void TksSkinCustomListBox::SetUseSkinItemHeight(bool on) {
  useSkinItemHeight_ = on;
  UpdateItemHeight();
  LayOut();
}

void TksSkinCustomListBox::SetDefaultItemHeight(int height) {
  if (height <= 0) return;
  defaultItemHeight_ = height;
  UpdateItemHeight();
  LayOut();
}

void TksSkinCustomListBox::SetImages(TImageList* images) {
  images_ = images;
  if (list_->HandleAllocated()) InvalidateRect(list_->Handle(), nullptr, FALSE);
}

void TksSkinCustomListBox::SetImageIndex(int index) {
  imageIndex_ = index;
  if (list_->HandleAllocated()) InvalidateRect(list_->Handle(), nullptr, FALSE);
}

int TksSkinCustomListBox::HeightForRows(int rows) const { return DropDownHeight(ListSection(), rows, itemHeight_); }

void TksSkinCustomListBox::UpdateItemHeight() {
  const TksDataSkinListBox* section = ListSection();
  const int skin_height = section ? RectHeight(section->itemrect) : 0;
  itemHeight_ = section && useSkinItemHeight_ && skin_height > 0 ? skin_height : defaultItemHeight_;
  if (list_->HandleAllocated()) list_->Perform(LB_SETITEMHEIGHT, 0, itemHeight_);
}

// ------------------------------------------------------------- skin change

void TksSkinCustomListBox::PrepareSkinChange() {
  TksSkinCustomControl::PrepareSkinChange();
  if (scrollBar_) scrollBar_->PrepareSkinChange();
}

void TksSkinCustomListBox::ApplySkinChange() {
  TksSkinCustomControl::ApplySkinChange();
  UpdateItemHeight();
  if (scrollBar_) {
    const TksDataSkinListBox* section = ListSection();
    scrollBar_->SetSkinDataName(section ? section->vscrollbarname : std::string());
    scrollBar_->SetSkinData(SkinData());
  }
  LayOut();
  if (list_->HandleAllocated()) InvalidateRect(list_->Handle(), nullptr, FALSE);
}

// ------------------------------------------------------------------ layout

void TksSkinCustomListBox::BoundsChanged() {
  TksSkinCustomControl::BoundsChanged();
  LayOut();
}

// The inner list fills the frame's client part; the scroll bar, when the
// rows do not all fit, takes its right edge.
void TksSkinCustomListBox::LayOut() {
  if (!HandleAllocated() || !list_->HandleAllocated()) return;
  ReadSkinSection();
  const TksDataSkinListBox* section = ListSection();
  Rect r{2, 2, Width() - 2, Height() - 2};
  if (section) {
    int w = Width(), h = Height();
    FitToSkin(w, h);
    r = scaled_.clientrect;
  }
  const TksListScrollState s = ListScrollState(Count(), TopIndex(), r.Height(), itemHeight_);
  if (s.needed && !scrollBar_) {
    scrollBar_ = new TksSkinScrollBar(this, "VScrollBar");
    scrollBar_->SetKind(TScrollBarKind::sbVertical);
    scrollBar_->SetSkinDataName(section ? section->vscrollbarname : std::string());
    scrollBar_->SetSkinData(SkinData());
    scrollBar_->SetVisible(false);
    scrollBar_->SetParent(this);
    scrollBar_->OnChange = [this] { SetTopIndex(scrollBar_->Position()); };
  }
  if (scrollBar_) {
    if (s.needed) {
      // The section may keep the bar at its own width.
      scrollBar_->SetBounds(r.right - 19, r.top, 19, r.Height());
      const int x = r.right - scrollBar_->Width();
      scrollBar_->SetBounds(x, r.top, scrollBar_->Width(), r.Height());
      r.right = x;
    }
    scrollBar_->SetVisible(s.needed);
  }
  list_->SetBounds(r.left, r.top, std::max(r.Width(), 0), std::max(r.Height(), 0));
  SyncScrollBar();
}

void TksSkinCustomListBox::SyncScrollBar() {
  if (!scrollBar_ || !list_->HandleAllocated()) return;
  const TksListScrollState s = ListScrollState(Count(), TopIndex(), list_->Height(), itemHeight_);
  if (s.needed != scrollBar_->Visible()) {
    LayOut();
    return;
  }
  scrollBar_->SetRange(s.min, s.max, s.page, s.position);
  if (scrollBar_->LargeChange() != s.page) scrollBar_->SetLargeChange(s.page);
}

// ----------------------------------------------------------------- messages

void TksSkinCustomListBox::ListMessage(TMessage& m, const TWindowNext& next) {
  if (m.Msg == WM_ERASEBKGND) {
    // Rows below the last item show as empty unselected rows.
    RECT rc;
    GetClientRect(list_->Handle(), &rc);
    const int used = std::max(Count() - TopIndex(), 0) * itemHeight_;
    for (int y = used; y < rc.bottom; y += itemHeight_) {
      DRAWITEMSTRUCT d{};
      d.itemID = UINT(-1);
      d.hDC = reinterpret_cast<HDC>(m.WParam);
      d.rcItem = {0, y, rc.right, y + itemHeight_};
      DrawItem(d);
    }
    m.Result = 1;
    return;
  }
  next(m);
  if (MayScroll(m.Msg)) SyncScrollBar();
}

void TksSkinCustomListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = UINT(itemHeight_);
      m.Result = TRUE;
      return;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
  }
  TksSkinCustomControl::WndProc(m);
}

// ------------------------------------------------------------------ looks

void TksSkinCustomListBox::DrawDefaultImage(TBitmap& bitmap) {
  TCanvas canvas(bitmap.Dc());
  canvas.FillRect(ClientRect(), GetSysColor(COLOR_BTNFACE));
  canvas.FrameRect(ClientRect(), GetSysColor(COLOR_BTNSHADOW));
}

// One row (or, for item −1, an empty row) into a picture of its own, then
// onto the list.
void TksSkinCustomListBox::DrawItem(const DRAWITEMSTRUCT& d) {
  const int w = d.rcItem.right - d.rcItem.left, h = d.rcItem.bottom - d.rcItem.top;
  if (w <= 0 || h <= 0) return;
  const int index = int(d.itemID);
  const bool item = index >= 0 && index < Count();
  TksItemState state;
  state.selected = item && (d.itemState & ODS_SELECTED);
  state.focused = item && (d.itemState & ODS_FOCUS);
  TBitmap row(w, h);
  HDC dc = row.Dc();
  TCanvas canvas(dc);
  ReadSkinSection();
  const TksDataSkinListBox* section = ListSection();
  const bool skinned = section && picture_;
  Rect text;
  TFont font;
  if (skinned) {
    const Rect& piece = state.selected && state.focused ? section->focusitemrect
                        : state.selected               ? section->activeitemrect
                                                       : section->itemrect;
    const uint32_t colour = state.selected && state.focused ? section->focusfontcolor
                            : state.selected               ? section->activefontcolor
                                                           : section->font.color;
    canvas.FillRect({0, 0, w, h}, GetSysColor(COLOR_WINDOW));
    const Rect from = RectIsEmpty(piece) ? section->itemrect : piece;
    if (!RectIsEmpty(from)) {
      Image composed;
      ComposeHorizontal(picture_->View().Sub(from), section->itemleftoffset, section->itemrightoffset, w, composed);
      CopyImageRect(row.Pixels(), composed.Bounds(), composed.View(), composed.Bounds());
    }
    text = section->itemtextrect;
    text.right += w - RectWidth(section->itemrect);
    font = SectionFont(section->font, colour);
  } else {
    canvas.FillRect({0, 0, w, h}, GetSysColor(state.selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    text = {2, 0, w - 2, h};
    font = PlainFont(state.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : DefaultFont().Color());
  }
  // A focused row without the selection look shows the focus frame.
  if (state.focused && (!state.selected || !skinned)) {
    const RECT all{0, 0, w, h};
    DrawFocusRect(dc, &all);
  }
  if (item) {
    if (OnDrawItem) {
      OnDrawItem(canvas, index, state, text);
    } else {
      DrawItemImage(dc, images_.Get(), imageIndex_, index, text);
      canvas.DrawText(font, text, items_[size_t(index)], DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }
  }
  BitBlt(d.hDC, d.rcItem.left, d.rcItem.top, w, h, dc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------- TksPopupListBox

// Its window is made when it first opens (TksSkinCustomComboBox::OpenDropDown):
// a start makes no window for a list nobody opened.
TksPopupListBox::TksPopupListBox(TComponent* owner, std::string name) : TksSkinListBox(owner, std::move(name)) {
  SetVisible(false);
}

void TksPopupListBox::CreateParams(TCreateParams& params) {
  TksSkinListBox::CreateParams(params);
  params.Style = WS_POPUP | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  params.ClassStyle = CS_SAVEBITS | (IsSystemVersion51() ? CS_DROPSHADOW : 0);
}

void TksPopupListBox::MakeWindow(HWND owner) {
  if (HandleAllocated()) return;
  CreateHandle();
  SetOwnerWindow(owner);
}

void TksPopupListBox::SetOwnerWindow(HWND owner) {
  if (HandleAllocated()) SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void TksPopupListBox::VisibleChanged() {
  if (!HandleAllocated()) return;
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TksPopupListBox::SetLayered(bool on) {
  if (on == layered_ || !HandleAllocated()) return;
  layered_ = on;
  const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, on ? ex | WS_EX_LAYERED : ex & ~LONG_PTR(WS_EX_LAYERED));
  if (!on) opacity_ = 255;
}

void TksPopupListBox::SetOpacity(uint8_t alpha) {
  opacity_ = alpha;
  if (layered_) SetWindowAlpha(Handle(), alpha);
}

void TksPopupListBox::WndProc(TMessage& m) {
  if (m.Msg == WM_MOUSEACTIVATE) {
    m.Result = MA_NOACTIVATE;
    return;
  }
  TksSkinListBox::WndProc(m);
}

// ------------------------------------------------------------ screen readers

std::wstring TksSkinCustomListBox::AccName(int child) const {
  return child == 0 ? TksSkinCustomControl::AccName(0) : items_[size_t(child - 1)];
}

long TksSkinCustomListBox::AccRole(int child) const {
  return child == 0 ? TksSkinCustomControl::AccRole(0) : ROLE_SYSTEM_LISTITEM;
}

long TksSkinCustomListBox::AccState(int child) const {
  const long state = TksSkinCustomControl::AccState(0);
  if (child == 0) return state;
  long item = STATE_SYSTEM_SELECTABLE | (state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE));
  if (child - 1 == ItemIndex()) item |= STATE_SYSTEM_SELECTED;
  const Rect r = AccLocation(child);
  const Rect view = ScreenRectOf(list_->Handle());
  if (r.IsEmpty() || r.bottom <= view.top || r.top >= view.bottom) item |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
  return item;
}

Rect TksSkinCustomListBox::AccLocation(int child) const {
  if (child == 0) return TksSkinCustomControl::AccLocation(0);
  RECT r{};
  if (!list_->HandleAllocated() || list_->Perform(LB_GETITEMRECT, WPARAM(child - 1), LPARAM(&r)) == LB_ERR) return {};
  MapWindowPoints(list_->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

int TksSkinCustomListBox::AccSelection() const {
  const int selected = ItemIndex();
  return selected >= 0 ? selected + 1 : -1;
}

}  // namespace kelmar
