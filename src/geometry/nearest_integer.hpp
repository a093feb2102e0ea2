// NINT: rounding of a double to the nearest integer, halves away from zero, without overflow.
#pragma once

#include <cmath>
#include <limits>

namespace orv {

// Rounds halves away from zero (NINT(2.5) = 3, NINT(-2.5) = -3). Values beyond the range of int
// saturate at its limits and NaN gives 0, so that a degenerate basis never causes undefined
// behaviour; every value inside the range is rounded exactly.
inline int Nint(double x) {
  if (std::isnan(x)) return 0;
  const double r = std::round(x);
  if (r >= 2147483647.0) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

}  // namespace orv
