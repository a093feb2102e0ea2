// The lattices of a run's solutions: analysing solution 1 alone gives it exactly as the whole
// analysis does, leaves the others empty and keeps the families of every solution.
#include <gtest/gtest.h>

#include "geometry/constants.hpp"
#include "solutions/lattice_symmetry.hpp"
#include "solutions/solution_lattices.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

TEST(SolutionLattices, SolutionOneAloneIsAnalysedAsInTheWholeAnalysisAndTheFamiliesStay) {
  SolutionStore store;
  store.NumberOfSolutions = 3;
  store(1).SolutionBasis = testing::CubicDirectBasis();
  // A supercell of solution 1 (its family) and an unrelated triclinic lattice.
  store(2).SolutionBasis = ApplyIntegerMatrix(IntMat3{{{1, 1, 0}, {-1, 1, 0}, {0, 0, 1}}}, testing::CubicDirectBasis());
  store(3).SolutionBasis = testing::TriclinicDirectBasis();
  const double criterion = 0.1 * kDegreesToRadians;

  const SolutionLattices all = AnalyseSolutionLattices(store, criterion);
  const SolutionLattices first = AnalyseSolutionLattices(store, criterion, 1);
  ASSERT_EQ(all.analysed, (std::vector<bool>{true, true, true}));
  ASSERT_EQ(first.analysed, (std::vector<bool>{true, false, false}));
  ASSERT_EQ(first.symmetry.size(), 3u);
  EXPECT_EQ(first.symmetry[0].type, all.symmetry[0].type);
  EXPECT_EQ(first.symmetry[0].toConventional, all.symmetry[0].toConventional);
  EXPECT_EQ(first.symmetry[0].conventionalCell.lengths, all.symmetry[0].conventionalCell.lengths);
  EXPECT_EQ(first.symmetry[0].conventionalCell.anglesInDegrees, all.symmetry[0].conventionalCell.anglesInDegrees);
  EXPECT_EQ(first.families.family, all.families.family);
  EXPECT_EQ(first.families.family[1], first.families.family[0]);
  EXPECT_NE(first.families.family[2], first.families.family[0]);
}

}  // namespace
}  // namespace orv
