// The lattice choice on constructed patterns: the true cell against commensurate cells that index
// the same spots and one spurious spot more, and the refined cell it reports.
#include "solutions/lattice_choice.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "solutions/basis_quality.hpp"
#include "solutions/covered_region.hpp"
#include "solutions/observed_row_share.hpp"
#include "support/cell_comparison.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

constexpr double kConeDegrees = 35.0;
constexpr int kRows = 40;

// The `count` rows with the shortest reciprocal-lattice vectors within the cone about +z: the
// strongest spots of a Laue pattern of this lattice.
std::vector<Vec3> StrongestRows(const Mat3& direct, int count) {
  Mat3 reciprocal{};
  InverseTranspose(direct, reciprocal, kBasisSingularity);
  struct Row {
    double length;
    Vec3 direction;
  };
  std::vector<Row> rows;
  const double minCos = std::cos(kConeDegrees * kDegreesToRadians);
  for (int h = -8; h <= 8; ++h)
    for (int k = -8; k <= 8; ++k)
      for (int l = -8; l <= 8; ++l) {
        if (GreatestCommonDivisor(h, k, l) != 1) continue;
        const Vec3 u = testing::RowDirection(reciprocal, h, k, l);
        if (u[2] < minCos) continue;
        Vec3 g{};
        for (int c = 0; c < 3; ++c) g[c] = h * reciprocal[0][c] + k * reciprocal[1][c] + l * reciprocal[2][c];
        rows.push_back({VectorNorm(g), u});
      }
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.length < b.length; });
  std::vector<Vec3> directions;
  for (int n = 0; n < count; ++n) directions.push_back(rows[static_cast<std::size_t>(n)].direction);
  return directions;
}

bool Supports(const Mat3& direct, const Vec3& u, double tolerance) {
  Mat3 reciprocal{};
  InverseTranspose(direct, reciprocal, kBasisSingularity);
  const IndexedDirection indexed = IndexDirection(u, reciprocal, direct, 12);
  return indexed.withinBound && indexed.theta <= tolerance;
}

// A direction inside the cone that the competing cell indexes within half the tolerance and the
// true cell does not index: a spurious spot that only the competitor explains.
Vec3 SpotOnlyTheCompetitorIndexes(const Mat3& truth, const Mat3& competitor, double tolerance) {
  for (double polar = 3.0; polar < kConeDegrees - 5.0; polar += 0.37)
    for (double azimuth = 0.0; azimuth < 360.0; azimuth += 2.9) {
      const double t = polar * kDegreesToRadians;
      const double f = azimuth * kDegreesToRadians;
      const Vec3 u = {std::sin(t) * std::cos(f), std::sin(t) * std::sin(f), std::cos(t)};
      if (Supports(competitor, u, 0.5 * tolerance) && !Supports(truth, u, tolerance)) return u;
    }
  ADD_FAILURE() << "no spot indexed by the competitor alone";
  return {0.0, 0.0, 1.0};
}

struct PatternRun {
  RunParameters parameters;
  DirectionStore directions;
};

PatternRun LoadRun(const std::vector<Vec3>& spots, double volume) {
  PatternRun run;
  SetDefaultParameters(run.parameters, run.directions);
  run.parameters.NumberOfReflections = static_cast<int>(spots.size());
  run.parameters.VolumeOfPrimitiveCell = volume;
  for (std::size_t n = 0; n < spots.size(); ++n) run.directions(static_cast<int>(n) + 1) = spots[n];
  return run;
}

void Keep(SolutionStore& store, const Mat3& basis, const PatternRun& run) {
  const ScoredBasis scored = BasisQuality(basis, run.parameters, run.directions);
  SolutionRecord& record = store(++store.NumberOfSolutions);
  record.SolutionBasis = ScaleMatrix(basis, VolumeScaleFactor(basis, run.parameters.VolumeOfPrimitiveCell));
  record.SolutionQuality = scored.quality;
  record.SolutionCounts = scored.counts;
}

bool SameLattice(const Mat3& found, const Mat3& truth) {
  return testing::RelateBases(testing::ScaledToUnitVolume(found), testing::ScaledToUnitVolume(truth)).unimodular;
}

