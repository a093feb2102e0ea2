// Refinement of every stored basis before the cut, and the two sorts of the store by quality.
#include "solutions/refine_and_sort.hpp"

#include <optional>

#include "solutions/basis_quality.hpp"
#include "solutions/basis_refinement.hpp"
#include "solutions/solution_sorting.hpp"

namespace orv {

void RefineAndSortSolutions(SolutionStore& store, const RunParameters& parameters, const DirectionStore& directions,
                            RunObserver& events) {
  RefinementWorkspace work(parameters.NumberOfReflections);
  RefinementRows rows;
  for (int i = 1; i <= store.NumberOfSolutions && i <= MaxStoredSolutions; ++i) {
    SolutionRecord& record = store(i);
    // Eight tolerances from twice the criterion down to a quarter of it; each refinement starts
    // from the best basis so far. The reflections of a basis are indexed once for all tolerances,
    // and a tolerance that takes the same reflections as the one before, from the same basis, would
    // make the same candidate again, which did not do better: it is passed over.
    IndexForRefinement(record.SolutionBasis, parameters, directions, static_cast<int>(work.X.size()), rows);
    int takenBefore = -1;
    for (int t = 8; t >= 1; --t) {
      const double tolerance = t * parameters.TheMainCriterion * 0.25;
      const int taken = rows.Within(tolerance);
      if (taken == takenBefore) continue;
      takenBefore = taken;
      Mat3 candidate = record.SolutionBasis;
      bool failed = true;
      RefineBasisFromRows(tolerance, rows, candidate, failed, parameters, work);
      if (failed) continue;
      // Only a better candidate is taken, so its scoring stops once it cannot reach the basis's
      // quality.
      const std::optional<ScoredBasis> scored =
          BasisQualityIfReaching(candidate, parameters, directions, record.SolutionQuality);
      if (scored && scored->quality > record.SolutionQuality) {
        record.SolutionBasis = candidate;
        record.SolutionQuality = scored->quality;
        record.SolutionCounts = scored->counts;
        IndexForRefinement(record.SolutionBasis, parameters, directions, static_cast<int>(work.X.size()), rows);
        takenBefore = -1;
      }
    }
  }
  SortSolutionsByQuality(store);
  events.SolutionsSorted();
}

void ResortSolutions(SolutionStore& store, RunObserver& events) {
  SortSolutionsByQuality(store);
  events.SolutionsResorted();
}

}  // namespace orv
