// Integer indexing of a reflection: scan scales along the exact index direction, keep the best triple.
#include "geometry/index_direction.hpp"

#include <cmath>
#include <cstdlib>

#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

// 1/2.3: the trial triple at scale s is NINT(s w_i / 2.3).
constexpr double kInverseScaleStep = 0.4347826086956522;

long long PairDivisor(long long a, long long b) {
  while (b != 0) {
    const long long r = a % b;
    a = b;
    b = r;
  }
  return a;
}

}  // namespace

IndexedDirection IndexDirection(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex) {
  IndexedDirection result;
  const int lastScale = Nint(4.14 * maxAllowedMillerIndex);

  // The real-valued Miller indices of u, up to an unknown positive factor.
  const Vec3 v = {Dot(D[0], u), Dot(D[1], u), Dot(D[2], u)};
  Vec3 w;
  double norm;
  if (NormalizeVector(v, w, norm) != kStatusSuccess) return result;

  // Consecutive scales often round to the same trial triple; its angle is then the one just
  // compared, which cannot be strictly smaller, so the repeat is skipped without changing anything.
  MillerIndices previous = {0, 0, 0};
  for (double s = 2.0; s <= lastScale; s += 1.0) {
    MillerIndices h = {Nint(s * w[0] * kInverseScaleStep), Nint(s * w[1] * kInverseScaleStep),
                       Nint(s * w[2] * kInverseScaleStep)};
    if (h == previous) continue;
    previous = h;
    Vec3 p;
    for (int j = 0; j < 3; ++j) p[j] = h[0] * R[0][j] + h[1] * R[1][j] + h[2] * R[2][j];
    Vec3 q;
    // A zero lattice vector (singular basis) has no direction: the trial cannot improve.
    if (NormalizeVector(p, q, norm) != kStatusSuccess) continue;
    const double alpha = ClampedArcCos(Dot(u, q));
    if (alpha < result.theta) {
      result.theta = alpha;
      ReduceToCoprime(h);
      const double t = h[0] * w[0] + h[1] * w[1] + h[2] * w[2];
      result.x = {t * w[0], t * w[1], t * w[2]};
      result.scale = static_cast<int>(s);
    }
  }

  if (result.scale == 0) return result;
  // Compared in long long so that a saturated NINT cannot overflow abs().
  long long largest = 0;
  for (double xi : result.x) {
    const long long magnitude = std::llabs(static_cast<long long>(Nint(xi)));
    if (magnitude > largest) largest = magnitude;
  }
  result.withinBound = largest <= maxAllowedMillerIndex;
  return result;
}

long long GreatestCommonDivisor(long long a, long long b, long long c) {
  return PairDivisor(PairDivisor(std::llabs(a), std::llabs(b)), std::llabs(c));
}

// Division by the greatest common divisor, which is what repeated trial division by the smallest
// common factor arrives at; worked in long long so that INT_MIN entries cannot overflow.
void ReduceToCoprime(MillerIndices& h) {
  const long long h0 = h[0], h1 = h[1], h2 = h[2];
  const long long g = GreatestCommonDivisor(h0, h1, h2);
  if (g <= 1) return;
  h = {static_cast<int>(h0 / g), static_cast<int>(h1 / g), static_cast<int>(h2 / g)};
}

// Exact in integers: a quotient that is not whole lies at least 1/|d| >= 4.6e-10 from every
// integer, so the floating-point test with its 1e-10 margin gives the same answers.
bool IsDivisible(int a, int d) {
  if (d == 0) return false;
  return static_cast<long long>(a) % static_cast<long long>(d) == 0;
}

}  // namespace orv
