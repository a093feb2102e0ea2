// Integer indexing of one reflection direction against a basis: coprime indices and deviation.
#pragma once

#include <array>

#include "geometry/constants.hpp"
#include "geometry/vector_matrix.hpp"

namespace orv {

using MillerIndices = std::array<int, 3>;

// What IndexDirection tells about one reflection under one basis.
struct IndexedDirection {
  Vec3 x{};             // real-valued indices, parallel to the observed index direction
  double theta = kPi;   // angle in radians between u and the lattice vector of the chosen triple
  bool withinBound = false;  // max |NINT(x_i)| <= MaxAllowedMillerIndex
  int scale = 0;        // trial scale at which the chosen triple was first met; 0 when none was
};

// Indexes the direction u against the reciprocal basis R and its dual D (the direct basis), trying
// the scales 2 .. NINT(4.14 M) along the exact index direction. A direction without an index
// direction (zero, or NaN) keeps theta = pi, x = (0,0,0) and the bound flag false.
IndexedDirection IndexDirection(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex);

// Greatest common divisor of |a|, |b| and |c|; 0 when all three are 0. Worked in long long so that
// the most negative int cannot overflow.
long long GreatestCommonDivisor(long long a, long long b, long long c);

// Divides the triple by the greatest common divisor of its entries, keeping signs; (0,0,0) stays.
void ReduceToCoprime(MillerIndices& h);

// True when d != 0 and a is an integer multiple of d.
bool IsDivisible(int a, int d);

}  // namespace orv
