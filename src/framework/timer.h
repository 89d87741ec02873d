#pragma once
// Window timers as components: OnTimer fires on the user-interface thread
// every Interval milliseconds while Enabled.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/component.h"

namespace kelmar {

class TTimer : public TComponent {
 public:
  TTimer(TComponent* owner, std::string name, UINT interval = 1000);
  ~TTimer() override;

  UINT Interval() const { return interval_; }
  void SetInterval(UINT interval);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

 private:
  void Update();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static HWND Window();

  UINT interval_;
  bool enabled_ = false;
  bool running_ = false;
};

}  // namespace kelmar
