#include "framework/controls.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <map>
#include <unordered_map>
#include <utility>

#include "base/display_scale.h"
#include "base/error.h"
#include "framework/application.h"
#include "framework/forms.h"

namespace kelmar {

namespace {

// The window that had the last plain press of Space (there is one keyboard).
HWND space_pressed_in = nullptr;

// Whether the window has a non-client part to draw: a border, an edge, a
// scroll bar or a menu bar (only a top-level window can have one).
bool HasFrame(HWND hwnd) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  return (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL)) ||
         (ex & (WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) ||
         (!(style & WS_CHILD) && GetMenu(hwnd));
}

// The bitmap a paint is composed in, one for each level of nesting (a
// control composing itself may ask its parent for the picture behind it).
// They are kept from paint to paint: a new bitmap is fresh memory that
// faults page by page, at every paint of every control.
class ComposeBuffer {
 public:
  ComposeBuffer(int width, int height) {
    static std::deque<TBitmap> buffers;
    if (Depth() == buffers.size()) buffers.emplace_back();
    bitmap_ = &buffers[Depth()++];
    bitmap_->Fit(width, height);
  }
  ~ComposeBuffer() { --Depth(); }
  ComposeBuffer(const ComposeBuffer&) = delete;
  ComposeBuffer& operator=(const ComposeBuffer&) = delete;
  TBitmap* operator->() const { return bitmap_; }

