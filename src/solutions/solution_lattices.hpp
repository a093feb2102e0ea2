// The lattice symmetry and the families of the kept solutions of a run, for the reports.
#pragma once

#include <vector>

#include "run_data/solution_records.hpp"
#include "solutions/lattice_family.hpp"
#include "solutions/lattice_setting_memo.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

struct SolutionLattices {
  LatticeTolerance tolerance;
  double familyTolerance = 0.0;
  // One entry per kept solution in report order (entry 0 is solution 1). A basis without volume,
  // which the volume normalization cannot produce, is not analysed and keeps an empty entry.
  std::vector<bool> analysed;
  std::vector<LatticeSymmetry> symmetry;
  LatticeFamilies families;
};

// Analyses solutions 1..NumberOfSolutions at the tolerances derived from the run's angular
// tolerance (radians). With `solutionsAnalysed`, only the first that many are analysed and the
// others keep empty entries (the families still take every solution): the analysis of a cubic
// lattice costs about as much as a whole search, and most reports read solution 1's alone. With a
// memo, the analyses use it as `use` says.
SolutionLattices AnalyseSolutionLattices(const SolutionStore& store, double angularCriterion,
                                         int solutionsAnalysed = MaxStoredSolutions,
                                         LatticeSettingMemo* memo = nullptr, MemoUse use = MemoUse::Remember);

}  // namespace orv
