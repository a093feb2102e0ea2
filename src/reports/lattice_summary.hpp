// The console lines on the lattice of the first solution: Bravais type, conventional cell, family.
#pragma once

#include <string>
#include <vector>

#include "solutions/lattice_family.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

// "    Lattice : cF   a = 5.654  b = 5.654  c = 5.654   90.00  90.00  90.00"
std::string LatticeLine(const LatticeSymmetry& symmetry);

// How solution `other` relates to solution `self` (both numbered from 1): "1" for the same
// lattice, "2" when its cell is twice as large, "1/3" when it is a third as large.
std::string RelativeCellSize(const LatticeRelation& relationOfSelfToOther);

// "    Family  : 3 (k = 2), 4 (k = 1), 9" lists the other solutions of solution 1's family, each with
// its cell size relative to solution 1 when the two are related directly; "    Family  : no other
// solution" when it has none.
std::string FamilyLine(const LatticeFamilies& families);

// The two lines for the first solution; none when there is no analysed solution.
std::vector<std::string> FirstSolutionLatticeLines(const SolutionLattices& lattices);

}  // namespace orv