struct Competitor {
  const char* name;
  Mat3 transform;  // rows of the competing direct basis in terms of the true one
};

Mat3 Inverse(const Mat3& m) {  // of a basis that has one
  Mat3 inverse{};
  InvertMatrix(m, inverse, kBasisSingularity);
  return inverse;
}

const double third = 1.0 / 3.0;
const std::vector<Competitor> kCompetitors = {
    {"two-fold larger cell (a, b, a + 2c)", {{{1, 0, 0}, {0, 1, 0}, {1, 0, 2}}}},
    {"three-fold larger cell (a, a + 3b, c)", {{{1, 0, 0}, {1, 3, 0}, {0, 0, 1}}}},
    {"two-fold smaller cell (a, b, (a + b + c) / 2)", {{{1, 0, 0}, {0, 1, 0}, {0.5, 0.5, 0.5}}}},
    {"three-fold smaller cell (a, b, (a + b + c) / 3)", {{{1, 0, 0}, {0, 1, 0}, {third, third, third}}}},
};

const std::vector<std::pair<const char*, Mat3>> kTrueLattices = {
    {"triclinic", testing::TriclinicDirectBasis()},
    {"monoclinic", testing::MonoclinicDirectBasis()},
};

// Each competitor indexes every true spot and the spurious one, so the design's quality puts it
// first; the choice must put the true cell first, whether it was kept beside the competitor or has
// to be found among the competitor's relatives.
TEST(LatticeChoice, TheTrueCellBeatsLargerAndSmallerCellsThatIndexOneSpotMore) {
  for (const auto& [latticeName, truth] : kTrueLattices) {
    for (const Competitor& competitor : kCompetitors) {
      SCOPED_TRACE(std::string(latticeName) + " against the " + competitor.name);
      Mat3 other = MultiplyMatrices(competitor.transform, truth);
      ReduceBasisStepwise(other);  // as the search stores its bases
      std::vector<Vec3> spots = StrongestRows(truth, kRows);
      spots.insert(spots.begin() + 7, SpotOnlyTheCompetitorIndexes(truth, other, 1.0 * kDegreesToRadians));
      const PatternRun run = LoadRun(spots, std::fabs(Determinant(truth)));
      const ScoredBasis trueScore = BasisQuality(truth, run.parameters, run.directions);
      const ScoredBasis otherScore = BasisQuality(other, run.parameters, run.directions);
      ASSERT_EQ(trueScore.counts.nFull, kRows);
      ASSERT_EQ(otherScore.counts.nFull, kRows + 1);

      // The transformations from the (reduced) competitor to the true cell and back make the two
      // one family.
      const Mat3 back = MultiplyMatrices(truth, Inverse(other));
      const Mat3 forth = MultiplyMatrices(other, Inverse(truth));
      SolutionStore both;
      Keep(both, other, run);
      Keep(both, truth, run);
      ChooseLattices(run.parameters, run.directions, {back, forth}, both);
      ASSERT_GE(both.NumberOfSolutions, 2);
      EXPECT_TRUE(SameLattice(both(1).SolutionBasis, truth));
      EXPECT_TRUE(SameLattice(both(2).SolutionBasis, other));
      EXPECT_NEAR(std::fabs(Determinant(both(1).SolutionBasis)), run.parameters.VolumeOfPrimitiveCell, 1e-6);

      SolutionStore competitorOnly;
      Keep(competitorOnly, other, run);
      ChooseLattices(run.parameters, run.directions, {back}, competitorOnly);
      ASSERT_GE(competitorOnly.NumberOfSolutions, 1);
      EXPECT_TRUE(SameLattice(competitorOnly(1).SolutionBasis, truth));
    }
  }
}

