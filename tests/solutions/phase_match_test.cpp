// A grain's lattice compared with candidate phases by shape, whatever its orientation and volume.
#include <gtest/gtest.h>

#include <cmath>

#include "solutions/phase_match.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

const PhaseList kPhases = {
    Phase{"Si", 5.431, 5.431, 5.431, 90.0, 90.0, 90.0, 'F'},
    Phase{"GaN", 3.189, 3.189, 5.185, 90.0, 90.0, 120.0, 'P'},
    Phase{"alpha-Fe", 2.866, 2.866, 2.866, 90.0, 90.0, 90.0, 'I'},
};

LatticeTolerance Tolerance() { return LatticeToleranceForAngularCriterion(0.1 * kDegreesToRadians); }

// The phase's primitive basis turned, brought to another volume and put in another setting.
Mat3 Disguised(const Phase& phase, const Mat3& setting) {
  Mat3 primitive{};
  EXPECT_TRUE(PrimitiveBasisOfPhase(phase, primitive));
  const Mat3 turned = testing::RotateRows(primitive, testing::GenericOrientation());
  return ScaleMatrix(MultiplyMatrices(setting, turned), 1.7);
}

TEST(PhaseMatch, EachPhaseIsFoundInAnyOrientationSettingAndVolume) {
  const Mat3 setting{Vec3{1.0, 1.0, 0.0}, Vec3{0.0, 1.0, 0.0}, Vec3{0.0, -1.0, 1.0}};  // unimodular
  for (std::size_t i = 0; i < kPhases.size(); ++i) {
    const PhaseMatch match = MatchPhase(Disguised(kPhases[i], setting), kPhases, Tolerance());
    EXPECT_TRUE(match.matched) << kPhases[i].name;
    EXPECT_EQ(match.phase, static_cast<int>(i)) << kPhases[i].name;
    EXPECT_LT(match.lengthMisfit, 1e-9);
    EXPECT_LT(match.angleMisfitDegrees, 1e-6);
  }
  // The primitive volumes the grains are brought to: a^3/4 for F, a^2 c sin(120)/1 for P.
  EXPECT_NEAR(PrimitiveVolumeOfPhase(kPhases[0]), std::pow(5.431, 3) / 4.0, 1e-9);
  EXPECT_NEAR(PrimitiveVolumeOfPhase(kPhases[1]), 3.189 * 3.189 * 5.185 * std::sqrt(0.75), 1e-9);
}

TEST(PhaseMatch, ASlightlyStrainedGrainStillMatchesAndADifferentShapeDoesNot) {
  Mat3 primitive{};
  ASSERT_TRUE(PrimitiveBasisOfPhase(kPhases[1], primitive));
  // GaN with c/a 0.5 % larger: within the tolerance (2.6 % of the cube root of the volume).
  Mat3 strained = primitive;
  for (double& x : strained[2]) x *= 1.005;
  const PhaseMatch near = MatchPhase(strained, kPhases, Tolerance());
  EXPECT_TRUE(near.matched);
  EXPECT_EQ(near.phase, 1);
  EXPECT_GT(near.lengthMisfit, 0.0);

  // A grain of no candidate phase: orthorhombic 4.1 x 5.3 x 7.2 keeps no name.
  EXPECT_FALSE(MatchPhase(testing::OrthorhombicDirectBasis(), kPhases, Tolerance()).matched);
  // Nor does a sublattice of a phase: the F cell's conventional cube is four times too large,
  // which at equal volume is a different shape (cP is not cF).
  Mat3 cube{};
  ASSERT_TRUE(ConventionalBasisOfPhase(kPhases[0], cube));
  const PhaseMatch conventional = MatchPhase(cube, {kPhases[0], kPhases[1]}, Tolerance());
  EXPECT_FALSE(conventional.matched);
  // A phase list without cells matches nothing.
  EXPECT_FALSE(MatchPhase(cube, {Phase{"bad", 1.0, 1.0, 1.0, 10.0, 10.0, 170.0, 'P'}}, Tolerance()).matched);
}

}  // namespace
}  // namespace orv
