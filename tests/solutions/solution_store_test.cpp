// The solution store: appending, re-discoveries in other settings, the full store, its log lines.
#include "solutions/solution_store.hpp"

#include <gtest/gtest.h>

#include <string>

#include "reports/log_events.hpp"
#include "text/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

// A skew basis of unit volume, far from any special setting.
const Mat3 kBase = {{{1.10, 0.20, -0.10}, {0.15, 0.95, 0.30}, {-0.05, 0.25, 0.90}}};

Vec3 Sum(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Vec3 Doubled(const Vec3& a) { return Sum(a, a); }
const Mat3 kSublattice = {Doubled(kBase[0]), kBase[1], kBase[2]};

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = orv::testing::MakeScratchDir("store") + "/store_kqt.log";
    log_.Open(path_);
  }
  std::string LogText() {
    log_.Close();
    return orv::testing::ReadTextFile(path_);
  }
  // 128 records of kBase; qualities 10 + i except the two equal lowest at records 40 and 90.
  void FillStore() {
    for (int i = 1; i <= MaxStoredSolutions; ++i) {
      store_(i).SolutionBasis = kBase;
      store_(i).SolutionQuality = (i == 40 || i == 90) ? 5.0 : 10.0 + i;
    }
    store_.NumberOfSolutions = MaxStoredSolutions;
  }

  SolutionStore store_;
  TextFile log_;
  LogEventWriter logLines_{log_};
  RunObserver closed_;
  std::string path_;
};

TEST_F(StoreTest, SettingsOfOneLatticeReplaceOnlyAtEqualOrHigherQuality) {
  const Mat3 settings[] = {
      {kBase[2], kBase[0], kBase[1]},                              // permuted rows
      {kBase[0], {-kBase[1][0], -kBase[1][1], -kBase[1][2]}, kBase[2]},  // one row negated
      {kBase[0], kBase[1], Sum(kBase[0], kBase[2])},               // a row replaced by a sum
  };
  for (const Mat3& setting : settings) {
    SolutionStore store;
    SaveBasis(store, kBase, {5, 8}, 7.0, closed_);
    SaveBasis(store, setting, {6, 9}, 6.999, closed_);
    EXPECT_EQ(store(1).SolutionBasis, kBase);
    SaveBasis(store, setting, {6, 9}, 7.0, closed_);
    EXPECT_EQ(store(1).SolutionBasis, setting);
    EXPECT_EQ(store(1).SolutionCounts.nFull, 9);
    EXPECT_EQ(store.NumberOfSolutions, 1);
  }
}

TEST_F(StoreTest, LogLinesOfSavedAndSimilarBases) {
  const Mat3 permuted = {kBase[1], kBase[0], kBase[2]};
  SaveBasis(store_, kSublattice, {12, 15}, 13.5, logLines_);  // first basis: record 1, no test
  SaveBasis(store_, kBase, {5, 8}, 7.0, logLines_);        // index-2 superlattice: not similar
  SaveBasis(store_, permuted, {4, 8}, 6.5, logLines_);
  SaveBasis(store_, permuted, {6, 9}, 8.25, logLines_);
  EXPECT_EQ(store_.NumberOfSolutions, 2);
  EXPECT_EQ(store_(2).SolutionBasis, permuted);
  EXPECT_EQ(LogText(),
            " --> Basis saved as no   1\n"
            "    12h and  15H vectors, quality :       13.500\n"
            " --> Basis saved as no   2\n"
            "     5h and   8H vectors, quality :        7.000\n"
            "   Similar to solution   2\n"
            "   Similar to solution   2\n"
            "     and replaced it\n");
}

// The basis B with S B^-1 = relation for the stored basis S = kBase.
Mat3 BasisWithRelation(const Mat3& relation) {
  Mat3 inverse{};
  InvertMatrix(relation, inverse, 1e-12);
  return MultiplyMatrices(inverse, kBase);
}

