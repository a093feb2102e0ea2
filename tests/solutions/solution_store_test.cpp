// The solution store: appending, re-discoveries in other settings, the full store, its log lines.
#include "solutions/solution_store.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "reports/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

// A skew basis of unit volume, far from any special setting.
const Mat3 kBase = {{{1.10, 0.20, -0.10}, {0.15, 0.95, 0.30}, {-0.05, 0.25, 0.90}}};

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = orv::testing::MakeScratchDir("store") + "/store_kqt.log";
    log_.Open(path_);
  }
  // Everything the store wrote to the log so far.
  std::string LogText() {
    log_.Close();
    return orv::testing::ReadTextFile(path_);
  }

  SolutionStore store_;
  TextFile log_;
  std::string path_;
};

Mat3 Rows(const Vec3& a, const Vec3& b, const Vec3& c) { return {a, b, c}; }
Vec3 Sum(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Vec3 Negated(const Vec3& a) { return {-a[0], -a[1], -a[2]}; }
Vec3 Doubled(const Vec3& a) { return {2 * a[0], 2 * a[1], 2 * a[2]}; }

// The basis B with S B^-1 = relation for the stored basis S = kBase: B = relation^-1 S.
Mat3 BasisWithRelation(const Mat3& relation) {
  Mat3 inverse{};
  EXPECT_EQ(InvertMatrix(relation, inverse, 1e-12), kStatusSuccess);
  return MultiplyMatrices(inverse, kBase);
}

TEST_F(StoreTest, FirstBasisGoesToRecordOneWithBothLogLines) {
  SaveBasis(store_, kBase, {12, 15}, 13.5, log_);
  EXPECT_EQ(store_.NumberOfSolutions, 1);
  EXPECT_EQ(store_(1).SolutionBasis, kBase);
  EXPECT_EQ(store_(1).SolutionCounts.nHalf, 12);
  EXPECT_EQ(store_(1).SolutionCounts.nFull, 15);
  EXPECT_EQ(store_(1).SolutionQuality, 13.5);
  EXPECT_EQ(LogText(),
            " --> Basis saved as no   1\n"
            "    12h and  15H vectors, quality :       13.500\n");
}

TEST_F(StoreTest, OtherSettingsOfTheSameLatticeAreSimilar) {
  const Mat3 variants[] = {
      Rows(kBase[2], kBase[0], kBase[1]),                 // permuted rows
      Rows(kBase[0], Negated(kBase[1]), kBase[2]),        // one row negated
      Rows(kBase[0], kBase[1], Sum(kBase[0], kBase[2])),  // a row replaced by a sum of two rows
  };
  for (const Mat3& variant : variants) {
    SolutionStore store;
    TextFile closed;
    SaveBasis(store, kBase, {5, 8}, 7.0, closed);
    SaveBasis(store, variant, {6, 9}, 6.999, closed);  // lower quality: kept as it was
    EXPECT_EQ(store.NumberOfSolutions, 1);
    EXPECT_EQ(store(1).SolutionBasis, kBase);
    SaveBasis(store, variant, {6, 9}, 7.0, closed);  // equal quality: replaces
    EXPECT_EQ(store.NumberOfSolutions, 1);
    EXPECT_EQ(store(1).SolutionBasis, variant);
    EXPECT_EQ(store(1).SolutionCounts.nHalf, 6);
    EXPECT_EQ(store(1).SolutionCounts.nFull, 9);
  }
}

TEST_F(StoreTest, SimilarBasisLogsTheSolutionAndWhetherItReplacedIt) {
  const Mat3 permuted = Rows(kBase[1], kBase[0], kBase[2]);
  SaveBasis(store_, Rows(kBase[0], Doubled(kBase[1]), kBase[2]), {1, 2}, 1.0, log_);
  SaveBasis(store_, kBase, {5, 8}, 7.0, log_);
  SaveBasis(store_, permuted, {4, 8}, 6.5, log_);
  SaveBasis(store_, permuted, {6, 9}, 8.25, log_);
  EXPECT_EQ(store_.NumberOfSolutions, 2);
  EXPECT_EQ(store_(2).SolutionBasis, permuted);
  EXPECT_EQ(store_(2).SolutionQuality, 8.25);
  EXPECT_EQ(LogText(),
            " --> Basis saved as no   1\n"
            "     1h and   2H vectors, quality :        1.000\n"
            " --> Basis saved as no   2\n"
            "     5h and   8H vectors, quality :        7.000\n"
            "   Similar to solution   2\n"
            "   Similar to solution   2\n"
            "     and replaced it\n");
}

TEST_F(StoreTest, SublatticeIsNotSimilar) {
  SaveBasis(store_, kBase, {5, 8}, 7.0, log_);
  SaveBasis(store_, Rows(kBase[0], Doubled(kBase[1]), kBase[2]), {5, 8}, 7.0, log_);
  SaveBasis(store_, Rows(kBase[0], kBase[1], Sum(kBase[2], Sum(kBase[0], kBase[1]))), {5, 8}, 7.0, log_);
  // The doubled row gives det R = 0.5 and a new record; the third basis is a setting of the first.
  EXPECT_EQ(store_.NumberOfSolutions, 2);
  EXPECT_EQ(store_(1).SolutionBasis[2], Sum(kBase[2], Sum(kBase[0], kBase[1])));
  EXPECT_EQ(store_(2).SolutionBasis[1], Doubled(kBase[1]));
}

TEST_F(StoreTest, RelationMatrixTolerances) {
  TextFile closed;
  // Entries 0.03 off the identity (sum 0.27) with a determinant near 1: not similar.
  const Mat3 off3 = {{{1.03, -0.03, 0.03}, {0.03, 0.97, 0.03}, {-0.03, -0.03, 1.03}}};
  ASSERT_LT(std::fabs(std::fabs(Determinant(off3)) - 1.0), 0.08);
  // Entries 0.02 off (sum 0.18): similar when the determinant is near 1 ...
  const Mat3 off2 = {{{1.02, -0.02, 0.02}, {0.02, 0.98, 0.02}, {-0.02, -0.02, 1.02}}};
  ASSERT_LT(std::fabs(std::fabs(Determinant(off2)) - 1.0), 0.08);
  // ... and not when it is near 2.
  const Mat3 off2Twice = {{{2.02, -0.02, 0.02}, {0.02, 0.98, 0.02}, {-0.02, -0.02, 1.02}}};
  ASSERT_GT(std::fabs(std::fabs(Determinant(off2Twice)) - 1.0), 0.08);

  SaveBasis(store_, kBase, {5, 8}, 7.0, closed);
  EXPECT_FALSE(MergeIfSimilar(store_, BasisWithRelation(off3), {5, 8}, 7.0, closed));
  EXPECT_FALSE(MergeIfSimilar(store_, BasisWithRelation(off2Twice), {5, 8}, 7.0, closed));
  EXPECT_EQ(store_(1).SolutionBasis, kBase);
  EXPECT_TRUE(MergeIfSimilar(store_, BasisWithRelation(off2), {5, 8}, 7.0, closed));
  EXPECT_EQ(store_(1).SolutionBasis, BasisWithRelation(off2));
}

TEST_F(StoreTest, SingularBasisIsSimilarToNothing) {
  TextFile closed;
  SaveBasis(store_, kBase, {5, 8}, 7.0, closed);
  const Mat3 flat = Rows(kBase[0], kBase[0], kBase[2]);
  EXPECT_FALSE(MergeIfSimilar(store_, flat, {5, 8}, 7.0, closed));
  EXPECT_EQ(store_(1).SolutionBasis, kBase);
}

// 128 records of one basis; every quality 10 + i except two equal lowest ones at 40 and 90.
void FillStore(SolutionStore& store) {
  for (int i = 1; i <= MaxStoredSolutions; ++i) {
    store(i).SolutionBasis = kBase;
    store(i).SolutionQuality = (i == 40 || i == 90) ? 5.0 : 10.0 + i;
    store(i).SolutionCounts = {i, i};
  }
  store.NumberOfSolutions = MaxStoredSolutions;
}

TEST_F(StoreTest, FullStoreOverwritesTheHighestNumberedWorst) {
  const Mat3 sublattice = Rows(Doubled(kBase[0]), kBase[1], kBase[2]);
  FillStore(store_);
  SaveBasis(store_, sublattice, {3, 4}, 5.0, log_);
  EXPECT_EQ(store_.NumberOfSolutions, MaxStoredSolutions);
  EXPECT_EQ(store_.WorstSolutionIndex, 90);
  EXPECT_EQ(store_(90).SolutionBasis, sublattice);
  EXPECT_EQ(store_(40).SolutionBasis, kBase);
  EXPECT_EQ(LogText(),
            " --> Basis saved as no  90\n"
            "     3h and   4H vectors, quality :        5.000\n");
}

TEST_F(StoreTest, FullStoreDropsAPoorerBasisSilentlyEvenWhenSimilar) {
  FillStore(store_);
  SaveBasis(store_, Rows(kBase[1], kBase[0], kBase[2]), {3, 4}, 4.999, log_);
  SaveBasis(store_, Rows(Doubled(kBase[0]), kBase[1], kBase[2]), {3, 4}, 4.999, log_);
  for (int i = 1; i <= MaxStoredSolutions; ++i) EXPECT_EQ(store_(i).SolutionBasis, kBase);
  EXPECT_EQ(LogText(), "");
}

TEST_F(StoreTest, BasisAppendedAsRecord128IsNotOfferedAgain) {
  FillStore(store_);
  store_.NumberOfSolutions = MaxStoredSolutions - 1;
  // Quality above the worst stored one, similar to none: appended once and no more.
  SaveBasis(store_, Rows(Doubled(kBase[0]), kBase[1], kBase[2]), {3, 4}, 6.0, log_);
  EXPECT_EQ(store_.NumberOfSolutions, MaxStoredSolutions);
  EXPECT_EQ(store_(90).SolutionBasis, kBase);
  EXPECT_EQ(LogText(),
            " --> Basis saved as no 128\n"
            "     3h and   4H vectors, quality :        6.000\n");
}

TEST(Store, ClosedLogChangesNothingButTheLog) {
  // The same offers with and without a log give the same store.
  const std::string path = orv::testing::MakeScratchDir("store") + "/store_kqt.log";
  TextFile open;
  open.Open(path);
  TextFile closed;
  SolutionStore withLog;
  SolutionStore withoutLog;
  const Mat3 offers[] = {kBase, Rows(kBase[1], kBase[0], kBase[2]), Rows(Doubled(kBase[0]), kBase[1], kBase[2])};
  double quality = 3.0;
  for (const Mat3& basis : offers) {
    SaveBasis(withLog, basis, {1, 2}, quality, open);
    SaveBasis(withoutLog, basis, {1, 2}, quality, closed);
    quality += 1.0;
  }
  open.Close();
  EXPECT_FALSE(closed.IsOpen());
  EXPECT_FALSE(orv::testing::ReadTextFile(path).empty());
  ASSERT_EQ(withLog.NumberOfSolutions, withoutLog.NumberOfSolutions);
  for (int i = 1; i <= withLog.NumberOfSolutions; ++i) {
    EXPECT_EQ(withLog(i).SolutionBasis, withoutLog(i).SolutionBasis);
    EXPECT_EQ(withLog(i).SolutionQuality, withoutLog(i).SolutionQuality);
  }
}

}  // namespace
}  // namespace orv
