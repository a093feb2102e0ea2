// Rotations and the crystal frame: Euler angles both ways, the nearest rotation, B of a cell, and
// the misorientation under a crystal's symmetry.
#include "geometry/rotation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/crystal_frame.hpp"

namespace orv {
namespace {

void ExpectMatrixNear(const Mat3& a, const Mat3& b, double tolerance) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(a[r][c], b[r][c], tolerance) << "entry " << r << "," << c;
}

TEST(BungeEulerAngles, RoundTripIncludingTheDegenerateAngles) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> turn(0.0, 360.0);
  std::uniform_real_distribution<double> tilt(0.0, 180.0);
  for (int trial = 0; trial < 200; ++trial) {
    const Vec3 angles = {turn(rng), tilt(rng), turn(rng)};
    const Mat3 u = RotationFromBungeEulerAngles(angles);
    const Vec3 back = BungeEulerAngles(u);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], angles[k], 1e-7) << trial;
    ExpectMatrixNear(RotationFromBungeEulerAngles(back), u, 1e-12);
  }
  // The crystal's z along the laboratory z (Phi = 0) and against it (Phi = 180): phi2 becomes 0.
  for (const Vec3& angles : {Vec3{30.0, 0.0, 20.0}, Vec3{30.0, 180.0, 20.0}}) {
    const Mat3 u = RotationFromBungeEulerAngles(angles);
    const Vec3 back = BungeEulerAngles(u);
    EXPECT_EQ(back[2], 0.0);
    ExpectMatrixNear(RotationFromBungeEulerAngles(back), u, 1e-12);
  }
  // Rz(90) takes the crystal's x onto the laboratory y.
  const Mat3 quarter = RotationFromBungeEulerAngles({90.0, 0.0, 0.0});
  EXPECT_NEAR(quarter[1][0], 1.0, 1e-15);
  EXPECT_NEAR(RotationAngleDegrees(quarter), 90.0, 1e-12);
}

TEST(NearestRotation, RemovesScaleAndSymmetricStretchAndRefusesReflections) {
  const Mat3 u = RotationFromBungeEulerAngles({12.0, 34.0, 56.0});
  // A symmetric stretch S applied after U leaves U as the polar rotation of U S.
  const Mat3 stretch = {{{1.002, 0.001, -0.0005}, {0.001, 0.999, 0.0003}, {-0.0005, 0.0003, 1.0004}}};
  Mat3 found{};
  ASSERT_TRUE(NearestRotation(ScaleMatrix(MultiplyMatrices(u, stretch), 3.7), found));
  ExpectMatrixNear(found, u, 1e-13);
  Mat3 untouched = stretch;
  EXPECT_FALSE(NearestRotation(ScaleMatrix(u, -1.0), untouched));
  EXPECT_FALSE(NearestRotation(Mat3{}, untouched));
  EXPECT_EQ(untouched, stretch);
}

TEST(BusingLevyB, PutsAStarAlongXAndBStarInTheXYPlane) {
  const Mat3 g = MetricOfCellParameters({5.2, 6.4, 7.5}, {90.0, 103.0, 90.0});
  Mat3 b{};
  ASSERT_TRUE(BusingLevyB(g, b));
  EXPECT_EQ(b[1][0], 0.0);
  EXPECT_EQ(b[2][0], 0.0);
  EXPECT_EQ(b[2][1], 0.0);
  EXPECT_GT(b[0][0], 0.0);
  // c is along z (c . x = c . y = 0 in the crystal frame), and the direct rows give back the metric.
  Mat3 direct{};
  ASSERT_TRUE(DirectBasisInCrystalFrame(b, direct));
  EXPECT_NEAR(direct[2][0], 0.0, 1e-12);
  EXPECT_NEAR(direct[2][1], 0.0, 1e-12);
  ExpectMatrixNear(MultiplyMatrices(direct, TransposeMatrix(direct)), g, 1e-12);
  EXPECT_NEAR(b[0][0], 1.0 / (5.2 * std::sin(103.0 * 0.017453292519943295)), 1e-14);
  EXPECT_FALSE(BusingLevyB(MetricOfCellParameters({1, 1, 1}, {10, 10, 150}), b));
}

TEST(MisorientationDegrees, TakesTheSmallestAngleOverTheSymmetry) {
  const Mat3 u = RotationFromBungeEulerAngles({40.0, 30.0, 20.0});
  const Mat3 fourfold = {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};  // 90 degrees about the crystal's z
  const Mat3 turned = MultiplyMatrices(u, fourfold);
  EXPECT_NEAR(MisorientationDegrees(u, turned, {}), 90.0, 1e-9);
  EXPECT_NEAR(MisorientationDegrees(u, turned, {TransposeMatrix(fourfold)}), 0.0, 1e-6);
  const Mat3 small = RotationFromBungeEulerAngles({0.01, 0.0, 0.0});
  EXPECT_NEAR(MisorientationDegrees(u, MultiplyMatrices(small, turned), {TransposeMatrix(fourfold)}), 0.01, 1e-9);
}

}  // namespace
}  // namespace orv