 private:
  static size_t& Depth() {
    static size_t depth = 0;
    return depth;
  }
  TBitmap* bitmap_;
};

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
// The framework's own window class, one for each set of extra class styles.
std::wstring RegisterWindowClass(UINT extra_style) {
  static std::map<UINT, std::wstring> registered;
  auto it = registered.find(extra_style);
  if (it != registered.end()) return it->second;
  std::wstring name = L"KelmarWindow";
  if (extra_style) name += L"." + std::to_wstring(extra_style);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS | extra_style;
  wc.lpfnWndProc = KelmarWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = Application().Icon();
  wc.lpszClassName = name.c_str();
  RegisterClassExW(&wc);
  return registered[extra_style] = name;
}

Point MousePoint(LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

bool KeyHeld(int key) { return GetKeyState(key) < 0; }

}  // namespace

TShiftState ShiftFromMouse(WPARAM flags) {
  TShiftState s;
  s.shift = flags & MK_SHIFT;
  s.ctrl = flags & MK_CONTROL;
  s.alt = KeyHeld(VK_MENU);
  s.left = flags & MK_LBUTTON;
  s.right = flags & MK_RBUTTON;
  s.middle = flags & MK_MBUTTON;
  return s;
}

TShiftState ShiftFromKeyboard() {
  TShiftState s;
  s.shift = KeyHeld(VK_SHIFT);
  s.ctrl = KeyHeld(VK_CONTROL);
  s.alt = KeyHeld(VK_MENU);
  s.left = KeyHeld(VK_LBUTTON);
  s.right = KeyHeld(VK_RBUTTON);
  s.middle = KeyHeld(VK_MBUTTON);
  return s;
}

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
  // Laid out in 96-DPI numbers and joining a parent made for another DPI:
  // made for it as it joins, before its window is made at its place.
  if (parent && dpi_ == kDesignDpi && parent->Dpi() != kDesignDpi) ScaleAsItJoins(parent->Dpi());
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

int TControl::Scaled(int length) const { return ScaleLength(length, dpi_); }

void TControl::SetColor(TColor color) {
  color_ = color;
  Invalidate();
}

void TControl::FontChanged() {
  // A system control keeps drawing with the font it was last given.
  if (IsWindowed()) {
    auto* w = static_cast<TWinControl*>(this);
    if (w->HandleAllocated() && !w->own_class_)
      SendMessageW(w->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
  }
  Invalidate();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

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

TWinControl::TWinControl(TComponent* owner, std::string name) : TControl(owner, std::move(name)) {}

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
  if (own_class_) params.ClassName = RegisterWindowClass(params.ClassStyle);
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (tab_stop_) params.Style |= WS_TABSTOP;
  tab_stop_ = params.Style & WS_TABSTOP;
  HWND parent_hwnd = Parent() ? Parent()->Handle() : params.WndParent;
  HWND hwnd = CreateWindowExW(params.ExStyle, params.ClassName.c_str(),
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

void TWinControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  if (!handle_) return false;
  for (const TWinControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetTabStop(bool tab_stop) {
  tab_stop_ = tab_stop;
  if (!handle_) return;
  LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  SetWindowLongPtrW(handle_, GWL_STYLE, tab_stop ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
  Invalidate();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (!handle_) {
    TControl::SetBounds(left, top, width, height);
    return;
  }
  // Asking for the place it has costs a round trip under Wine: skip it.
  if (RectOfSize(left, top, std::max(width, 0), std::max(height, 0)) == BoundsRect()) return;
  // The window is the one source of truth: WM_WINDOWPOSCHANGED brings the
  // bounds the system actually gave (a form may limit its size). The erase
  // waits for the paint: erasing the parent at once after every child that
  // moves would paint the same area once per aligned child.
  SetWindowPos(handle_, nullptr, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
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

Rect TWinControl::AlignArea() const {
  if (!handle_) return ClientRect();
  RECT rc;
  GetClientRect(handle_, &rc);
  return FromRECT(rc);
}

void TControl::ScaleAsItJoins(int dpi) {
  design_bounds_ = bounds_;
  design_font_height_ = font_.Height();
  dpi_ = dpi;
  SetBounds(ScaleLength(design_bounds_.left, dpi), ScaleLength(design_bounds_.top, dpi),
            ScaleLength(design_bounds_.Width(), dpi), ScaleLength(design_bounds_.Height(), dpi));
  font_.SetHeight(ScaleLength(design_font_height_, dpi));
  if (IsWindowed()) static_cast<TWinControl*>(this)->ScaleChildren(dpi);
}

void TWinControl::ScaleChildren(int dpi) {
  dpi_ = dpi;
  // The whole tree first: its 96-DPI layout, and the new DPI, which a
  // control that measures itself while others move needs already (a link
  // places its key window, a bar aligns its panel).
  std::vector<TControl*> changed;
  const std::function<void(const TWinControl*)> collect = [&](const TWinControl* parent) {
    for (TControl* c : parent->controls_) {
      if (c->dpi_ == kDesignDpi) {
        c->design_bounds_ = c->BoundsRect();
        c->design_font_height_ = c->Font().Height();
      }
      if (c->dpi_ != dpi) {
        c->dpi_ = dpi;
        changed.push_back(c);
      }
      if (c->IsWindowed()) collect(static_cast<const TWinControl*>(c));
    }
  };
  collect(this);
  for (TControl* c : changed) {
    const Rect& b = c->design_bounds_;
    c->SetBounds(ScaleLength(b.left, dpi), ScaleLength(b.top, dpi), ScaleLength(b.Width(), dpi),
                 ScaleLength(b.Height(), dpi));
    c->Font().SetHeight(ScaleLength(c->design_font_height_, dpi));
  }
  // Aligned children were scaled from where they stood: back in line, as
  // no size change of this control may come to do it.
  AlignControls();
}

void TWinControl::AlignControls() {
  Rect area = AlignArea();
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

void TWinControl::WindowProc(TMessage& m) {
  filters_.Run(m, [this](TMessage& passed) { WndProc(passed); });
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
  RECT client;
  GetClientRect(handle_, &client);
  // Only what the device context lets through is composed: a window covered
  // by its children, or a capture of the part under one control, costs
  // little.
  RECT box = client;
  const int clip = GetClipBox(dc, &box);
  if (clip == NULLREGION || !IntersectRect(&box, &box, &client)) return;
  ComposeBuffer buffer(box.right - box.left, box.bottom - box.top);
  if (buffer->IsEmpty()) return;
  HDC compose = buffer->Dc();
  {
    ScopedDcState state(compose);
    TCanvas canvas(compose);
    SetViewportOrgEx(compose, -box.left, -box.top, nullptr);
    PaintWindow(canvas);
    PaintGraphicControls(canvas);
  }
  BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, compose, 0, 0, SRCCOPY);
}

namespace {

// A window the one-pass paint of its top-level window draws: one of ours,
// shown, with no frame of its own to draw.
bool DrawnInOnePass(TWinControl* w) {
  return w->HandleAllocated() && w->OwnClass() && IsWindowVisible(w->Handle()) &&
         !HasFrame(w->Handle());
}

RECT ClientRectIn(HWND window, HWND top) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, top, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The windows of a one-pass paint, parents before children, each with its
// client area in the top-level window's client coordinates and what of it
// its parents let show; and the places of the windows it leaves to the
// system (system controls and windows with a frame, with their children).
struct OnePassPlan {
  struct Window {
    TWinControl* control;
    RECT client;
    RECT visible;
  };
  std::vector<Window> windows;
  std::vector<RECT> others;
  bool overlap = false;  // siblings overlap: their order on screen matters
};

void PlanOnePass(TWinControl* parent, const RECT& visible, HWND top, OnePassPlan& plan) {
  std::vector<RECT> siblings;
  for (TControl* c : parent->Controls()) {
    if (!c->IsWindowed()) continue;
    auto* w = static_cast<TWinControl*>(c);
    if (!w->HandleAllocated() || !IsWindowVisible(w->Handle())) continue;
    RECT box{};
    GetWindowRect(w->Handle(), &box);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&box), 2);
    for (const RECT& s : siblings) {
      RECT common;
      if (IntersectRect(&common, &s, &box)) plan.overlap = true;
    }
    siblings.push_back(box);
    if (!DrawnInOnePass(w)) {
      plan.others.push_back(box);
      continue;
    }
    const RECT client = ClientRectIn(w->Handle(), top);
    RECT shown{};
    IntersectRect(&shown, &client, &visible);
    plan.windows.push_back({w, client, shown});
    PlanOnePass(w, shown, top, plan);
  }
}

}  // namespace

bool TWinControl::PaintShowingWindow() {
  TWinControl* top = this;
  while (top->parent_) top = top->parent_;
  if (!top->showing_) return false;
  top->showing_ = false;
  return top->PaintInOnePass();
}

// A window being shown has every one of its windows erased by the system,
// one after the other, each with a device context of its own: under Wine a
// server round trip and two messages for each control. The first of ours
// asked draws them all instead, in their places on one device context that
// does not leave the children out, and marks them drawn.
bool TWinControl::PaintInOnePass() {
  RECT client{};
  GetClientRect(handle_, &client);
  OnePassPlan plan;
  plan.windows.push_back({this, client, client});
  PlanOnePass(this, client, handle_, plan);
  if (plan.overlap) return false;
  HDC dc = GetDCEx(handle_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) return false;
  for (const RECT& r : plan.others) ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  // Each asked as a control asks for what lies under it: with the erase
  // request and a device context not its own, it draws its whole picture.
  for (const OnePassPlan::Window& w : plan.windows) {
    if (IsRectEmpty(&w.visible)) continue;
    ScopedDcState state(dc);
    IntersectClipRect(dc, w.visible.left, w.visible.top, w.visible.right, w.visible.bottom);
    SetViewportOrgEx(dc, w.client.left, w.client.top, nullptr);
    SendMessageW(w.control->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  }
  ReleaseDC(handle_, dc);
  // The top-level window keeps whatever it still has to draw of its frame.
  for (const OnePassPlan::Window& w : plan.windows)
    RedrawWindow(w.control->Handle(), nullptr, nullptr,
                 RDW_VALIDATE | RDW_NOERASE | RDW_NOCHILDREN | (w.control == this ? 0 : RDW_NOFRAME));
  return true;
}

void TWinControl::PaintGraphicControls(TCanvas& canvas) {
  HDC dc = canvas.Handle();
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    // Text is the dear part of a label: skip those the DC clips away.
    const RECT bounds = ToRECT(c->BoundsRect());
    if (!RectVisible(dc, &bounds)) continue;
    ScopedDcState state(dc);
    IntersectClipRect(dc, c->Left(), c->Top(), c->BoundsRect().right, c->BoundsRect().bottom);
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
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

void TWinControl::TrackMouseInside(Point p) {
  // While the window holds the mouse it keeps getting moves from outside:
  // the client area decides; otherwise a move means the pointer is here.
  const bool inside = GetCapture() != handle_ || ClientRect().Contains(p);
  if (inside == mouse_inside_) return;
  mouse_inside_ = inside;
  if (inside) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
    MouseEnter();
  } else {
    MouseLeave();
  }
}

// The input messages of own-class windows, turned into the handlers above.
// Returns true when the message needs nothing more.
bool TWinControl::HandleInput(TMessage& m) {
  TMouseButton button = TMouseButton::mbLeft;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      TrackMouseInside(MousePoint(m.LParam));
      MouseMoved(ShiftFromMouse(m.WParam), MousePoint(m.LParam));
      return false;
    case WM_MOUSELEAVE:
      if (mouse_inside_ && GetCapture() != handle_) {
        mouse_inside_ = false;
        MouseLeave();
      }
      return false;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONDBLCLK) button = TMouseButton::mbRight;
      if (m.Msg == WM_MBUTTONDOWN || m.Msg == WM_MBUTTONDBLCLK) button = TMouseButton::mbMiddle;
      TShiftState shift = ShiftFromMouse(m.WParam);
      shift.dbl = m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
      const Point p = MousePoint(m.LParam);
      TrackMouseInside(p);
      if (button == TMouseButton::mbLeft && CaptureMouseOnPress) SetCapture(handle_);
      MouseButtonDown(button, shift, p);
      return false;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONUP: {
      if (m.Msg == WM_RBUTTONUP) button = TMouseButton::mbRight;
      if (m.Msg == WM_MBUTTONUP) button = TMouseButton::mbMiddle;
      const Point p = MousePoint(m.LParam);
      // The mouse is let go first: what the release does (a click that opens
      // a dialog) must find it free.
      const bool held = button == TMouseButton::mbLeft && CaptureMouseOnPress && GetCapture() == handle_;
      if (held) {
        releasing_capture_ = true;
        ReleaseCapture();
        releasing_capture_ = false;
      }
      MouseButtonUp(button, ShiftFromMouse(m.WParam), p);
      if (held && handle_) {
        // Released outside: the pointer is no longer over the window.
        POINT at{p.x, p.y};
        ClientToScreen(handle_, &at);
        if (mouse_inside_ && WindowFromPoint(at) != handle_) {
          mouse_inside_ = false;
          MouseLeave();
        }
      }
      return false;
    }
    case WM_CAPTURECHANGED:
      if (!releasing_capture_ && reinterpret_cast<HWND>(m.LParam) != handle_) CaptureLost();
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Alt+Space opens the system menu; it is no press of a button, box or link.
      if (m.WParam == VK_SPACE) {
        if (m.Msg == WM_SYSKEYDOWN) return false;
        space_pressed_in = handle_;
      }
      KeyDown(WORD(m.WParam), ShiftFromKeyboard());
      return false;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // A Space released here acts only where it was pressed.
      if (m.WParam == VK_SPACE && std::exchange(space_pressed_in, nullptr) != handle_) return false;
      KeyUp(WORD(m.WParam), ShiftFromKeyboard());
      return false;
    case WM_CHAR:
      KeyPress(wchar_t(m.WParam));
      return true;
  }
  return false;
}

void TWinControl::WndProc(TMessage& m) {
  if (own_class_ && HandleInput(m)) return;
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
    case WM_SHOWWINDOW:
      if (!parent_) showing_ = m.WParam != 0;
      break;
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_SHOWWINDOW) showing_ = false;
      UpdateBoundsFromWindow();
      break;
    case WM_SIZE:
      AlignControls();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      FocusChanged(m.Msg == WM_SETFOCUS);
      if (m.Msg == WM_SETFOCUS)
        if (TForm* form = GetParentForm(this)) form->FocusMoved(this);
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
    case WM_NCPAINT:
      // A window without border or scroll bars has no frame to draw: the
      // system's handler would only fetch a device context for nothing,
      // once per paint of every control.
      if (own_class_ && !HasFrame(handle_)) {
        m.Result = 0;
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (own_class_) {
        // Our own paint draws the whole area. Someone else asking with a DC
        // of its own (a control capturing what lies under it) gets the
        // picture. The system's erase outside a paint (a window shown, or
        // its update drawn at once) gets it too, and the paint that would
        // follow is not needed: a second device context and message for
        // every control at every show.
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        if (!in_paint_) {
          const bool own_erase = WindowFromDC(dc) == handle_;
          if (own_erase && PaintShowingWindow()) {
            m.Result = 1;
            return;
          }
          FlagScope painting(in_paint_);
          PaintTo(dc);
          // This window only: its children paint themselves.
          if (own_erase) RedrawWindow(handle_, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
        }
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (own_class_) {
        FlagScope painting(in_paint_);
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

bool IsAccelerator(wchar_t ch, const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    wchar_t a[2] = {ch, 0}, b[2] = {caption[i + 1], 0};
    CharUpperW(a);
    CharUpperW(b);
    return a[0] == b[0];
  }
  return false;
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
  try {
    control->WindowProc(m);
  } catch (...) {
    // Never let an exception cross the system's stack.
    Application().HandleCurrentException();
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
