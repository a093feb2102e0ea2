// The precomputed arc table and the marked zone generators against ZoneArc and the literal
// generators, on lattice patterns rich in zones, exact and with a little noise.
#include "search/marked_zone_generators.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "search/fourth_directions.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

// Low-index rows of a lattice, each turned by a tiny amount when `noise` is set, so that some
// reflections sit right at the edges of the zone and arc tolerances.
int LoadRows(const Mat3& direct, int count, double noise, DirectionStore& directions) {
  const testing::LatticePattern pattern = testing::BuildLatticePattern(direct, count, 35.0);
  const int n = static_cast<int>(pattern.directions.size());
  for (int r = 1; r <= n; ++r) {
    Vec3 u = pattern.directions[static_cast<std::size_t>(r - 1)];
    u[0] += noise * std::sin(7.0 * r);
    u[1] += noise * std::cos(11.0 * r);
    const double length = VectorNorm(u);
    directions(r) = {u[0] / length, u[1] / length, u[2] / length};
  }
  return n;
}

std::vector<int> AsVector(ReflectionList list) { return std::vector<int>(list.begin(), list.end()); }

TEST(MarkedZoneGenerators, ListEveryTripleExactlyAsTheLiteralGenerators) {
  const Mat3 lattices[] = {testing::CubicDirectBasis(), testing::TriclinicDirectBasis()};
  for (const Mat3& lattice : lattices) {
    for (const double noise : {0.0, 0.0004}) {
      DirectionStore directions;
      const int n = LoadRows(lattice, 40, noise, directions);
      ZoneArcTable table;
      table.Build(directions, n, 3);
      ZoneArcCache cache;
      cache.Reset(n);
      std::vector<int> expectedArc;
      for (int p = 1; p <= n; ++p)
        for (int q = 1; q <= n; ++q) {
          ZoneArc(directions, n, p, q, expectedArc);
          ASSERT_EQ(AsVector(table.Arc(p, q)), expectedArc) << p << " " << q;
        }

      MarkedZoneGenerators generators(table, n);
      std::vector<int> expected, actual;
      std::vector<Vec3> expectedCrossings, actualCrossings;
      int listed = 0;
      for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j)
          for (int k = j + 1; k <= n; ++k) {
            const double d = TripleProduct(directions, i, j, k);
            if (!IsUsableTriple(d)) continue;
            const int jj = d > 0.0 ? j : k, kk = d > 0.0 ? k : j;
            ThreeZoneReflections(directions, i, jj, kk, cache, expected);
            generators.ThreeZoneReflections(i, jj, kk, actual);
            ASSERT_EQ(actual, expected) << i << " " << jj << " " << kk;
            TwoZoneReflections(directions, i, jj, kk, cache, expected);
            generators.TwoZoneReflections(i, jj, kk, actual);
            ASSERT_EQ(actual, expected) << i << " " << jj << " " << kk;
            listed += static_cast<int>(expected.size());
            ZoneCrossings(directions, i, jj, kk, cache, expectedCrossings);
            generators.ZoneCrossings(directions, i, jj, kk, actualCrossings);
            ASSERT_EQ(actualCrossings, expectedCrossings) << i << " " << jj << " " << kk;
          }
      EXPECT_GT(listed, 100) << "the pattern should be rich in zones";
    }
  }
}

TEST(ReflectionMarks, StartAfreshEveryRoundAndFindTheFirstMarkedEntry) {
  ReflectionMarks marks;
  marks.Resize(10);
  marks.NewRound();
  const std::vector<int> a = {2, 5, 9};
  marks.MarkAll(ListOf(a));
  const std::vector<int> b = {1, 3, 5, 9};
  EXPECT_EQ(marks.FirstMarked(ListOf(b)), 5);
  marks.NewRound();
  EXPECT_FALSE(marks.IsMarked(5));
  EXPECT_EQ(marks.FirstMarked(ListOf(b)), 0);
}

}  // namespace
}  // namespace orv
