#pragma once
// Timers as components: OnTimer fires on the user-interface thread every
// Interval milliseconds while Enabled, on the application's clock
// (TApplication::Clock).
#include <windows.h>

#include <functional>
#include <string>

#include "framework/component.h"

namespace kelmar {

class TClock;

class TTimer : public TComponent {
 public:
  TTimer(TComponent* owner, std::string name, UINT interval = 1000);
  ~TTimer() override;

  UINT Interval() const { return interval_; }
  void SetInterval(UINT interval);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

  // Every running timer from one clock to another (TApplication::SetClock).
  static void MoveTimers(TClock& from, TClock& to);

 private:
  friend class TClock;
  void Update();
  void Tick();

  UINT interval_;
  bool enabled_ = false;
  bool running_ = false;
};

}  // namespace kelmar
