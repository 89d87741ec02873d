#pragma once
// Lengths designed for 96 DPI (100 %) at a display's own DPI.
namespace kelmar {

inline constexpr int kDesignDpi = 96;

// round(length * dpi / 96), halves away from zero, in integers: the one rule
// every scaled length follows, so pieces laid side by side stay in step.
constexpr int ScaleLength(int length, int dpi) {
  if (dpi == kDesignDpi) return length;
  const long long product = static_cast<long long>(length < 0 ? -length : length) * dpi;
  const int scaled = static_cast<int>((product + kDesignDpi / 2) / kDesignDpi);
  return length < 0 ? -scaled : scaled;
}

}  // namespace kelmar
