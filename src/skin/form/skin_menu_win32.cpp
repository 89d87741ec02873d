#include "skin/form/skin_menu_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "framework/application.h"
#include "framework/handles.h"
#include "framework/list_view.h"
#include "skin/data/effect_bmp.h"
#include "skin/data/mask_region_win32.h"
#include "skin/data/resource_str_data.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"
#include "skin/form/menu_layout.h"
#include "skin/form/skin_form_win32.h"

namespace kelmar {

namespace {

const wchar_t kPopupClass[] = L"KelmarSkinPopup";

// Our own class: it saves the screen under the window, and casts a shadow
// where the system can.
void RegisterPopupClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_SAVEBITS | (IsSystemVersion51() ? CS_DROPSHADOW : 0);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPopupClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

const Image* PictureAt(const TksSkinData& skin, int32_t index) {
  return index >= 0 && size_t(index) < skin.ActivePictures.size() ? &skin.ActivePictures[size_t(index)] : nullptr;
}

SkinGeometry PopupGeometry(const TksDataSkinPopupWindow& d) {
  return {d.itemsrect, d.lefttoppoint, d.righttoppoint, d.leftbottompoint, d.rightbottompoint};
}

// `from` of the picture widened to w, the left and right columns fixed.
Image WidenedPiece(const Image& picture, const Rect& from, int left, int right, int w) {
  Image out;
  if (RectIsEmpty(from)) return out;
  Image piece(RectWidth(from), RectHeight(from));
  CopyImageRect(piece.View(), piece.Bounds(), picture.View(), from);
  ComposeHorizontal(piece.View(), left, right, w, out);
  return out;
}

bool HasVisibleChildren(const TMenuItem* item, int first) {
  for (int i = std::max(first, 0); i < item->Count(); ++i)
    if (item->Items(i)->Visible) return true;
  return false;
}

COLORREF ToColor(uint32_t c) { return COLORREF(c & 0xFFFFFF); }

void DrawRightTriangle(HDC dc, int x, int y, COLORREF colour) {
  TCanvas canvas(dc);
  for (int k = 0; k < 4; ++k) canvas.FillRect({x + k, y + 1 + k, x + k + 1, y + 8 - k}, colour);
}

void DrawFilledCircle(HDC dc, int x, int y, COLORREF colour) {
  PenHandle pen(CreatePen(PS_SOLID, 1, colour));
  BrushHandle brush(CreateSolidBrush(colour));
  ScopedSelect p(dc, pen), b(dc, brush);
  Ellipse(dc, x, y, x + 6, y + 6);
}

// The command glyph of a built-in entry, or null.
using GlyphFn = void (*)(HDC, int, int, COLORREF);
GlyphFn EntryGlyph(const std::string& name) {
  if (name == "KSF_CLOSE" || name == "TRAY_KSF_CLOSE") return DrawCloseGlyph;
  if (name == "KSF_MINITEM") return DrawMinimizeGlyph;
  if (name == "KSF_MAXITEM") return DrawMaximizeGlyph;
  if (name == "KSF_RESTORE" || name == "TRAY_KSF_RESTORE") return DrawRestoreGlyph;
  if (name == "KSF_ROLLUP") return DrawUpTriangleGlyph;
  if (name == "KSF_MINTOTRAY") return DrawSmallSquareGlyph;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------- TksSkinPopupWindow

TksSkinPopupWindow::TksSkinPopupWindow(TksSkinMenu* menu, const TksSkinData* skin)
    : TWinControl(nullptr, "SkinPopupWindow"), menu_(menu), skin_(skin) {
  SetVisible(false);  // shown without activation, when placed
  if (skin_ && !skin_->Empty && skin_->PopupWindow.windowpictureindex != -1) {
    popupData_ = &skin_->PopupWindow;
    windowPicture_ = PictureAt(*skin_, popupData_->windowpictureindex);
    maskPicture_ = PictureAt(*skin_, popupData_->maskpictureindex);
    itemData_ = FindObjectRecord<TksDataSkinMenuItem>(*skin_, "MENUITEM");
    if (!itemData_) itemData_ = FindObjectRecord<TksDataSkinMenuItem>(*skin_, "menuitem");
  }
  // A window picture that isn't there leaves only the plain look.
  if (!windowPicture_) {
    popupData_ = nullptr;
    itemData_ = nullptr;
    maskPicture_ = nullptr;
  }
  pollTimer_ = new TTimer(this, "PollTimer", 50);
  morphTimer_ = new TTimer(this, "MorphTimer", 20);
  delayedShowTimer_ = new TTimer(this, "DelayedShowTimer", 100);
  scrollTimer_ = new TTimer(this, "ScrollTimer", 100);
  pollTimer_->OnTimer = [this] { PollMouse(); };
  morphTimer_->OnTimer = [this] { StepMorph(); };
  scrollTimer_->OnTimer = [this] { ScrollStep(); };
  delayedShowTimer_->OnTimer = [this] {
    delayedShowTimer_->SetEnabled(false);
    screenCopy_ = Image(Width(), Height());
    CopyScreenArea(pendingPos_.x, pendingPos_.y, screenCopy_);
    simulatedTransparency_ = true;
    Show(pendingPos_.x, pendingPos_.y);
  };
}

TksSkinPopupWindow::~TksSkinPopupWindow() = default;

void TksSkinPopupWindow::CreateParams(TCreateParams& params) {
  RegisterPopupClass();
  params.ClassName = kPopupClass;
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

int TksSkinPopupWindow::Level() const { return menu_->LevelOf(this); }

TImageList* TksSkinPopupWindow::Images() const {
  const TMenu* menu = shownItem_ ? shownItem_->GetParentMenu() : nullptr;
  return menu ? menu->Images() : nullptr;
}

int TksSkinPopupWindow::ItemHeight(const TksSkinMenuItem& item) const {
  if (itemData_) return RectHeight(item.IsLine() ? itemData_->dividerrect : itemData_->skinrect);
  return Scaled(item.IsLine() ? 4 : menu_->DefMenuItemHeight);
}

std::vector<int> TksSkinPopupWindow::ItemHeights() const {
  std::vector<int> heights;
  for (const auto& item : Items) heights.push_back(ItemHeight(item));
  return heights;
}

void TksSkinPopupWindow::Open(const Rect& anchor, TMenuItem* item, bool upward, bool subMenu, int first) {
  shownItem_ = item;
  // Made for the DPI of the form the menu belongs to.
  if (const TForm* form = menu_->OwnerForm()) ScaleChildren(form->Dpi());
  // The font, in the character set of the skin's texts when it has some.
  const TksResourceStrData* strings = skin_ ? skin_->ResourceStrData() : nullptr;
  BYTE charset = menu_->DefMenuItemFont.Charset();
  if (strings) charset = BYTE(strings->CharSet);
  if (itemData_ && menu_->UseSkinFont) {
    font_ = SkinFontToFont(itemData_->font, ToColor(itemData_->font.color), charset, Dpi());
  } else {
    font_ = menu_->DefMenuItemFont;
    font_.SetCharset(charset);
    font_.SetHeight(Scaled(font_.Height()));
  }

  const Image* itemPicture = itemData_ ? PictureAt(*skin_, itemData_->activepictureindex) : nullptr;
  for (int i = std::max(first, 0); i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    if (!child->Visible) continue;
    TksSkinMenuItem entry;
    entry.MenuItem = child;
    entry.Picture = itemPicture;
    if (itemData_ && itemPicture) {
      entry.skinrect = itemData_->skinrect;
      entry.activeskinrect = itemData_->activeskinrect;
    }
    Items.push_back(entry);
  }
  TImageList* images = Images();
  IconColumnWidth = images ? images->Width() + Scaled(5) : Scaled(16);

  // Width: the widest caption with its short-cut, the icon column and what
  // the window and the item pictures add around the text.
  int textWidth = 0;
  {
    MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    ScopedSelect font(dc, font_.Handle());
    for (const auto& entry : Items) {
      if (entry.IsLine()) continue;
      std::wstring text = entry.MenuItem->Caption + L"  " + ShortCutToText(entry.MenuItem->ShortCut);
      RECT rc{};
      DrawTextW(dc, text.c_str(), int(text.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
      textWidth = std::max(textWidth, int(rc.right - rc.left) + Scaled(2));
    }
  }
  int w = textWidth + IconColumnWidth + Scaled(16);
  int frameHeight = Scaled(6);
  if (popupData_) {
    w += windowPicture_->Width() - RectWidth(popupData_->itemsrect);
    // The text area's margins inside an item picture (the plain item's without one).
    w += itemData_ ? itemData_->textrect.left + RectWidth(itemData_->skinrect) - itemData_->textrect.right : Scaled(4);
    frameHeight = windowPicture_->Height() - RectHeight(popupData_->itemsrect);
  } else {
    w += Scaled(10);
  }
  const int itemHeight = itemData_ ? RectHeight(itemData_->skinrect) : Scaled(menu_->DefMenuItemHeight);
  const MenuLevelHeight level =
      ComputeMenuLevelHeight(ItemHeights(), itemHeight, frameHeight, menu_->MaxMenuItemsInWindow,
                             menu_->MenuWorkArea.Height(), ScrollBand());
  Scrolling = level.scrolls;
  const int h = level.height;
  SkinGeometry sized;
  if (popupData_) {
    sized = ScaleSkinGeometry(PopupGeometry(*popupData_), windowPicture_->Width(), windowPicture_->Height(), w, h);
    ItemsArea = sized.client;
  } else {
    const int frame = Scaled(3);
    ItemsArea = {frame, frame, w - frame, h - frame};
  }
  LayOut();

  MenuPlacement placement;
  placement.area = menu_->MenuWorkArea;
  placement.anchor = anchor;
  placement.width = w;
  placement.height = h;
  placement.subMenu = subMenu;
  placement.upward = upward;
  placement.cut = level.cut;
  placement.itemsTop = ItemsArea.top;
  const Point pos = PlaceMenuLevel(placement);
  SetBounds(pos.x, pos.y, w, h);
  CreateHandle();
  if (maskPicture_)
    SetWindowShape(Handle(), ComposeMaskRegion(maskPicture_->View(), PopupGeometry(*popupData_), sized), false);
  if (popupData_ && popupData_->cursorindex != -1) SetCursor(skin_->CursorNumber(popupData_->cursorindex));

  if (menu_->MenusAlphaBlend && !LayeredWindowsAvailable()) {
    pendingPos_ = pos;
    delayedShowTimer_->SetEnabled(true);
  } else {
    Show(pos.x, pos.y);
  }
  pollTimer_->SetEnabled(true);
}

void TksSkinPopupWindow::Show(int x, int y) {
  HWND hwnd = Handle();
  const bool layered = menu_->MenusAlphaBlend && LayeredWindowsAvailable();
  const bool fadeIn = layered && menu_->MenusAlphaBlendAnimation && menu_->FirstOpen;
  const uint8_t alpha = menu_->MenusAlphaBlendValue;
  if (layered) {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlpha(hwnd, fadeIn ? 0 : alpha);
  }
  HighlightFirst();
  SetWindowPos(hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (fadeIn) {
    UpdateWindow(hwnd);
    for (int a = 2; a < alpha; a += 2) SetWindowAlpha(hwnd, uint8_t(a));
    SetWindowAlpha(hwnd, alpha);
  }
}

void TksSkinPopupWindow::HighlightFirst() {
  for (size_t i = 0; i < Items.size(); ++i) {
    if (!Items[i].Selectable()) continue;
    HighlightIndex = int(i);
    Items[i].KeyboardSelected = true;
    Items[i].Hot = true;
    return;
  }
}

void TksSkinPopupWindow::LayOut() {
  std::vector<Rect> rects;
  ShownItemCount = LayoutMenuItems(ItemsArea, ItemHeights(), FirstShownIndex, Scrolling, rects, ScrollBand());
  for (size_t i = 0; i < Items.size(); ++i) {
    Items[i].ItemRect = rects[i];
    Items[i].Visible = int(i) >= FirstShownIndex && int(i) < FirstShownIndex + ShownItemCount;
  }
}

int TksSkinPopupWindow::ItemAt(Point p) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i].Visible && Items[i].ItemRect.Contains(p)) return int(i);
  return -1;
}

Rect TksSkinPopupWindow::ScreenRect(int index) const {
  RECT rc{};
  GetWindowRect(Handle(), &rc);
  return Items[size_t(index)].ItemRect.Offset(rc.left, rc.top);
}

void TksSkinPopupWindow::Redraw() {
  if (itemData_ && itemData_->morphing) morphTimer_->SetEnabled(true);
  if (!HandleAllocated()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

void TksSkinPopupWindow::StepMorph() {
  bool stepping = false;
  for (auto& item : Items) {
    const double target = item.ShowsHot() ? 1 : 0;
    if (item.FadeFactor == target) continue;
    item.FadeFactor += target > item.FadeFactor ? 0.2 : -0.2;
    // Five steps of 0.2 land on the ends exactly.
    if (item.FadeFactor > 0.999) item.FadeFactor = 1;
    if (item.FadeFactor < 0.001) item.FadeFactor = 0;
    stepping = true;
  }
  if (!stepping) {
    morphTimer_->SetEnabled(false);
    return;
  }
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

// ------------------------------------------------------------------ the mouse

void TksSkinPopupWindow::PollMouse() {
  POINT pt;
  if (!GetCursorPos(&pt) || (pt.x == lastCursor_.x && pt.y == lastCursor_.y)) return;
  lastCursor_ = {pt.x, pt.y};
  if (WindowFromPoint(pt) == Handle()) {
    ScreenToClient(Handle(), &pt);
    Track({pt.x, pt.y});
  } else if (Scrolling && ScrollDirection != 0) {
    ScrollDirection = 0;
    scrollTimer_->SetEnabled(false);
    Redraw();
  }
}

void TksSkinPopupWindow::Track(Point p) {
  if (Scrolling) {
    const Rect top{ItemsArea.left, ItemsArea.top, ItemsArea.right, ItemsArea.top + ScrollBand()};
    const Rect bottom{ItemsArea.left, ItemsArea.bottom - ScrollBand(), ItemsArea.right, ItemsArea.bottom};
    int direction = 0;
    if (top.Contains(p) && CanScrollUp()) direction = 1;
    if (bottom.Contains(p) && CanScrollDown()) direction = 2;
    if (direction != ScrollDirection) {
      ScrollDirection = direction;
      scrollTimer_->SetEnabled(direction != 0);
      Redraw();
    }
  }
  const int index = ItemAt(p);
  if (index < 0) return;
  const int old = HighlightIndex;
  HighlightIndex = index;
  TksSkinMenuItem& item = Items[size_t(index)];
  if (index == old) {
    if (!item.KeyboardSelected) return;
    item.KeyboardSelected = false;
    if (item.HasChildren()) ItemEntered(index, false);
    return;
  }
  PrevHighlightIndex = old;
  if (old >= 0 && Items[size_t(old)].Selectable()) ItemLeft(old);
  if (item.Selectable()) ItemEntered(index, false);
}

void TksSkinPopupWindow::ScrollStep() {
  if (ScrollDirection == 1 && CanScrollUp()) {
    --FirstShownIndex;
  } else if (ScrollDirection == 2 && CanScrollDown()) {
    ++FirstShownIndex;
  } else {
    scrollTimer_->SetEnabled(false);
    return;
  }
  LayOut();
  Redraw();
}

void TksSkinPopupWindow::ItemEntered(int index, bool byKeyboard) {
  TksSkinMenuItem& item = Items[size_t(index)];
  const bool wasKeyboardSelected = item.KeyboardSelected;
  item.Hot = true;
  for (auto& other : Items)
    if (&other != &item) other.SubMenuOpen = false;
  if (wasKeyboardSelected && !byKeyboard) {
    Redraw();
    return;
  }
  const int level = Level();
  if (item.SubMenuOpen) {
    menu_->CloseFrom(level + 2);
    Redraw();
    return;
  }
  Redraw();
  // A sub-menu of another item closes; one of this item opens after a while
  // under the mouse, at once with the Right key.
  menu_->CloseFrom(level + 1);
  if (item.HasChildren() && !byKeyboard) menu_->ScheduleSubMenu(this, index);
}

void TksSkinPopupWindow::ItemLeft(int index) {
  TksSkinMenuItem& item = Items[size_t(index)];
  item.KeyboardSelected = false;
  item.Hot = false;
  if (!item.SubMenuOpen) Redraw();
  menu_->CancelSubMenu(item.MenuItem);
}

void TksSkinPopupWindow::Click(Point p) {
  const int index = ItemAt(p);
  if (index < 0 || index != HighlightIndex || Items[size_t(index)].IsLine()) return;
  ItemActivated(index);
}

void TksSkinPopupWindow::ItemActivated(int index) {
  TksSkinMenuItem& item = Items[size_t(index)];
  if (item.SubMenuOpen || !item.MenuItem->Enabled) return;
  if (!item.HasChildren()) {
    menu_->ChooseItem(item.MenuItem);  // frees this window
    return;
  }
  TksSkinMenu* menu = menu_;
  TMenuItem* menuItem = item.MenuItem;
  if (TMenu* owner = menuItem->GetParentMenu())
    owner->DispatchItem(menuItem);
  else
    menuItem->Click();
  // The command may have closed the menu.
  if (menu->LevelOf(this) >= 0) menu->OpenSubMenu(this, index);
}

// ------------------------------------------------------------------- the keys

void TksSkinPopupWindow::KeyDown(WORD key) {
  if (Items.empty()) return;
  const bool letterOrDigit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
  if (letterOrDigit) {
    for (size_t i = 0; i < Items.size(); ++i) {
      if (AcceleratorChar(Items[i].MenuItem->Caption) != wchar_t(key)) continue;
      const int index = int(i);
      if (index != HighlightIndex) {
        if (HighlightIndex >= 0) ItemLeft(HighlightIndex);
        PrevHighlightIndex = HighlightIndex;
        HighlightIndex = index;
        ItemEntered(index, false);
      }
      ItemActivated(index);
      return;
    }
    return;
  }
  const int level = Level();
  switch (key) {
    case VK_RETURN:
      if (HighlightIndex >= 0) ItemActivated(HighlightIndex);
      return;
    case VK_ESCAPE:
      // The top level closes the whole menu, so that its opener hears of it.
      if (level == 0)
        menu_->CloseAll();
      else
        menu_->CloseFrom(level);
      return;
    case VK_LEFT:
      if (level >= 1) menu_->CloseFrom(level);
      return;
    case VK_RIGHT:
      if (HighlightIndex >= 0 && Items[size_t(HighlightIndex)].HasChildren()) ItemActivated(HighlightIndex);
      return;
    case VK_DOWN:
    case VK_UP: {
      std::vector<bool> selectable;
      for (const auto& item : Items) selectable.push_back(item.Selectable());
      const int next = NextSelectableItem(selectable, HighlightIndex, key == VK_DOWN ? 1 : -1);
      if (next < 0) return;
      if (Scrolling) {
        FirstShownIndex = FirstShownFor(next, FirstShownIndex, ItemsArea, ItemHeights(), ScrollBand());
        LayOut();
      }
      const int old = HighlightIndex;
      if (old >= 0 && old != next) ItemLeft(old);
      PrevHighlightIndex = old;
      HighlightIndex = next;
      Items[size_t(next)].KeyboardSelected = true;
      ItemEntered(next, true);
      return;
    }
    default:
      return;
  }
}

// ------------------------------------------------------------------ painting

void TksSkinPopupWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_ERASEBKGND:
      m.Result = 1;  // the whole window is painted at once
      return;
    case WM_PAINT: {
      PaintDc dc(Handle());
      Paint(dc);
      return;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_SETCURSOR:
      if (Cursor() != crDefault && LOWORD(m.LParam) == HTCLIENT) {
        ::SetCursor(Application().GetCursor(Cursor()));
        m.Result = TRUE;
        return;
      }
      break;
    case WM_MOUSEMOVE:
      PollMouse();
      break;
  }
  TWinControl::WndProc(m);
}

void TksSkinPopupWindow::Paint(HDC dc) {
  RECT rc;
  GetClientRect(Handle(), &rc);
  TBitmap buffer(rc.right, rc.bottom);
  if (buffer.IsEmpty()) return;
  PaintBackground(buffer);
  for (auto& item : Items)
    if (item.Visible) PaintItem(buffer, item);
  if (Scrolling) {
    const Rect bands[2] = {{ItemsArea.left, ItemsArea.top, ItemsArea.right, ItemsArea.top + ScrollBand()},
                           {ItemsArea.left, ItemsArea.bottom - ScrollBand(), ItemsArea.right, ItemsArea.bottom}};
    for (int i = 0; i < 2; ++i) {
      const bool active = ScrollDirection == i + 1;
      COLORREF colour;
      if (popupData_)
        colour = ToColor(active ? popupData_->scrollmarkeractivecolor : popupData_->scrollmarkercolor);
      else
        colour = GetSysColor(active ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
      const Point middle{bands[i].left + bands[i].Width() / 2, bands[i].top + bands[i].Height() / 2};
      const ScopedGlyphScale scale(buffer.Dc(), middle.x, middle.y, Dpi());
      DrawArrow(buffer.Dc(), bands[i], colour, i == 0 ? 3 : 4);
    }
  }
  BitBlt(dc, 0, 0, buffer.Width(), buffer.Height(), buffer.Dc(), 0, 0, SRCCOPY);
}

void TksSkinPopupWindow::PaintBackground(TBitmap& buffer) {
  const int w = buffer.Width(), h = buffer.Height();
  if (popupData_) {
    const SkinGeometry piece = PopupGeometry(*popupData_);
    const SkinGeometry sized = ScaleSkinGeometry(piece, windowPicture_->Width(), windowPicture_->Height(), w, h);
    const StretchEdges stretch{popupData_->leftstretch, popupData_->rightstretch, popupData_->topstretch,
                               popupData_->bottomstretch};
    // The items cover the centre unless the level scrolls or they have no
    // picture of their own.
    const bool fillCentre = Scrolling || !itemData_ || Items.empty() || !Items.front().Picture;
    Image background;
    ComposeNinePartStretched(windowPicture_->View(), piece, sized, w, h, fillCentre, stretch, background);
    CopyImageRect(buffer.Pixels(), {0, 0, w, h}, background.View(), background.Bounds());
  } else {
    TCanvas canvas(buffer.Dc());
    const int band = Images() ? IconColumnWidth + Scaled(3) : Scaled(22);
    canvas.FillRect({0, 0, band, h}, GetSysColor(COLOR_BTNFACE));
    canvas.FillRect({band, 0, w, h}, GetSysColor(COLOR_WINDOW));
    canvas.FrameRect({0, 0, w, h}, GetSysColor(COLOR_BTNSHADOW));
    canvas.FrameRect({1, 1, w - 1, h - 1}, GetSysColor(COLOR_WINDOW));
  }
  if (simulatedTransparency_ && screenCopy_.Width() == w && screenCopy_.Height() == h) {
    const ImageView pixels = buffer.Pixels();
    Image copy(w, h);
    CopyImageRect(copy.View(), copy.Bounds(), pixels, pixels.Bounds());
    TksEffectBmp mixed(std::move(copy));
    TksEffectBmp screen(screenCopy_);
    mixed.BlendRectWith({0, 0, w, h}, screen, 0, 0, 1 - menu_->MenusAlphaBlendValue / 255.0);
    CopyImageRect(pixels, pixels.Bounds(), mixed.GetImage().View(), mixed.GetImage().Bounds());
  }
}

void TksSkinPopupWindow::PaintItem(TBitmap& buffer, TksSkinMenuItem& item) {
  const Rect r = item.ItemRect;
  const int w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return;
  const bool hot = item.ShowsHot() && !item.IsLine();
  const bool enabled = item.MenuItem->Enabled;
  TImageList* images = Images();
  if (itemData_) {
    const TksDataSkinMenuItem& d = *itemData_;
    if (item.Picture) {
      Image piece;
      if (item.IsLine()) {
        piece = WidenedPiece(*item.Picture, d.dividerrect, d.dividerleftoffset, d.dividerrightoffset, w);
      } else {
        piece = WidenedPiece(*item.Picture, hot ? item.activeskinrect : item.skinrect, d.itemleftoffset,
                             d.itemrightoffset, w);
        if (d.morphing && item.FadeFactor > 0 && item.FadeFactor < 1) {
          TksEffectBmp normal(WidenedPiece(*item.Picture, item.skinrect, d.itemleftoffset, d.itemrightoffset, w));
          TksEffectBmp active(WidenedPiece(*item.Picture, item.activeskinrect, d.itemleftoffset, d.itemrightoffset, w));
          normal.Morph(int(d.morphkind), active, item.FadeFactor);
          piece = normal.GetImage();
        }
      }
      if (!piece.IsEmpty()) CopyImageRect(buffer.Pixels(), r, piece.View(), piece.Bounds());
    }
    if (item.IsLine()) return;
    Rect text = d.textrect;
    text.right += w - RectWidth(d.skinrect);
    text = text.Offset(r.left, r.top);
    const uint32_t colour = hot ? d.activefontcolor : enabled ? d.font.color : d.unenabledfontcolor;
    PaintItemContent(buffer.Dc(), item, text, ToColor(colour), text.left + (images ? images->Width() : Scaled(16)),
                     Scaled(16));
    return;
  }
  TCanvas canvas(buffer.Dc());
  const int band = images ? images->Width() : Scaled(19);
  if (hot) {
    canvas.FillRect(r, 13811126);
    canvas.FrameRect(r, 0x800000);
  } else {
    canvas.FillRect({r.left, r.top, r.left + band, r.bottom}, GetSysColor(COLOR_BTNFACE));
    canvas.FillRect({r.left + band, r.top, r.right, r.bottom}, GetSysColor(COLOR_WINDOW));
  }
  if (item.IsLine()) {
    const int y = r.top + h / 2;
    canvas.FillRect({r.left + band, y, r.right, y + 1}, GetSysColor(COLOR_BTNSHADOW));
    return;
  }
  const COLORREF colour = GetSysColor(hot || enabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
  const int inset = Scaled(2);
  const Rect text{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
  PaintItemContent(buffer.Dc(), item, text, colour, r.left + band, Scaled(17));
}

void TksSkinPopupWindow::PaintItemContent(HDC dc, TksSkinMenuItem& item, const Rect& text, COLORREF colour,
                                          int captionLeft, int rightInset) {
  TMenuItem& menuItem = *item.MenuItem;
  const bool hot = item.ShowsHot();
  if (menuItem.OnDrawItem) {
    TCanvas canvas(dc);
    menuItem.OnDrawItem(menuItem, canvas, hot, text);
    return;
  }
  ScopedDcState state(dc);
  IntersectClipRect(dc, item.ItemRect.left, item.ItemRect.top, item.ItemRect.right, item.ItemRect.bottom);
  SelectObject(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  const int middle = text.top + text.Height() / 2;
  RECT captionRect = ToRECT({captionLeft, text.top, text.right - rightInset, text.bottom});
  DrawTextW(dc, menuItem.Caption.c_str(), int(menuItem.Caption.size()), &captionRect,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  const std::wstring shortCut = ShortCutToText(menuItem.ShortCut);
  if (!shortCut.empty()) {
    RECT shortCutRect = captionRect;
    DrawTextW(dc, shortCut.c_str(), int(shortCut.size()), &shortCutRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  // The marks are drawn at their 96-DPI offsets and scaled about them.
  auto mark = [&](int x, int y, auto draw) {
    const ScopedGlyphScale scale(dc, x, y, Dpi());
    draw(x, y);
  };
  if (item.HasChildren())
    mark(text.right - Scaled(7), middle - Scaled(4), [&](int x, int y) { DrawRightTriangle(dc, x, y, colour); });
  TImageList* images = Images();
  if (images && menuItem.ImageIndex >= 0 && menuItem.ImageIndex < images->Count()) {
    const int x = text.left + Scaled(2), y = middle - images->Height() / 2;
    ImageList_DrawEx(images->Handle(), menuItem.ImageIndex, dc, x, y, 0, 0, CLR_NONE,
                     menuItem.Enabled ? CLR_NONE : GetSysColor(COLOR_BTNSHADOW),
                     ILD_TRANSPARENT | (menuItem.Enabled ? 0 : ILD_BLEND50));
    if (menuItem.Checked) TCanvas(dc).FrameRect({x - 1, y - 1, x + images->Width() + 1, y + images->Height() + 1}, colour);
    return;
  }
  const int left = text.left + Scaled(2);
  if (GlyphFn glyph = EntryGlyph(menuItem.Name())) {
    mark(left, middle - Scaled(4), [&](int x, int y) { glyph(dc, x, y, colour); });
  } else if (menuItem.Checked) {
    if (menuItem.RadioItem)
      mark(left, middle - Scaled(3), [&](int x, int y) { DrawFilledCircle(dc, x, y, colour); });
    else
      mark(left, middle - Scaled(4), [&](int x, int y) { DrawCheckMark(dc, x, y, colour); });
  }
}

// ------------------------------------------------------------------ TksSkinMenu

TksSkinMenu::TksSkinMenu(TComponent* owner, TForm* ownerForm)
    : TComponent(owner, "SkinMenu"), DefMenuItemFont(L"宋体", 14), ownerForm_(ownerForm) {
  subMenuTimer_ = new TTimer(this, "SubMenuTimer", 500);
  subMenuTimer_->OnTimer = [this] { OpenPendingSubMenu(); };
}

TksSkinMenu::~TksSkinMenu() { windows_.clear(); }

const TksSkinData* TksSkinMenu::MenuSkin() const {
  const TksSkinDataComponent* c = menuSkinData_.Get();
  return c && !c->Skin().Empty ? &c->Skin() : nullptr;
}

int TksSkinMenu::LevelOf(const TksSkinPopupWindow* window) const {
  for (size_t i = 0; i < windows_.size(); ++i)
    if (windows_[i].get() == window) return int(i);
  return -1;
}

void TksSkinMenu::Popup(TWinControl* opener, TksSkinDataComponent* skinData, bool upward, TMenuItem* item,
                        const Rect& anchor, int first) {
  FirstOpen = !MenuOpen;
  // The previous opener hears that its menu closed before the new one is kept.
  CloseFrom(0);
  opener_ = opener;
  MenuWorkArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  GetMonitorWorkArea(ownerForm_->Handle(), true, MenuWorkArea);
  menuSkinData_ = skinData;
  if (!item || !HasVisibleChildren(item, first)) return;
  MenuOpen = true;
  if (!filter_)
    filter_ = Application().AddLoopFilter([this](MSG& msg, const TLoopFilters::Next& next) {
      if (!TakeClick(msg)) next(msg);
    });
  OpenLevel(anchor, item, upward, false, first);
  FirstOpen = false;
}

void TksSkinMenu::OpenLevel(const Rect& anchor, TMenuItem* item, bool upward, bool subMenu, int first) {
  windows_.push_back(std::make_unique<TksSkinPopupWindow>(this, MenuSkin()));
  windows_.back()->Open(anchor, item, upward, subMenu, first);
}

void TksSkinMenu::CloseFrom(int level) {
  level = std::max(level, 0);
  while (int(windows_.size()) > level) windows_.pop_back();
  if (level > 0) {
    // The item that opened the closed level stays highlighted.
    TksSkinPopupWindow* parent = windows_.back().get();
    bool changed = false;
    for (auto& item : parent->Items) changed |= std::exchange(item.SubMenuOpen, false);
    if (changed) parent->Redraw();
    return;
  }
  subMenuTimer_->SetEnabled(false);
  MenuOpen = false;
  filter_.Reset();
  lastOpener_ = opener_.Get();
  if (TWinControl* opener = opener_) {
    opener_ = nullptr;
    if (opener->HandleAllocated()) SendMessageW(opener->Handle(), SKIN_MSG_MENU_CLOSED, 0, 0);
  }
}

void TksSkinMenu::CloseAll() {
  CloseFrom(0);
  subMenuTimer_->SetEnabled(false);
  pendingItem_ = nullptr;
  if (ownerForm_->HandleAllocated()) SendMessageW(ownerForm_->Handle(), SKIN_MSG_MENU_CLOSED, 0, 0);
}

bool TksSkinMenu::KeyDown(WORD key) {
  TksSkinPopupWindow* window = LastWindow();
  if (!window) return false;
  if (IsWindowVisible(window->Handle())) window->KeyDown(key);
  return true;
}

bool TksSkinMenu::TakeClick(const MSG& msg) {
  // A click on a menu window is handled here, outside the window's own
  // procedure: choosing an item frees the windows.
  if (msg.message != WM_LBUTTONUP) return false;
  for (const auto& window : windows_) {
    if (window->Handle() != msg.hwnd) continue;
    window->Click({GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    return true;
  }
  return false;
}

void TksSkinMenu::ScheduleSubMenu(TksSkinPopupWindow* window, int index) {
  pendingItem_ = window->Items[size_t(index)].MenuItem;
  subMenuTimer_->SetEnabled(false);
  subMenuTimer_->SetEnabled(true);
}

void TksSkinMenu::CancelSubMenu(const TMenuItem* item) {
  if (pendingItem_.Get() != item) return;
  subMenuTimer_->SetEnabled(false);
  pendingItem_ = nullptr;
}

void TksSkinMenu::OpenPendingSubMenu() {
  subMenuTimer_->SetEnabled(false);
  TMenuItem* pending = pendingItem_;
  pendingItem_ = nullptr;
  if (!pending) return;
  for (const auto& window : windows_)
    for (size_t i = 0; i < window->Items.size(); ++i)
      if (window->Items[i].MenuItem == pending) {
        OpenSubMenu(window.get(), int(i));
        return;
      }
}

void TksSkinMenu::OpenSubMenu(TksSkinPopupWindow* window, int index) {
  subMenuTimer_->SetEnabled(false);
  pendingItem_ = nullptr;
  const int level = LevelOf(window);
  if (level < 0) return;
  CloseFrom(level + 1);
  TksSkinMenuItem& item = window->Items[size_t(index)];
  if (!HasVisibleChildren(item.MenuItem, 0)) return;
  for (auto& other : window->Items) other.SubMenuOpen = false;
  item.SubMenuOpen = true;
  window->Redraw();
  OpenLevel(window->ScreenRect(index), item.MenuItem, false, true, 0);
}

void TksSkinMenu::ChooseItem(TMenuItem* item) {
  subMenuTimer_->SetEnabled(false);
  TComponentRef<TMenuItem> chosen;
  chosen = item;
  TMenu* menu = item->GetParentMenu();
  CloseAll();
  // This component may be gone once the command ran.
  TComponentRef<TWinControl> opener;
  opener = lastOpener_.Get();
  if (!chosen) return;
  if (menu)
    menu->DispatchItem(item);
  else
    item->Click();
  if (opener && opener->HandleAllocated()) SendMessageW(opener->Handle(), SKIN_MSG_MENU_ITEM_CHOSEN, 0, 0);
}

// ------------------------------------------------------------ TksSkinPopupMenu

TksSkinForm* TksSkinPopupMenu::FindSkinForm() const {
  auto skinFormOf = [](TComponent* c) -> TksSkinForm* {
    if (!dynamic_cast<TForm*>(c)) return nullptr;
    for (TComponent* k : c->Components())
      if (auto* f = dynamic_cast<TksSkinForm*>(k)) return f;
    return nullptr;
  };
  if (targetForm_) return skinFormOf(targetForm_);
  if (dynamic_cast<TForm*>(Owner())) return skinFormOf(Owner());
  if (Owner() && dynamic_cast<TForm*>(Owner()->Owner())) return skinFormOf(Owner()->Owner());
  return nullptr;
}

void TksSkinPopupMenu::Popup(int x, int y) { PopupFromRect(RectOfSize(x, y, 0, 0), false); }

void TksSkinPopupMenu::PopupFromRect(const Rect& anchor, bool upward) {
  if (OnPopup) OnPopup();
  TksSkinForm* form = FindSkinForm();
  if (!form) return;
  TksSkinDataComponent* skin = skinData_ ? skinData_.Get() : form->MenusSkinData();
  if (form->SkinMenu().MenuOpen) form->SkinMenuClosed();
  form->SkinMenuOpened();
  form->SkinMenu().Popup(nullptr, skin, upward, Items(), anchor, 0);
}

}  // namespace kelmar
