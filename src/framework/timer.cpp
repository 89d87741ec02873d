#include "framework/timer.h"

#include <set>

#include "framework/application.h"
#include "framework/clock.h"

namespace kelmar {

namespace {
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
    Application().Clock().Stop(*this);
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
    Application().Clock().Start(*this, interval_);
  else
    Application().Clock().Stop(*this);
}

void TTimer::Tick() {
  if (!running_ || !OnTimer) return;
  try {
    OnTimer();
  } catch (...) {
    Application().HandleCurrentException();
  }
}

void TTimer::MoveTimers(TClock& from, TClock& to) {
  for (TTimer* timer : LiveTimers()) {
    if (!timer->running_) continue;
    from.Stop(*timer);
    to.Start(*timer, timer->interval_);
  }
}

}  // namespace kelmar
