#pragma once
// Which optional window features a system version offers. Only lower bounds:
// every later system keeps the feature.
namespace kelmar {

struct SystemVersion {
  int major = 0;
  int minor = 0;
};

// Layered windows (whole-window alpha) came with version 5.0.
constexpr bool LayeredWindowsAvailable(SystemVersion v) { return v.major >= 5; }
// The drop shadow of popup windows came with version 5.1.
constexpr bool IsSystemVersion51(SystemVersion v) { return v.major > 5 || (v.major == 5 && v.minor >= 1); }

}  // namespace kelmar
