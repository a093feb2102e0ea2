// The integer indexing of a reflection as it reads: every new trial normalised and its angle taken.
#include "geometry/index_direction.hpp"

#include "geometry/nearest_integer.hpp"

namespace orv {

IndexedDirection IndexDirectionLiteral(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex) {
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
  result.withinBound = result.scale != 0 && LargestNint(result.x) <= maxAllowedMillerIndex;
  return result;
}

}  // namespace orv
