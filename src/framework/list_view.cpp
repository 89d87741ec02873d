#include "framework/list_view.h"

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "framework/dib_header.h"
#include "framework/handles.h"
#include "framework/platform.h"
#include "framework/wide.h"

namespace kelmar {

// --------------------------------------------------------------- TImageList

TImageList::TImageList(TComponent* owner, std::string name, int width, int height)
    : TComponent(owner, std::move(name)), width_(width), height_(height) {
  // ILC_COLORDDB: the display's colour format; grows by 4 entries.
  handle_.Reset(ImageList_Create(width, height, ILC_COLORDDB | ILC_MASK, 0, 4));
}

int TImageList::Count() const { return ImageList_GetImageCount(handle_); }

int TImageList::AddIcon(HICON icon) {
  if (!icon) return -1;
  return ImageList_ReplaceIcon(handle_, -1, icon);
}

int TImageList::AddBlank() {
  // An all-transparent icon: mask bits 1 everywhere, colour 0.
  std::vector<BYTE> and_bits(size_t((width_ + 15) / 16 * 2) * height_, 0xFF);
  std::vector<BYTE> xor_bits(size_t((width_ + 15) / 16 * 2) * height_, 0x00);
  IconHandle blank(CreateIcon(GetModuleHandleW(nullptr), width_, height_, 1, 1, and_bits.data(), xor_bits.data()));
  return ImageList_ReplaceIcon(handle_, -1, blank);
}

namespace {

// A decoded pixel as an icon made of it leaves it drawn onto black: its
// colours premultiplied where the image has alpha, else opaque colours with
// the alpha byte cleared.
Pixel OnBlack(Pixel p, bool has_alpha) {
  if (!has_alpha) return p & 0x00FFFFFFu;
  const unsigned a = PixelA(p);
  return MakePixel(uint8_t((PixelR(p) * a + 127) / 255), uint8_t((PixelG(p) * a + 127) / 255),
                   uint8_t((PixelB(p) * a + 127) / 255), uint8_t(a));
}

// Rows of a monochrome bitmap are word-aligned.
int MaskStride(int width) { return (width + 15) / 16 * 2; }

// Sets the mask bits of a w x h picture at column x of a monochrome bitmap's
// bytes (bit 1: transparent).
void WriteMask(std::vector<BYTE>& bits, int stride, int x, const DecodedIcon& icon) {
  const int w = icon.image.Width(), h = icon.image.Height();
  for (int y = 0; y < h; ++y) {
    BYTE* row = bits.data() + size_t(y) * size_t(stride);
    const size_t first = size_t(y) * size_t(w);
    for (int xx = 0; xx < w; ++xx) {
      const int at = x + xx;
      const BYTE bit = BYTE(0x80 >> (at % 8));
      if (icon.mask[first + size_t(xx)])
        row[at / 8] |= bit;
      else
        row[at / 8] &= BYTE(~bit);
    }
  }
}

// Draws decoded icon pixels of another size into a cell as DrawIconEx draws
// an icon made of them, scaled: the colours (blended onto the cell where the
// image has alpha) for DI_IMAGE, the mask for DI_MASK.
class PixelIconDrawer {
 public:
  void Draw(HDC image_dc, HDC mask_dc, int x, int width, int height, const DecodedIcon& icon) {
    const int w = icon.image.Width(), h = icon.image.Height();
    if (!Prepare(w, h)) return;
    const Pixel* src = icon.image.Data();
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i) bits_[i] = OnBlack(src[i], icon.hasAlpha);
    std::vector<BYTE> mask_bits(size_t(MaskStride(w)) * size_t(h), 0);
    WriteMask(mask_bits, MaskStride(w), 0, icon);
    SetBitmapBits(mask_, LONG(mask_bits.size()), mask_bits.data());
    // Scaled, the mask takes one source pixel per cell pixel, as the
    // system's icon drawing does (not the default ANDing of pixels); the
    // modes are the cell's again afterwards, for icon handles drawn there.
    const int image_mode = SetStretchBltMode(image_dc, COLORONCOLOR);
    const int mask_mode = SetStretchBltMode(mask_dc, COLORONCOLOR);
    {
      ScopedSelect select(dc_, colors_);
      if (icon.hasAlpha) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(image_dc, x, 0, width, height, dc_, 0, 0, w, h, blend);
      } else {
        StretchBlt(image_dc, x, 0, width, height, dc_, 0, 0, w, h, SRCCOPY);
      }
    }
    {
      ScopedSelect select(dc_, mask_);
      StretchBlt(mask_dc, x, 0, width, height, dc_, 0, 0, w, h, SRCCOPY);
    }
    SetStretchBltMode(image_dc, image_mode);
    SetStretchBltMode(mask_dc, mask_mode);
  }

