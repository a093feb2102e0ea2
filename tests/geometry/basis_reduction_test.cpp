// Tests of the Gauss and the stepwise basis reduction: known reductions, lattice kept, exit state.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"

namespace orv {
namespace {

using Reduction = int (*)(Mat3&);

// True when out = T in with T integral and unimodular: both span the same lattice.
bool SameLattice(const Mat3& out, const Mat3& in) {
  Mat3 inverse{};
  if (InvertMatrix(in, inverse, kBasisSingularity) != kStatusSuccess) return false;
  const Mat3 t = MultiplyMatrices(out, inverse);
  for (const Vec3& row : t)
    for (double v : row)
      if (std::fabs(v - std::round(v)) > 1e-6) return false;
  return std::fabs(std::fabs(Determinant(t)) - 1.0) < 1e-6;
}

TEST(BasisReduction, SkewedCubicBasis) {
  const Mat3 skewed = {{{1, 0, 0}, {3, 1, 0}, {5, 2, 1}}};
  Mat3 gauss = skewed, stepwise = skewed;
  EXPECT_EQ(ReduceBasisGauss(gauss), 8);
  EXPECT_EQ(gauss, (Mat3{{{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}}}));
  EXPECT_EQ(Determinant(gauss), 1.0);
  EXPECT_EQ(ReduceBasisStepwise(stepwise), 7);
  EXPECT_EQ(stepwise, (Mat3{{{0, 0, 1}, {1, 0, 0}, {0, -1, 0}}}));
  EXPECT_EQ(Determinant(stepwise), -1.0);
}

TEST(BasisReduction, OrderingTieBreaksAndSigns) {
  struct Case {
    Mat3 in, out;
    int passes;
  };
  const double s3 = 0.8660254037844386;
  const Case cases[] = {
      {{{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}}, {{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}}, 1},
      {{{{2, 0, 0}, {0, 1, 0}, {0, 0, 3}}}, {{{0, 1, 0}, {2, 0, 0}, {0, 0, 3}}}, 1},
      {{{{1, 0, 0}, {-0.5, s3, 0}, {-0.5, -0.28867513459481287, 0.816496580927726}}},
       {{{-0.5, -s3, 0}, {0.5, -s3, 0}, {0, -0.5773502691896257, -0.816496580927726}}},
       3},
  };
  for (Reduction reduce : {&ReduceBasisGauss, &ReduceBasisStepwise}) {
    for (const Case& c : cases) {
      Mat3 m = c.in;
      EXPECT_EQ(reduce(m), c.passes);
      for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(m[r][k], c.out[r][k], 1e-15);
    }
  }
}

TEST(BasisReduction, OnlyTheStepwiseReductionTakesTheSumVector) {
  // Three unit vectors with every scalar product -0.45: each pair reduced, a + b + c shorter.
  const double b1 = std::sqrt(1 - 0.45 * 0.45);
  const double c1 = (-0.45 - 0.45 * 0.45) / b1;
  const Mat3 in = {{{1, 0, 0}, {-0.45, b1, 0}, {-0.45, c1, std::sqrt(1 - 0.45 * 0.45 - c1 * c1)}}};
  Mat3 gauss = in;
  ReduceBasisGauss(gauss);
  for (const Vec3& row : gauss) EXPECT_TRUE(row == in[0] || row == in[1] || row == in[2]);
  Mat3 stepwise = in;
  ReduceBasisStepwise(stepwise);
  EXPECT_NEAR(Dot(stepwise[0], stepwise[0]), 0.3, 1e-12);
  EXPECT_TRUE(SameLattice(stepwise, in));
}

// Random bases of widely varying shape, skewed by random unimodular row operations.
Mat3 RandomSkewedBasis(std::mt19937& rng) {
  std::uniform_real_distribution<double> entry(-1.0, 1.0), length(0.3, 3.0);
  std::uniform_int_distribution<int> row(0, 2), factor(-2, 2);
  Mat3 b;
  do {
    for (auto& r : b) {
      const double l = length(rng);
      for (double& v : r) v = entry(rng) * l;
    }
  } while (std::fabs(Determinant(b)) < 0.2);
  for (int step = 0; step < 6; ++step) {
    const int i = row(rng), j = (i + 1 + row(rng) % 2) % 3, k = factor(rng);
    for (int c = 0; c < 3; ++c) b[i][c] += k * b[j][c];
  }
  return b;
}

TEST(BasisReduction, RandomBasesKeepTheLatticeAndEndReduced) {
  std::mt19937 rng(4711);
  for (Reduction reduce : {&ReduceBasisGauss, &ReduceBasisStepwise}) {
    for (int trial = 0; trial < 2000; ++trial) {
      const Mat3 in = RandomSkewedBasis(rng);
      Mat3 m = in;
      ASSERT_LT(reduce(m), kMaxReductionPasses);
      ASSERT_TRUE(SameLattice(m, in)) << trial;
      const double A = Dot(m[0], m[0]), B = Dot(m[1], m[1]), C = Dot(m[2], m[2]);
      const double X = Dot(m[1], m[2]), Y = Dot(m[0], m[2]), Z = Dot(m[0], m[1]);
      EXPECT_TRUE(A <= B && B <= C);
      EXPECT_TRUE(2 * std::fabs(X) <= B && 2 * std::fabs(Y) <= A && 2 * std::fabs(Z) <= A);
      EXPECT_TRUE((X > 0 && Y > 0 && Z > 0) || (X <= 0 && Y <= 0 && Z <= 0));
      if (reduce == &ReduceBasisStepwise) {
        const Vec3 s = {m[0][0] + m[1][0], m[0][1] + m[1][1], m[0][2] + m[1][2]};
        EXPECT_GE((2 * m[2][0] + s[0]) * s[0] + (2 * m[2][1] + s[1]) * s[1] + (2 * m[2][2] + s[2]) * s[2], 0.0);
      }
      // A reduced basis is a fixed point: one pass, nothing changed.
      Mat3 again = m;
      EXPECT_EQ(reduce(again), 1);
      EXPECT_EQ(again, m);
    }
  }
}

TEST(BasisReduction, BoundaryWhereRoundingAlternatesEndsAtThePassLimit) {
  // c lies on the boundary 2 b.c = b.b; the rounded scalar products make c - b and its reverse
  // c + b both look like reductions, while the integral vectors add and subtract exactly.
  const double b1 = 1177001622.0, b2 = 1033791192.0;
  const Mat3 in = {{{0, 0, 1}, {b1, b2, 0}, {b1 / 2 - b2, b2 / 2 + b1, 0}}};
  for (Reduction reduce : {&ReduceBasisGauss, &ReduceBasisStepwise}) {
    Mat3 m = in;
    EXPECT_EQ(reduce(m), kMaxReductionPasses);
    EXPECT_TRUE(SameLattice(m, in));
  }
}

}  // namespace
}  // namespace orv
