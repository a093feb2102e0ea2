// The simulated crystal: cell bases, centring extinctions and the orientations.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "simulator/crystal_lattice.hpp"
#include "simulator/orientation.hpp"
#include "simulator/random_source.hpp"

namespace orv::sim {
namespace {

double AngleDegrees(const Vec3& x, const Vec3& y) {
  return std::acos(Dot(x, y) / (VectorNorm(x) * VectorNorm(y))) * kRadiansToDegrees;
}

void ExpectRotation(const Mat3& r) {
  const Mat3 rt{Vec3{r[0][0], r[1][0], r[2][0]}, Vec3{r[0][1], r[1][1], r[2][1]}, Vec3{r[0][2], r[1][2], r[2][2]}};
  const Mat3 product = MultiplyMatrices(r, rt);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(product[i][j], i == j ? 1.0 : 0.0, 1e-14);
  EXPECT_NEAR(Determinant(r), 1.0, 1e-14);
}

TEST(SimulatedCell, BasisReproducesEdgesAnglesAndVolume) {
  const CellParameters cell{5.1, 7.3, 9.8, 81.0, 104.5, 112.25};
  Mat3 basis;
  ASSERT_EQ(DirectBasisFromCell(cell, basis), kStatusSuccess);
  EXPECT_NEAR(VectorNorm(basis[0]), 5.1, 1e-12);
  EXPECT_NEAR(VectorNorm(basis[1]), 7.3, 1e-12);
  EXPECT_NEAR(VectorNorm(basis[2]), 9.8, 1e-12);
  EXPECT_NEAR(AngleDegrees(basis[1], basis[2]), 81.0, 1e-10);
  EXPECT_NEAR(AngleDegrees(basis[0], basis[2]), 104.5, 1e-10);
  EXPECT_NEAR(AngleDegrees(basis[0], basis[1]), 112.25, 1e-10);
  EXPECT_GT(Determinant(basis), 0.0);  // right-handed
  Mat3 cubic;
  ASSERT_EQ(DirectBasisFromCell(CellParameters{4.0, 4.0, 4.0, 90.0, 90.0, 90.0}, cubic), kStatusSuccess);
  EXPECT_NEAR(CellVolume(cubic), 64.0, 1e-12);
}

TEST(SimulatedCell, ImpossibleCellsAreRefusedAndLeaveTheBasisAlone) {
  Mat3 basis{};
  basis[0][0] = 42.0;
  EXPECT_EQ(DirectBasisFromCell(CellParameters{5, 5, 5, 60, 60, 150}, basis), kStatusFailure);  // no such cell
  EXPECT_EQ(DirectBasisFromCell(CellParameters{5, 5, 5, 120, 120, 120}, basis), kStatusFailure);  // flat
  EXPECT_EQ(DirectBasisFromCell(CellParameters{0, 5, 5, 90, 90, 90}, basis), kStatusFailure);
  EXPECT_EQ(DirectBasisFromCell(CellParameters{5, 5, 5, 90, 180, 90}, basis), kStatusFailure);
  EXPECT_EQ(DirectBasisFromCell(CellParameters{NAN, 5, 5, 90, 90, 90}, basis), kStatusFailure);
  EXPECT_EQ(basis[0][0], 42.0);
}

TEST(SimulatedCell, CentringExtinctionsAndFirstAllowedHarmonic) {
  struct Case {
    Centring centring;
    int h, k, l;
    int firstAllowed;
  };
  const Case cases[] = {
      {Centring::P, 1, 0, 0, 1},  {Centring::P, 3, -2, 7, 1},
      {Centring::I, 1, 0, 0, 2},  {Centring::I, 1, 1, 0, 1},  {Centring::I, -1, 2, 2, 2}, {Centring::I, 1, -1, 2, 1},
      {Centring::F, 1, 0, 0, 2},  {Centring::F, 1, 1, 0, 2},  {Centring::F, 1, 1, 1, 1}, {Centring::F, -1, 3, -5, 1},
      {Centring::F, 2, 1, 0, 2},  {Centring::C, 1, 0, 0, 2},  {Centring::C, 0, 0, 1, 1}, {Centring::C, 1, 1, 0, 1},
      {Centring::C, -1, 2, 5, 2}, {Centring::R, 1, 0, 0, 3},  {Centring::R, 1, 1, 0, 1}, {Centring::R, 0, 0, 1, 3},
      {Centring::R, -1, 0, 1, 3}, {Centring::R, 2, 1, 1, 1},  {Centring::R, -2, 1, 1, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, CentringLetter(c.centring)) + " " + std::to_string(c.h) + " " +
                 std::to_string(c.k) + " " + std::to_string(c.l));
    EXPECT_EQ(FirstAllowedHarmonic(c.centring, c.h, c.k, c.l), c.firstAllowed);
    EXPECT_TRUE(IsAllowedReflection(c.centring, c.firstAllowed * c.h, c.firstAllowed * c.k, c.firstAllowed * c.l));
  }
  EXPECT_EQ(LatticePointsPerCell(Centring::F), 4);
  EXPECT_EQ(LatticePointsPerCell(Centring::R), 3);
  EXPECT_EQ(GreatestCommonDivisor(-6, 4, 0), 2);
  EXPECT_EQ(GreatestCommonDivisor(0, 0, -5), 5);
  EXPECT_EQ(GreatestCommonDivisor(3, -2, 7), 1);
}

TEST(SimulatedOrientation, EulerAnglesFollowTheZXZConvention) {
  const Mat3 r = RotationFromEulerAngles(90.0, 0.0, 0.0);
  const Vec3 x = RotateVector(r, Vec3{1.0, 0.0, 0.0});
  EXPECT_NEAR(x[0], 0.0, 1e-15);
  EXPECT_NEAR(x[1], 1.0, 1e-15);
  // Phi tilts the crystal z axis about the laboratory x axis after the first turn about z.
  const Vec3 z = RotateVector(RotationFromEulerAngles(0.0, 30.0, 45.0), Vec3{0.0, 0.0, 1.0});
  EXPECT_NEAR(z[1], -std::sin(30.0 * kDegreesToRadians), 1e-15);
  EXPECT_NEAR(z[2], std::cos(30.0 * kDegreesToRadians), 1e-15);
  ExpectRotation(RotationFromEulerAngles(12.0, 77.0, -140.0));
}

TEST(SimulatedOrientation, RandomRotationsAreProperAndUniform) {
  RandomSource random(2024, kOrientationStream);
  // For rotations uniform over SO(3), every entry has mean 0 and mean square 1/3, and the trace
  // has mean 0 (a bias towards small angles, as from uniform Euler angles, raises it).
  double sum[3][3] = {};
  double squares[3][3] = {};
  double trace = 0.0;
  const int count = 20000;
  for (int n = 0; n < count; ++n) {
    const Mat3 r = RandomRotation(random);
    if (n < 20) ExpectRotation(r);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        sum[i][j] += r[i][j];
        squares[i][j] += r[i][j] * r[i][j];
      }
    trace += r[0][0] + r[1][1] + r[2][2];
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_NEAR(sum[i][j] / count, 0.0, 0.02);
      EXPECT_NEAR(squares[i][j] / count, 1.0 / 3.0, 0.02);
    }
  EXPECT_NEAR(trace / count, 0.0, 0.03);
}

}  // namespace
}  // namespace orv::sim