 private:
  bool Prepare(int w, int h) {
    if (w == width_ && h == height_ && colors_) return true;
    width_ = w;
    height_ = h;
    const BITMAPINFO info = TopDownDibInfo(w, h);
    void* bits = nullptr;
    colors_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<Pixel*>(bits);
    mask_.Reset(CreateBitmap(w, h, 1, 1, nullptr));
    if (!dc_) dc_.Reset(CreateCompatibleDC(nullptr));
    return colors_ && mask_ && dc_;
  }

  int width_ = 0, height_ = 0;
  BitmapHandle colors_, mask_;
  Pixel* bits_ = nullptr;
  MemoryDcHandle dc_;
};

}  // namespace

void TImageList::AddIcons(const std::vector<HICON>& icons) {
  std::vector<TIconImage> images;
  images.reserve(icons.size());
  for (HICON icon : icons) images.push_back({icon, nullptr});
  AddIcons(images);
}

void TImageList::AddIcons(const std::vector<TIconImage>& icons) {
  if (icons.empty()) return;
  const int n = int(icons.size()), strip_width = width_ * n;
  // The strip's colours in memory we write to: decoded pixels of the cells'
  // size are put in place as they are, without a drawing call per icon;
  // only icon handles and pixels of other sizes are drawn.
  const BITMAPINFO info = TopDownDibInfo(strip_width, height_);
  void* bits = nullptr;
  BitmapHandle image(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  BitmapHandle mask(CreateBitmap(strip_width, height_, 1, 1, nullptr));
  bool added = false;
  if (image && mask) {
    // Blank cells: black (the section starts zeroed), all-transparent mask.
    auto* strip = static_cast<Pixel*>(bits);
    const int mask_stride = MaskStride(strip_width);
    std::vector<BYTE> mask_bits(size_t(mask_stride) * size_t(height_), 0xFF);
    bool drawn_ok = true, to_draw = false;
    auto in_place = [&](const TIconImage& icon) {
      return icon.pixels && icon.pixels->image.Width() == width_ && icon.pixels->image.Height() == height_;
    };
    for (int i = 0; i < n; ++i) {
      const TIconImage& icon = icons[size_t(i)];
      if (!in_place(icon)) {
        to_draw = to_draw || icon.pixels || icon.handle;
        continue;
      }
      const DecodedIcon& pixels = *icon.pixels;
      for (int y = 0; y < height_; ++y) {
        const Pixel* from = pixels.image.Row(y);
        Pixel* to = strip + size_t(y) * size_t(strip_width) + size_t(i) * size_t(width_);
        for (int x = 0; x < width_; ++x) to[x] = OnBlack(from[x], pixels.hasAlpha);
      }
      WriteMask(mask_bits, mask_stride, i * width_, pixels);
    }
    SetBitmapBits(mask, LONG(mask_bits.size()), mask_bits.data());
    if (to_draw) {
      MemoryDcHandle image_dc(CreateCompatibleDC(nullptr)), mask_dc(CreateCompatibleDC(nullptr));
      drawn_ok = image_dc && mask_dc;
      if (drawn_ok) {
        ScopedSelect select_image(image_dc, image), select_mask(mask_dc, mask);
        PixelIconDrawer pixels;
        for (int i = 0; i < n; ++i) {
          const TIconImage& icon = icons[size_t(i)];
          if (in_place(icon)) continue;
          if (icon.pixels) {
            pixels.Draw(image_dc, mask_dc, i * width_, width_, height_, *icon.pixels);
          } else if (icon.handle) {
            DrawIconEx(image_dc, i * width_, 0, icon.handle, width_, height_, 0, nullptr, DI_IMAGE);
            DrawIconEx(mask_dc, i * width_, 0, icon.handle, width_, height_, 0, nullptr, DI_MASK);
          }
        }
      }
      GdiFlush();
    }
    if (drawn_ok) {
      KeepDrawnImages(strip, n);
      added = ImageList_Add(handle_, image, mask) >= 0;
      if (!added) drawn_.resize(size_t(Count()));
    }
  }
  if (!added) {
    // One by one, so that positions stay in step whatever is refused.
    for (const TIconImage& icon : icons)
      if (AddIcon(icon.handle) < 0) AddBlank();
  }
}

void TImageList::KeepDrawnImages(const Pixel* strip, int n) {
  drawn_.resize(size_t(Count()));
  const size_t strip_width = size_t(width_) * size_t(n);
  for (int i = 0; i < n; ++i) {
    Image cell(width_, height_);
    for (int y = 0; y < height_; ++y)
      std::copy_n(strip + size_t(y) * strip_width + size_t(i) * size_t(width_), width_, cell.Row(y));
    drawn_.push_back(std::move(cell));
  }
}

const Image& TImageList::DrawnImage(int index) const {
  static const Image none;
  return index >= 0 && size_t(index) < drawn_.size() ? drawn_[size_t(index)] : none;
}

void TImageList::Clear() {
  ImageList_RemoveAll(handle_);
  drawn_.clear();
}

IconHandle TImageList::GetIcon(int index) const {
  return IconHandle(ImageList_GetIcon(handle_, index, ILD_NORMAL));
}

// ---------------------------------------------------------------- TListView

void TListView::CreateParams(TCreateParams& params) {
  params.ClassName = WC_LISTVIEWW;
  params.Style |= WS_TABSTOP | LVS_ICON | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS;
  if (!multi_select_) params.Style |= LVS_SINGLESEL;
  if (!hide_selection_) params.Style |= LVS_SHOWSELALWAYS;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::ApplyColors() {
  ListView_SetBkColor(Handle(), Color());
  ListView_SetTextBkColor(Handle(), Color());
  ListView_SetTextColor(Handle(), text_color_);
}

void TListView::HandleCreated() {
  ApplyColors();
  if (large_) ListView_SetImageList(Handle(), large_->Handle(), LVSIL_NORMAL);
  if (small_) ListView_SetImageList(Handle(), small_->Handle(), LVSIL_SMALL);
  if (state_) ListView_SetImageList(Handle(), state_->Handle(), LVSIL_STATE);
  SetViewStyle(view_style_);
}

void TListView::SetColors(TColor background, TColor text, TColor edge) {
  SetColor(background);
  text_color_ = text;
  edge_color_ = edge;
  if (!HandleAllocated()) return;
  ApplyColors();
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void TListView::PaintEdge() {
  RECT window{};
  GetWindowRect(Handle(), &window);
  const RECT outer{0, 0, window.right - window.left, window.bottom - window.top};
  const int edge = GetSystemMetrics(SM_CXEDGE);
  const WindowNcDc dc(Handle());
  if (!dc) return;
  RECT line = outer;
  BrushHandle edge_brush(CreateSolidBrush(edge_color_)), back_brush(CreateSolidBrush(Color()));
  FrameRect(dc, &line, edge_brush.Get());
  for (int i = 1; i < edge; ++i) {
    InflateRect(&line, -1, -1);
    FrameRect(dc, &line, back_brush.Get());
  }
}

void TListView::SetLargeImages(TImageList* images) {
  // Icons of another size: the spacing made for them, as a new list's (the
  // list itself only ever widens it).
  if (large_ && images && large_->Width() != images->Width() && HandleAllocated()) {
    ListView_SetIconSpacing(Handle(), -1, -1);
    // The default comes from the system's metrics, given for the system's
    // DPI: a list drawn for another (a window on another monitor) takes
    // them at its own.
    if (Dpi() != SystemDpi())
      ListView_SetIconSpacing(Handle(), SystemMetricForDpi(SM_CXICONSPACING, Dpi()),
                              SystemMetricForDpi(SM_CYICONSPACING, Dpi()));
  }
  large_ = images;
  if (HandleAllocated()) ListView_SetImageList(Handle(), images ? images->Handle() : nullptr, LVSIL_NORMAL);
}

void TListView::SetSmallImages(TImageList* images) {
  small_ = images;
  if (HandleAllocated()) ListView_SetImageList(Handle(), images ? images->Handle() : nullptr, LVSIL_SMALL);
}

void TListView::SetStateImages(TImageList* images) {
  state_ = images;
  if (HandleAllocated()) ListView_SetImageList(Handle(), images ? images->Handle() : nullptr, LVSIL_STATE);
}

void TListView::Notification(TComponent* component, TOperation operation) {
  if (operation != TOperation::opRemove) return;
  if (component == large_) SetLargeImages(nullptr);
  if (component == small_) SetSmallImages(nullptr);
  if (component == state_) SetStateImages(nullptr);
}

void TListView::SetViewStyle(TViewStyle style) {
  view_style_ = style;
  // Before the list measures the labels for the new view.
  ForgetLabels();
  if (!HandleAllocated()) return;
  DWORD view = style == TViewStyle::vsIcon ? LV_VIEW_ICON
               : style == TViewStyle::vsSmallIcon ? LV_VIEW_SMALLICON
               : style == TViewStyle::vsList ? LV_VIEW_LIST : LV_VIEW_DETAILS;
  LONG_PTR s = GetWindowLongPtrW(Handle(), GWL_STYLE);
  LONG_PTR type = style == TViewStyle::vsIcon ? LVS_ICON
                  : style == TViewStyle::vsSmallIcon ? LVS_SMALLICON
                  : style == TViewStyle::vsList ? LVS_LIST : LVS_REPORT;
  if ((s & LVS_TYPEMASK) != type) SetWindowLongPtrW(Handle(), GWL_STYLE, (s & ~LONG_PTR(LVS_TYPEMASK)) | type);
  ListView_SetView(Handle(), view);
  // Items move to the new view's places: repaint all of it.
  ListView_Arrange(Handle(), LVA_DEFAULT);
  InvalidateRect(Handle(), nullptr, TRUE);
}

int TListView::Count() const { return HandleAllocated() ? ListView_GetItemCount(Handle()) : 0; }

void TListView::Clear() {
  if (HandleAllocated()) ListView_DeleteAllItems(Handle());
  captions_.clear();
  labels_.clear();
}

int TListView::AddItem(const std::wstring& caption, int image_index) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = Count();
  // A path label is made when the list first asks for it, for the view it
  // shows then.
  item.pszText = path_labels_ ? LPSTR_TEXTCALLBACKW : const_cast<wchar_t*>(caption.c_str());
  item.iImage = image_index;
  const int at = int(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (at >= 0) {
    captions_.insert(captions_.begin() + std::min<ptrdiff_t>(at, ptrdiff_t(captions_.size())), caption);
    labels_.insert(labels_.begin() + std::min<ptrdiff_t>(at, ptrdiff_t(labels_.size())), std::wstring());
  }
  return at;
}

std::wstring TListView::ItemCaption(int index) const {
  return index >= 0 && size_t(index) < captions_.size() ? captions_[size_t(index)] : std::wstring();
}

std::wstring TListView::ItemLabel(int index) const {
  if (index < 0 || size_t(index) >= captions_.size()) return {};
  if (!path_labels_) return captions_[size_t(index)];
  std::wstring& label = labels_[size_t(index)];
  if (label.empty()) label = MakeLabel(captions_[size_t(index)]);
  return label;
}

void TListView::ForgetLabels() {
  for (std::wstring& label : labels_) label.clear();
}

std::wstring TListView::MakeLabel(const std::wstring& caption) const {
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc) return caption;
  ScopedSelect font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  // The list's step between large icons (at the display's scale) sets the
  // room of a label in both views.
  const int step = LOWORD(SendMessageW(Handle(), LVM_GETITEMSPACING, FALSE, 0));
  std::function<bool(std::u16string_view)> fits;
  if (view_style_ == TViewStyle::vsIcon) {
    // Two lines under the icon, wrapped as the list wraps them, a little
    // narrower than the step for the margins the list keeps.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int width = step - step / 10;
    fits = [&](std::u16string_view text) {
      RECT r{0, 0, width, 0};
      DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()), &r,
                DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
      return r.bottom <= 2 * metrics.tmHeight;
    };
  } else {
    fits = [&](std::u16string_view text) {
      SIZE size{};
      GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()), &size);
      return size.cx <= 2 * step;
    };
  }
  return Wide(ElidePathMiddle(Portable(caption), fits));
}

