#include "framework/hints.h"

#include <algorithm>
#include <vector>

#include "framework/application.h"
#include "framework/clock.h"
#include "framework/dib_header.h"
#include "framework/forms.h"

namespace kelmar {

namespace {

constexpr UINT kPollInterval = 100;

std::u16string_view U16(std::wstring_view s) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}
std::wstring_view Wide(std::u16string_view s) { return {reinterpret_cast<const wchar_t*>(s.data()), s.size()}; }

void RegisterHintClass(const wchar_t* name, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = DefWindowProcW;  // replaced by the framework's at creation
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// The application is the one the user works with.
bool ApplicationActive() {
  DWORD process = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &process);
  return process == GetCurrentProcessId();
}

// How far the current cursor reaches below its hot spot.
int CursorHeightBelowHotSpot() {
  const int fallback = GetSystemMetrics(SM_CYCURSOR);
  ICONINFO info{};
  HCURSOR cursor = GetCursor();
  if (!cursor || !GetIconInfo(cursor, &info)) return fallback;
  BitmapHandle mask(info.hbmMask), colour(info.hbmColor);
  BITMAP bm{};
  if (!mask || !GetObjectW(mask.Get(), sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return fallback;
  // The mask as top-down 1-bit rows.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } bi{TopDownDibHeader(bm.bmWidth, bm.bmHeight, 1), {}};
  const int stride = ((bm.bmWidth + 31) / 32) * 4;
  std::vector<uint8_t> bits(size_t(stride) * bm.bmHeight);
  int rows = 0;
  {
    WindowDc screen(nullptr);
    rows = GetDIBits(screen, mask.Get(), 0, bm.bmHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(&bi),
                     DIB_RGB_COLORS);
  }
  if (rows != bm.bmHeight) return fallback;
  const int lowest = LowestVisibleCursorRow(bits.data(), stride, bm.bmWidth, bm.bmHeight, !colour);
  if (lowest < 0) return fallback;
  return lowest + 1 - int(info.yHotspot);
}

}  // namespace

// ------------------------------------------------------------ THintWindow

THintWindow::THintWindow() : TWinControl(nullptr, "HintWindow") {
  SetVisible(false);
  Font() = TFont(L"MS Sans Serif", 11, GetSysColor(COLOR_INFOTEXT));
}

void THintWindow::CreateParams(TCreateParams& params) {
  RegisterHintClass(HintClassName(), HintClassStyle());
  params.ClassName = HintClassName();
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
}

bool THintWindow::Showing() const { return HandleAllocated() && IsWindowVisible(Handle()); }

void THintWindow::ReleaseHint() {
  if (Showing())
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void THintWindow::ActivateHint(const Rect& rect, const std::wstring& text) {
  if (!HandleAllocated()) CreateHandle();
  text_ = text;
  scaledFont_ = Font();
  scaledFont_.SetHeight(Scaled(Font().Height()));
  SetWindowTextW(Handle(), text.c_str());  // for readers of the screen and tests in other processes
  const Point at{rect.left, rect.top};
  const Rect monitor = MonitorWorkAreaAt(at);
  {
    WindowDc screen(nullptr);
    ScopedSelect font(screen, HintFont().Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(screen, &tm);
    HDC dc = screen;
    auto width_of = [dc](std::u16string_view s) {
      SIZE size{};
      GetTextExtentPoint32W(dc, Wide(s).data(), int(s.size()), &size);
      return int32_t(size.cx);
    };
    const int max_width = std::max(1, std::min(Scaled(MaxTextWidth), int(monitor.Width()) - Scaled(8)));
    block_ = MeasureHintText(U16(text), max_width, tm.tmHeight, width_of);
  }
  const HintExtent size = HintSize(block_.size);
  const Point p = PlaceHint(at, size, monitor);
  BeforeShow(RectOfSize(p.x, p.y, size.width, size.height));
  SetWindowPos(Handle(), HWND_TOPMOST, p.x, p.y, size.width, size.height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

void THintWindow::PaintHint(HDC dc, int width, int height) {
  TCanvas canvas(dc);
  canvas.FillRect({0, 0, width, height}, GetSysColor(COLOR_INFOBK));
  canvas.FrameRect({0, 0, width, height}, GetSysColor(COLOR_BTNSHADOW));
  DrawTextBlock(dc, Scaled(2), Scaled(2), GetSysColor(COLOR_INFOTEXT));
}

void THintWindow::DrawTextBlock(HDC dc, int x, int y, TColor color) {
  ScopedDcState state(dc);
  SelectObject(dc, HintFont().Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  for (const auto& line : block_.lines) {
    TextOutW(dc, x, y, Wide(line).data(), int(line.size()));
    y += tm.tmHeight;
  }
}

void THintWindow::PaintBuffered(HDC dc) {
  RECT rc;
  GetClientRect(Handle(), &rc);
  TBitmap buffer(rc.right, rc.bottom);
  if (buffer.IsEmpty()) return;
  PaintHint(buffer.Dc(), rc.right, rc.bottom);
  BitBlt(dc, 0, 0, rc.right, rc.bottom, buffer.Dc(), 0, 0, SRCCOPY);
}

void THintWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST:
      m.Result = HTTRANSPARENT;  // the mouse belongs to the window below
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_NCPAINT:
      return;  // no frame
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_PAINT: {
      PaintDc dc(Handle());
      PaintBuffered(dc);
      return;
    }
    case WM_PRINTCLIENT:
      PaintBuffered(reinterpret_cast<HDC>(m.WParam));
      return;
  }
  TWinControl::WndProc(m);
}

// ------------------------------------------------------------- placement

Rect MonitorWorkAreaAt(Point p) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(MonitorFromPoint({p.x, p.y}, MONITOR_DEFAULTTONEAREST), &info)) return FromRECT(info.rcWork);
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Point HintPositionBelowCursor() {
  POINT pt{};
  GetCursorPos(&pt);
  return {pt.x, pt.y + CursorHeightBelowHotSpot()};
}

// ----------------------------------------------------------- THintHandler

THintHandler::THintHandler()
    : control_([this] { HideWindow(); }),
      showTimer_(nullptr, "HintShowTimer"),
      hideTimer_(nullptr, "HintHideTimer"),
      pollTimer_(nullptr, "HintPollTimer", kPollInterval) {
  windowClass_ = [] { return std::make_unique<THintWindow>(); };
  showTimer_.OnTimer = [this] { ShowHintNow(); };
  hideTimer_.OnTimer = [this] { HideWindow(); };
  pollTimer_.OnTimer = [this] {
    POINT pt{};
    GetCursorPos(&pt);
    MouseAt({pt.x, pt.y});
  };
}

THintHandler::~THintHandler() = default;

void THintHandler::SetShowHint(bool show) {
  // Starts afresh: the control under the mouse shows its hint again.
  HideWindow();
  control_ = nullptr;
  pollTimer_.SetEnabled(false);
  showHint_ = show;
  window_.reset();
  if (show) Window();
}

THintWindow* THintHandler::Window() {
  if (!window_ && showHint_ && windowClass_) window_ = windowClass_();
  return window_.get();
}

TControl* THintHandler::HintControlAt(Point p) {
  HWND hwnd = WindowFromPoint({p.x, p.y});
  TWinControl* windowed = nullptr;
  // Windows the framework did not make (a combo box's parts) stand for
  // their nearest framework parent.
  for (; hwnd && !windowed; hwnd = GetParent(hwnd)) windowed = TWinControl::FromHandle(hwnd);
  if (!windowed) return nullptr;
  POINT client{p.x, p.y};
  ScreenToClient(windowed->Handle(), &client);
  TControl* control = windowed;
  const auto& children = windowed->Controls();
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if (!(*it)->IsWindowed() && (*it)->Visible() && (*it)->BoundsRect().Contains({client.x, client.y})) {
      control = *it;
      break;
    }
  while (control && control->Hint().empty()) control = control->Parent();
  if (!control) return nullptr;
  TControl* root = control;
  while (root->Parent()) root = root->Parent();
  auto* form = dynamic_cast<TForm*>(root);
  return form && form->ShowHint() ? control : nullptr;
}

std::wstring THintHandler::HintTextAt(TControl* control, Point p) {
  if (!control) return {};
  // The control's own coordinates: from its window's, or its parent's for a
  // control without a window.
  const TWinControl* windowed = control->IsWindowed() ? static_cast<TWinControl*>(control) : control->Parent();
  POINT at{p.x, p.y};
  if (windowed) ScreenToClient(windowed->Handle(), &at);
  if (!control->IsWindowed()) at = {at.x - control->Left(), at.y - control->Top()};
  return control->HintAt({at.x, at.y});
}

void THintHandler::MessageTaken(const MSG& msg) {
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      MouseAt({msg.pt.x, msg.pt.y});
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL: case WM_KEYDOWN: case WM_SYSKEYDOWN:
      if (control_) CancelHint();
      break;
  }
}

void THintHandler::MouseAt(Point p) {
  TControl* target = showHint_ && ApplicationActive() ? HintControlAt(p) : nullptr;
  // Another part of the same control with a hint of its own counts as
  // another control.
  std::wstring text = HintTextAt(target, p);
  if (target == control_.Get() && text == text_) return;
  text_ = std::move(text);
  // Moving on from a hint that showed: the next one follows quickly.
  const bool browsing = shown_ || (lastHidden_ && Application().Clock().Now() - lastHidden_ < HintPause);
  if (shown_) lastHidden_ = Application().Clock().Now();
  HideWindow();
  control_ = target;
  done_ = false;
  pollTimer_.SetEnabled(target != nullptr);
  if (!target) return;
  showTimer_.SetInterval(browsing ? HintShortPause : HintPause);
  showTimer_.SetEnabled(true);
}

void THintHandler::ShowHintNow() {
  showTimer_.SetEnabled(false);
  THintWindow* window = Window();
  if (!control_ || !window || done_) return;
  done_ = true;
  THintInfo info{control_, text_, HintPositionBelowCursor(), HintHidePause, true};
  if (OnShowHint) OnShowHint(info);
  if (!info.CanShow || info.HintStr.empty()) return;
  window->ScaleChildren(control_->Dpi());
  window->ActivateHint(RectOfSize(info.HintPos.x, info.HintPos.y, 0, 0), info.HintStr);
  shown_ = window->Showing();
  if (shown_ && info.HideTimeout) {
    hideTimer_.SetInterval(info.HideTimeout);
    hideTimer_.SetEnabled(true);
  }
}

void THintHandler::HideWindow() {
  showTimer_.SetEnabled(false);
  hideTimer_.SetEnabled(false);
  shown_ = false;
  if (window_) window_->ReleaseHint();
}

void THintHandler::CancelHint() {
  HideWindow();
  done_ = true;
  lastHidden_ = 0;
}

}  // namespace kelmar
