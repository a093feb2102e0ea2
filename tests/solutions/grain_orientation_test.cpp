// A grain's orientation fitted with its cell held: exact on exact spots, and deaf to a stray spot.
#include <gtest/gtest.h>

#include "geometry/rotation.hpp"
#include "solutions/grain_orientation.hpp"
#include "solutions/grain_spots.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

TEST(GrainOrientation, TheHeldCellTurnsOntoTheSpotsAndAStraySpotIsLeftOut) {
  // A cubic lattice in a generic orientation, its cell sheared slightly as a free least-squares
  // basis may come out: the held cell (cubic again) must still find the true turn.
  const testing::LatticePattern pattern = testing::BuildLatticePattern(testing::CubicDirectBasis(), 30);
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(pattern, parameters, directions);
  ApplyAngularDeviationCriterion(parameters, 1.0);
  Mat3 sheared = pattern.direct;
  for (std::size_t c = 0; c < 3; ++c) sheared[0][c] += 0.004 * pattern.direct[1][c];
  const LatticeTolerance tolerance = LatticeToleranceForAngularCriterion(parameters.AngularDeviationCriterion);
  LatticeSymmetry symmetry;
  ASSERT_TRUE(AnalyseLatticeSymmetry(sheared, tolerance, symmetry));
  ASSERT_EQ(symmetry.type, BravaisType::cP);

  std::vector<int> spots;
  for (int j = 1; j <= parameters.NumberOfReflections; ++j) spots.push_back(j);
  const GrainOrientation exact = OrientGrain(sheared, symmetry, spots, parameters, directions);
  ASSERT_TRUE(exact.oriented);
  EXPECT_EQ(exact.spotsFitted, 30);
  EXPECT_LT(exact.rmsMisfitDegrees, 1e-6);
  // Every spot lies along U B h of its indices (the misfit above); the free basis, sheared, is
  // turned from it by a part of the shear.
  const std::vector<Mat3>& rotations = exact.orientation.crystalRotations;
  EXPECT_GT(MisorientationDegrees(exact.u, exact.orientation.u, rotations), 0.01);
  EXPECT_LT(MisorientationDegrees(exact.u, exact.orientation.u, rotations), 0.5);

  // A stray spot 0.8 degree off a lattice row: fitted at first, then left out.
  const Vec3 off = testing::RowDirection(testing::RotateRows(pattern.reciprocal,
                                                             testing::RotationAbout(Vec3{1.0, 0.0, 0.0}, 0.8)),
                                         3, 1, 2);
  directions(++parameters.NumberOfReflections) = off;
  spots.push_back(parameters.NumberOfReflections);
  const GrainOrientation robust = OrientGrain(sheared, symmetry, spots, parameters, directions);
  ASSERT_TRUE(robust.oriented);
  EXPECT_EQ(robust.spotsFitted, 30);
  EXPECT_LT(MisorientationDegrees(robust.u, exact.u, rotations), 1e-6);

  // Too few spots to fix a turn.
  EXPECT_FALSE(OrientGrain(sheared, symmetry, {1, 2}, parameters, directions).oriented);
}

}  // namespace
}  // namespace orv
