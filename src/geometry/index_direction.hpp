// Integer indexing of one reflection direction against a basis: coprime indices and deviation.
#pragma once

#include <array>
#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/vector_matrix.hpp"

namespace orv {

using MillerIndices = std::array<int, 3>;

// 1/2.3: the trial triple at scale s is NINT(s w_i / 2.3).
constexpr double kInverseScaleStep = 0.4347826086956522;

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
// The winner of the scan before its angle is taken.
struct ScannedDirection {
  Vec3 x{};
  double cosine = 0.0;  // u . q for the unit vector q of the chosen triple's lattice vector
  bool withinBound = false;
  int scale = 0;  // 0 when no trial was chosen; x, cosine and the flag then say nothing
};

// The scan of IndexDirection without the final arc cosine: theta is ClampedArcCos(cosine).
ScannedDirection ScanIndexDirection(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex);

// Bit for bit the result of IndexDirectionLiteral, with the work whose outcome is certain left out.
IndexedDirection IndexDirection(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex);

// ClampedArcCos(cosine) <= limit, where cosineOfLimit is cos(limit) to within rounding: decided on
// the cosines when they are clearly apart, through the arc cosine otherwise.
bool AngleWithin(double cosine, double limit, double cosineOfLimit);

// An angle limit in radians: ClampedArcCos(cosine) <= limit, told from the cosine where that is
// safe (limits up to 1.5 radians, through AngleWithin) and through the arc cosine otherwise.
class AngleLimit {
 public:
  explicit AngleLimit(double limit)
      : limit_(limit), cosine_(std::cos(limit)), cosinesDecide_(limit > 0.0 && limit <= 1.5) {}
  bool Holds(double cosine) const {
    return cosinesDecide_ ? AngleWithin(cosine, limit_, cosine_) : ClampedArcCos(cosine) <= limit_;
  }

 private:
  double limit_;
  double cosine_;
  bool cosinesDecide_;
};

// The scan as it reads: a normalisation and an arc cosine for every trial (a trial that repeats
// the previous one is passed over, as it cannot win). Kept as the reference that the faster
// IndexDirection must match exactly.
IndexedDirection IndexDirectionLiteral(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex);

// max |NINT(x_i)|, compared with MaxAllowedMillerIndex for the bound flag.
long long LargestNint(const Vec3& x);

// Greatest common divisor of |a|, |b| and |c|; 0 when all three are 0. Worked in long long so that
// the most negative int cannot overflow.
long long GreatestCommonDivisor(long long a, long long b, long long c);

// Divides the triple by the greatest common divisor of its entries, keeping signs; (0,0,0) stays.
void ReduceToCoprime(MillerIndices& h);

// True when d != 0 and a is an integer multiple of d.
bool IsDivisible(int a, int d);

}  // namespace orv
