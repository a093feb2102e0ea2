// The laboratory frame of peak lists: detector angles to scattering directions and back.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/laue_frame.hpp"

namespace orv {
namespace {

TEST(LaueFrame, DirectionFollowsTheBeamAlongXAndTheDetectorAlongZ) {
  // 2theta 90 at chi 0: the diffracted beam goes to the detector centre (+z), q lies half-way.
  const Vec3 q = ScatteringDirectionFromAngles({90.0, 0.0});
  EXPECT_NEAR(q[0], -std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(q[1], 0.0, 1e-15);
  EXPECT_NEAR(q[2], std::sqrt(0.5), 1e-15);
  // The mirror of the incident beam (+x) in the lattice planes leaves at 2theta from it, on the +y
  // side for a positive chi.
  const Vec3 g = ScatteringDirectionFromAngles({70.0, 25.0});
  const double twice = 2.0 * g[0];
  const Vec3 out{1.0 - twice * g[0], -twice * g[1], -twice * g[2]};
  EXPECT_NEAR(std::acos(out[0]) * kRadiansToDegrees, 70.0, 1e-12);
  EXPECT_NEAR(std::atan2(out[1], out[2]) * kRadiansToDegrees, 25.0, 1e-12);
}

TEST(LaueFrame, AnglesAndDirectionsConvertBackAndForthForAnyLength) {
  for (double twoTheta = 0.5; twoTheta <= 180.0; twoTheta += 7.25)
    for (double chi = -179.0; chi <= 180.0; chi += 11.5) {
      const Vec3 q = ScatteringDirectionFromAngles({twoTheta, chi});
      EXPECT_NEAR(VectorNorm(q), 1.0, 1e-15);
      const DetectorAngles back = AnglesFromScatteringDirection({3.5 * q[0], 3.5 * q[1], 3.5 * q[2]});
      EXPECT_NEAR(back.twoTheta, twoTheta, 1e-11);
      if (twoTheta < 180.0) {
        EXPECT_NEAR(back.chi, chi, 1e-11);
      }
    }
}

}  // namespace
}  // namespace orv
