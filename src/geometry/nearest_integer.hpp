// NINT: rounding of a double to the nearest integer, halves away from zero, without overflow.
#pragma once

#include <cmath>
#include <limits>

namespace orv {

// NINT of a value below 2^30 in magnitude, as a double, without branches or library calls: the
// truncation t and the fraction f = x - t are exact there, and the truncation of 2f (exact too) is
// the step away from zero: 1 for f >= 0.5, -1 for f <= -0.5, else 0.
inline double NintOfSmallAsDouble(double x) {
  const double t = static_cast<double>(static_cast<int>(x));
  const double fraction = x - t;
  return t + static_cast<double>(static_cast<int>(fraction + fraction));
}

// Rounds halves away from zero (NINT(2.5) = 3, NINT(-2.5) = -3). Values beyond the range of int
// saturate at its limits and NaN gives 0, so that a degenerate basis never causes undefined
// behaviour; every value inside the range is rounded exactly.
inline int Nint(double x) {
  if (std::fabs(x) < 1073741824.0) return static_cast<int>(NintOfSmallAsDouble(x));
  if (std::isnan(x)) return 0;
  const double r = std::round(x);
  if (r >= 2147483647.0) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

}  // namespace orv
