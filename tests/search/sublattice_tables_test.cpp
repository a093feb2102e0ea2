// Tests of the sublattice tables: counts, order, determinants and distinct superlattices.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "search/sublattice_tables.hpp"

namespace orv {
namespace {

bool IsIntegral(const Mat3& m, double tolerance) {
  for (const Vec3& row : m)
    for (double v : row)
      if (std::fabs(v - std::round(v)) > tolerance) return false;
  return true;
}

const SublatticeTables& Built() {
  static const SublatticeTables tables = [] {
    SublatticeTables t;
    BuildSublatticeTables(t);
    return t;
  }();
  return tables;
}

TEST(SublatticeTables, CountsAreTheNumbersOfSublattices) {
  const int expected[kMaxSublatticeIndex] = {1, 7, 13, 35, 31, 91, 57, 155, 130, 217, 133, 455, 183, 399, 403, 651};
  std::size_t total = 0;
  for (int m = 1; m <= kMaxSublatticeIndex; ++m) {
    EXPECT_EQ(Built().Table(m).size(), static_cast<std::size_t>(expected[m - 1])) << m;
    total += Built().Table(m).size();
  }
  EXPECT_EQ(total, 2961u);
  // A second build starts from empty tables.
  SublatticeTables again = Built();
  BuildSublatticeTables(again);
  EXPECT_EQ(again.Table(16).size(), 651u);
}

TEST(SublatticeTables, OrderOfDiagonalsAndOfOffDiagonalEntries) {
  const double h = 0.5;
  const Mat3 index2[] = {
      {{{1, 0, 0}, {0, 1, 0}, {0, 0, h}}},   {{{1, 0, 0}, {0, h, 0}, {0, 0, 1}}},
      {{{1, 0, 0}, {0, h, -h}, {0, 0, 1}}},  {{{h, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {{{h, 0, -h}, {0, 1, 0}, {0, 0, 1}}},  {{{h, -h, 0}, {0, 1, 0}, {0, 0, 1}}},
      {{{h, -h, -h}, {0, 1, 0}, {0, 0, 1}}},
  };
  ASSERT_EQ(Built().Table(2).size(), 7u);
  for (int k = 0; k < 7; ++k) EXPECT_EQ(Built().Table(2)[static_cast<std::size_t>(k)], index2[k]) << k;
  EXPECT_EQ(Built().Table(1)[0], (Mat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
  // The last diagonal of index 12 is (3,2,2), that of index 16 is (2,2,4).
  const Mat3& last12 = Built().Table(12).back();
  const Mat3& last16 = Built().Table(16).back();
  EXPECT_DOUBLE_EQ(last12[0][0], 1.0 / 3);
  EXPECT_DOUBLE_EQ(last12[2][2], 0.5);
  EXPECT_DOUBLE_EQ(last16[0][0], 0.5);
  EXPECT_DOUBLE_EQ(last16[2][2], 0.25);
}

TEST(SublatticeTables, EveryMatrixHasDeterminantOneOverMAndDistinctSuperlattice) {
  for (int m = 1; m <= kMaxSublatticeIndex; ++m) {
    const std::vector<Mat3>& table = Built().Table(m);
    std::vector<Mat3> inverses(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
      EXPECT_NEAR(Determinant(table[i]), 1.0 / m, 1e-15);
      ASSERT_EQ(InvertMatrix(table[i], inverses[i], kBasisSingularity), kStatusSuccess);
      EXPECT_TRUE(IsIntegral(inverses[i], 1e-12));
    }
    // Two entries span the same superlattice exactly when T_i T_j^-1 is integral.
    for (std::size_t i = 0; i < table.size(); ++i)
      for (std::size_t j = i + 1; j < table.size(); ++j)
        ASSERT_FALSE(IsIntegral(MultiplyMatrices(table[i], inverses[j]), 1e-9)) << m << " " << i << " " << j;
  }
}

}  // namespace
}  // namespace orv
