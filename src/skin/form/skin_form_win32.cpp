#include "skin/form/skin_form_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "base/error.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/platform.h"
#include "framework/wide.h"
#include "skin/data/effect_bmp.h"
#include "skin/data/effect_bmp_win32.h"
#include "skin/data/mask_region_win32.h"
#include "skin/data/resource_str_data.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"
#include "skin/form/frame_accessible_win32.h"
#include "skin/form/frame_behaviour.h"

namespace kelmar {

namespace {

TForm* OwnerAsForm(TComponent* owner) {
  auto* form = dynamic_cast<TForm*>(owner);
  if (!form) throw Error("Invalid type cast");
  return form;
}

enum Strip { kTop, kBottom, kLeft, kRight };

}  // namespace

TksSkinForm::TksSkinForm(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)),
      ownerForm_(OwnerAsForm(owner)),
      skinData_([this] { SetSkinData(nullptr); }),
      defCaptionFont_(L"宋体", 14, GetSysColor(COLOR_BTNTEXT)),
      defInactiveCaptionFont_(L"宋体", 14, GetSysColor(COLOR_BTNSHADOW)) {
  TFontStyles bold;
  bold.bold = true;
  defCaptionFont_.SetStyle(bold);
  defInactiveCaptionFont_.SetStyle(bold);
  // The plain frame's caption shows these fonts: a change repaints it.
  defCaptionFont_.OnChange = defInactiveCaptionFont_.OnChange = [this] {
    if (!skinApplied_) SendNcPaint();
  };
  fadeTimer_ = new TTimer(this, "FadeTimer", 20);
  hoverPollTimer_ = new TTimer(this, "HoverPollTimer", 50);
  frameStepTimer_ = new TTimer(this, "FrameStepTimer", 25);
  // The fade starts once the window has shown its first paint.
  fadeInTimer_ = new TTimer(this, "FadeInTimer", 1);
  fadeTimer_->OnTimer = [this] { StepFades(); };
  hoverPollTimer_->OnTimer = [this] { PollCursor(); };
  fadeInTimer_->OnTimer = [this] { StepFadeIn(); };
  builtInMenu_ = new TPopupMenu(this, "BuiltInSystemMenu");
  trayMenu_ = new TksSkinPopupMenu(this, "TrayMenu");
  trayMenu_->SetTargetForm(ownerForm_);
  for (SysMenuEntry entry : TrayMenuEntries()) trayMenu_->Items()->Add(MakeEntry(entry));
  skinMenu_ = new TksSkinMenu(this, ownerForm_);
  accessible_ = std::make_unique<TksFrameAccessible>(*this);

  formFilter_ = ownerForm_->AddFilter([this](TMessage& m, const TWindowNext& next) { HandleMessage(m, next); });

  // The system draws no caption and no caption buttons of its own; the
  // sizing border stays. The window is kept (its list items, tool tips and
  // drop registration with it): the frame is recalculated in place.
  if (HWND hwnd = ownerForm_->Handle()) {
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    style &= ~LONG_PTR(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    SetWindowLongPtrW(hwnd, GWL_STYLE, style);
    ncActiveFlag_ = GetActiveWindow() == hwnd;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

TksSkinForm::~TksSkinForm() { objects_.clear(); }

// ------------------------------------------------------------------ settings

void TksSkinForm::SetSkinData(TksSkinDataComponent* data) {
  if (data == skinData_.Get() && data) return;
  skinData_ = data;
  trayMenu_->SetSkinData(data);
  ApplySkin();
}

void TksSkinForm::SetBorderIcons(TksBorderIcons icons) {
  borderIcons_ = icons;
  ApplyBorderIconsToObjects();
  SendNcPaint();
}

void TksSkinForm::SetShowIcon(bool show) {
  showIcon_ = show;
  if (skinApplied_) PlaceObjects();
  SendNcPaint();
}

const TksSkinData* TksSkinForm::Skin() const {
  const TksSkinDataComponent* c = skinData_.Get();
  return c && !c->Skin().Empty ? &c->Skin() : nullptr;
}

bool TksSkinForm::IsActive() const { return ncActiveFlag_; }

bool TksSkinForm::HasBorder() const { return ownerForm_->HandleAllocated(); }

bool TksSkinForm::ToolWindow() const {
  return ownerForm_->HandleAllocated() && (GetWindowLongPtrW(ownerForm_->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

bool TksSkinForm::FrameUsable() const { return skinApplied_ && SkinIsUsable(Skin()); }

Point TksSkinForm::SmallIconSize() const {
  const int dpi = Dpi();
  int w = SystemMetricForDpi(SM_CXSMICON, dpi), h = SystemMetricForDpi(SM_CYSMICON, dpi);
  if (w == 0 || h == 0) {
    w = SystemMetricForDpi(SM_CXSIZE, dpi);
    h = SystemMetricForDpi(SM_CYSIZE, dpi);
  }
  return {w, h};
}

HICON TksSkinForm::SmallIcon() {
  if (!smallIcon_) {
    HICON source = reinterpret_cast<HICON>(SendMessageW(ownerForm_->Handle(), WM_GETICON, ICON_SMALL, 0));
    if (!source) source = Application().Icon();
    if (!source) source = LoadIconW(nullptr, IDI_APPLICATION);
    const Point s = SmallIconSize();
    smallIcon_.Reset(static_cast<HICON>(CopyImage(source, IMAGE_ICON, s.x, s.y, 0)));
  }
  return smallIcon_;
}

Point TksSkinForm::MinTrackSize() const {
  const bool minimized = FrameState == TWindowState::wsMinimized;
  Point m;
  if (const TksSkinData* skin = Skin()) {
    m.x = skin->Picture.Width();
    if (MinWidth > m.x && !minimized) m.x = MinWidth;
    m.y = skin->Picture.Height() - RectHeight(skin->clientrect);
  } else {
    const PlainFrame plain(ToolWindow(), Dpi());
    m.x = MinWidth > 0 ? MinWidth : ScaleLength(130, Dpi());
    m.y = plain.caption + 2 * plain.border;
  }
  if (MinHeight > m.y && !RollUpState && !minimized) m.y = MinHeight;
  return m;
}

std::vector<FrameObjectLayout*> TksSkinForm::Layouts() const {
  std::vector<FrameObjectLayout*> layouts;
  for (const auto& o : objects_) layouts.push_back(o.get());
  return layouts;
}

// ------------------------------------------------------------ the messages

void TksSkinForm::ClosingCheck(UINT msg) {
  switch (msg) {
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE: case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
      // An object hint that shows goes, and so does an open skin menu.
      if (ObjectHintsOn()) skinHint_->HideObjectHint();
      if (MainMenuMode && !skinMenu_->MenuOpen) {
        MainMenuMode = false;
        if (OnMainMenuExit) OnMainMenuExit();
      } else if (skinMenu_->MenuOpen) {
        skinMenu_->CloseAll();
      } else if (SkinMenuActive) {
        SkinMenuClosed();
      }
      break;
    default:
      break;
  }
}

void TksSkinForm::HandleMessage(TMessage& m, const TWindowNext& next) {
  ClosingCheck(m.Msg);
  if (accessible_->Handle(m)) return;
  switch (m.Msg) {
    case WM_DESTROY:
      next(m);
      fadeTimer_->SetEnabled(false);
      hoverPollTimer_->SetEnabled(false);
      frameStepTimer_->SetEnabled(false);
      fadeInTimer_->SetEnabled(false);
      return;
    case WM_SIZE:
      OnSize(m, next);
      return;
    case WM_ACTIVATE:
      next(m);
      OnActivateMessage();
      return;
    case WM_SETTEXT:
      next(m);
      OnSetText();
      return;
    case WM_ERASEBKGND:
      OnEraseBackground(m);
      return;
    case WM_SHOWWINDOW:
      OnShowWindow(m.WParam != 0);
      next(m);
      return;
    case WM_SETCURSOR:
      OnSetCursor(m);
      next(m);
      return;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(m);
      next(m);
      return;
    case WM_NCCALCSIZE:
      OnNcCalcSize(m);
      return;
    case WM_NCPAINT:
      if (HasBorder()) {
        WindowNcDc dc(ownerForm_->Handle());
        PaintFrame(dc);
      }
      m.Result = 0;
      return;
    case WM_PRINT:
      // The frame is ours; the client area is the form's.
      if (m.LParam & PRF_NONCLIENT) PaintFrame(reinterpret_cast<HDC>(m.WParam));
      m.LParam &= ~LPARAM(PRF_NONCLIENT);
      next(m);
      return;
    case WM_NCACTIVATE:
      OnNcActivate(m);
      return;
    case WM_SYNCPAINT:
      if (RollUpState) {
        SendNcPaint();
        m.Result = 0;
        return;
      }
      break;
    case WM_ENTERSIZEMOVE:
      next(m);
      OnEnterSizeMove();
      return;
    case WM_EXITSIZEMOVE:
      next(m);
      OnExitSizeMove();
      return;
    case WM_MOVING:
      OnMoving(m, next);
      return;
    case WM_SIZING:
      OnSizing(m, next);
      return;
    case WM_NCHITTEST:
      OnNcHitTest(m, next);
      return;
    case WM_NCMOUSEMOVE: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP: case WM_NCRBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_LBUTTONDBLCLK:
      OnMouseMessage(m, next);
      return;
    case SKIN_MSG_BEFORE_CHANGE:
    case SKIN_MSG_CHANGE:
      next(m);
      OnSkinMessage(m);
      return;
    case SKIN_MSG_STRINGS_CHANGE:
      next(m);
      AssignDefaultObjectHints();
      return;
    case SKIN_MSG_MENU_CLOSED:
      next(m);
      SkinMenuClosed();
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_KEYMENU) {
        OnKeyMenu(m);
        return;
      }
      break;
  }
  next(m);
}

void TksSkinForm::OnNcCalcSize(TMessage& m) {
  // Both forms of the message start with the proposed window rectangle.
  RECT* proposed = reinterpret_cast<RECT*>(m.LParam);
  if (HasBorder()) {
    const TksSkinData* skin = skinApplied_ ? Skin() : nullptr;
    if (skin) ComputeGeometry();
    *proposed = ToRECT(FrameClientRect(skin, FromRECT(*proposed), ToolWindow(), Dpi()));
  }
  m.Result = 0;
}

void TksSkinForm::OnSize(TMessage& m, const TWindowNext& next) {
  if (InSizeMove && FullWindowDrag) {
    if (!logo_.IsEmpty()) ownerForm_->Invalidate();
    next(m);
    return;
  }
  next(m);
  const Rect b = WindowBounds(ownerForm_->Handle());
  FrameWidth = b.Width();
  FrameHeight = b.Height();
  if (skinApplied_) {
    const Point min = MinTrackSize();
    // The first show reports the size the frame was made for already.
    const bool made = FrameWidth == shapedSize_.x && FrameHeight == shapedSize_.y && m.WParam == shapedKind_;
    shapedKind_ = m.WParam;
    if (FrameWidth >= min.x && FrameHeight >= min.y && !made) UpdateForNewSize(true);
  } else {
    SendNcPaint();
  }
  if (AlphaBlend && AlphaBlendValue != 255 && LayeredWindows) {
    SendNcPaint();
    ownerForm_->Invalidate();
  }
  if (!logo_.IsEmpty()) ownerForm_->Invalidate();
}

void TksSkinForm::OnActivateMessage() {
  // WM_NCACTIVATE painted the frame for the new state just before: again
  // only where a caption button loses its hot or pressed look here.
  bool looks_changed = HotObjectIndex >= 0;
  ForgetHotObject();
  for (const auto& o : objects_) {
    const bool highlighted = o->Highlighted, over = o->MouseOver;
    const double morph = o->MorphFactor;
    o->ResetState();
    looks_changed |= o->Highlighted != highlighted || o->MouseOver != over || o->MorphFactor != morph;
  }
  if (looks_changed) SendNcPaint();
  CaptionActivationUpdate(true);
}

void TksSkinForm::OnSetText() {
  if (!HasBorder()) return;
  if (Skin())
    for (const auto& o : objects_)
      if (auto* c = dynamic_cast<TksSkinCaptionObject*>(o.get()); c && c->defaultcaption)
        c->CaptionText = ownerForm_->Caption();
  SendNcPaint();
}

void TksSkinForm::OnEraseBackground(TMessage& m) {
  m.Result = 1;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  // The controls cover nearly all of the client area: most erases after a
  // size change have nothing left to draw.
  RECT clip;
  if (GetClipBox(dc, &clip) == NULLREGION) return;
  RECT rc;
  GetClientRect(ownerForm_->Handle(), &rc);
  const Rect client = FromRECT(rc);
  const TksSkinData* skin = skinApplied_ ? Skin() : nullptr;
  const Image* tileSource = nullptr;
  Rect tileRect;
  if (skin && skin->bgpictureindex < 0 && !RectIsEmpty(skin->clientrect)) {
    tileSource = &skin->Picture;
    tileRect = skin->clientrect;
  } else if (skin && skin->bgpictureindex >= 0 && size_t(skin->bgpictureindex) < skin->ActivePictures.size()) {
    tileSource = &skin->ActivePictures[size_t(skin->bgpictureindex)];
    tileRect = tileSource->Bounds();
  }
  const ImageView tile = tileSource ? tileSource->View().Sub(tileRect) : ImageView();
  if (!tile.IsEmpty()) {
    // One fill with the tile as a brush: what shows of the client area is
    // often a few thin strips spread over all of it.
    if (!tileBrush_ || tileBrushSource_ != tileSource || tileBrushRect_ != tileRect) {
      // A tile of one colour is that colour, which the system fills faster.
      const uint32_t first = ColorFromPixel(tile.At(0, 0));
      bool plain = true;
      for (int y = 0; y < tile.Height() && plain; ++y)
        for (int x = 0; x < tile.Width() && plain; ++x) plain = ColorFromPixel(tile.At(x, y)) == first;
      if (plain) {
        tileBrush_.Reset(CreateSolidBrush(first));
      } else {
        TBitmap pattern;
        pattern.CopyFrom(tile);
        tileBrush_.Reset(CreatePatternBrush(pattern.Handle()));
      }
      tileBrushSource_ = tileSource;
      tileBrushRect_ = tileRect;
    }
    // The tiles start at the client's corner wherever the context puts it
    // (a capture moves its origin).
    POINT origin{0, 0};
    LPtoDP(dc, &origin, 1);
    POINT old;
    SetBrushOrgEx(dc, origin.x, origin.y, &old);
    const RECT area = ToRECT(client);
    FillRect(dc, &area, tileBrush_);
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
  } else {
    TCanvas(dc).FillRect(client, GetSysColor(COLOR_BTNFACE));
  }
  if (!logo_.IsEmpty()) {
    const int x = std::max(0, client.Width() / 2 - logo_.Width() / 2);
    const int y = std::max(0, client.Height() / 2 - logo_.Height() / 2);
    if (LogoBitMapTransparent) {
      const ImageView p = logo_.Pixels();
      TransparentBlt(dc, x, y, logo_.Width(), logo_.Height(), logo_.Dc(), 0, 0, logo_.Width(), logo_.Height(),
                     ColorFromPixel(p.At(0, p.Height() - 1)));
    } else {
      logo_.Draw(dc, x, y);
    }
  }
}

void TksSkinForm::OnShowWindow(bool show) {
  if (show) {
    // Sent ahead of the showing itself: the shape is there at the first map.
    if (pendingShape_) MakeShape(*pendingShape_);
    StartFadeIn();
    FrameRefresh();
  } else if (LayeredWindows && AlphaBlend) {
    SetLayered(false);
  }
}

void TksSkinForm::OnSetCursor(TMessage& m) {
  if (!UseFormCursorInNCArea) return;
  const int code = static_cast<short>(LOWORD(m.LParam));
  switch (code) {
    case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOM: case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT: case HTCLIENT:
      return;
    default:
      m.LParam = MAKELPARAM(HTCLIENT, HIWORD(m.LParam));
  }
}

void TksSkinForm::OnGetMinMaxInfo(TMessage& m) {
  auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
  const Point min = MinTrackSize();
  info->ptMinTrackSize = {min.x, min.y};
  Rect area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  GetMonitorWorkArea(ownerForm_->Handle(), !MaximizeOnFullScreen, area);
  int w = area.Width(), h = area.Height();
  if (MaxWidth > 0 && MaxWidth < w) w = MaxWidth;
  if (MaxHeight > 0 && MaxHeight < h) h = MaxHeight;
  info->ptMaxTrackSize = {w, h};
}

void TksSkinForm::OnNcActivate(TMessage& m) {
  ncActiveFlag_ = m.WParam != 0;
  if (HasBorder()) SendNcPaint();
  CaptionActivationUpdate(true);
  m.Result = TRUE;
}

void TksSkinForm::OnSkinMessage(TMessage& m) {
  auto* sender = reinterpret_cast<TksSkinData*>(m.WParam);
  const bool own = skinData_ && skinData_->IsSender(m.WParam);
  if (m.Msg == SKIN_MSG_BEFORE_CHANGE) {
    if (!own) return;
    // The menu windows draw from the records about to be freed.
    if (skinMenu_->MenuOpen) skinMenu_->CloseAll();
    RemoveSkin();
    NotifyControls(sender, false);
  } else {
    if (own) ApplySkin();
    NotifyControls(sender, true);
  }
}

bool TksSkinForm::FrameShown() const {
  // A hidden window's frame is painted when it is shown, not before.
  return ownerForm_->HandleAllocated() && IsWindowVisible(ownerForm_->Handle());
}

void TksSkinForm::SendNcPaint() {
  if (FrameShown()) SendMessageW(ownerForm_->Handle(), WM_NCPAINT, 1, 0);
}

// ------------------------------------------------------------- the frame

void TksSkinForm::ComputeGeometry() {
  const TksSkinData* skin = Skin();
  if (!skin) return;
  if (FrameWidth == 0 || FrameHeight == 0) {
    const Rect b = WindowBounds(ownerForm_->Handle());
    FrameWidth = b.Width();
    FrameHeight = b.Height();
  }
  geometry_ = ComputeFrameGeometry(*skin, FrameWidth, FrameHeight);
}

void TksSkinForm::PlaceObjects() {
  const TksSkinData* skin = Skin();
  if (!skin) return;
  PlaceFrameObjects(*skin, geometry_, Layouts(), showIcon_, SmallIconSize());
}

void TksSkinForm::PaintFrame(HDC dc) {
  if (!ownerForm_->HandleAllocated()) return;
  const Rect b = WindowBounds(ownerForm_->Handle());
  FrameWidth = b.Width();
  FrameHeight = b.Height();
  if (skinApplied_)
    PaintSkinnedFrame(dc);
  else
    PaintPlainFrame(dc);
}

void TksSkinForm::PaintSkinnedFrame(HDC dc) {
  const TksSkinData* skin = Skin();
  if (!SkinIsUsable(skin)) return;
  const Point min = MinTrackSize();
  if (FrameWidth < min.x || FrameHeight < min.y) return;
  ComputeGeometry();
  PlaceObjects();
  const bool active = IsActive();
  const Image& source = active || skin->InactivePicture.IsEmpty() ? skin->Picture : skin->InactivePicture;
  const FrameGeometry& g = geometry_;
  const StretchEdges stretch{skin->leftstretch, skin->rightstretch, skin->topstretch, skin->bottomstretch};
  const Rect& c = g.SizedClientRect;
  const int w = FrameWidth, h = FrameHeight;
  const int sideHeight = c.bottom - c.top;
  const Point sizes[4] = {{w, c.top}, {w, h - c.bottom}, {c.left, sideHeight}, {w - c.right, sideHeight}};
  for (int i = 0; i < 4; ++i)
    if (strips_[i].Width() != sizes[i].x || strips_[i].Height() != sizes[i].y)
      strips_[i].Resize(sizes[i].x, sizes[i].y);
  ComposeFrameBorders(source.View(), g.PictureGeometry(*skin), g.SizedGeometry(), w, h, stretch, strips_[kTop],
                      strips_[kBottom], strips_[kLeft], strips_[kRight]);
  const Point origins[4] = {{0, 0}, {0, c.bottom}, {0, c.top}, {c.right, c.top}};
  for (int i = 0; i < 4; ++i) {
    if (strips_[i].IsEmpty()) continue;
    // Kept when the window shrinks or grows back: a size step then draws
    // into memory it has drawn into before.
    TBitmap& bitmap = stripBitmaps_[i];
    bitmap.Fit(strips_[i].Width(), strips_[i].Height());
    CopyImageRect(bitmap.Pixels(), bitmap.Pixels().Bounds(), strips_[i].View(), strips_[i].Bounds());
  }
  // Objects above the client area go into the top strip, the rest into the
  // bottom one.
  for (const auto& o : objects_) {
    if (!o->IsVisible || o->rollup) continue;
    const int i = o->ObjectRect.bottom <= c.top ? kTop : kBottom;
    TBitmap& bitmap = stripBitmaps_[i];
    if (strips_[i].IsEmpty()) continue;
    FrameCanvas canvas{bitmap.Dc(), bitmap.Pixels(), origins[i]};
    o->Draw(canvas, false);
  }
  ScopedDcState state(dc);
  if (!RectIsEmpty(c)) ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
  const bool effect = !active && skin->autorenderinginactiveimage;
  NoiseSource noise;
  for (int i = 0; i < 4; ++i) {
    if (strips_[i].IsEmpty()) continue;
    TBitmap& bitmap = stripBitmaps_[i];
    if (effect) {
      Image pixels(bitmap.Width(), bitmap.Height());
      CopyImageRect(pixels.View(), pixels.Bounds(), bitmap.Pixels(), pixels.Bounds());
      TksEffectBmp bmp(std::move(pixels));
      bmp.ApplyInactiveEffect(int(skin->inactiveeffect), noise);
      DrawEffectBmp(dc, origins[i].x, origins[i].y, bmp);
    } else {
      BitBlt(dc, origins[i].x, origins[i].y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
    }
  }
}

void TksSkinForm::PaintPlainFrame(HDC dc) {
  if (objects_.empty()) MakePlainButtons();
  const bool tool = ToolWindow();
  const int dpi = Dpi();
  PlainCaptionRect = PlacePlainCaption(FrameWidth, tool, Layouts(), showIcon_, SmallIconSize(), dpi);
  const PlainFrame plain(tool, dpi);
  const int captionHeight = plain.caption, border = plain.border;
  const int bw = FrameWidth - 2 * border;
  if (bw <= 0) return;
  TBitmap bitmap(bw, captionHeight);
  HDC bdc = bitmap.Dc();
  TCanvas canvas(bdc);
  canvas.FillRect({0, 0, bw, captionHeight}, GetSysColor(COLOR_BTNFACE));
  // Engraved lines across the caption, interrupted by the text: pairs of
  // one light and one dark line, as many as the 96-DPI caption has, each
  // line as thick as the scale makes a pixel.
  const int line = ScaleLength(1, dpi), inset = ScaleLength(2, dpi);
  for (int y = inset, k = 0; y + line <= captionHeight - inset - line + 1; y += line, ++k) {
    const TColor colour = GetSysColor(k % 2 == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    canvas.FillRect({PlainCaptionRect.left - 1, y, PlainCaptionRect.right - ScaleLength(6, dpi), y + line}, colour);
  }
  const bool active = IsActive();
  TFont font = active ? defCaptionFont_ : defInactiveCaptionFont_;
  font.SetHeight(ScaleLength(font.Height(), dpi));
  std::wstring text = ownerForm_->Caption();
  if (!text.empty()) {
    const int w = PlainCaptionRect.right - PlainCaptionRect.left + border;
    ScopedDcState state(bdc);
    SelectObject(bdc, font.Handle());
    FitTextWithEllipsis(bdc, text, w);
    const SIZE size = canvas.TextExtent(font, text);
    const int gap = ScaleLength(5, dpi);
    const int x = (PlainCaptionRect.left - border) + w / 2 - (size.cx + gap) / 2;
    const int y = captionHeight / 2 - size.cy / 2;
    canvas.FillRect({x, 0, x + size.cx + gap, captionHeight}, GetSysColor(COLOR_BTNFACE));
    canvas.TextOut(font, x + border, y, text);
  }
  FrameCanvas objectCanvas{bdc, bitmap.Pixels(), {border, border}};
  for (const auto& o : objects_)
    if (o->IsVisible) o->Draw(objectCanvas, true);
  ScopedDcState state(dc);
  const int w = FrameWidth, h = FrameHeight;
  ExcludeClipRect(dc, border, captionHeight + border, w - border, h - border);
  BitBlt(dc, border, border, bw, captionHeight, bdc, 0, 0, SRCCOPY);
  // Three rings inward: 3D light / dark shadow, highlight / shadow, face,
  // each as wide as the scale makes a pixel (the last one takes what is left).
  const int rings[3][2] = {{COLOR_3DLIGHT, COLOR_3DDKSHADOW}, {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
                           {COLOR_BTNFACE, COLOR_BTNFACE}};
  TCanvas window(dc);
  for (int i = 0; i < border; ++i) {
    const int ring = std::min(2, i / std::max(1, line));
    const TColor light = GetSysColor(rings[ring][0]), dark = GetSysColor(rings[ring][1]);
    window.FillRect({i, i, w - i, i + 1}, light);
    window.FillRect({i, i, i + 1, h - i}, light);
    window.FillRect({i, h - i - 1, w - i, h - i}, dark);
    window.FillRect({w - i - 1, i, w - i, h - i}, dark);
  }
}

void TksSkinForm::PaintObject(const TksActiveSkinObject& object) {
  if (object.rollup || !FrameShown()) return;
  // The frame under the object is drawn again, then the object on it: the
  // same pixels as a whole frame paint, only where the object lies.
  WindowNcDc dc(ownerForm_->Handle());
  ScopedDcState state(dc);
  IntersectClipRect(dc, object.ObjectRect.left, object.ObjectRect.top, object.ObjectRect.right,
                    object.ObjectRect.bottom);
  PaintFrame(dc);
}

void TksSkinForm::SetRegion(bool sizeChanged) {
  HWND hwnd = ownerForm_->Handle();
  if (!hwnd) return;
  const TksSkinData* skin = Skin();
  if (!skin || skin->Mask.IsEmpty()) {
    pendingShape_.reset();
    if (hasRegion_) ReshapeWindow(hwnd, RegionHandle());
    hasRegion_ = false;
    return;
  }
  // A hidden window's shape shows nowhere: it is made when the window is
  // shown, not at every size the window passes through while it is built.
  if (!IsWindowVisible(hwnd)) {
    pendingShape_ = sizeChanged;
    return;
  }
  MakeShape(sizeChanged);
}

void TksSkinForm::MakeShape(bool sizeChanged) {
  pendingShape_.reset();
  const TksSkinData* skin = Skin();
  if (!skin || skin->Mask.IsEmpty()) return;
  RegionHandle region = sizeChanged
                            ? ComposeMaskRegion(skin->Mask.View(), geometry_.MaskGeometry(*skin),
                                                geometry_.SizedMaskGeometry())
                            : RegionFromMask(skin->Mask.View());
  // The system owns the region from here on, and frees the one it replaces.
  hasRegion_ = region && ReshapeWindow(ownerForm_->Handle(), std::move(region));
}

void TksSkinForm::UpdateForNewSize(bool sizeChanged) {
  if (!Skin()) return;
  ComputeGeometry();
  if (sizeChanged) PlaceObjects();
  SetRegion(sizeChanged);
  shapedSize_ = {FrameWidth, FrameHeight};
  if (OnChangeClientRect) OnChangeClientRect(geometry_.SizedClientRect);
  // The frame is not painted here: a size change repaints it at the new
  // size, and the part the new shape adds is invalidated with the shape.
}

void TksSkinForm::FrameRefresh() {
  HWND hwnd = ownerForm_->Handle();
  if (!hwnd) return;
  // Lets the system ask for the client area again.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TksSkinForm::ApplySkin() {
  HotObjectIndex = PrevHotObjectIndex = CapturedObjectIndex = -1;
  tileBrush_.Reset();  // a new skin may sit where the old one's pictures were
  objects_.clear();
  skinApplied_ = Skin() != nullptr;
  if (skinApplied_) {
    for (const auto& record : Skin()->ObjectData)
      if (auto o = CreateFrameObject(this, *record)) objects_.push_back(std::move(o));
    ApplyBorderIconsToObjects();
    AssignDefaultObjectHints();
  } else {
    SetRegion(true);
  }
  HWND hwnd = ownerForm_->Handle();
  if (!hwnd) return;
  const Point min = MinTrackSize();
  Rect b = WindowBounds(hwnd);
  int w = b.Width(), h = b.Height();
  if (RollUpState || FrameState == TWindowState::wsMinimized) h = min.y;
  if (FrameState == TWindowState::wsMinimized) w = min.x;
  w = std::max(w, min.x);
  h = std::max(h, min.y);
  // Made anew for this skin, once: by the size message the frame change
  // sends, or below if none came.
  shapedSize_ = {-1, -1};
  if (w != b.Width() || h != b.Height())
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  else
    FrameRefresh();
  b = WindowBounds(hwnd);
  FrameWidth = b.Width();
  FrameHeight = b.Height();
  if (skinApplied_ && shapedSize_ != Point{FrameWidth, FrameHeight}) UpdateForNewSize(true);
  SendNcPaint();
  ownerForm_->Invalidate();
  CaptionActivationUpdate(true);
  // The hover poll starts when the mouse first meets a frame object (see
  // OnNcHitTest), not with every window: no timer wakes an idle window.
  if (!skinApplied_) hoverPollTimer_->SetEnabled(false);
  appliedDpi_ = Dpi();
  if (OnChangeSkinData) OnChangeSkinData();
  if (ClientWidth > 0 || ClientHeight > 0)
    ownerForm_->SetClientSize(ClientWidth > 0 ? ClientWidth : ownerForm_->ClientWidth(),
                              ClientHeight > 0 ? ClientHeight : ownerForm_->ClientHeight());
}

void TksSkinForm::ScaleChanged() {
  // Made for this DPI already: a form laid out at its own DPI from the start.
  if (appliedDpi_ == Dpi() && (!skinData_ || skinData_->Skin().Dpi == Dpi())) return;
  smallIcon_.Reset();
  // The skin at the form's DPI: its messages make the frame and the
  // controls anew.
  if (skinData_ && skinData_->Skin().Dpi != Dpi())
    skinData_->Skin().SetDpi(Dpi());
  else
    ApplySkin();
}

void TksSkinForm::RemoveSkin() {
  skinApplied_ = false;
  fadeTimer_->SetEnabled(false);
  hoverPollTimer_->SetEnabled(false);
  frameStepTimer_->SetEnabled(false);
  objects_.clear();
  HotObjectIndex = PrevHotObjectIndex = CapturedObjectIndex = -1;
}

void TksSkinForm::MakePlainButtons() {
  objects_ = CreatePlainButtons(this);
  ApplyBorderIconsToObjects();
}

void TksSkinForm::ApplyBorderIconsToObjects() {
  for (const auto& o : objects_) {
    if (!o->IsButton()) continue;
    if (HideCaptionButtons) {
      o->IsEnabled = false;
      o->IsVisible = !o->skinrectinapicture;
      continue;
    }
    if (o->Kind != FrameObjectKind::StdButton) continue;
    if (o->Command == SkinCommand::cmDefault) {
      bool visible = false;
      if (OnActivateCustomObject) OnActivateCustomObject(o->IDName, visible);
      o->IsVisible = visible;
    } else if (CommandSwitchedOff(o->Command, borderIcons_)) {
      o->IsEnabled = false;
      o->IsVisible = !o->skinrectinapicture;
    } else {
      o->IsEnabled = true;
      o->IsVisible = true;
    }
  }
  // The caption shows the form's caption: the marked caption objects, or
  // the first one when none is marked.
  TksSkinCaptionObject* first = nullptr;
  bool marked = false;
  for (const auto& o : objects_) {
    auto* c = dynamic_cast<TksSkinCaptionObject*>(o.get());
    if (!c) continue;
    if (!first) first = c;
    if (c->defaultcaption) {
      marked = true;
      c->CaptionText = ownerForm_->Caption();
    }
  }
  if (first && !marked) {
    first->defaultcaption = true;
    first->CaptionText = ownerForm_->Caption();
  }
}

namespace {

// The caption buttons' built-in hints, in code page 936 as the skin's own
// hints are, and the skin's keys that replace them.
struct DefaultHint {
  SkinCommand command;
  const char* key;
  const char* text;
};
constexpr DefaultHint kDefaultHints[] = {
    {SkinCommand::cmClose, "CLOSEBUTTON_HINT", "\xB9\xD8\xB1\xD5"},                       // 关闭
    {SkinCommand::cmMaximize, "MAXBUTTON_HINT", "\xD7\xEE\xB4\xF3\xBB\xAF"},             // 最大化
    {SkinCommand::cmMinimize, "MINBUTTON_HINT", "\xD7\xEE\xD0\xA1\xBB\xAF"},             // 最小化
    {SkinCommand::cmSysMenu, "MENUBUTTON_HINT", "\xCF\xB5\xCD\xB3\xB2\xCB\xB5\xA5"},   // 系统菜单
    {SkinCommand::cmRollUp, "ROLLUPBUTTON_HINT", "\xBE\xED\xC6\xF0"},                     // 卷起
    {SkinCommand::cmMinimizeToTray, "TRAYBUTTON_HINT",                                      // 最小化到系统托盘区
     "\xD7\xEE\xD0\xA1\xBB\xAF\xB5\xBD\xCF\xB5\xCD\xB3\xCD\xD0\xC5\xCC\xC7\xF8"},
};

}  // namespace

std::string DefaultObjectHint(SkinCommand command) {
  for (const DefaultHint& h : kDefaultHints)
    if (h.command == command) return h.text;
  return {};
}

void TksSkinForm::AssignDefaultObjectHints() {
  const TksSkinData* skin = Skin();
  if (!UseDefaultObjectHint || !skin) return;
  const TksResourceStrData* strings = skin->ResourceStrData();
  for (const auto& o : objects_) {
    if (o->Kind != FrameObjectKind::StdButton) continue;
    for (const DefaultHint& h : kDefaultHints) {
      if (h.command != o->Command) continue;
      const std::string replacement = strings ? strings->GetResString(h.key) : std::string();
      o->HintText = replacement.empty() ? h.text : replacement;
    }
  }
}

std::wstring TksSkinForm::ObjectName(const TksActiveSkinObject& object) const {
  if (object.Kind != FrameObjectKind::StdButton) return WideFromCp936(object.HintText);
  if ((object.Command == SkinCommand::cmMaximize && FrameState == TWindowState::wsMaximized) ||
      (object.Command == SkinCommand::cmMinimize && FrameState == TWindowState::wsMinimized))
    return L"还原";
  return WideFromCp936(object.HintText.empty() ? DefaultObjectHint(object.Command) : object.HintText);
}

void TksSkinForm::ObjectHintEnter(const TksActiveSkinObject& object) {
  if (ObjectHintsOn() && IsActive() && !object.HintText.empty())
    skinHint_->ShowObjectHint(ObjectName(object), Dpi());
}

void TksSkinForm::ObjectHintLeave(const TksActiveSkinObject& object) {
  if (ObjectHintsOn() && !object.HintText.empty()) skinHint_->HideObjectHint();
}

void TksSkinForm::NotifyControls(TksSkinData* data, bool apply) {
  // The form first, then its controls depth first, each before its children.
  std::vector<TControl*> order{ownerForm_};
  for (size_t i = 0; i < order.size(); ++i) {
    if (auto* w = dynamic_cast<TWinControl*>(order[i])) {
      const auto& children = w->Controls();
      order.insert(order.begin() + long(i) + 1, children.begin(), children.end());
    }
  }
  for (TControl* c : order) {
    auto* target = dynamic_cast<TksSkinChangeTarget*>(c);
    if (!target || (data && target->SkinDataForChange() != data)) continue;
    if (apply)
      target->ApplySkinChange();
    else
      target->PrepareSkinChange();
  }
}

void TksSkinForm::CaptionActivationUpdate(bool repaint) {
  const bool active = IsActive();
  for (const auto& o : objects_) {
    auto* c = dynamic_cast<TksSkinCaptionObject*>(o.get());
    if (!c || c->rollup) continue;
    if (repaint) {
      if (!RectIsEmpty(c->activeskinrect)) PaintObject(*c);
    } else if (c->morphing) {
      c->MorphFactor = active ? 1 : 0;
    }
  }
  if (active) {
    if (OnActivate) OnActivate();
  } else if (OnDeActivate) {
    OnDeActivate();
  }
}

void TksSkinForm::ForgetHotObject() {
  if (HotObjectIndex >= 0 && size_t(HotObjectIndex) < objects_.size()) objects_[size_t(HotObjectIndex)]->MouseLeave();
  HotObjectIndex = PrevHotObjectIndex = -1;
}

void TksSkinForm::StartFading() { fadeTimer_->SetEnabled(true); }

void TksSkinForm::StepFades() {
  bool any = false;
  for (const auto& o : objects_) {
    if (o->morphing && o->NeedsMorphStep()) {
      o->StepMorph();
      any = true;
    }
  }
  if (!any) fadeTimer_->SetEnabled(false);
}

// ----------------------------------------------------------- window states

void TksSkinForm::SetWindowState(TWindowState state) {
  if (state == FrameState) return;
  HWND hwnd = ownerForm_->Handle();
  const bool mainForm = Application().MainForm() == ownerForm_;
  const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (state == TWindowState::wsMinimized) {
    // The main form minimizes the application; the system restores it.
    if (mainForm) {
      ShowWindow(hwnd, SW_MINIMIZE);
      return;
    }
    if (RestoreBounds.IsEmpty()) RestoreBounds = WindowBounds(hwnd);
    FrameState = state;
    Rect area = screen;
    GetMonitorWorkArea(hwnd, true, area);
    const Point min = MinTrackSize();
    // The places other minimized skinned forms hold.
    std::vector<Point> taken;
    for (TForm* form : Application().Forms()) {
      if (form == ownerForm_ || form == Application().MainForm() || !form->HandleAllocated() ||
          !IsWindowVisible(form->Handle()))
        continue;
      for (TComponent* c : form->Components()) {
        auto* other = dynamic_cast<TksSkinForm*>(c);
        if (!other || other->FrameState != TWindowState::wsMinimized) continue;
        const Rect ob = WindowBounds(form->Handle());
        taken.push_back({ob.left, ob.top});
      }
    }
    const Point place = MinimizedPlace(area, min, taken);
    SetWindowPos(hwnd, nullptr, place.x, place.y, min.x, min.y, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  FrameState = state;
  if (state == TWindowState::wsMaximized) {
    if (RestoreBounds.IsEmpty()) RestoreBounds = WindowBounds(hwnd);
    // The monitor nearest to the window: one that exists, wherever the
    // window was.
    Rect work = screen, monitor = screen;
    GetMonitorWorkArea(hwnd, true, work);
    GetMonitorWorkArea(hwnd, false, monitor);
    const Rect target = MaximizeTarget(work, monitor, {screen.right, screen.bottom}, MaximizeOnFullScreen);
    SetWindowPos(hwnd, nullptr, target.left, target.top, target.Width(), target.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // Restore.
  RolledUpWhileMaximized = false;
  const Rect before = WindowBounds(hwnd);
  if (!RestoreBounds.IsEmpty()) {
    Rect target = RestoreBounds;
    // Bounds saved on a monitor that has gone since come back onto the
    // nearest one that exists.
    const RECT saved = ToRECT(target);
    if (!MonitorFromRect(&saved, MONITOR_DEFAULTTONULL)) {
      MONITORINFO info{};
      info.cbSize = sizeof(info);
      if (GetMonitorInfoW(MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST), &info))
        target = KeepOnArea(target, FromRECT(info.rcWork));
    }
    SetWindowPos(hwnd, nullptr, target.left, target.top, target.Width(), target.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (skinApplied_) hoverPollTimer_->SetEnabled(true);
  const Rect after = WindowBounds(hwnd);
  if (after.Width() == before.Width() && after.Height() == before.Height()) FrameRefresh();
  ownerForm_->Invalidate();
  RestoreBounds = {};
}

void TksSkinForm::RollUp(bool value) {
  if (!(borderIcons_ & biRollUp) || FrameState == TWindowState::wsMinimized) return;
  if (RollUpState && FrameState == TWindowState::wsMaximized && !RolledUpWhileMaximized) return;
  if (FrameState == TWindowState::wsMaximized) RolledUpWhileMaximized = value;
  if (value == RollUpState) return;
  HWND hwnd = ownerForm_->Handle();
  const Rect b = WindowBounds(hwnd);
  RollUpState = value;
  if (value) {
    rollUpSavedHeight_ = b.Height();
    SetWindowPos(hwnd, nullptr, 0, 0, b.Width(), MinTrackSize().y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(hwnd, nullptr, 0, 0, b.Width(), rollUpSavedHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendNcPaint();
  if (OnChangeRollUpState) OnChangeRollUpState();
}

}  // namespace kelmar
