#include "framework/application.h"

#include <algorithm>
#include <stdexcept>

#include "framework/clock.h"
#include "framework/forms.h"
#include "framework/hints.h"
#include "framework/timer.h"
#include "framework/wide.h"

namespace kelmar {

namespace {

bool IsDialogKey(WPARAM key) {
  switch (key) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
      return true;
  }
  return false;
}

}  // namespace

TApplication& Application() {
  static TApplication app;
  return app;
}

TApplication::TApplication() : clock_(&SystemClock()) {}
// The hint handling normally goes with the main form. What is left at exit
// is not freed: the window and timer tables it would use are statics that
// may be gone by then, and the process ends anyway.
TApplication::~TApplication() { (void)hints_.release(); }

THintHandler& TApplication::Hints() {
  if (!hints_) hints_ = std::make_unique<THintHandler>();
  return *hints_;
}

HICON TApplication::Icon() const {
  // The program's icon is resource 1; a test program has none.
  static HICON icon = [] {
    HICON i = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    return i ? i : LoadIconW(nullptr, IDI_APPLICATION);
  }();
  return icon;
}

void TApplication::AddForm(TForm* form) {
  forms_.push_back(form);
  if (!main_form_) main_form_ = form;
}

void TApplication::RemoveForm(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (main_form_ == form) {
    main_form_ = nullptr;
    hints_.reset();
    Terminate();
  }
}

bool TApplication::Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  // The hints, the loop filters (a menu item's command runs in one) and the
  // dispatch itself: whatever they throw ends this message only.
  try {
    DispatchTaken(msg);
  } catch (...) {
    HandleCurrentException();
  }
  return true;
}

void TApplication::DispatchTaken(MSG& msg) {
  Hints().MessageTaken(msg);
  loop_filters_.Run(msg, [this](MSG& passed) { DispatchPassed(passed); });
}

void TApplication::DispatchPassed(MSG& msg) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (TForm* form = FormOfWindow(msg.hwnd); form && form->OnShortCut &&
                                              form->OnShortCut(WORD(msg.wParam), ShiftFromKeyboard()))
      return;
  }
  if (msg.message == WM_KEYDOWN && IsDialogKey(msg.wParam)) {
    // Dialog keys go to the form before the window that has the focus.
    TWinControl* focused = TWinControl::FromHandle(msg.hwnd);
    if (TForm* form = GetParentForm(focused); form && form->DialogKey(focused, WORD(msg.wParam), ShiftFromKeyboard()))
      return;
  }
  if (msg.message == WM_SYSCHAR) {
    // Alt and a letter: the control whose caption marks it.
    if (TForm* form = GetParentForm(TWinControl::FromHandle(msg.hwnd)); form && form->DialogChar(wchar_t(msg.wParam)))
      return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void TApplication::Run() {
  MSG msg;
  while (!terminated_ && GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!Dispatch(msg)) break;
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    OnException(e);
    return;
  }
  HWND owner = main_form_ ? main_form_->Handle() : nullptr;
  MessageBoxW(owner, Wide(e.what()).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      HandleException(e);
    } catch (...) {
      HandleException(std::runtime_error("An unknown error occurred."));
    }
  } catch (...) {
    // The handler itself failed (no memory for the box): nothing is left
    // to tell, and the loop must go on.
  }
}

HCURSOR TApplication::GetCursor(int id) const {
  auto it = cursors_.find(id);
  return it != cursors_.end() ? it->second : LoadCursorW(nullptr, IDC_ARROW);
}

void TApplication::SetClock(TClock* clock) {
  TClock* next = clock ? clock : &SystemClock();
  if (next == clock_) return;
  TTimer::MoveTimers(*clock_, *next);
  clock_ = next;
}

}  // namespace kelmar
