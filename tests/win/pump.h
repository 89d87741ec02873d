#pragma once
// Runs the application's message loop until a condition holds or the time
// is up: timers and posted input of the window under test take their turn.
#include <windows.h>

#include "framework/application.h"

namespace kelmar::test {

template <typename F>
bool PumpUntil(F done, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout_ms) {
    Application().ProcessMessages();
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

inline void Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// Handles messages until nothing but timers waits: what was sent or posted,
// and what that caused, has been handled.
inline bool PumpUntilQuiet(DWORD timeout_ms = 1000) {
  return PumpUntil([] { return (HIWORD(GetQueueStatus(QS_ALLINPUT)) & ~QS_TIMER) == 0; }, timeout_ms);
}

}  // namespace kelmar::test