// The share itself: the true lattice sees every one of its shortest rows in the region, the
// larger and smaller cells clearly fewer.
TEST(LatticeChoice, ObservedRowShareIsHighestForTheTrueLattice) {
  const Mat3 truth = testing::TriclinicDirectBasis();
  const PatternRun run = LoadRun(StrongestRows(truth, kRows), std::fabs(Determinant(truth)));
  const CoveredRegion region = CoveredRegion::FromDirections(run.parameters, run.directions);
  const IndexedRows trueRows = IndexRows(truth, run.parameters, run.directions);
  EXPECT_EQ(static_cast<int>(trueRows.rows.size()), kRows);
  EXPECT_DOUBLE_EQ(ObservedRowShare(truth, trueRows.rows, region, kRows), 1.0);
  for (const Competitor& competitor : kCompetitors) {
    Mat3 other = MultiplyMatrices(competitor.transform, truth);
    ReduceBasisStepwise(other);
    const IndexedRows rows = IndexRows(other, run.parameters, run.directions);
    EXPECT_LT(ObservedRowShare(other, rows.rows, region, kRows), 0.9) << competitor.name;
  }
  EXPECT_EQ(ObservedRowShare(truth, trueRows.rows, region, 0), 0.0);
  EXPECT_EQ(ObservedRowShare(Mat3{}, trueRows.rows, region, kRows), 0.0);
}

// The share belongs to the lattice, not to its basis: a sheared, elongated basis of the same lattice
// (whose box of indices holds far more points than the ball of the shortest rows) gives the same
// share, for the true lattice and for the competitors, which see only some of their rows.
TEST(LatticeChoice, ObservedRowShareIsTheSameInAShearedBasisOfTheLattice) {
  const Mat3 truth = testing::TriclinicDirectBasis();
  const PatternRun run = LoadRun(StrongestRows(truth, kRows), std::fabs(Determinant(truth)));
  const CoveredRegion region = CoveredRegion::FromDirections(run.parameters, run.directions);
  const int shear[3][3] = {{1, 3, 0}, {0, 1, 0}, {2, 7, 1}};
  std::vector<Mat3> lattices = {truth};
  for (const Competitor& competitor : kCompetitors) lattices.push_back(MultiplyMatrices(competitor.transform, truth));
  for (Mat3 lattice : lattices) {
    ReduceBasisStepwise(lattice);
    const IndexedRows rows = IndexRows(lattice, run.parameters, run.directions);
    Mat3 sheared{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int c = 0; c < 3; ++c) sheared[i][c] += shear[i][j] * lattice[j][c];
    std::vector<MillerIndices> shearedRows;
    for (const MillerIndices& h : rows.rows) {
      MillerIndices turned{};
      for (int i = 0; i < 3; ++i) turned[i] = shear[i][0] * h[0] + shear[i][1] * h[1] + shear[i][2] * h[2];
      shearedRows.push_back(turned);
    }
    std::sort(shearedRows.begin(), shearedRows.end());
    for (const int counted : {kRows / 2, kRows, 3 * kRows})
      EXPECT_NEAR(ObservedRowShare(sheared, shearedRows, region, counted),
                  ObservedRowShare(lattice, rows.rows, region, counted), 1e-12) << counted;
  }
}

// A four-spot cell is a little off; the reported cell is refined to the exact one, since the exact
// cell supports every spot as well.
TEST(LatticeChoice, ReportsTheRefinedCellWhenItKeepsTheSupport) {
  const Mat3 truth = testing::MonoclinicDirectBasis();
  const PatternRun run = LoadRun(StrongestRows(truth, kRows), std::fabs(Determinant(truth)));
  Mat3 rough = truth;
  for (double& x : rough[0]) x *= 1.003;
  rough[2][1] += 0.02;
  SolutionStore store;
  Keep(store, rough, run);
  const double roughQuality = store(1).SolutionQuality;
  ChooseLattices(run.parameters, run.directions, {}, store);
  ASSERT_EQ(store.NumberOfSolutions, 1);
  const testing::BasisRelation relation = testing::RelateBases(
      testing::ScaledToUnitVolume(store(1).SolutionBasis), testing::ScaledToUnitVolume(truth), 1e-6);
  EXPECT_TRUE(relation.unimodular);
  EXPECT_GE(store(1).SolutionQuality, roughQuality);
  EXPECT_EQ(store(1).SolutionCounts.nFull, kRows);
}

TEST(LatticeChoice, AnEmptyStoreStaysEmpty) {
  const PatternRun run = LoadRun(StrongestRows(testing::CubicDirectBasis(), 10), 125.0);
  SolutionStore store;
  ChooseLattices(run.parameters, run.directions, {}, store);
  EXPECT_EQ(store.NumberOfSolutions, 0);
}

}  // namespace
}  // namespace orv
