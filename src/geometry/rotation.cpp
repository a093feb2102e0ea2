// Rotations of the crystal: nearest rotation, angle, Bunge Euler angles and misorientation.
#include "geometry/rotation.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orv {

namespace {

constexpr int kLargestPolarSteps = 100;
// The polar iteration stops when no entry moves by more than this.
constexpr double kPolarSettled = 1e-15;
// Below this sin(Phi) the Euler angles phi1 and phi2 merge into one.
constexpr double kGimbalLock = 1e-12;

Mat3 RotationAboutZ(double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  return Mat3{{{c, -s, 0.0}, {s, c, 0.0}, {0.0, 0.0, 1.0}}};
}

Mat3 RotationAboutX(double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  return Mat3{{{1.0, 0.0, 0.0}, {0.0, c, -s}, {0.0, s, c}}};
}

// An angle in degrees brought into [0, 360).
double Wrapped(double degrees) {
  double wrapped = std::fmod(degrees, 360.0);
  if (wrapped < 0.0) wrapped += 360.0;
  if (wrapped >= 360.0) wrapped = 0.0;
  return wrapped;
}

}  // namespace

Mat3 TransposeMatrix(const Mat3& m) {
  Mat3 t{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) t[r][c] = m[c][r];
  return t;
}

bool NearestRotation(const Mat3& m, Mat3& rotation) {
  const double determinant = Determinant(m);
  if (!std::isfinite(determinant) || !(determinant > 0.0)) return false;
  // Newton's iteration X <- (X + X^-T) / 2 converges to the orthogonal polar factor; starting at
  // unit determinant keeps the first steps well scaled.
  Mat3 x = ScaleMatrix(m, 1.0 / std::cbrt(determinant));
  for (int step = 0; step < kLargestPolarSteps; ++step) {
    Mat3 dual{};
    if (InverseTranspose(x, dual, kBasisSingularity) != kStatusSuccess) return false;
    double moved = 0.0;
    Mat3 next{};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) {
        next[r][c] = 0.5 * (x[r][c] + dual[r][c]);
        moved = std::fmax(moved, std::fabs(next[r][c] - x[r][c]));
      }
    x = next;
    if (moved <= kPolarSettled) {
      rotation = x;
      return true;
    }
  }
  return false;
}

double RotationAngleDegrees(const Mat3& r) {
  // cos = (trace - 1) / 2 and sin = |axial vector| / 2, so that small angles keep their precision.
  const double cosine = 0.5 * (r[0][0] + r[1][1] + r[2][2] - 1.0);
  const Vec3 axial = {r[2][1] - r[1][2], r[0][2] - r[2][0], r[1][0] - r[0][1]};
  const double sine = 0.5 * VectorNorm(axial);
  return std::atan2(sine, cosine) * kRadiansToDegrees;
}

Vec3 BungeEulerAngles(const Mat3& u) {
  // U = Rz(phi1) Rx(Phi) Rz(phi2): U33 = cos Phi, U13 = sin phi1 sin Phi, U23 = -cos phi1 sin Phi,
  // U31 = sin Phi sin phi2, U32 = sin Phi cos phi2.
  const double cosPhi = std::fmax(-1.0, std::fmin(1.0, u[2][2]));
  const double sinPhi = std::sqrt(u[0][2] * u[0][2] + u[1][2] * u[1][2]);
  const double phi = std::atan2(sinPhi, cosPhi);
  double phi1 = 0.0;
  double phi2 = 0.0;
  if (sinPhi > kGimbalLock) {
    phi1 = std::atan2(u[0][2], -u[1][2]);
    phi2 = std::atan2(u[2][0], u[2][1]);
  } else {
    // Phi = 0: U = Rz(phi1 + phi2); Phi = 180: U = Rz(phi1 - phi2) Rx(180). phi2 is set to 0.
    phi1 = std::atan2(u[1][0], u[0][0]);
  }
  return Vec3{Wrapped(phi1 * kRadiansToDegrees), phi * kRadiansToDegrees, Wrapped(phi2 * kRadiansToDegrees)};
}

Mat3 RotationFromBungeEulerAngles(const Vec3& angles) {
  return MultiplyMatrices(RotationAboutZ(angles[0] * kDegreesToRadians),
                          MultiplyMatrices(RotationAboutX(angles[1] * kDegreesToRadians),
                                           RotationAboutZ(angles[2] * kDegreesToRadians)));
}

double MisorientationDegrees(const Mat3& first, const Mat3& second, const std::vector<Mat3>& crystalRotations) {
  const Mat3 firstInverse = TransposeMatrix(first);
  double smallest = RotationAngleDegrees(MultiplyMatrices(firstInverse, second));
  for (const Mat3& s : crystalRotations)
    smallest = std::fmin(smallest, RotationAngleDegrees(MultiplyMatrices(firstInverse, MultiplyMatrices(second, s))));
  return smallest;
}

}  // namespace orv
