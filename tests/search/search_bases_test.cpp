// The whole search on patterns of known lattices: every search type runs through, and the
// store ends up holding a basis of the true lattice.
#include "search/search_bases.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "geometry/constants.hpp"
#include "text/text_file.hpp"
#include "solutions/basis_quality.hpp"
#include "support/lattice_patterns.hpp"
#include "support/run_listeners.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

using testing::BuildLatticePattern;
using testing::LatticePattern;

struct SearchRun : testing::RunListeners {
  RunParameters parameters;
  DirectionStore directions;
  SublatticeTables tables;
  SolutionStore store;

  SearchRun(const LatticePattern& pattern, int searchType) {
    testing::LoadPattern(pattern, parameters, directions);
    parameters.ExtentOfTheSearch = searchType;
    BuildSublatticeTables(tables);
  }
  void Search() { SearchBases(parameters, directions, tables, store, events); }
};

// True when the stored direct basis spans the same lattice as the true one brought to unit volume.
bool IsBasisOfLattice(const Mat3& stored, const Mat3& trueDirect) {
  const Mat3 unit = ScaleMatrix(trueDirect, std::pow(1.0 / std::fabs(Determinant(trueDirect)), kOneThird));
  Mat3 inverse{};
  if (InvertMatrix(unit, inverse, 1e-300) != kStatusSuccess) return false;
  const Mat3 relation = MultiplyMatrices(stored, inverse);
  double offInteger = 0.0;
  for (const Vec3& row : relation)
    for (const double v : row) offInteger += std::fabs(v - std::round(v));
  return offInteger < 1e-6 && std::fabs(std::fabs(Determinant(relation)) - 1.0) < 1e-6;
}

int CountTrueBases(const SolutionStore& store, const Mat3& trueDirect) {
  int count = 0;
  for (int j = 1; j <= store.NumberOfSolutions; ++j) count += IsBasisOfLattice(store(j).SolutionBasis, trueDirect);
  return count;
}

TEST(SearchBases, FindsTheTrueTriclinicLattice) {
  const LatticePattern pattern = BuildLatticePattern(testing::TriclinicDirectBasis(), 28);
  SearchRun run(pattern, 0);
  run.Search();
  EXPECT_GE(CountTrueBases(run.store, pattern.direct), 1);
}

TEST(SearchBases, FindsTheTrueOrthorhombicLatticeAndLogsOneSeparatorPerTriple) {
  const LatticePattern pattern = BuildLatticePattern(testing::OrthorhombicDirectBasis(), 28);
  ASSERT_EQ(pattern.directions.size(), 28u);
  SearchRun run(pattern, 0);
  const std::string folder = testing::MakeScratchDir("search");
  run.log.Open(folder + "/search.log");
  run.Search();
  run.log.Close();
  ASSERT_GE(run.store.NumberOfSolutions, 1);
  EXPECT_GE(CountTrueBases(run.store, pattern.direct), 1);

  std::istringstream log(testing::ReadTextFile(folder + "/search.log"));
  const std::string separator = " " + std::string(54, '=');
  int separators = 0;
  for (std::string line; std::getline(log, line);) separators += line == separator;
  EXPECT_EQ(separators, 28 * 27 * 26 / 6);
  // The progress line is blanked out at the end, leaving the cursor at the start of a clean line.
  const std::string console = run.console.str();
  EXPECT_EQ(console.substr(console.size() - 63), "\r" + std::string(61, ' ') + "\r");
}

// Every search type runs to the end. The types that try many sublattice indices per quadruple get
// smaller patterns, so that each run stays short also under the sanitizers.
struct TypeCase {
  int type;
  bool triclinic;
  int reflections;
};

class EverySearchType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(EverySearchType, RunsThroughAndStoresScoredBases) {
  const TypeCase c = GetParam();
  const LatticePattern pattern = BuildLatticePattern(
      c.triclinic ? testing::TriclinicDirectBasis() : testing::OrthorhombicDirectBasis(), c.reflections);
  SearchRun run(pattern, c.type);
  run.Search();
  ASSERT_GE(run.store.NumberOfSolutions, 1);
  ASSERT_LE(run.store.NumberOfSolutions, MaxStoredSolutions);
  for (int j = 1; j <= run.store.NumberOfSolutions; ++j) {
    const SolutionRecord& record = run.store(j);
    EXPECT_NEAR(std::fabs(Determinant(record.SolutionBasis)), 1.0, 1e-9) << j;
    // What the store holds is the quality of the reduced direct basis it holds.
    const ScoredBasis again = BasisQuality(record.SolutionBasis, run.parameters, run.directions);
    EXPECT_EQ(record.SolutionQuality, again.quality) << j;
    EXPECT_EQ(record.SolutionCounts.nHalf, again.counts.nHalf) << j;
    EXPECT_EQ(record.SolutionCounts.nFull, again.counts.nFull) << j;
  }
  // Only the crossing slot after the last reflection may change.
  for (int r = 1; r <= run.parameters.NumberOfReflections; ++r)
    EXPECT_EQ(run.directions(r), pattern.directions[static_cast<std::size_t>(r - 1)]) << r;
}

INSTANTIATE_TEST_SUITE_P(SearchBases, EverySearchType,
                         ::testing::Values(TypeCase{0, true, 20}, TypeCase{1, true, 20}, TypeCase{2, true, 20},
                                           TypeCase{3, false, 14}, TypeCase{4, true, 20}, TypeCase{5, true, 20},
                                           TypeCase{6, true, 20}, TypeCase{7, true, 16}, TypeCase{8, true, 20},
                                           TypeCase{9, true, 12}),
                         [](const ::testing::TestParamInfo<TypeCase>& info) {
                           return "Type" + std::to_string(info.param.type);
                         });

}  // namespace
}  // namespace orv
