// The console lines on the lattice of the first solution: Bravais type, conventional cell, family.
#include "reports/lattice_summary.hpp"

#include <cmath>

#include "text/line_format.hpp"

namespace orv {

namespace {

// An edge after "a =": one blank, then the value with three decimals in as many columns as it
// needs, so that no edge a user can enter turns into asterisks.
void AppendEdge(Line& line, const char* label, double edge) {
  int width = 6;  // " 5.654": a blank, one digit, the point and three decimals
  for (int digits = 1; width < 16 && std::isfinite(edge) && !(edge < std::pow(10.0, digits) - 0.0005); ++digits)
    ++width;
  line.Text(label).F(edge, width, 3);
}

}  // namespace

std::string LatticeLine(const LatticeSymmetry& symmetry) {
  const LatticeCell& cell = symmetry.conventionalCell;
  Line line;
  line.X(4).Text("Lattice : ").Text(BravaisSymbol(symmetry.type)).X(1);
  AppendEdge(line, "  a =", cell.lengths[0]);
  AppendEdge(line, "  b =", cell.lengths[1]);
  AppendEdge(line, "  c =", cell.lengths[2]);
  line.X(1).F(cell.anglesInDegrees[0], 7, 2).F(cell.anglesInDegrees[1], 7, 2).F(cell.anglesInDegrees[2], 7, 2);
  return line.str();
}

std::string RelativeCellSize(const LatticeRelation& relationOfSelfToOther) {
  const std::string k = std::to_string(relationOfSelfToOther.index);
  if (relationOfSelfToOther.index == 1) return k;
  return relationOfSelfToOther.firstIsLarger ? "1/" + k : k;
}

std::string FamilyLine(const LatticeFamilies& families) {
  std::string members;
  const std::size_t n = families.family.size();
  for (std::size_t j = 1; j < n; ++j) {
    if (families.family[j] != families.family[0]) continue;
    if (!members.empty()) members += ", ";
    members += std::to_string(j + 1);
    const LatticeRelation& relation = families.relations[0][j];
    if (relation.related) members += " (k = " + RelativeCellSize(relation) + ")";
  }
  return Line().X(4).Text("Family  : ").Text(members.empty() ? "no other solution" : members).str();
}

std::vector<std::string> FirstSolutionLatticeLines(const SolutionLattices& lattices) {
  if (lattices.analysed.empty() || !lattices.analysed[0]) return {};
  return {LatticeLine(lattices.symmetry[0]), FamilyLine(lattices.families)};
}

}  // namespace orv
