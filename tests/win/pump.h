#pragma once
// Runs the application's message loop until a condition holds or the time
// is up: timers and posted input of the window under test take their turn.
// With a manual clock installed (framework/clock.h), Elapse lets time pass
// on it instead.
#include <windows.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/clock.h"

namespace kelmar::test {

template <typename F>
bool PumpUntil(F done, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    Application().ProcessMessages();
    if (done()) return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeout_ms) return done();
    // Until something arrives, at most 10 ms: conditions set by another
    // process or thread are looked at again then.
    MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(10, timeout_ms - spent), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

// Handles messages until nothing but timers waits: what was sent or posted,
// and what that caused, has been handled.
inline bool PumpUntilQuiet(DWORD timeout_ms = 1000) {
  return PumpUntil([] { return (HIWORD(GetQueueStatus(QS_ALLINPUT)) & ~QS_TIMER) == 0; }, timeout_ms);
}

// Lets `ms` pass on the manual clock in steps of `step`, handling after each
// step what its timers caused, as the loop would between real ticks.
inline void Elapse(TManualClock& clock, DWORD ms, DWORD step = 10) {
  PumpUntilQuiet();
  while (ms > 0) {
    const DWORD now = ms < step ? ms : step;
    clock.Advance(now);
    PumpUntilQuiet();
    ms -= now;
  }
}

// Lets time pass on the manual clock as Elapse does until done() holds, at
// most `limit_ms`; whether it came to hold.
template <typename F>
bool ElapseUntil(TManualClock& clock, F done, DWORD limit_ms, DWORD step = 10) {
  PumpUntilQuiet();
  for (DWORD spent = 0; !done(); spent += step) {
    if (spent >= limit_ms) return false;
    clock.Advance(step);
    PumpUntilQuiet();
  }
  return true;
}

}  // namespace kelmar::test
