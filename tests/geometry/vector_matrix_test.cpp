// Tests of the vector and matrix primitives: inversion thresholds, dual bases, normalisation.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/constants.hpp"
#include "geometry/vector_matrix.hpp"

namespace orv {
namespace {

TEST(InvertMatrix, FailsOnlyAboveTheThresholdAndThenLeavesTheOutput) {
  const Mat3 m = {{{2, 0, 0}, {0, 4, 0}, {1, 0, 1}}};  // det 8
  Mat3 out = {{{7, 7, 7}, {7, 7, 7}, {7, 7, 7}}};
  EXPECT_EQ(InvertMatrix(m, out, 8.000000000000002), kStatusFailure);
  EXPECT_EQ(InverseTranspose(m, out, 9.0), kStatusFailure);
  EXPECT_EQ(out[1][2], 7.0);
  EXPECT_EQ(InvertMatrix(m, out, 8.0), kStatusSuccess);
  Mat3 inPlace = m;  // the output may be the input itself
  ASSERT_EQ(InvertMatrix(inPlace, inPlace, kBasisSingularity), kStatusSuccess);
  EXPECT_EQ(inPlace, out);
  EXPECT_EQ(MultiplyMatrices(out, m), (Mat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
}

TEST(InverseTranspose, GivesTheDualBasis) {
  Mat3 dual{};
  ASSERT_EQ(InverseTranspose({{{2, 0, 0}, {0, 4, 0}, {1, 0, 1}}}, dual, kBasisSingularity), kStatusSuccess);
  EXPECT_EQ(dual, (Mat3{{{0.5, 0, -0.5}, {0, 0.25, 0}, {0, 0, 1}}}));
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

TEST(Primitives, NormalisationArcCosineAndDeterminantEdges) {
  Vec3 unit = {9, 9, 9};
  double norm = 0;
  EXPECT_EQ(NormalizeVector({1e-24, 0, 0}, unit, norm), kStatusFailure);
  EXPECT_EQ(norm, 1e-24);
  EXPECT_EQ(unit, (Vec3{9, 9, 9}));
  EXPECT_EQ(NormalizeVector({3, 4, 0}, unit, norm), kStatusSuccess);
  EXPECT_EQ(norm, 5.0);
  EXPECT_DOUBLE_EQ(unit[0], 0.6);
  EXPECT_DOUBLE_EQ(unit[1], 0.8);
  EXPECT_EQ(ClampedArcCos(1.0000000001), 0.0);
  EXPECT_EQ(ClampedArcCos(-1.0000000001), kPi);
  EXPECT_EQ(ClampedArcCos(std::nan("")), kPi);
  EXPECT_EQ(Determinant({{{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}}), 0.0);
  EXPECT_EQ(Determinant({{{1, 2, 0}, {0, 1, 3}, {2, 0, 1}}}), 13.0);
  EXPECT_EQ(Determinant({{{0, 1, 3}, {1, 2, 0}, {2, 0, 1}}}), -13.0);
}

}  // namespace
}  // namespace orv
