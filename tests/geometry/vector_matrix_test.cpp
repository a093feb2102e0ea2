// Tests of the vector and matrix primitives: inversion thresholds, dual bases, normalisation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "geometry/constants.hpp"
#include "geometry/vector_matrix.hpp"

namespace orv {
namespace {

TEST(InvertMatrix, ThresholdEqualToDeterminantSucceedsAndAboveItFailsUntouched) {
  const Mat3 m = {{{2, 0, 0}, {0, 4, 0}, {1, 0, 1}}};  // det 8
  Mat3 out{};
  EXPECT_EQ(InvertMatrix(m, out, 8.0), kStatusSuccess);
  EXPECT_DOUBLE_EQ(out[0][0], 0.5);
  Mat3 untouched = {{{7, 7, 7}, {7, 7, 7}, {7, 7, 7}}};
  EXPECT_EQ(InvertMatrix(m, untouched, 8.000000000000002), kStatusFailure);
  EXPECT_EQ(InverseTranspose(m, untouched, 9.0), kStatusFailure);
  const Mat3 nan = {{{std::nan(""), 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  EXPECT_EQ(InvertMatrix(nan, untouched, kBasisSingularity), kStatusFailure);
  EXPECT_EQ(untouched[1][2], 7.0);
  // In place: the output may be the input itself.
  Mat3 inPlace = m;
  ASSERT_EQ(InvertMatrix(inPlace, inPlace, kBasisSingularity), kStatusSuccess);
  EXPECT_EQ(MultiplyMatrices(inPlace, m), (Mat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
}

TEST(InverseTranspose, GivesTheDualBasis) {
  const Mat3 m = {{{2, 0, 0}, {0, 4, 0}, {1, 0, 1}}};
  Mat3 dual{};
  ASSERT_EQ(InverseTranspose(m, dual, kBasisSingularity), kStatusSuccess);
  EXPECT_EQ(dual, (Mat3{{{0.5, 0, -0.5}, {0, 0.25, 0}, {0, 0, 1}}}));
  const Mat3 identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  ASSERT_EQ(InverseTranspose(identity, dual, kBasisSingularity), kStatusSuccess);
  EXPECT_EQ(dual, identity);

  // b_i . d_j = 1 for i = j and 0 otherwise, over many random bases.
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> entry(-3.0, 3.0);
  for (int trial = 0; trial < 500; ++trial) {
    Mat3 b;
    for (auto& row : b)
      for (double& v : row) v = entry(rng);
    if (std::fabs(Determinant(b)) < 0.05) continue;
    ASSERT_EQ(InverseTranspose(b, dual, kBasisSingularity), kStatusSuccess);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) EXPECT_NEAR(Dot(b[i], dual[j]), i == j ? 1.0 : 0.0, 1e-10);
  }
}

TEST(NormalizeVector, UnitVectorOrFailureBelowTheSmallestNorm) {
  Vec3 unit{};
  double norm = 0;
  EXPECT_EQ(NormalizeVector({3, 4, 0}, unit, norm), kStatusSuccess);
  EXPECT_EQ(norm, 5.0);
  EXPECT_DOUBLE_EQ(unit[0], 0.6);
  EXPECT_DOUBLE_EQ(unit[1], 0.8);
  unit = {9, 9, 9};
  EXPECT_EQ(NormalizeVector({1e-24, 0, 0}, unit, norm), kStatusFailure);
  EXPECT_EQ(norm, 1e-24);
  EXPECT_EQ(unit, (Vec3{9, 9, 9}));
}

TEST(Primitives, ClampedArcCosAndDeterminantSigns) {
  EXPECT_EQ(ClampedArcCos(1.0000000001), 0.0);
  EXPECT_EQ(ClampedArcCos(-1.0000000001), kPi);
  EXPECT_EQ(ClampedArcCos(std::nan("")), kPi);
  EXPECT_EQ(Determinant({{{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}}), 0.0);
  const Mat3 m = {{{1, 2, 0}, {0, 1, 3}, {2, 0, 1}}};
  const Mat3 swapped = {m[1], m[0], m[2]};
  EXPECT_EQ(Determinant(m), 13.0);
  EXPECT_EQ(Determinant(swapped), -13.0);
  EXPECT_EQ(CrossProduct({1, 0, 0}, {0, 1, 0}), (Vec3{0, 0, 1}));
}

}  // namespace
}  // namespace orv
