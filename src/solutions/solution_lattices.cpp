// The lattice symmetry and the families of the kept solutions of a run, for the reports.
#include "solutions/solution_lattices.hpp"

namespace orv {

SolutionLattices AnalyseSolutionLattices(const SolutionStore& store, double angularCriterion,
                                         int solutionsAnalysed, LatticeSettingMemo* memo, MemoUse use) {
  SolutionLattices lattices;
  lattices.tolerance = LatticeToleranceForAngularCriterion(angularCriterion);
  lattices.familyTolerance = FamilyToleranceForAngularCriterion(angularCriterion);
  std::vector<Mat3> bases;
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    const Mat3& basis = store(i).SolutionBasis;
    bases.push_back(basis);
    LatticeSymmetry symmetry;
    const bool analyse = i <= solutionsAnalysed;
    lattices.analysed.push_back(
        analyse && (memo != nullptr
                        ? AnalyseLatticeSymmetry(basis, lattices.tolerance, symmetry, *memo, use)
                        : AnalyseLatticeSymmetry(basis, lattices.tolerance, symmetry)));
    lattices.symmetry.push_back(symmetry);
  }
  lattices.families = FindLatticeFamilies(bases, lattices.familyTolerance);
  return lattices;
}

}  // namespace orv
