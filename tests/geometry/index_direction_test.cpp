// Tests of the integer indexing of a direction and of the coprime and divisibility helpers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"

namespace orv {
namespace {

const Mat3 kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

Vec3 Unit(const Vec3& v) {
  Vec3 u{};
  double norm;
  NormalizeVector(v, u, norm);
  return u;
}

struct IndexingCase {
  Vec3 direction;
  Vec3 x;
  double theta;
  int scale;
  bool withinBound;
};

TEST(IndexDirection, AgainstTheIdentityBasis) {
  const IndexingCase cases[] = {
      {{1, 2, 3}, {1, 2, 3}, 0.0, 8, true},
      {{1, 1, 1}, {1, 1, 1}, 0.0, 2, true},  // (2,2,2) and later multiples never replace it
      {{2, 2, 1}, {2, 2, 1}, 0.0, 6, true},
      {{1, 0, 13}, {1, 0, 13}, 0.0, 29, false},  // 13 exceeds the bound 12
      {{0.3, 0.5, 0.81}, {2.9756, 4.9593, 8.0341}, 0.0059017, 22, true},
  };
  for (const IndexingCase& c : cases) {
    const IndexedDirection r = IndexDirection(Unit(c.direction), kIdentity, kIdentity, 12);
    SCOPED_TRACE(c.scale);
    EXPECT_NEAR(r.theta, c.theta, c.theta == 0.0 ? 1e-7 : 5e-8);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.x[i], c.x[i], c.theta == 0.0 ? 1e-12 : 5e-5);
    EXPECT_EQ(r.scale, c.scale);
    EXPECT_EQ(r.withinBound, c.withinBound);
  }
  // With the smallest bound 4 only the scales 2 .. 17 are tried: (1,0,13) is never reached.
  const IndexedDirection small = IndexDirection(Unit({1, 0, 13}), kIdentity, kIdentity, 4);
  EXPECT_GT(small.theta, 0.01);
  EXPECT_LE(small.scale, 17);
}

TEST(IndexDirection, UsesTheReciprocalBasisForTrialsAndTheDirectBasisForIndices) {
  const Mat3 R = {{{1.3, 0.2, -0.1}, {0.4, 0.9, 0.3}, {-0.2, 0.1, 1.1}}};
  Mat3 D{};
  ASSERT_EQ(InverseTranspose(R, D, kBasisSingularity), kStatusSuccess);
  const int h[3] = {2, -1, 3};
  Vec3 g;
  for (int j = 0; j < 3; ++j) g[j] = h[0] * R[0][j] + h[1] * R[1][j] + h[2] * R[2][j];
  const IndexedDirection r = IndexDirection(Unit(g), R, D, 12);
  EXPECT_LT(r.theta, 1e-7);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.x[i], h[i], 1e-9);
  EXPECT_TRUE(r.withinBound);
}

TEST(IndexDirection, DirectionWithoutIndicesKeepsTheWorstAnswer) {
  const Mat3 nan = {{{std::nan(""), 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  const std::pair<Vec3, Mat3> inputs[] = {{{0, 0, 0}, kIdentity}, {{1, 0, 0}, nan}};
  for (const auto& [u, d] : inputs) {
    const IndexedDirection r = IndexDirection(u, kIdentity, d, 12);
    EXPECT_EQ(r.theta, kPi);
    EXPECT_FALSE(r.withinBound);
    EXPECT_EQ(r.x, (Vec3{0, 0, 0}));
    EXPECT_EQ(r.scale, 0);
  }
}

TEST(IntegerHelpers, CoprimeReductionAndDivisibility) {
  const MillerIndices cases[][2] = {{{4, 4, 2}, {2, 2, 1}},    {{0, 0, -5}, {0, 0, -1}}, {{12, 12, 6}, {2, 2, 1}},
                                    {{0, 0, 0}, {0, 0, 0}},    {{-6, 9, 15}, {-2, 3, 5}},
                                    {{INT_MIN, 0, 0}, {-1, 0, 0}}};
  for (const auto& c : cases) {
    MillerIndices h = c[0];
    ReduceToCoprime(h);
    EXPECT_EQ(h, c[1]);
  }
  EXPECT_TRUE(IsDivisible(-12, 4) && IsDivisible(0, 7) && IsDivisible(INT_MIN, -1));
  EXPECT_FALSE(IsDivisible(13, 4) || IsDivisible(5, 0) || IsDivisible(INT_MAX, INT_MAX - 1));
}

}  // namespace
}  // namespace orv
