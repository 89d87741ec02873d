#include "framework/controls.h"

#include <algorithm>
#include <exception>
#include <unordered_map>

#include "base/error.h"
#include "framework/application.h"
#include "framework/forms.h"

namespace kelmar {

namespace {

// Window to object, kept in the process: window properties would cost a
// server round trip per message under Wine.
std::unordered_map<HWND, TWinControl*>& ControlMap() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

TWinControl* LookUp(HWND hwnd) {
  auto& map = ControlMap();
  auto it = map.find(hwnd);
  return it != map.end() ? it->second : nullptr;
}
const wchar_t kWindowClass[] = L"KelmarWindow";

void RegisterWindowClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = KelmarWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = Application().Icon();
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  registered = true;
}

Point MousePoint(LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

}  // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    Invalidate();
    parent_->RemoveControl(this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (align_ != TAlign::alNone) parent_->AlignControls();
    Invalidate();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Rect r = RectOfSize(left, top, width < 0 ? 0 : width, height < 0 ? 0 : height);
  if (r == bounds_) return;
  Invalidate();
  bounds_ = r;
  BoundsChanged();
  Invalidate();
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  VisibleChanged();
}

void TControl::VisibleChanged() {
  Invalidate();
  if (parent_ && align_ != TAlign::alNone) parent_->AlignControls();
}

void TControl::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  CaptionChanged();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  Invalidate();
}

void TControl::FontChanged() { Invalidate(); }

void TControl::Click() {
  if (OnClick) OnClick();
}

void TControl::MouseUp(Point p) {
  if (ClientRect().Contains(p)) Click();
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    RECT rc = ToRECT(bounds_);
    InvalidateRect(parent_->Handle(), &rc, FALSE);
  }
}

// ------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner, std::string name) : TControl(owner, std::move(name)) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TWinControl::~TWinControl() {
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  return hwnd ? LookUp(hwnd) : nullptr;
}

void TWinControl::SetParent(TWinControl* parent) {
  TControl::SetParent(parent);
  if (!parent) {
    DestroyHandle();
  } else if (parent->HandleAllocated()) {
    if (handle_)
      ::SetParent(handle_, parent->Handle());
    else
      CreateHandle();
  }
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  TCreateParams params;
  if (!Parent()) params.Style = WS_OVERLAPPED | WS_CLIPCHILDREN;
  CreateParams(params);
  own_class_ = params.ClassName.empty();
  if (own_class_) RegisterWindowClass();
  if (Visible()) params.Style |= WS_VISIBLE;
  HWND parent_hwnd = Parent() ? Parent()->Handle() : nullptr;
  HWND hwnd = CreateWindowExW(params.ExStyle, own_class_ ? kWindowClass : params.ClassName.c_str(),
                              Caption().c_str(), params.Style, Left(), Top(), Width(), Height(),
                              parent_hwnd, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd) throw Error("Error creating window " + Name());
  if (!own_class_) {
    handle_ = hwnd;
    ControlMap()[hwnd] = this;
    default_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KelmarWndProc)));
  }
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
  for (TControl* c : controls_)
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->CreateHandle();
  AlignControls();
  HandleCreated();
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  HWND hwnd = handle_;
  // Detach first: no message may reach a half-destroyed object.
  ControlMap().erase(hwnd);
  if (!own_class_ && default_proc_)
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(default_proc_));
  handle_ = nullptr;
  for (TControl* c : controls_)
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
  DestroyWindow(hwnd);
}

void TWinControl::InsertControl(TControl* c) { controls_.push_back(c); }

void TWinControl::RemoveControl(TControl* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (mouse_control_ == c) mouse_control_ = nullptr;
  if (capture_control_ == c) capture_control_ = nullptr;
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

void TWinControl::Repaint() {
  if (handle_) {
    InvalidateRect(handle_, nullptr, FALSE);
    UpdateWindow(handle_);
  }
}

void TWinControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (!handle_) {
    TControl::SetBounds(left, top, width, height);
    return;
  }
  // Asking for the place it has costs a round trip under Wine: skip it.
  if (RectOfSize(left, top, std::max(width, 0), std::max(height, 0)) == BoundsRect()) return;
  // The window is the one source of truth: WM_WINDOWPOSCHANGED brings the
  // bounds the system actually gave (a form may limit its size).
  SetWindowPos(handle_, nullptr, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::UpdateBoundsFromWindow() {
  RECT rc;
  if (!GetWindowRect(handle_, &rc)) return;
  HWND parent = Parent() ? Parent()->Handle() : nullptr;
  if (parent) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  } else if (IsIconic(handle_)) {
    return;  // a minimized top-level window keeps the bounds it will restore to
  }
  Rect r = FromRECT(rc);
  if (r == bounds_) return;
  bounds_ = r;
  BoundsChanged();
}

// With a window, WM_SIZE lays out the children; without one, nothing else will.
void TWinControl::BoundsChanged() {
  if (!handle_) AlignControls();
}

void TWinControl::CaptionChanged() {
  if (handle_) SetWindowTextW(handle_, Caption().c_str());
  Invalidate();
}

void TWinControl::VisibleChanged() {
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOW : SW_HIDE);
  TControl::VisibleChanged();
}

