#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/application.h"
#include "framework/clock.h"
#include "framework/timer.h"
#include "win/pump.h"

namespace kelmar {

namespace {

using test::PumpUntil;

// Waits, without handling anything, until a timer's tick is queued.
bool TickQueued(DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (!(HIWORD(GetQueueStatus(QS_TIMER)) & QS_TIMER)) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms - spent, QS_TIMER);
  }
  return true;
}

}  // namespace

TEST(ManualClock, FiresEveryDueTickAtItsTimeInOrder) {
  TManualClock clock;
  const DWORD t0 = clock.Now();
  TComponent owner(nullptr, "owner");
  std::vector<std::pair<std::string, DWORD>> ticks;
  auto* a = new TTimer(&owner, "a", 30);
  auto* b = new TTimer(&owner, "b", 50);
  auto* off = new TTimer(&owner, "off", 10);
  a->OnTimer = [&] { ticks.push_back({"a", clock.Now() - t0}); };
  b->OnTimer = [&] { ticks.push_back({"b", clock.Now() - t0}); };
  off->OnTimer = [&] { ticks.push_back({"off", clock.Now() - t0}); };
  a->SetEnabled(true);
  b->SetEnabled(true);
  clock.Advance(29);
  EXPECT_TRUE(ticks.empty());
  clock.Advance(71);
  EXPECT_EQ(ticks, (std::vector<std::pair<std::string, DWORD>>{{"a", 30}, {"b", 50}, {"a", 60}, {"a", 90}, {"b", 100}}));
  EXPECT_EQ(clock.Now() - t0, 100u);

  // A new interval counts from the change; a disabled timer stays silent.
  ticks.clear();
  a->SetInterval(15);
  b->SetEnabled(false);
  clock.Advance(40);
  EXPECT_EQ(ticks, (std::vector<std::pair<std::string, DWORD>>{{"a", 115}, {"a", 130}}));
}

TEST(ManualClock, ATimerStoppedOrFreedByATickGoesAtOnce) {
  TManualClock clock;
  TComponent owner(nullptr, "owner");
  int once = 0, later = 0;
  auto* oneShot = new TTimer(&owner, "oneShot", 10);
  auto* victim = new TTimer(&owner, "victim", 10);
  oneShot->OnTimer = [&] {
    ++once;
    oneShot->SetEnabled(false);
    delete victim;  // due at the same time, started later
  };
  victim->OnTimer = [&] { ++later; };
  oneShot->SetEnabled(true);
  victim->SetEnabled(true);
  clock.Advance(100);
  EXPECT_EQ(once, 1);
  EXPECT_EQ(later, 0);
  EXPECT_FALSE(clock.Running(*oneShot));
}

TEST(ManualClock, RunningTimersMoveToItAndBackToTheSystemClock) {
  TComponent owner(nullptr, "owner");
  int ticks = 0;
  auto* timer = new TTimer(&owner, "t", 20);
  timer->OnTimer = [&] { ++ticks; };
  timer->SetEnabled(true);
  {
    TManualClock clock;
    EXPECT_EQ(&Application().Clock(), &clock);
    EXPECT_TRUE(clock.Running(*timer));
    // Whatever the system had queued for it is no longer its tick.
    Application().ProcessMessages();
    EXPECT_EQ(ticks, 0);
    clock.Advance(20);
    EXPECT_EQ(ticks, 1);
  }
  EXPECT_EQ(&Application().Clock(), &SystemClock());
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 5000));
}

TEST(Timer, OnTheSystemClockATickQueuedBeforeItIsFreedIsDropped) {
  int ticks = 0;
  {
    TComponent owner(nullptr, "owner");
    auto* timer = new TTimer(&owner, "t", 10);
    timer->OnTimer = [&] { ++ticks; };
    timer->SetEnabled(true);
    ASSERT_TRUE(TickQueued(5000));
  }
  Application().ProcessMessages();
  EXPECT_EQ(ticks, 0);

  TComponent owner(nullptr, "owner");
  auto* timer = new TTimer(&owner, "t", 10);
  timer->OnTimer = [&] { ++ticks; };
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }, 5000));
  timer->SetEnabled(false);
  const int stoppedAt = ticks;
  Application().ProcessMessages();
  EXPECT_EQ(ticks, stoppedAt);
}

}  // namespace kelmar
