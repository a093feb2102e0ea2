// The memo of conventional settings: a recalled setting describes the lattice as spglib does (the
// same type and cell, a conventional basis of the same lattice), a lattice of lower symmetry or a
// different shape is never given a remembered setting, and remembering alone changes nothing.
#include "solutions/lattice_setting_memo.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

LatticeTolerance Tolerance() { return LatticeToleranceForAngularCriterion(0.1 * kDegreesToRadians); }

// Rows of `a` are integral combinations of the rows of `b` and back: one lattice.
bool SameLattice(const Mat3& a, const Mat3& b) {
  Mat3 inverse{};
  if (InvertMatrix(b, inverse, 1e-300) != kStatusSuccess) return false;
  const Mat3 relation = MultiplyMatrices(a, inverse);
  for (const Vec3& row : relation)
    for (double x : row)
      if (std::fabs(x - std::round(x)) > 1e-6) return false;
  return std::fabs(std::fabs(Determinant(relation)) - 1.0) < 1e-6;
}

void ExpectSameDescription(const LatticeSymmetry& recalled, const LatticeSymmetry& fresh) {
  EXPECT_EQ(recalled.type, fresh.type);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(recalled.conventionalCell.lengths[i], fresh.conventionalCell.lengths[i], 1e-9);
    EXPECT_NEAR(recalled.conventionalCell.anglesInDegrees[i], fresh.conventionalCell.anglesInDegrees[i], 1e-9);
  }
  EXPECT_TRUE(SameLattice(recalled.conventionalBasis, fresh.conventionalBasis));
  EXPECT_TRUE(SameLattice(recalled.niggliBasis, fresh.niggliBasis));
}

// A basis in an odd setting: reduced rows mixed by a unimodular matrix, turned, slightly strained.
Mat3 Disguised(const Mat3& basis, double strain, double turnDegrees) {
  const IntMat3 mix{{{1, 1, 0}, {0, 1, 0}, {-1, 0, 1}}};
  Mat3 b = ApplyIntegerMatrix(mix, basis);
  for (Vec3& row : b) row[0] *= 1.0 + strain;
  return testing::RotateRows(b, testing::RotationAbout(Vec3{0.6, -0.48, 0.64}, turnDegrees));
}

const Mat3 kCubicF{{{0.0, 2.7, 2.7}, {2.7, 0.0, 2.7}, {2.7, 2.7, 0.0}}};
const Mat3 kCubicI{{{-1.6, 1.6, 1.6}, {1.6, -1.6, 1.6}, {1.6, 1.6, -1.6}}};
const Mat3 kCubicP{{{4.0, 0.0, 0.0}, {0.0, 4.0, 0.0}, {0.0, 0.0, 4.0}}};

TEST(LatticeSettingMemo, IdealCubicSettingsDescribeCubicLatticesAsSpglibDoes) {
  for (const Mat3& cubic : {kCubicF, kCubicI, kCubicP}) {
    for (double strain : {0.0, 0.002}) {
      for (double turn : {0.0, 23.0, 131.0}) {
        const Mat3 basis = Disguised(cubic, strain, turn);
        LatticeSymmetry fresh;
        ASSERT_TRUE(AnalyseLatticeSymmetry(basis, Tolerance(), fresh));
        LatticeSettingMemo memo;
        memo.RememberIdealCubicLattices();
        LatticeSymmetry recalled;
        ASSERT_TRUE(AnalyseLatticeSymmetry(basis, Tolerance(), recalled, memo, MemoUse::RecallOrRemember));
        EXPECT_EQ(memo.Size(), 3) << "spglib was asked";
        ExpectSameDescription(recalled, fresh);
        EXPECT_NEAR(std::fabs(Determinant(recalled.conventionalBasis)),
                    LatticePointsPerConventionalCell(fresh.type) * std::fabs(Determinant(basis)), 1e-9);
      }
    }
  }
}

