// Relationships between kept solutions: layout and pair order, clean signs, singular bases.
#include "reports/relationships_section.hpp"

#include <gtest/gtest.h>

#include "text/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

const std::string kDashes = " " + std::string(56, '-') + "\n";

std::string Relationships(const SolutionStore& store) {
  const std::string path = testing::MakeScratchDir("relations") + "/relations.res";
  TextFile results;
  results.Open(path);
  WriteRelationships(results, store);
  results.Close();
  return testing::ReadTextFile(path);
}

// A triclinic cell whose entries are not exact in binary.
const Mat3 kCell{{{9.87, 0.31, -0.42}, {1.13, 10.21, 0.27}, {-0.66, 0.58, 9.93}}};

TEST(Relationships, OneSolutionGivesOnlyTheClosingLine) {
  SolutionStore store;
  store.NumberOfSolutions = 1;
  store(1).SolutionBasis = kCell;
  EXPECT_EQ(Relationships(store), kDashes);
}

TEST(Relationships, ReorderedAndNegatedVectorsGiveACleanSignedPermutation) {
  // Solution 2 has the rows -c, a, -b of solution 1.
  SolutionStore store;
  store.NumberOfSolutions = 2;
  store(1).SolutionBasis = kCell;
  store(2).SolutionBasis = Mat3{{{0.66, -0.58, -9.93}, kCell[0], {-1.13, -10.21, -0.27}}};
  EXPECT_EQ(Relationships(store), kDashes + "    1 <=>   2\n\n  Basis   2 => Basis   1 = T * Basis   2.\n"
                                            "  Transformation matrix T:\n"
                                            "              0.00    1.00    0.00\n"
                                            "              0.00    0.00   -1.00\n"
                                            "             -1.00    0.00    0.00\n\n" +
                                            kDashes);
}

TEST(Relationships, PairsInOrderAndThoseWithASingularSecondBasisSkipped) {
  SolutionStore store;
  store.NumberOfSolutions = 3;
  store(1).SolutionBasis = kCell;
  store(2).SolutionBasis = Mat3{{kCell[0], kCell[1], {0, 0, 0}}};
  store(3).SolutionBasis = kCell;
  const std::string text = Relationships(store);
  EXPECT_EQ(text.find("1 <=>   2"), std::string::npos);
  EXPECT_LT(text.find("    1 <=>   3"), text.find("    2 <=>   3"));
  EXPECT_NE(text.find("    2 <=>   3"), std::string::npos);
  EXPECT_EQ(text.find("NaN"), std::string::npos);
}

}  // namespace
}  // namespace orv