int TListView::ItemImageIndex(int index) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

int TListView::SelectedCount() const { return int(ListView_GetSelectedCount(Handle())); }

bool TListView::Selected(int index) const {
  return (ListView_GetItemState(Handle(), index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TListView::SetSelected(int index, bool selected) {
  ListView_SetItemState(Handle(), index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TListView::SelectAll() {
  // Item -1 stands for every item.
  if (multi_select_) SetSelected(-1, true);
}

void TListView::NotifyReflected(TMessage& m) {
  const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
  if (header->code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(m.LParam)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
      lstrcpynW(item.pszText, ItemLabel(item.iItem).c_str(), item.cchTextMax);
    return;
  }
  if (header->code == NM_DBLCLK || header->code == NM_RCLICK) {
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(m.LParam);
    if (click->iItem < 0) return;
    if (header->code == NM_DBLCLK && OnItemDblClick) OnItemDblClick(click->iItem);
    if (header->code == NM_RCLICK && OnItemContextMenu) {
      POINT p = click->ptAction;
      ClientToScreen(Handle(), &p);
      OnItemContextMenu(click->iItem, {p.x, p.y});
    }
    return;
  }
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(m.LParam);
  if (change->hdr.code == LVN_ITEMCHANGED && (change->uChanged & LVIF_STATE) &&
      ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) && OnSelectItem)
    OnSelectItem();
}

std::wstring TListView::HintAt(Point p) const {
  LVHITTESTINFO hit{};
  hit.pt = {p.x, p.y};
  const int item = HandleAllocated() ? int(SendMessageW(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) : -1;
  if (item >= 0 && (hit.flags & LVHT_ONITEM) && OnItemHint) return OnItemHint(item);
  return Hint();
}

int TListView::FocusedIndex() const { return ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED); }

void TListView::SetFocused(int index) { ListView_SetItemState(Handle(), index, LVIS_FOCUSED, LVIS_FOCUSED); }

int TListView::FirstShownItem() const {
  if (!HandleAllocated()) return -1;
  RECT client;
  GetClientRect(Handle(), &client);
  for (int i = 0; i < Count(); ++i) {
    RECT r{};
    if (ListView_GetItemRect(Handle(), i, &r, LVIR_BOUNDS) && r.bottom > client.top && r.top < client.bottom &&
        r.right > client.left && r.left < client.right)
      return i;
  }
  return -1;
}

void TListView::ScrollToTop(int index) {
  RECT r{};
  if (!HandleAllocated() || !ListView_GetItemRect(Handle(), index, &r, LVIR_BOUNDS)) return;
  // The views that scroll by rows take the distance in pixels as well.
  ListView_Scroll(Handle(), 0, r.top);
}

void TListView::Arrange() {
  if (!HandleAllocated()) return;
  // Placed as they would be when taken in now: the list's own arranging
  // keeps the rows of a scroll bar that is no longer there.
  struct Item {
    std::wstring caption;
    int image;
    bool selected;
  };
  std::vector<Item> items;
  for (int i = 0; i < Count(); ++i) items.push_back({ItemCaption(i), ItemImageIndex(i), Selected(i)});
  const int focused = FocusedIndex();
  Clear();
  // The list measures itself again without the scroll bar its items took.
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateScope no_redraw(*this);
  for (const Item& item : items) AddItem(item.caption, item.image);
  for (int i = 0; i < int(items.size()); ++i)
    if (items[size_t(i)].selected) SetSelected(i, true);
  if (focused >= 0) SetFocused(focused);
}

int TListView::ClientWidthNow() const {
  RECT rc{};
  GetClientRect(Handle(), &rc);
  return rc.right;
}

// The system's list arranges its icons for the width it has when its size
// changes (and when drawing is let on again), and only then shows or hides
// its scroll bars for that layout. A vertical scroll bar that comes or goes
// changes the width once more, and the list (Wine's) does not arrange
// again: one column too many hides under the bar and a horizontal bar
// shows, or a column's width stays empty at the right.
void TListView::WndProc(TMessage& m) {
  if (m.Msg == WM_SETFONT) ForgetLabels();
  // While drawing is off the list keeps its scroll bars as they are.
  const bool resizes = m.Msg == WM_SETREDRAW ? m.WParam != 0
                                             : (m.Msg == WM_WINDOWPOSCHANGED || m.Msg == WM_SIZE) && update_count_ == 0;
  if (!resizes || refitting_ || !HandleAllocated()) {
    TWinControl::WndProc(m);
    // The system draws the edge (and the scroll bars) first; ours goes over
    // the edge only.
    if (m.Msg == WM_NCPAINT && edge_color_ != kSystemEdge) PaintEdge();
    return;
  }
  FlagScope refitting(refitting_);
  const int width = ClientWidthNow();
  TWinControl::WndProc(m);
  if (ClientWidthNow() != width && (view_style_ == TViewStyle::vsIcon || view_style_ == TViewStyle::vsSmallIcon))
    RefitIcons();
}

void TListView::RefitIcons() {
  // Each pass can change the width by one scroll bar at most; the layout
  // settles once the bar it needs is there.
  for (int pass = 0; pass < 3; ++pass) {
    const int width = ClientWidthNow();
    ListView_Arrange(Handle(), LVA_DEFAULT);
    // Drawing let on again is when the list sets its scroll bars for the
    // layout it holds.
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    if (ClientWidthNow() == width) break;
  }
  // Every icon may have moved.
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TListView::BeginUpdate() {
  if (update_count_++ == 0 && HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::RepaintNow() {
  if (!HandleAllocated()) return;
  if (update_count_ > 0) SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  if (update_count_ > 0) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (update_count_ > 0 && --update_count_ == 0 && HandleAllocated()) {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

}  // namespace kelmar