TEST(LatticeSettingMemo, NeverGivesARememberedSettingToALatticeOfOtherShapeOrLowerSymmetry) {
  LatticeSettingMemo memo;
  memo.RememberIdealCubicLattices();
  // Tetragonal (c/a 1.1), one just beyond the cubic tolerance, and a rhombohedral one near cF.
  const Mat3 tetragonal{{{4.0, 0.0, 0.0}, {0.0, 4.0, 0.0}, {0.0, 0.0, 4.4}}};
  const Mat3 rhombohedral{{{0.0, 2.7, 2.7}, {2.7, 0.0, 2.7}, {2.9, 2.9, 0.0}}};
  for (const Mat3& other : {tetragonal, rhombohedral}) {
    const Mat3 basis = Disguised(other, 0.0, 40.0);
    LatticeSymmetry fresh;
    ASSERT_TRUE(AnalyseLatticeSymmetry(basis, Tolerance(), fresh));
    LatticeSymmetry withMemo;
    ASSERT_TRUE(AnalyseLatticeSymmetry(basis, Tolerance(), withMemo, memo, MemoUse::RecallOrRemember));
    EXPECT_NE(withMemo.type, BravaisType::cP);
    EXPECT_NE(withMemo.type, BravaisType::cF);
    EXPECT_EQ(withMemo.type, fresh.type);
    EXPECT_EQ(withMemo.toConventional, fresh.toConventional);
  }
  // A cube stretched by 0.9 of the tolerance is cubic to spglib but beyond the half the memo
  // allows: the answer is spglib's, which the memo then keeps.
  const double stretch = 1.0 + 0.9 * Tolerance().relativeLength;
  const Mat3 nearlyCubic{{{4.0, 0.0, 0.0}, {0.0, 4.0, 0.0}, {0.0, 0.0, 4.0 * stretch}}};
  LatticeSymmetry fresh;
  ASSERT_TRUE(AnalyseLatticeSymmetry(nearlyCubic, Tolerance(), fresh));
  LatticeSymmetry withMemo;
  ASSERT_TRUE(AnalyseLatticeSymmetry(nearlyCubic, Tolerance(), withMemo, memo, MemoUse::RecallOrRemember));
  EXPECT_EQ(withMemo.type, fresh.type);
  EXPECT_EQ(withMemo.toConventional, fresh.toConventional);
  EXPECT_EQ(memo.Size(), fresh.type == BravaisType::cP ? 4 : 3);
}

TEST(LatticeSettingMemo, AHexagonalSettingServesAnotherGrainOfThePhaseAlone) {
  const Mat3 gan{{{3.189, 0.0, 0.0}, {-1.5945, 2.76175, 0.0}, {0.0, 0.0, 5.185}}};
  LatticeSettingMemo memo;
  LatticeSymmetry first;
  ASSERT_TRUE(AnalyseLatticeSymmetry(gan, Tolerance(), first, memo, MemoUse::Remember));
  ASSERT_EQ(first.type, BravaisType::hP);
  ASSERT_EQ(memo.Size(), 1);
  // Remembering alone gives the analysis without a memo, bit for bit.
  LatticeSymmetry plain;
  ASSERT_TRUE(AnalyseLatticeSymmetry(gan, Tolerance(), plain));
  EXPECT_EQ(first.toConventional, plain.toConventional);
  EXPECT_EQ(first.conventionalCell.lengths, plain.conventionalCell.lengths);

  const Mat3 second = Disguised(gan, 0.001, 71.0);
  LatticeSymmetry fresh;
  ASSERT_TRUE(AnalyseLatticeSymmetry(second, Tolerance(), fresh));
  LatticeSymmetry recalled;
  ASSERT_TRUE(AnalyseLatticeSymmetry(second, Tolerance(), recalled, memo, MemoUse::RecallOrRemember));
  EXPECT_EQ(memo.Size(), 1) << "spglib was asked";
  ExpectSameDescription(recalled, fresh);

  // Another c/a is another phase: spglib is asked.
  Mat3 longer = gan;
  longer[2][2] *= 1.2;
  LatticeSymmetry other;
  ASSERT_TRUE(AnalyseLatticeSymmetry(longer, Tolerance(), other, memo, MemoUse::RecallOrRemember));
  EXPECT_EQ(memo.Size(), 2);
  EXPECT_NEAR(other.conventionalCell.lengths[2] / other.conventionalCell.lengths[0], 1.2 * 5.185 / 3.189, 1e-5);
}

}  // namespace
}  // namespace orv
