#pragma once
// The application's one clock (TApplication::Clock): the time every timed
// behaviour reads and the schedule every TTimer runs on. The system's clock
// uses window timers on one message-only window and the tick count; a test
// installs a TManualClock and moves time on itself.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace kelmar {

class TTimer;

class TClock {
 public:
  virtual ~TClock() = default;
  // Milliseconds from an arbitrary start, wrapping as the tick count does.
  virtual DWORD Now() const = 0;
  // The timer's OnTimer every `interval` (> 0) milliseconds from now, until
  // Stop; starting a running timer starts its count again.
  virtual void Start(TTimer& timer, UINT interval) = 0;
  virtual void Stop(TTimer& timer) = 0;

 protected:
  static void Fire(TTimer& timer);
};

TClock& SystemClock();

// Time that moves only when the test says so. Installed as the application's
// clock for its lifetime (running timers move over and back).
class TManualClock : public TClock {
 public:
  TManualClock();
  ~TManualClock() override;
  TManualClock(const TManualClock&) = delete;
  TManualClock& operator=(const TManualClock&) = delete;

  DWORD Now() const override { return DWORD(now_); }
  void Start(TTimer& timer, UINT interval) override;
  void Stop(TTimer& timer) override;

  // Moves time on by `ms`; every timer due on the way fires at its time, in
  // the order of those times (the earlier started first at equal times),
  // synchronously, as often as it is due.
  void Advance(DWORD ms);
  // Whether the timer is scheduled here.
  bool Running(const TTimer& timer) const;

 private:
  struct Scheduled {
    TTimer* timer;
    UINT interval;
    uint64_t due;
    uint64_t order;
  };
  TClock* previous_;
  uint64_t now_ = 1'000'000;  // far from 0, which some code reads as "never"
  uint64_t next_order_ = 0;
  std::vector<Scheduled> scheduled_;
};

}  // namespace kelmar
