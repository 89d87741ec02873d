#include "framework/clock.h"

#include <algorithm>
#include <set>

#include "framework/application.h"
#include "framework/timer.h"

namespace kelmar {

void TClock::Fire(TTimer& timer) { timer.Tick(); }

namespace {

class TSystemClock : public TClock {
 public:
  DWORD Now() const override { return GetTickCount(); }

  void Start(TTimer& timer, UINT interval) override {
    running_.insert(&timer);
    SetTimer(Window(), reinterpret_cast<UINT_PTR>(&timer), interval, nullptr);
  }

  void Stop(TTimer& timer) override {
    if (running_.erase(&timer)) KillTimer(Window(), reinterpret_cast<UINT_PTR>(&timer));
  }

 private:
  HWND Window() {
    // One message-only window carries every timer of the thread.
    if (!window_) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &TSystemClock::WindowProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"KelmarTimers";
      RegisterClassExW(&wc);
      window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
    }
    return window_;
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg != WM_TIMER) return DefWindowProcW(hwnd, msg, wparam, lparam);
    // A tick already queued for a timer stopped or moved to another clock
    // since is dropped.
    auto& clock = static_cast<TSystemClock&>(SystemClock());
    auto* timer = reinterpret_cast<TTimer*>(wparam);
    if (clock.running_.count(timer)) Fire(*timer);
    return 0;
  }

  HWND window_ = nullptr;
  std::set<TTimer*> running_;
};

}  // namespace

TClock& SystemClock() {
  static TSystemClock clock;
  return clock;
}

// ------------------------------------------------------------ TManualClock

TManualClock::TManualClock() : previous_(&Application().Clock()) { Application().SetClock(this); }

TManualClock::~TManualClock() { Application().SetClock(previous_); }

void TManualClock::Start(TTimer& timer, UINT interval) {
  Stop(timer);
  scheduled_.push_back({&timer, interval, now_ + interval, next_order_++});
}

void TManualClock::Stop(TTimer& timer) {
  std::erase_if(scheduled_, [&timer](const Scheduled& s) { return s.timer == &timer; });
}

bool TManualClock::Running(const TTimer& timer) const {
  return std::any_of(scheduled_.begin(), scheduled_.end(), [&timer](const Scheduled& s) { return s.timer == &timer; });
}

void TManualClock::Advance(DWORD ms) {
  const uint64_t end = now_ + ms;
  for (;;) {
    auto first = std::min_element(scheduled_.begin(), scheduled_.end(), [](const Scheduled& a, const Scheduled& b) {
      return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    if (first == scheduled_.end() || first->due > end) break;
    now_ = first->due;
    // Scheduled again before it fires: its handler may stop or restart it.
    first->due += std::max(first->interval, 1u);
    first->order = next_order_++;
    Fire(*first->timer);
  }
  now_ = end;
}

}  // namespace kelmar
