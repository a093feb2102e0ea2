// Simulated Laue patterns indexed by the whole program: the first solution is the true lattice
// and the spurious spots stay unindexed.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv::sim {
namespace {

// The first solution of a results file: its unit-volume direct basis and one row per reflection.
struct FirstSolution {
  bool found = false;
  Mat3 basis{};
  std::vector<std::string> reflectionRows;
};

FirstSolution ReadFirstSolution(const std::string& resultsText, int reflections) {
  FirstSolution first;
  std::istringstream lines(resultsText);
  std::string line;
  while (std::getline(lines, line) && line.find("Solution nr   1 out of") == std::string::npos) {
  }
  while (std::getline(lines, line) && line.find("Direct basis vectors") == std::string::npos) {
  }
  if (!std::getline(lines, line)) return first;  // "transforms RL vectors ..."
  for (int row = 0; row < 3; ++row) {
    if (!std::getline(lines, line)) return first;
    std::istringstream values(line);
    if (!(values >> first.basis[row][0] >> first.basis[row][1] >> first.basis[row][2])) return first;
  }
  while (std::getline(lines, line) && line.find("|   h   k   l |") == std::string::npos) {
  }
  if (!std::getline(lines, line)) return first;  // dashes
  for (int j = 0; j < reflections && std::getline(lines, line); ++j) first.reflectionRows.push_back(line);
  first.found = static_cast<int>(first.reflectionRows.size()) == reflections;
  return first;
}

// A row of an indexed reflection carries "H-" or "-h" right after its number.
bool IsIndexedRow(const std::string& row) {
  return row.size() >= 8 && (row.compare(6, 2, "H-") == 0 || row.compare(6, 2, "-h") == 0);
}

// The largest distance of an entry of T from its nearest integer, where the rows of T express the
// found basis in the true one (both at unit volume); the lattice is the true one when T is
// integral with determinant +-1.
double DistanceFromUnimodular(const Mat3& found, const Mat3& trueBasis, double& determinant) {
  const Mat3 trueUnit = ScaleMatrix(trueBasis, std::pow(1.0 / std::fabs(Determinant(trueBasis)), 1.0 / 3.0));
  Mat3 inverse{};
  EXPECT_EQ(InvertMatrix(trueUnit, inverse, 1e-12), kStatusSuccess);
  const Mat3 relation = MultiplyMatrices(found, inverse);
  double worst = 0.0;
  Mat3 rounded{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      rounded[r][c] = std::round(relation[r][c]);
      worst = std::max(worst, std::fabs(relation[r][c] - rounded[r][c]));
    }
  determinant = Determinant(rounded);
  return worst;
}

struct CrystalCase {
  const char* name;
  CellParameters cell;
  int searchType;
  std::uint64_t seed;
};

std::ostream& operator<<(std::ostream& out, const CrystalCase& c) {
  return out << c.name << " type " << c.searchType << " seed " << c.seed;
}

class SimulatedIndexing : public ::testing::TestWithParam<CrystalCase> {};

// 50 spots, 0.01 degree noise, a tenth spurious. A tolerance of 0.1 degree keeps a spurious spot
// from matching some lattice row of index up to 12 by chance (about one chance in a hundred per spot).
TEST_P(SimulatedIndexing, FirstSolutionIsTheTrueLatticeAndLeavesSpuriousSpotsOut) {
  const CrystalCase& crystal = GetParam();
  const std::string folder = orv::testing::MakeScratchDir("simulated-indexing");
  SimulationOptions options;
  options.outputFile = folder + "/pattern.kqt";
  options.cell = crystal.cell;
  options.seed = crystal.seed;
  options.flaws = FlawSettings{0.01, 0.1, 0.0, 50};
  options.keywords.ExtentOfTheSearch = crystal.searchType;
  options.keywords.AngularDeviationCriterion = 0.1;
  SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(SimulatePattern(options, pattern, message)) << message;
  WritePatternFile(options.outputFile, options, pattern);

  std::istringstream in("");
  std::ostringstream out;
  ASSERT_EQ(RunProgram({options.outputFile}, in, out), 0) << out.str();
  const int reflections = static_cast<int>(pattern.spots.size());
  const FirstSolution first =
      ReadFirstSolution(orv::testing::ReadTextFile(folder + "/pattern_kqt.res"), reflections);
  ASSERT_TRUE(first.found) << out.str();

  double determinant = 0.0;
  EXPECT_LT(DistanceFromUnimodular(first.basis, pattern.directBasis, determinant), 0.01);
  EXPECT_EQ(std::fabs(determinant), 1.0);

  int spurious = 0, trueIndexed = 0;
  for (int j = 0; j < reflections; ++j) {
    const bool indexed = IsIndexedRow(first.reflectionRows[static_cast<std::size_t>(j)]);
    if (pattern.spots[static_cast<std::size_t>(j)].spurious) {
      ++spurious;
      EXPECT_FALSE(indexed) << "spurious spot " << j + 1 << ": " << first.reflectionRows[static_cast<std::size_t>(j)];
    } else if (indexed) {
      ++trueIndexed;
    }
  }
  EXPECT_EQ(spurious, 5);
  EXPECT_GE(trueIndexed, 40);  // the true lattice indexes nearly every true spot
}

// Seeds whose orientation lets the single-index search build the true lattice; the accuracy grid
// (bench/accuracy) measures how often that happens.
INSTANTIATE_TEST_SUITE_P(
    PrimitiveLattices, SimulatedIndexing,
    ::testing::Values(CrystalCase{"triclinic", {7.0, 9.0, 11.0, 80.0, 95.0, 105.0}, 0, 1},
                      CrystalCase{"triclinic", {7.0, 9.0, 11.0, 80.0, 95.0, 105.0}, 5, 3},
                      CrystalCase{"monoclinic", {6.2, 7.9, 10.3, 90.0, 104.0, 90.0}, 0, 1},
                      CrystalCase{"monoclinic", {6.2, 7.9, 10.3, 90.0, 104.0, 90.0}, 5, 2},
                      CrystalCase{"orthorhombic", {5.1, 7.3, 9.6, 90.0, 90.0, 90.0}, 0, 1},
                      CrystalCase{"orthorhombic", {5.1, 7.3, 9.6, 90.0, 90.0, 90.0}, 5, 8},
                      CrystalCase{"hexagonal", {4.9, 4.9, 5.4, 90.0, 90.0, 120.0}, 0, 1},
                      CrystalCase{"hexagonal", {4.9, 4.9, 5.4, 90.0, 90.0, 120.0}, 5, 1}));

}  // namespace
}  // namespace orv::sim