void TWinControl::AlignControls() {
  Rect area = ClientRect();
  if (handle_) {
    RECT rc;
    GetClientRect(handle_, &rc);
    area = FromRECT(rc);
  }
  auto place = [&](TAlign which) {
    for (TControl* c : controls_) {
      if (c->Align() != which || !c->Visible()) continue;
      switch (which) {
        case TAlign::alTop:
          c->SetBounds(area.left, area.top, area.Width(), c->Height());
          area.top += c->Height();
          break;
        case TAlign::alBottom:
          c->SetBounds(area.left, area.bottom - c->Height(), area.Width(), c->Height());
          area.bottom -= c->Height();
          break;
        case TAlign::alLeft:
          c->SetBounds(area.left, area.top, c->Width(), area.Height());
          area.left += c->Width();
          break;
        case TAlign::alRight:
          c->SetBounds(area.right - c->Width(), area.top, c->Width(), area.Height());
          area.right -= c->Width();
          break;
        case TAlign::alClient:
          c->SetBounds(area.left, area.top, area.Width(), area.Height());
          break;
        case TAlign::alNone:
          break;
      }
    }
  };
  for (TAlign a : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) place(a);
}

LRESULT TWinControl::Perform(UINT msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  WindowProc(m);
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  if (own_class_)
    m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
  else
    m.Result = CallWindowProcW(default_proc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::PaintWindow(TCanvas& canvas) {
  canvas.FillRect(ClientRect(), Color());
}

void TWinControl::PaintTo(HDC dc) {
  RECT rc;
  GetClientRect(handle_, &rc);
  TBitmap buffer(rc.right, rc.bottom);
  if (buffer.IsEmpty()) return;
  TCanvas canvas(buffer.Dc());
  PaintWindow(canvas);
  PaintGraphicControls(canvas);
  BitBlt(dc, 0, 0, rc.right, rc.bottom, buffer.Dc(), 0, 0, SRCCOPY);
}

void TWinControl::PaintGraphicControls(TCanvas& canvas) {
  HDC dc = canvas.Handle();
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    ScopedDcState state(dc);
    IntersectClipRect(dc, c->Left(), c->Top(), c->BoundsRect().right, c->BoundsRect().bottom);
    SetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    c->Paint(canvas);
  }
}

TControl* TWinControl::GraphicControlAt(Point p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->IsWindowed() && c->Visible() && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

void TWinControl::RouteMouse(TMessage& m) {
  Point p = MousePoint(m.LParam);
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      TControl* target = capture_control_ ? capture_control_ : GraphicControlAt(p);
      if (target != mouse_control_) {
        if (mouse_control_) mouse_control_->MouseLeave();
        mouse_control_ = target;
        if (mouse_control_) mouse_control_->MouseEnter();
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&tme);
      }
      break;
    }
    case WM_MOUSELEAVE:
      if (mouse_control_ && !capture_control_) {
        mouse_control_->MouseLeave();
        mouse_control_ = nullptr;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (TControl* c = GraphicControlAt(p)) {
        capture_control_ = c;
        SetCapture(handle_);
        c->MouseDown({p.x - c->Left(), p.y - c->Top()});
      }
      break;
    case WM_LBUTTONUP:
      if (TControl* c = capture_control_) {
        capture_control_ = nullptr;
        ReleaseCapture();
        c->MouseUp({p.x - c->Left(), p.y - c->Top()});
      }
      break;
  }
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam) {
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
          child->CommandNotify(HIWORD(m.WParam));
          return;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (TWinControl* child = FromHandle(hdr->hwndFrom); child && child != this) {
        child->NotifyReflected(m);
        return;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(m.WParam))) {
          m.Result = reinterpret_cast<LRESULT>(brush);
          return;
        }
      }
      break;
    case WM_WINDOWPOSCHANGED:
      UpdateBoundsFromWindow();
      break;
    case WM_SIZE:
      AlignControls();
      break;
    case WM_SETCURSOR:
      if (own_class_ && LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(handle_, &pt);
        TControl* c = GraphicControlAt({pt.x, pt.y});
        TCursor cursor = c ? c->Cursor() : Cursor();
        if (cursor != crDefault) {
          ::SetCursor(Application().GetCursor(cursor));
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      if (own_class_) RouteMouse(m);
      break;
    case WM_ERASEBKGND:
      if (own_class_) {
        m.Result = 1;  // painted whole, off screen, in WM_PAINT
        return;
      }
      break;
    case WM_PAINT:
      if (own_class_) {
        PaintDc dc(handle_);
        PaintTo(dc);
        return;
      }
      break;
    case WM_PRINTCLIENT:
      // Captures (a parent's picture behind a control, a window shot).
      if (own_class_) {
        PaintTo(reinterpret_cast<HDC>(m.WParam));
        return;
      }
      break;
  }
  DefaultHandler(m);
}

LRESULT CALLBACK KelmarWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  TWinControl* control = LookUp(hwnd);
  if (!control && msg == WM_NCCREATE) {
    control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    if (control) {
      control->handle_ = hwnd;
      control->default_proc_ = DefWindowProcW;
      ControlMap()[hwnd] = control;
    }
  }
  if (!control) return DefWindowProcW(hwnd, msg, wparam, lparam);
  TMessage m{msg, wparam, lparam, 0};
  if ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_MOUSELEAVE) {
    if (auto* form = dynamic_cast<TForm*>(LookUp(GetAncestor(hwnd, GA_ROOT))))
      form->RelayHintMessage(hwnd, msg, wparam, lparam);
  }
  try {
    control->WindowProc(m);
  } catch (const std::exception& e) {
    // Never let an exception cross the system's stack.
    Application().HandleException(e);
    m.Result = 0;
  }
  if (msg == WM_NCDESTROY && LookUp(hwnd) == control) {
    // The system destroyed the window under the object (its parent went first).
    ControlMap().erase(hwnd);
    control->handle_ = nullptr;
  }
  return m.Result;
}

}  // namespace kelmar
