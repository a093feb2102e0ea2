// Vector and 3x3 matrix primitives under the row-equals-basis-vector convention.
#include "geometry/vector_matrix.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orv {

double Determinant(const Mat3& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

int InvertMatrix(const Mat3& m, Mat3& inverse, double threshold) {
  const double det = Determinant(m);
  // A NaN determinant fails too: it cannot give a usable inverse.
  if (!(threshold <= std::fabs(det))) return kStatusFailure;
  const double r = 1.0 / det;
  // Formed apart from the output so that a matrix may be inverted in place.
  Mat3 inv;
  inv[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) * r;
  inv[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * r;
  inv[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * r;
  inv[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) * r;
  inv[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * r;
  inv[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * r;
  inv[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) * r;
  inv[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * r;
  inv[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * r;
  inverse = inv;
  return kStatusSuccess;
}

int InverseTranspose(const Mat3& m, Mat3& dual, double threshold) {
  Mat3 inverse;
  const int status = InvertMatrix(m, inverse, threshold);
  if (status != kStatusSuccess) return status;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) dual[r][c] = inverse[c][r];
  return kStatusSuccess;
}

int NormalizeVector(const Vec3& x, Vec3& unit, double& norm) {
  norm = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
  // A NaN norm fails as well: there is no direction to return.
  if (!(norm >= 1e-23)) return kStatusFailure;
  const double r = 1.0 / norm;
  unit = {x[0] * r, x[1] * r, x[2] * r};
  return kStatusSuccess;
}

int NormalizeVectorScaled(const Vec3& x, Vec3& unit, double& norm) {
  double plainNorm = 0.0;
  Vec3 plainUnit{};
  if (NormalizeVector(x, plainUnit, plainNorm) == kStatusSuccess && std::isfinite(plainNorm)) {
    unit = plainUnit;
    norm = plainNorm;
    return kStatusSuccess;
  }
  if (!std::isfinite(x[0]) || !std::isfinite(x[1]) || !std::isfinite(x[2])) return kStatusFailure;
  const double largest = std::fmax(std::fabs(x[0]), std::fmax(std::fabs(x[1]), std::fabs(x[2])));
  if (!(largest > 0.0)) return kStatusFailure;
  int exponent = 0;
  std::frexp(largest, &exponent);
  // Scaling by a power of two is exact, so the scaled vector has the direction of x.
  const Vec3 s = {std::ldexp(x[0], -exponent), std::ldexp(x[1], -exponent), std::ldexp(x[2], -exponent)};
  const double scaledNorm = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
  const double r = 1.0 / scaledNorm;
  unit = {s[0] * r, s[1] * r, s[2] * r};
  norm = std::ldexp(scaledNorm, exponent);
  return kStatusSuccess;
}

double VectorNorm(const Vec3& x) { return std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]); }

Vec3 CrossProduct(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double ClampedArcCos(double c) {
  if (std::isnan(c)) return kPi;
  if (c >= 1.0) return 0.0;
  if (c <= -1.0) return kPi;
  return std::acos(c);
}

Mat3 MultiplyMatrices(const Mat3& a, const Mat3& b) {
  Mat3 p;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
  return p;
}

Mat3 ScaleMatrix(const Mat3& m, double s) {
  Mat3 p;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p[r][c] = m[r][c] * s;
  return p;
}

double VolumeScaleFactor(const Mat3& m, double volume) {
  return std::pow(volume / std::fabs(Determinant(m)), kOneThird);
}

}  // namespace orv
