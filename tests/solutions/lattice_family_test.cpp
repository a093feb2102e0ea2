// Families of lattices: supercells of a stored solution are found with their index, turned or
// distorted lattices are not, and the families gather the bases connected through relations.
#include "solutions/lattice_family.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/basis_reduction.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

// As the store keeps solutions: reduced and brought to one volume.
Mat3 AsStoredSolution(Mat3 basis) {
  ReduceBasisStepwise(basis);
  return ScaleMatrix(basis, VolumeScaleFactor(basis, 250.0));
}

// Each entry changed by a relative 0.2 %, as a cell measured from a few reflections is.
Mat3 Measured(const Mat3& basis) {
  Mat3 m = basis;
  const double wobble[3][3] = {{1.002, 0.998, 1.001}, {0.999, 1.002, 0.998}, {1.001, 0.999, 1.002}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m[r][c] *= wobble[r][c];
  return m;
}

const IntMat3 kIndex2{{{1, 1, 0}, {-1, 1, 0}, {0, 0, 1}}};
const IntMat3 kIndex3{{{1, 0, 0}, {0, 1, 1}, {0, -1, 2}}};

TEST(LatticeFamily, SupercellsOfIndexTwoAndThreeAreRelatedWithTheirIndex) {
  const Mat3 stored = AsStoredSolution(testing::TriclinicDirectBasis());
  const double tolerance = FamilyToleranceForAngularCriterion(0.1 * kDegreesToRadians);
  for (const auto& [supercell, k] : {std::pair{kIndex2, 2}, std::pair{kIndex3, 3}}) {
    SCOPED_TRACE(k);
    const Mat3 larger = Measured(AsStoredSolution(ApplyIntegerMatrix(supercell, testing::TriclinicDirectBasis())));
    const LatticeRelation relation = RelateLattices(stored, larger, tolerance);
    ASSERT_TRUE(relation.related);
    EXPECT_EQ(relation.index, k);
    EXPECT_FALSE(relation.firstIsLarger);
    // The larger cell at k times the volume of the stored one is the relation times the stored basis.
    const Mat3 expected = ScaleMatrix(ApplyIntegerMatrix(relation.relation, stored), 1.0 / std::cbrt(k));
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(larger[r][c], expected[r][c], 0.01 * VectorNorm(larger[r]));

    const LatticeRelation reverse = RelateLattices(larger, stored, tolerance);
    ASSERT_TRUE(reverse.related);
    EXPECT_EQ(reverse.index, k);
    EXPECT_TRUE(reverse.firstIsLarger);
  }
  // A cell doubled along every edge is the same lattice up to the scale that a pattern cannot fix.
  const LatticeRelation doubled = RelateLattices(stored, ScaleMatrix(stored, 2.0), tolerance);
  EXPECT_TRUE(doubled.related);
  EXPECT_EQ(doubled.index, 1);
}

TEST(LatticeFamily, TurnedOrDistortedLatticesAreNotRelated) {
  const Mat3 stored = AsStoredSolution(testing::TriclinicDirectBasis());
  const double tolerance = FamilyToleranceForAngularCriterion(0.1 * kDegreesToRadians);
  // The same crystal turned by 5 degrees: a second grain, not the same one.
  const Mat3 turned = testing::RotateRows(stored, testing::RotationAbout(Vec3{0.6, 0.0, 0.8}, 5.0));
  EXPECT_FALSE(RelateLattices(stored, turned, tolerance).related);
  EXPECT_FALSE(RelateLattices(stored, ApplyIntegerMatrix(kIndex2, turned), tolerance).related);
  // The same orientation with one edge 10 % longer.
  Mat3 stretched = stored;
  for (double& x : stretched[1]) x *= 1.1;
  EXPECT_FALSE(RelateLattices(stored, stretched, tolerance).related);
  // The orthorhombic and cubic test lattices in the same orientation.
  EXPECT_FALSE(RelateLattices(testing::OrthorhombicDirectBasis(), testing::CubicDirectBasis(), tolerance).related);
}

TEST(LatticeFamily, FamiliesGatherBasesConnectedThroughRelations) {
  const Mat3 base = testing::TriclinicDirectBasis();
  const Mat3 turned = testing::RotateRows(base, testing::RotationAbout(Vec3{0.0, 0.6, 0.8}, 4.0));
  // Solutions 2 and 4 are sublattices of 1 of index 2 and 3; 3 and 5 are another grain.
  const std::vector<Mat3> bases{AsStoredSolution(base), AsStoredSolution(ApplyIntegerMatrix(kIndex2, base)),
                                AsStoredSolution(turned), AsStoredSolution(ApplyIntegerMatrix(kIndex3, base)),
                                AsStoredSolution(ApplyIntegerMatrix(kIndex2, turned))};
  const LatticeFamilies families = FindLatticeFamilies(bases, FamilyToleranceForAngularCriterion(kDegreesToRadians));
  EXPECT_EQ(families.family, (std::vector<int>{0, 0, 1, 0, 1}));
  // Up to scale, 2 and 4 contain one another too: twice the lattice of 4 lies in the lattice of 2,
  // with index 2^3 * 3 / 2 = 12.
  EXPECT_TRUE(families.relations[1][3].related);
  EXPECT_EQ(families.relations[1][3].index, 12);
  EXPECT_FALSE(families.relations[1][2].related);
  EXPECT_TRUE(families.relations[0][3].related);
  EXPECT_FALSE(families.relations[0][3].firstIsLarger);
  EXPECT_TRUE(families.relations[3][0].firstIsLarger);
  EXPECT_EQ(families.relations[3][0].index, 3);
  EXPECT_FALSE(families.relations[2][2].related);
}

}  // namespace
}  // namespace orv
