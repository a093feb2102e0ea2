// The angle to direction conversion of the laboratory frame of peak lists.
#include "geometry/laue_frame.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orv {

Vec3 ScatteringDirectionFromAngles(const DetectorAngles& angles) {
  const double theta = 0.5 * angles.twoTheta * kDegreesToRadians;
  const double chi = angles.chi * kDegreesToRadians;
  const double c = std::cos(theta);
  return {-std::sin(theta), c * std::sin(chi), c * std::cos(chi)};
}

DetectorAngles AnglesFromScatteringDirection(const Vec3& q) {
  // atan2 keeps full precision near theta 0 and 90 degrees, where asin and acos lose it.
  const double across = std::hypot(q[1], q[2]);
  DetectorAngles angles;
  angles.twoTheta = 2.0 * std::atan2(-q[0], across) * kRadiansToDegrees;
  angles.chi = std::atan2(q[1], q[2]) * kRadiansToDegrees;
  return angles;
}

}  // namespace orv
