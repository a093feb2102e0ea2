// Refinement of every stored basis before the cut, and the two sorts of the store by quality.
#include "solutions/refine_and_sort.hpp"

#include "solutions/basis_quality.hpp"
#include "solutions/basis_refinement.hpp"
#include "solutions/solution_sorting.hpp"

namespace orv {

void RefineAndSortSolutions(SolutionStore& store, const RunParameters& parameters, const DirectionStore& directions,
                            RunObserver& events) {
  RefinementWorkspace work(parameters.NumberOfReflections);
  for (int i = 1; i <= store.NumberOfSolutions && i <= MaxStoredSolutions; ++i) {
    SolutionRecord& record = store(i);
    // Eight tolerances from twice the criterion down to a quarter of it; each refinement starts
    // from the best basis so far.
    for (int t = 8; t >= 1; --t) {
      const double tolerance = t * parameters.TheMainCriterion * 0.25;
      Mat3 candidate = record.SolutionBasis;
      bool failed = true;
      RefineBasis(tolerance, candidate, failed, parameters, directions, work);
      if (failed) continue;
      const ScoredBasis scored = BasisQuality(candidate, parameters, directions);
      if (scored.quality > record.SolutionQuality) {
        record.SolutionBasis = candidate;
        record.SolutionQuality = scored.quality;
        record.SolutionCounts = scored.counts;
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
