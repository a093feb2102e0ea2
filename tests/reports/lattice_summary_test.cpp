// The console lines on the first solution's lattice: layout of the cell, and the family members.
#include "reports/lattice_summary.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

LatticeSymmetry Cubic(BravaisType type, double a) {
  LatticeSymmetry symmetry;
  symmetry.type = type;
  symmetry.conventionalCell = LatticeCell{{a, a, a}, {90.0, 90.0, 90.0}};
  return symmetry;
}

TEST(LatticeSummary, TheLatticeLineShowsTypeAndConventionalCellWithoutAsterisksForLargeCells) {
  EXPECT_EQ(LatticeLine(Cubic(BravaisType::cF, 5.654)),
            "    Lattice : cF   a = 5.654  b = 5.654  c = 5.654   90.00  90.00  90.00");
  EXPECT_EQ(LatticeLine(Cubic(BravaisType::cP, 123.4567)),
            "    Lattice : cP   a = 123.457  b = 123.457  c = 123.457   90.00  90.00  90.00");
  EXPECT_EQ(LatticeLine(Cubic(BravaisType::cI, 9.9996)),
            "    Lattice : cI   a = 10.000  b = 10.000  c = 10.000   90.00  90.00  90.00");
  EXPECT_EQ(LatticeLine(Cubic(BravaisType::cI, 99.9996)),
            "    Lattice : cI   a = 100.000  b = 100.000  c = 100.000   90.00  90.00  90.00");
}

TEST(LatticeSummary, TheFamilyLineListsTheOtherMembersWithTheirCellSizeWhenRelatedDirectly) {
  LatticeFamilies families;
  families.family = {0, 1, 0, 0, 0};
  families.relations.assign(5, std::vector<LatticeRelation>(5));
  families.relations[0][2] = LatticeRelation{true, 2, false, {}, 0.0};  // solution 3: cell twice as large
  families.relations[0][3] = LatticeRelation{true, 3, true, {}, 0.0};   // solution 4: a third as large
  // solution 5 belongs to the family through others only
  EXPECT_EQ(FamilyLine(families), "    Family  : 3 (k = 2), 4 (k = 1/3), 5");
  families.family = {0, 1};
  EXPECT_EQ(FamilyLine(families), "    Family  : no other solution");
}

}  // namespace
}  // namespace orv
