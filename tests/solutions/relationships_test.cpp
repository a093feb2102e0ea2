// Relationships between kept solutions: pair order, layout, clean signs, and singular bases.
#include "solutions/relationships.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "reports/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

const std::string kDashes = " " + std::string(56, '-');

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> RelationshipLines(const SolutionStore& store) {
  const std::string path = testing::MakeScratchDir("relations") + "/relations.res";
  TextFile results;
  results.Open(path);
  WriteRelationships(results, store);
  results.Close();
  return SplitLines(testing::ReadTextFile(path));
}

// A general triclinic cell of volume about 1000, with entries that are not exact in binary.
const Mat3 kCell{{{9.87, 0.31, -0.42}, {1.13, 10.21, 0.27}, {-0.66, 0.58, 9.93}}};

TEST(Relationships, WithoutPairsOnlyTheClosingLine) {
  SolutionStore store;
  EXPECT_EQ(RelationshipLines(store), std::vector<std::string>{kDashes});
  store.NumberOfSolutions = 1;
  store(1).SolutionBasis = kCell;
  EXPECT_EQ(RelationshipLines(store), std::vector<std::string>{kDashes});
}

TEST(Relationships, ReorderedAndNegatedVectorsGiveACleanSignedPermutation) {
  // Solution 2 has the rows -c, a, -b of solution 1, so basis 1 = T * basis 2 with T the transposed
  // signed permutation.
  SolutionStore store;
  store.NumberOfSolutions = 2;
  store(1).SolutionBasis = kCell;
  const Vec3& a = kCell[0];
  const Vec3& b = kCell[1];
  const Vec3& c = kCell[2];
  store(2).SolutionBasis = Mat3{{{-c[0], -c[1], -c[2]}, a, {-b[0], -b[1], -b[2]}}};
  const std::vector<std::string> expected = {
      kDashes,
      "    1 <=>   2",
      "",
      "  Basis   2 => Basis   1 = T * Basis   2.",
      "  Transformation matrix T:",
      "              0.00    1.00    0.00",
      "              0.00    0.00   -1.00",
      "             -1.00    0.00    0.00",
      "",
      kDashes,
  };
  const std::vector<std::string> lines = RelationshipLines(store);
  EXPECT_EQ(lines, expected);
  for (const std::string& line : lines) EXPECT_EQ(line.find("-0.00"), std::string::npos) << line;
}

TEST(Relationships, PairsInOrderAndSingularBasesSkipped) {
  SolutionStore store;
  store.NumberOfSolutions = 3;
  store(1).SolutionBasis = kCell;
  store(2).SolutionBasis = Mat3{{{2 * kCell[0][0], 2 * kCell[0][1], 2 * kCell[0][2]}, kCell[1], kCell[2]}};
  store(3).SolutionBasis = kCell;
  std::vector<std::string> pairs;
  const std::vector<std::string> all = RelationshipLines(store);
  for (const std::string& line : all) {
    if (line.find("<=>") != std::string::npos) pairs.push_back(line);
  }
  EXPECT_EQ(pairs, (std::vector<std::string>{"    1 <=>   2", "    1 <=>   3", "    2 <=>   3"}));
  // A sublattice pair is written all the same, with its non-integral entry.
  ASSERT_GE(all.size(), 6u);
  EXPECT_EQ(all[5], "              0.50    0.00    0.00");

  // Basis 2 without volume: the pair that would need its inverse is left out, the others stay.
  store(2).SolutionBasis = Mat3{{kCell[0], kCell[1], {0.0, 0.0, 0.0}}};
  const std::vector<std::string> lines = RelationshipLines(store);
  pairs.clear();
  for (const std::string& line : lines) {
    if (line.find("<=>") != std::string::npos) pairs.push_back(line);
    EXPECT_EQ(line.find("NaN"), std::string::npos) << line;
  }
  EXPECT_EQ(pairs, (std::vector<std::string>{"    1 <=>   3", "    2 <=>   3"}));
  EXPECT_EQ(lines.back(), kDashes);
}

}  // namespace
}  // namespace orv