TEST_F(StoreTest, RelationMatrixTolerances) {
  // Every entry 0.03 off an integer (sum 0.27), determinant 1.03: not similar.
  const Mat3 off3 = {{{1.03, -0.03, 0.03}, {0.03, 0.97, 0.03}, {-0.03, -0.03, 1.03}}};
  // 0.02 off (sum 0.18): similar with determinant 1.02, not with determinant 2.02.
  const Mat3 off2 = {{{1.02, -0.02, 0.02}, {0.02, 0.98, 0.02}, {-0.02, -0.02, 1.02}}};
  const Mat3 off2Twice = {{{2.02, -0.02, 0.02}, {0.02, 0.98, 0.02}, {-0.02, -0.02, 1.02}}};
  SaveBasis(store_, kBase, {5, 8}, 7.0, closed_);
  EXPECT_FALSE(MergeIfSimilar(store_, BasisWithRelation(off3), {5, 8}, 7.0, closed_));
  EXPECT_FALSE(MergeIfSimilar(store_, BasisWithRelation(off2Twice), {5, 8}, 7.0, closed_));
  // A singular basis has no relation matrix and is similar to nothing.
  EXPECT_FALSE(MergeIfSimilar(store_, {kBase[0], kBase[0], kBase[2]}, {5, 8}, 7.0, closed_));
  EXPECT_EQ(store_(1).SolutionBasis, kBase);
  EXPECT_TRUE(MergeIfSimilar(store_, BasisWithRelation(off2), {5, 8}, 7.0, closed_));
  EXPECT_EQ(store_(1).SolutionBasis, BasisWithRelation(off2));
}

TEST_F(StoreTest, FullStoreOverwritesTheHighestNumberedWorst) {
  FillStore();
  SaveBasis(store_, kSublattice, {3, 4}, 5.0, logLines_);
  EXPECT_EQ(store_.NumberOfSolutions, MaxStoredSolutions);
  EXPECT_EQ(store_(90).SolutionBasis, kSublattice);
  EXPECT_EQ(store_(40).SolutionBasis, kBase);
  EXPECT_EQ(LogText(),
            " --> Basis saved as no  90\n"
            "     3h and   4H vectors, quality :        5.000\n");
}

TEST_F(StoreTest, FullStoreDropsAPoorerBasisSilentlyEvenWhenSimilar) {
  FillStore();
  SaveBasis(store_, {kBase[1], kBase[0], kBase[2]}, {3, 4}, 4.999, logLines_);
  SaveBasis(store_, kSublattice, {3, 4}, 4.999, logLines_);
  for (int i = 1; i <= MaxStoredSolutions; ++i) EXPECT_EQ(store_(i).SolutionBasis, kBase);
  EXPECT_EQ(LogText(), "");
}

TEST_F(StoreTest, BasisAppendedAsRecord128IsNotOfferedAgainAsToAFullStore) {
  FillStore();
  store_.NumberOfSolutions = MaxStoredSolutions - 1;
  SaveBasis(store_, kSublattice, {3, 4}, 6.0, logLines_);
  EXPECT_EQ(store_.NumberOfSolutions, MaxStoredSolutions);
  EXPECT_EQ(store_(90).SolutionBasis, kBase);
  EXPECT_EQ(LogText(),
            " --> Basis saved as no 128\n"
            "     3h and   4H vectors, quality :        6.000\n");
}

TEST_F(StoreTest, ClosedLogChangesOnlyTheLog) {
  SolutionStore quiet;
  const Mat3 offers[] = {kBase, {kBase[1], kBase[0], kBase[2]}, kSublattice};
  for (const Mat3& basis : offers) {
    SaveBasis(store_, basis, {1, 2}, 3.0, logLines_);
    SaveBasis(quiet, basis, {1, 2}, 3.0, closed_);
  }
  EXPECT_FALSE(LogText().empty());
  ASSERT_EQ(quiet.NumberOfSolutions, 2);
  for (int i = 1; i <= 2; ++i) EXPECT_EQ(quiet(i).SolutionBasis, store_(i).SolutionBasis);
}

}  // namespace
}  // namespace orv
