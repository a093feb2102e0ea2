// Whole runs on patterns of known lattices: solution 1 must be the true reduced cell and basis.
#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"
#include "support/cell_comparison.hpp"
#include "support/lattice_patterns.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

using testing::Cell;
using testing::LatticePattern;

// The 36 lowest-index rows within 30 degrees of the beam axis. With fewer rows (25 to 33) the cubic
// pattern holds no complete set a, b, c, a+b, b+c, c+a, a+b+c of any primitive basis, so no
// quadruple can give the true lattice; what is found then are lattices with a rational but not
// integral relation to it, which index every direction just as exactly.
constexpr int kRows = 36;

std::string InputFileText(const LatticePattern& pattern, double volume, int searchType) {
  std::ostringstream text;
  text << std::setprecision(17);
  text << "# rows of a known lattice\n_NumberOfReflections\n" << pattern.directions.size() << "\n_Reflections\n";
  for (const Vec3& u : pattern.directions) text << u[0] << ' ' << u[1] << ' ' << u[2] << '\n';
  text << "_VolumeOfPrimitiveCell\n" << volume << "\n_ExtentOfTheSearch\n" << searchType << '\n';
  return text.str();
}

// Runs the whole program on the pattern in a scratch folder and returns the solutions it reports.
std::vector<testing::ReportedSolution> IndexPattern(const LatticePattern& pattern, int searchType) {
  const std::string dir = testing::MakeScratchDir("indexing");
  const double volume = std::fabs(Determinant(pattern.direct));
  testing::WriteTextFile(dir + "/pattern.kqt", InputFileText(pattern, volume, searchType));
  std::istringstream in;
  std::ostringstream console;
  EXPECT_EQ(RunProgram({dir + "/pattern.kqt"}, in, console), 0) << console.str();
  return testing::ParseResultsFile(testing::ReadTextFile(dir + "/pattern_kqt.res"));
}

void ExpectTrueLatticeFirst(const Mat3& direct, const Cell& reducedCell) {
  const LatticePattern pattern = testing::BuildLatticePattern(direct, kRows);
  ASSERT_EQ(static_cast<int>(pattern.directions.size()), kRows);
  for (int searchType : {0, 5}) {
    SCOPED_TRACE("search type " + std::to_string(searchType));
    const auto solutions = IndexPattern(pattern, searchType);
    ASSERT_FALSE(solutions.empty());
    const testing::ReportedSolution& first = solutions.front();
    EXPECT_EQ(first.nh, kRows);
    EXPECT_EQ(first.nH, kRows);
    EXPECT_TRUE(testing::SameCellUpToSetting(first.cell, reducedCell))
        << "reported " << first.cell.lengths[0] << ' ' << first.cell.lengths[1] << ' ' << first.cell.lengths[2]
        << ' ' << first.cell.angles[0] << ' ' << first.cell.angles[1] << ' ' << first.cell.angles[2];
    const testing::BasisRelation relation =
        testing::RelateBases(first.unitBasis, testing::ScaledToUnitVolume(pattern.direct));
    EXPECT_TRUE(relation.unimodular) << "T rows " << relation.T[0][0] << ' ' << relation.T[0][1] << ' '
                                     << relation.T[0][2] << " / " << relation.T[1][0] << ' ' << relation.T[1][1]
                                     << ' ' << relation.T[1][2] << " / " << relation.T[2][0] << ' '
                                     << relation.T[2][1] << ' ' << relation.T[2][2];
  }
}

// The true cells below are reduced cells already, so the reported reduced cell must equal them.
TEST(IndexingEndToEnd, CubicPrimitiveLatticeIsSolutionOne) {
  ExpectTrueLatticeFirst(testing::CubicDirectBasis(), Cell{{5.0, 5.0, 5.0}, {90.0, 90.0, 90.0}});
}

TEST(IndexingEndToEnd, OrthorhombicPrimitiveLatticeIsSolutionOne) {
  ExpectTrueLatticeFirst(testing::OrthorhombicDirectBasis(), Cell{{4.1, 5.3, 7.2}, {90.0, 90.0, 90.0}});
}

TEST(IndexingEndToEnd, MonoclinicPrimitiveLatticeIsSolutionOne) {
  ExpectTrueLatticeFirst(testing::MonoclinicDirectBasis(), Cell{{5.2, 6.4, 7.5}, {90.0, 103.0, 90.0}});
}

TEST(IndexingEndToEnd, TriclinicPrimitiveLatticeIsSolutionOne) {
  ExpectTrueLatticeFirst(testing::TriclinicDirectBasis(), Cell{{5.0, 6.1, 7.3}, {78.0, 84.0, 71.0}});
}

// The comparisons themselves: a change of setting is accepted, a different cell is not.
TEST(IndexingEndToEnd, CellAndBasisComparisonsAcceptSettingsOnly) {
  const Cell mono{{5.2, 6.4, 7.5}, {90.0, 103.0, 90.0}};
  EXPECT_TRUE(testing::SameCellUpToSetting(Cell{{7.5, 5.2, 6.4}, {90.0, 90.0, 77.0}}, mono));
  EXPECT_FALSE(testing::SameCellUpToSetting(Cell{{5.2, 6.4, 7.5}, {90.0, 90.0, 103.0}}, mono));
  EXPECT_FALSE(testing::SameCellUpToSetting(Cell{{5.22, 6.4, 7.5}, {90.0, 103.0, 90.0}}, mono));
  const Cell tri{{5.0, 6.1, 7.3}, {78.0, 84.0, 71.0}};
  EXPECT_TRUE(testing::SameCellUpToSetting(Cell{{5.0, 6.1, 7.3}, {78.0, 96.0, 109.0}}, tri));  // a negated
  EXPECT_FALSE(testing::SameCellUpToSetting(Cell{{5.0, 6.1, 7.3}, {102.0, 84.0, 71.0}}, tri));

  const Mat3 basis = testing::TriclinicDirectBasis();
  Mat3 changed = basis;  // a' = a + b, b' = -b
  for (int c = 0; c < 3; ++c) {
    changed[0][c] = basis[0][c] + basis[1][c];
    changed[1][c] = -basis[1][c];
  }
  EXPECT_TRUE(testing::RelateBases(changed, basis).unimodular);
  Mat3 doubled = basis;
  for (int c = 0; c < 3; ++c) doubled[2][c] = 2.0 * basis[2][c];
  EXPECT_FALSE(testing::RelateBases(doubled, basis).unimodular);
  EXPECT_FALSE(testing::RelateBases(testing::ScaledToUnitVolume(doubled), testing::ScaledToUnitVolume(basis)).unimodular);
}

}  // namespace
}  // namespace orv
