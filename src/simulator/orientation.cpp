// Random and Euler-angle rotations of the crystal basis.
#include "simulator/orientation.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orv::sim {

namespace {

Mat3 RotationFromQuaternion(double w, double x, double y, double z) {
  Mat3 r;
  r[0] = {1.0 - 2.0 * (y * y + z * z), 2.0 * (x * y - w * z), 2.0 * (x * z + w * y)};
  r[1] = {2.0 * (x * y + w * z), 1.0 - 2.0 * (x * x + z * z), 2.0 * (y * z - w * x)};
  r[2] = {2.0 * (x * z - w * y), 2.0 * (y * z + w * x), 1.0 - 2.0 * (x * x + y * y)};
  return r;
}

Mat3 RotationAboutZ(double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  return Mat3{Vec3{c, -s, 0.0}, Vec3{s, c, 0.0}, Vec3{0.0, 0.0, 1.0}};
}

Mat3 RotationAboutX(double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  return Mat3{Vec3{1.0, 0.0, 0.0}, Vec3{0.0, c, -s}, Vec3{0.0, s, c}};
}

}  // namespace

Mat3 RandomRotation(RandomSource& random) {
  const double u1 = random.Uniform();
  const double u2 = random.Uniform();
  const double u3 = random.Uniform();
  const double p = std::sqrt(1.0 - u1);
  const double q = std::sqrt(u1);
  const double t2 = 2.0 * kPi * u2;
  const double t3 = 2.0 * kPi * u3;
  return RotationFromQuaternion(q * std::cos(t3), p * std::sin(t2), p * std::cos(t2), q * std::sin(t3));
}

Mat3 RotationFromEulerAngles(double phi1, double Phi, double phi2) {
  const Mat3 first = RotationAboutZ(phi1 * kDegreesToRadians);
  const Mat3 second = RotationAboutX(Phi * kDegreesToRadians);
  const Mat3 third = RotationAboutZ(phi2 * kDegreesToRadians);
  return MultiplyMatrices(MultiplyMatrices(first, second), third);
}

Vec3 RotateVector(const Mat3& rotation, const Vec3& v) {
  return {Dot(rotation[0], v), Dot(rotation[1], v), Dot(rotation[2], v)};
}

Mat3 RotateBasis(const Mat3& basis, const Mat3& rotation) {
  Mat3 turned;
  for (int r = 0; r < 3; ++r) turned[r] = RotateVector(rotation, basis[r]);
  return turned;
}

}  // namespace orv::sim
