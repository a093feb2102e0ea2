// The Busing-Levy crystal frame, B of a cell and the orientation of a measured UB.
#include "geometry/crystal_frame.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/rotation.hpp"

namespace orv {

Mat3 MetricOfCellParameters(const Vec3& lengths, const Vec3& angles) {
  const double ca = std::cos(angles[0] * kDegreesToRadians);
  const double cb = std::cos(angles[1] * kDegreesToRadians);
  const double cg = std::cos(angles[2] * kDegreesToRadians);
  const double a = lengths[0];
  const double b = lengths[1];
  const double c = lengths[2];
  return Mat3{{{a * a, a * b * cg, a * c * cb}, {a * b * cg, b * b, b * c * ca}, {a * c * cb, b * c * ca, c * c}}};
}

bool BusingLevyB(const Mat3& directMetric, Mat3& b) {
  Mat3 g{};  // the reciprocal metric
  if (InvertMatrix(directMetric, g, kBasisSingularity) != kStatusSuccess) return false;
  // Upper Cholesky factor R of G* = R^T R: its columns have the scalar products of a*, b*, c*.
  Mat3 r{};
  const double r00 = g[0][0];
  if (!(r00 > 0.0) || !std::isfinite(r00)) return false;
  r[0][0] = std::sqrt(r00);
  r[0][1] = g[0][1] / r[0][0];
  r[0][2] = g[0][2] / r[0][0];
  const double r11 = g[1][1] - r[0][1] * r[0][1];
  if (!(r11 > 0.0)) return false;
  r[1][1] = std::sqrt(r11);
  r[1][2] = (g[1][2] - r[0][1] * r[0][2]) / r[1][1];
  const double r22 = g[2][2] - r[0][2] * r[0][2] - r[1][2] * r[1][2];
  if (!(r22 > 0.0) || !std::isfinite(r22)) return false;
  r[2][2] = std::sqrt(r22);
  b = r;
  return true;
}

bool DirectBasisInCrystalFrame(const Mat3& b, Mat3& rows) {
  // The reciprocal rows are the columns of B; their dual rows are the direct vectors.
  return InverseTranspose(TransposeMatrix(b), rows, kBasisSingularity) == kStatusSuccess;
}

Mat3 UBOfReciprocalRows(const Mat3& reciprocalRows) { return TransposeMatrix(reciprocalRows); }

bool OrientationOfUB(const Mat3& ub, const Mat3& b, Mat3& u) {
  Mat3 inverse{};
  if (InvertMatrix(b, inverse, kBasisSingularity) != kStatusSuccess) return false;
  return NearestRotation(MultiplyMatrices(ub, inverse), u);
}

}  // namespace orv
