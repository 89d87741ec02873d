#include "framework/forms.h"

#include <algorithm>
#include <functional>

#include "base/display_scale.h"
#include "framework/application.h"

namespace kelmar {

namespace {
constexpr UINT kReleaseMessage = WM_APP + 0x100;
}

TForm::TForm(TComponent* owner, std::string name) : TWinControl(owner, std::move(name)) {
  Application().AddForm(this);
}

TForm::~TForm() {
  if (OnDestroy) OnDestroy();
  // Components go first: they may still talk to the form's window.
  DestroyComponents();
  DestroyHandle();
  Application().RemoveForm(this);
}

void TForm::CreateParams(TCreateParams& params) {
  // The plain frame until a skinned frame takes over the non-client area.
  params.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  if (form_style_ == TFormStyle::fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
}

void TForm::HandleCreated() {
  if (client_width_ > 0) SetClientSize(client_width_, client_height_);
}

void TForm::SetFormStyle(TFormStyle s) {
  form_style_ = s;
  if (HandleAllocated())
    SetWindowPos(Handle(), s == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetClientSize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  if (!HandleAllocated()) {
    SetBounds(Left(), Top(), width, height);
    return;
  }
  RECT window, client;
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  int w = (window.right - window.left) - client.right + width;
  int h = (window.bottom - window.top) - client.bottom + height;
  SetWindowPos(Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm::ClientWidth() const {
  RECT rc{};
  if (HandleAllocated()) GetClientRect(Handle(), &rc);
  return rc.right;
}

int TForm::ClientHeight() const {
  RECT rc{};
  if (HandleAllocated()) GetClientRect(Handle(), &rc);
  return rc.bottom;
}

void TForm::PlaceOnDesktop() {
  if (position_ == TPosition::poDesigned || !HandleAllocated()) return;
  RECT window, work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (position_ == TPosition::poDesktopCenter)
    work = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  GetWindowRect(Handle(), &window);
  int w = window.right - window.left, h = window.bottom - window.top;
  // A window larger than the screen keeps its caption's start on it, where
  // the user can take hold of it.
  SetWindowPos(Handle(), nullptr, std::max(work.left, work.left + (work.right - work.left - w) / 2),
               std::max(work.top, work.top + (work.bottom - work.top - h) / 2), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Loaded() {
  PlaceOnDesktop();
  if (OnCreate) OnCreate();
}

void TForm::Show() {
  if (!HandleAllocated()) CreateHandle();
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

void TForm::Close() {
  TCloseAction action = Application().MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
  if (OnClose) OnClose(action);
  switch (action) {
    case TCloseAction::caNone:
      break;
    case TCloseAction::caHide:
      ShowWindow(Handle(), SW_HIDE);
      break;
    case TCloseAction::caMinimize:
      ShowWindow(Handle(), SW_MINIMIZE);
      break;
    case TCloseAction::caFree:
      Release();
      break;
  }
}

void TForm::Release() {
  if (HandleAllocated()) PostMessageW(Handle(), kReleaseMessage, 0, 0);
}

namespace {

// Visits every windowed control under parent, depth first, parents before
// children, until visit answers true; returns whether one did.
bool ForEachWinControl(TWinControl* parent, const std::function<bool(TWinControl*)>& visit) {
  for (TControl* c : std::vector<TControl*>(parent->Controls())) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && (visit(w) || ForEachWinControl(w, visit))) return true;
  }
  return false;
}

void CollectTabStops(TWinControl* parent, std::vector<TWinControl*>& out) {
  for (TControl* c : parent->Controls()) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w || !w->Visible() || !w->Enabled()) continue;
    if (w->TabStop() && w->CanFocus()) out.push_back(w);
    CollectTabStops(w, out);
  }
}

}  // namespace

TForm* GetParentForm(TControl* control) {
  for (TControl* c = control; c; c = c->Parent())
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
  return nullptr;
}

TForm* FormOfWindow(HWND hwnd) {
  for (; hwnd; hwnd = GetParent(hwnd))
    if (TWinControl* control = TWinControl::FromHandle(hwnd)) return GetParentForm(control);
  return nullptr;
}

void TForm::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> stops;
  CollectTabStops(this, stops);
  if (stops.empty()) return;
  auto it = std::find(stops.begin(), stops.end(), current);
  size_t next;
  if (it == stops.end())
    next = forward ? 0 : stops.size() - 1;
  else if (forward)
    next = (size_t(it - stops.begin()) + 1) % stops.size();
  else
    next = (size_t(it - stops.begin()) + stops.size() - 1) % stops.size();
  stops[next]->SetFocus();
}

bool TForm::DialogKey(TWinControl* focused, WORD key, TShiftState shift) {
  if (focused && focused != this && focused->DialogKey(key, shift)) return true;
  if (key == VK_TAB && !shift.ctrl && !shift.alt) {
    SelectNext(focused == this ? nullptr : focused, !shift.shift);
    return true;
  }
  // Enter and Esc also reach the default and cancel buttons.
  if (key != VK_RETURN && key != VK_ESCAPE) return false;
  return ForEachWinControl(this, [&](TWinControl* c) { return c != focused && c->DialogKey(key, shift); });
}

bool TForm::DialogChar(wchar_t ch) {
  return ForEachWinControl(this, [&](TWinControl* c) { return c->DialogChar(ch); });
}

void TForm::FocusMoved(TWinControl* focused) {
  ForEachWinControl(this, [&](TWinControl* c) {
    c->FormFocusChanged(focused);
    return false;
  });
}

void TForm::ScaleTo(int dpi) {
  if (Dpi() == kDesignDpi) design_font_height_ = Font().Height();
  ScaleChildren(dpi);
  Font().SetHeight(ScaleLength(design_font_height_, dpi));
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case kReleaseMessage:
      delete this;  // nothing touches the object after this
      return;
    case WM_ACTIVATE:
      // The focus comes back where it was when the form was left (a dialog
      // it opened has closed), not on the form itself.
      if (LOWORD(m.WParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        focus_before_leaving_ = focus && IsChild(Handle(), focus) ? focus : nullptr;
      } else if (!HIWORD(m.WParam) && focus_before_leaving_ && IsChild(Handle(), focus_before_leaving_) &&
                 IsWindowVisible(focus_before_leaving_) && IsWindowEnabled(focus_before_leaving_)) {
        ::SetFocus(focus_before_leaving_);
        m.Result = 0;
        return;
      }
      break;
    case WM_DPICHANGED: {
      const RECT suggested = *reinterpret_cast<const RECT*>(m.LParam);
      ScaleTo(LOWORD(m.WParam));
      SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      m.Result = 0;
      return;
    }
    case WM_WINDOWPOSCHANGED:
      if (!(reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_NOMOVE))
        ForEachWinControl(this, [](TWinControl* c) {
          c->FormMoved();
          return false;
        });
      break;
  }
  TWinControl::WndProc(m);
}

}  // namespace kelmar
