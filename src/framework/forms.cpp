#include "framework/forms.h"

#include <algorithm>

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
  SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case kReleaseMessage:
      delete this;  // nothing touches the object after this
      return;
  }
  TWinControl::WndProc(m);
}

}  // namespace kelmar
