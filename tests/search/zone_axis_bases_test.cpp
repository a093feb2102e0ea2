// Cells from the zone axes of a pattern: sparse patterns of low-index spots, where the triples of
// reflections need spots at the sums of their rows that such patterns do not have.
#include "search/zone_axis_bases.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "search/search_bases.hpp"
#include "support/lattice_patterns.hpp"
#include "support/run_listeners.hpp"

namespace orv {
namespace {

using testing::BuildLatticePattern;
using testing::LatticePattern;

// The primitive cell of a face-centred cubic lattice, a = 5.
Mat3 FaceCentredCubicDirectBasis() {
  return testing::RotateRows(Mat3{Vec3{0.0, 2.5, 2.5}, Vec3{2.5, 0.0, 2.5}, Vec3{2.5, 2.5, 0.0}},
                             testing::GenericOrientation());
}

bool StoreHoldsLattice(const SolutionStore& store, const Mat3& trueDirect) {
  for (int j = 1; j <= store.NumberOfSolutions; ++j)
    if (testing::IsBasisOfLattice(store(j).SolutionBasis, trueDirect)) return true;
  return false;
}

struct ZoneRun : testing::RunListeners {
  RunParameters parameters;
  DirectionStore directions;
  SolutionStore store;
  explicit ZoneRun(const LatticePattern& pattern) { testing::LoadPattern(pattern, parameters, directions); }
};

TEST(CellFromFourAxes, GivesTheCellWhoseRowsAddUpToTheFourth) {
  const Mat3 cell = testing::TriclinicDirectBasis();
  Vec3 axes[4];
  const Vec3 sum{cell[0][0] + cell[1][0] + cell[2][0], cell[0][1] + cell[1][1] + cell[2][1],
                 cell[0][2] + cell[1][2] + cell[2][2]};
  const Vec3 rows[4] = {cell[0], cell[1], cell[2], sum};
  double norm = 0.0;
  for (int r = 0; r < 4; ++r) ASSERT_EQ(NormalizeVector(rows[r], axes[r], norm), kStatusSuccess);
  // An axis has no sign: one turned round gives the same lattice.
  axes[1] = Vec3{-axes[1][0], -axes[1][1], -axes[1][2]};
  Mat3 found{};
  ASSERT_TRUE(CellFromFourAxes(axes[0], axes[1], axes[2], axes[3], found));
  const Mat3 unit = ScaleMatrix(found, std::pow(1.0 / std::fabs(Determinant(found)), kOneThird));
  EXPECT_TRUE(testing::IsBasisOfLattice(unit, cell));
  // Three axes in one plane fix no cell.
  EXPECT_FALSE(CellFromFourAxes(axes[0], axes[1], axes[0], axes[3], found));
}

// Sparse patterns of the strongest rows only: the zone axes give the true lattice, and every
// spot is indexed by the best solution.
TEST(OfferZoneAxisBases, FindsTheLatticeOfSparseLowIndexPatterns) {
  const Mat3 cells[] = {FaceCentredCubicDirectBasis(), testing::TriclinicDirectBasis(),
                        testing::MonoclinicDirectBasis()};
  for (const Mat3& cell : cells)
    for (const int spots : {20, 30}) {
      const LatticePattern pattern = BuildLatticePattern(cell, spots);
      ZoneRun run(pattern);
      const ZoneAxisSearchCounts counts = OfferZoneAxisBases(run.parameters, run.directions, run.store, run.events);
      EXPECT_GE(counts.zones, 4);
      EXPECT_TRUE(StoreHoldsLattice(run.store, pattern.direct)) << spots << " spots, " << counts.cells << " cells";
    }
}

// The zones come most spots first and none twice, and their axes are perpendicular to their spots.
TEST(FindZoneAxes, ListsDistinctZonesMostSpotsFirst) {
  const LatticePattern pattern = BuildLatticePattern(testing::OrthorhombicDirectBasis(), 30);
  ZoneRun run(pattern);
  const double tolerance = 0.1 * kDegreesToRadians;
  const std::vector<ZoneAxis> zones = FindZoneAxes(run.directions, run.parameters.NumberOfReflections, tolerance);
  ASSERT_GE(zones.size(), 4u);
  for (std::size_t z = 0; z < zones.size(); ++z) {
    if (z > 0) {
      EXPECT_GE(zones[z - 1].spots, zones[z].spots);
    }
    for (std::size_t y = 0; y < z; ++y) {
      EXPECT_LT(std::fabs(Dot(zones[y].axis, zones[z].axis)), std::cos(2 * tolerance));
    }
    int within = 0;
    for (int r = 1; r <= run.parameters.NumberOfReflections; ++r)
      within += std::fabs(Dot(run.directions(r), zones[z].axis)) <= std::sin(tolerance);
    EXPECT_EQ(within, zones[z].spots);
  }
}

}  // namespace
}  // namespace orv
