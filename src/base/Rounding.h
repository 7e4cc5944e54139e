#pragma once
// Rounding without the C maths library: std::lround and std::floor are calls into libm on the
// x86-64 baseline, and linking libm costs every ssftool start about as much as decoding a
// small JPEG. These give the same results for every finite value within the integer range.
#include <cstdint>

namespace ssf {

// Half-way cases away from zero, as std::lround; NaN and values outside int64 give the
// nearest end (NaN the lower).
inline int64_t RoundHalfAway(double x) {
  if (!(x > -9.2e18 && x < 9.2e18)) return x > 0 ? INT64_MAX : INT64_MIN;
  const auto whole = static_cast<int64_t>(x);  // toward zero
  const double rest = x - static_cast<double>(whole);  // exact: no more bits than x
  return whole + (rest >= 0.5) - (rest <= -0.5);
}

inline int64_t RoundHalfAway(float x) {
  if (!(x > -9.2e18f && x < 9.2e18f)) return x > 0 ? INT64_MAX : INT64_MIN;
  const auto whole = static_cast<int64_t>(x);
  const float rest = x - static_cast<float>(whole);
  return whole + (rest >= 0.5f) - (rest <= -0.5f);
}

// The greatest integer not above x, as std::floor, for x within int64.
inline int64_t FloorToInt(double x) {
  const auto whole = static_cast<int64_t>(x);
  return whole - (x < static_cast<double>(whole));
}

}  // namespace ssf
