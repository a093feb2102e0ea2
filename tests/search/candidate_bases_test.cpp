// Tests of the candidate bases of a quadruple: the unit-volume basis and its superlattices.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "search/candidate_bases.hpp"

namespace orv {
namespace {

Vec3 Unit(const Vec3& v) {
  Vec3 u{};
  double norm;
  NormalizeVector(v, u, norm);
  return u;
}

// Four directions in general position forming a quadruple the search could pass on.
DirectionStore Quadruple() {
  DirectionStore directions;
  directions(1) = Unit({0.9, 0.1, 0.2});
  directions(2) = Unit({0.2, 0.8, -0.1});
  directions(3) = Unit({0.1, 0.3, 0.9});
  directions(4) = Unit({0.6, 0.55, 0.5});
  return directions;
}

bool Parallel(const Vec3& a, const Vec3& b) {
  const Vec3 c = CrossProduct(Unit(a), Unit(b));
  return VectorNorm(c) < 1e-12 && Dot(a, b) > 0;
}

TEST(BasisFromQuadruple, AxesAndBodyDiagonalGiveTheIdentity) {
  DirectionStore directions;
  directions(1) = {1, 0, 0};
  directions(2) = {0, 1, 0};
  directions(3) = {0, 0, 1};
  directions(4) = Unit({1, 1, 1});
  const Mat3 w = BasisFromQuadruple(directions, 1, 2, 3, 4);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(w[r][c], r == c ? 1.0 : 0.0, 1e-15);

  SublatticeTables tables;
  BuildSublatticeTables(tables);
  auto candidates = std::make_unique<CandidateList>();
  SublatticeCandidates(2, w, tables, *candidates);
  ASSERT_EQ(candidates->count, 7);
  for (int k = 0; k < 7; ++k)
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(candidates->bases[static_cast<std::size_t>(k)][r][c],
                    tables.Table(2)[static_cast<std::size_t>(k)][r][c], 1e-15);
}

TEST(BasisFromQuadruple, RowsFollowTheOrientedTripleAndTheFourthDirectionIs111) {
  const DirectionStore directions = Quadruple();
  const Mat3 w = BasisFromQuadruple(directions, 1, 2, 3, 4);
  for (int r = 0; r < 3; ++r) EXPECT_TRUE(Parallel(w[r], directions(r + 1))) << r;
  EXPECT_NEAR(Determinant(w), 1.0, 1e-13);
  const Vec3 sum = {w[0][0] + w[1][0] + w[2][0], w[0][1] + w[1][1] + w[2][1], w[0][2] + w[1][2] + w[2][2]};
  EXPECT_TRUE(Parallel(sum, directions(4)));

  // Numbered the other way round, the triple is oriented as (1, 3, 2): row 2 comes from d_3.
  DirectionStore renumbered = directions;
  renumbered(2) = directions(3);
  renumbered(3) = directions(2);
  ASSERT_LT(Determinant({renumbered(1), renumbered(2), renumbered(3)}), 0.0);
  EXPECT_EQ(BasisFromQuadruple(renumbered, 1, 3, 2, 4), w);
}

TEST(SublatticeCandidates, EveryCandidateOfIndexMHasDeterminantOneOverM) {
  const Mat3 w = BasisFromQuadruple(Quadruple(), 1, 2, 3, 4);
  SublatticeTables tables;
  BuildSublatticeTables(tables);
  auto candidates = std::make_unique<CandidateList>();

  SublatticeCandidates(1, w, tables, *candidates);
  ASSERT_EQ(candidates->count, 1);
  EXPECT_EQ(candidates->bases[0], w);  // W itself, not a product with the identity
  for (int m = 2; m <= kMaxSublatticeIndex; ++m) {
    SublatticeCandidates(m, w, tables, *candidates);
    ASSERT_EQ(static_cast<std::size_t>(candidates->count), tables.Table(m).size());
    for (int k = 0; k < candidates->count; ++k)
      EXPECT_NEAR(Determinant(candidates->bases[static_cast<std::size_t>(k)]), 1.0 / m, 1e-12) << m << " " << k;
  }
  SublatticeCandidates(17, w, tables, *candidates);
  EXPECT_EQ(candidates->count, 0);
}

}  // namespace
}  // namespace orv
