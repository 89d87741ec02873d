#include "framework/timer.h"

#include <set>

#include "framework/application.h"

namespace kelmar {

namespace {
// The timers alive now: a WM_TIMER already queued for a freed timer is dropped.
std::set<TTimer*>& LiveTimers() {
  static std::set<TTimer*> timers;
  return timers;
}
}  // namespace

TTimer::TTimer(TComponent* owner, std::string name, UINT interval)
    : TComponent(owner, std::move(name)), interval_(interval) {
  LiveTimers().insert(this);
}

TTimer::~TTimer() {
  enabled_ = false;
  Update();
  LiveTimers().erase(this);
}

void TTimer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  if (running_) {
    running_ = false;
    KillTimer(Window(), reinterpret_cast<UINT_PTR>(this));
  }
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::Update() {
  bool want = enabled_ && interval_ > 0;
  if (want == running_) return;
  running_ = want;
  if (want)
    SetTimer(Window(), reinterpret_cast<UINT_PTR>(this), interval_, nullptr);
  else
    KillTimer(Window(), reinterpret_cast<UINT_PTR>(this));
}

HWND TTimer::Window() {
  // One message-only window carries every timer of the thread.
  static HWND window = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TTimer::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KelmarTimers";
    RegisterClassExW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }();
  return window;
}

LRESULT CALLBACK TTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg != WM_TIMER) return DefWindowProcW(hwnd, msg, wparam, lparam);
  auto* timer = reinterpret_cast<TTimer*>(wparam);
  if (!LiveTimers().count(timer) || !timer->running_ || !timer->OnTimer) return 0;
  try {
    timer->OnTimer();
  } catch (...) {
    Application().HandleCurrentException();
  }
  return 0;
}

}  // namespace kelmar
