// Fourth directions of a triple: the triple and cone thresholds and the four generators.
#include "search/fourth_directions.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

using testing::NarrowBasis;
using testing::RowDirection;
using testing::ZoneStar;

// Loads the given directions as reflections 1..n and returns n.
int Load(const std::vector<Vec3>& list, DirectionStore& d) {
  for (std::size_t n = 0; n < list.size(); ++n) d(static_cast<int>(n) + 1) = list[n];
  return static_cast<int>(list.size());
}

TEST(Thresholds, TripleAndFourthDirectionLimitsAreInclusive) {
  EXPECT_TRUE(IsUsableTriple(0.005));
  EXPECT_TRUE(IsUsableTriple(-0.005));
  EXPECT_TRUE(IsUsableTriple(0.3));
  EXPECT_TRUE(IsUsableTriple(-0.3));
  EXPECT_FALSE(IsUsableTriple(0.0049999));
  EXPECT_FALSE(IsUsableTriple(-0.0049999));
  EXPECT_FALSE(IsUsableTriple(0.3000001));
  EXPECT_FALSE(IsUsableTriple(-0.3000001));
  EXPECT_FALSE(IsUsableTriple(std::nan("")));

  // Along the axes the three products [i,j,l], [i,l,k], [l,j,k] are exactly l_z, l_y and l_x.
  DirectionStore d;
  d(1) = {1.0, 0.0, 0.0};
  d(2) = {0.0, 1.0, 0.0};
  d(3) = {0.0, 0.0, 1.0};
  const double in[3][3] = {{0.015, 0.5, 0.5}, {0.5, 0.015, 0.5}, {0.5, 0.5, 0.015}};
  const double out[3][3] = {{0.0149, 0.5, 0.5}, {0.5, 0.0149, 0.5}, {0.5, 0.5, 0.0149}};
  for (int face = 0; face < 3; ++face) {
    d(4) = {in[face][0], in[face][1], in[face][2]};
    EXPECT_TRUE(PassesFourthDirectionTest(d, 1, 2, 3, 4)) << face;
    d(4) = {out[face][0], out[face][1], out[face][2]};
    EXPECT_FALSE(PassesFourthDirectionTest(d, 1, 2, 3, 4)) << face;
  }
  // The products are signed: the opposite direction is outside the cone.
  d(4) = {-0.5, -0.5, -0.5};
  EXPECT_FALSE(PassesFourthDirectionTest(d, 1, 2, 3, 4));
}

TEST(ZoneGenerators, ThreeZonesGiveEachCommonPointOnceTwoZonesOncePerPair) {
  DirectionStore d;
  std::vector<Vec3> star = ZoneStar(NarrowBasis());
  star.push_back(star[3]);  // 8: a second reflection on the edge from 1 to 2, along 110 again
  const int n = Load(star, d);
  ZoneArcCache zones;
  zones.Reset(n);
  std::vector<int> fourth{42};
  ThreeZoneReflections(d, 1, 2, 3, zones, fourth);
  EXPECT_EQ(fourth, std::vector<int>{7});
  // Pass (b, c) once, pass (c, a) and pass (a, b) once for each of the two reflections on edge 1-2.
  TwoZoneReflections(d, 1, 2, 3, zones, fourth);
  EXPECT_EQ(fourth, (std::vector<int>{7, 7, 7, 7, 7}));
  ConeReflections(d, n, 1, 2, 3, fourth);
  EXPECT_EQ(fourth, std::vector<int>{7});  // 4, 5, 6 and 8 lie on faces of the cone
}

TEST(ZoneGenerators, AnEdgeWithoutReflectionsEndsOnlyTheThreeZoneSearch) {
  DirectionStore d;
  std::vector<Vec3> star = ZoneStar(NarrowBasis());
  star[4] = {0.0, 0.0, -1.0};  // nothing left on the edge from 2 to 3
  const int n = Load(star, d);
  ZoneArcCache zones;
  zones.Reset(n);
  std::vector<int> fourth;
  ThreeZoneReflections(d, 1, 2, 3, zones, fourth);
  EXPECT_TRUE(fourth.empty());
  TwoZoneReflections(d, 1, 2, 3, zones, fourth);
  EXPECT_EQ(fourth, std::vector<int>{7});  // only the pass through the zones from 6 and 4
  std::vector<Vec3> crossings;
  ZoneCrossings(d, 1, 2, 3, zones, crossings);
  ASSERT_EQ(crossings.size(), 1u);
  const Vec3 diagonal = RowDirection(NarrowBasis(), 1, 1, 1);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(crossings[0][c], diagonal[c], 1e-14);
}

TEST(ZoneGenerators, CrossingsAreComputedWhereNoReflectionLies) {
  DirectionStore d;
  std::vector<Vec3> star = ZoneStar(NarrowBasis());
  star.pop_back();  // no reflection at 111
  star.push_back(RowDirection(NarrowBasis(), 2, 1, 0));  // 7: a second reflection on edge 1-2
  const int n = Load(star, d);
  ZoneArcCache zones;
  zones.Reset(n);
  std::vector<Vec3> crossings;
  ZoneCrossings(d, 1, 2, 3, zones, crossings);
  // Pass (b, c): 111; pass (c, a): 111, then 212 (zones 101-010 and 210-001); pass (a, b): 111,
  // then 211 (zones 210-001 and 011-100).
  const Vec3 x111 = RowDirection(NarrowBasis(), 1, 1, 1);
  const Vec3 x212 = RowDirection(NarrowBasis(), 2, 1, 2);
  const Vec3 x211 = RowDirection(NarrowBasis(), 2, 1, 1);
  const std::vector<Vec3> expected{x111, x111, x212, x111, x211};
  ASSERT_EQ(crossings.size(), expected.size());
  for (std::size_t s = 0; s < expected.size(); ++s)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(crossings[s][c], expected[s][c], 1e-14) << s;
  std::vector<int> fourth;
  ThreeZoneReflections(d, 1, 2, 3, zones, fourth);
  EXPECT_TRUE(fourth.empty());
}

}  // namespace
}  // namespace orv
