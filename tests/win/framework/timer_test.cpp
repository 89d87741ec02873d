#include <windows.h>

#include <gtest/gtest.h>

#include "framework/timer.h"
#include "win/pump.h"

namespace kelmar {

namespace {

using test::Pump;

}  // namespace

TEST(Timer, FiresWhileEnabledAndNeverAfterItIsFreed) {
  TComponent owner(nullptr, "owner");
  int a = 0, b = 0;
  auto* fast = new TTimer(&owner, "fast", 20);
  auto* off = new TTimer(&owner, "off", 20);
  fast->OnTimer = [&] { ++a; };
  off->OnTimer = [&] { ++b; };
  fast->SetEnabled(true);
  Pump(300);
  EXPECT_GE(a, 3);  // about 15 ticks; a loaded machine delivers fewer
  EXPECT_EQ(b, 0);

  fast->SetEnabled(false);
  int stopped_at = a;
  Pump(100);
  EXPECT_EQ(a, stopped_at);

  fast->SetEnabled(true);
  Sleep(60);  // ticks are now due and queued
  delete fast;
  Pump(100);
  EXPECT_EQ(a, stopped_at);
}

TEST(Timer, FreedWithItsOwner) {
  int ticks = 0;
  {
    TComponent owner(nullptr, "owner");
    auto* timer = new TTimer(&owner, "t", 10);
    timer->OnTimer = [&] { ++ticks; };
    timer->SetEnabled(true);
    Sleep(40);
  }
  Pump(80);
  EXPECT_EQ(ticks, 0);
}

}  // namespace kelmar
