// After the search: refine, sort, cut and scale the solutions, then rank them for the report.
#include "solutions/post_process.hpp"

#include <algorithm>
#include <cmath>

#include "solutions/refine_and_sort.hpp"

namespace orv {

namespace {

// Brings every kept basis to the given cell volume, keeping the sign of its determinant. A basis of
// zero volume has no scale factor and is left as it is.
void ScaleToCellVolume(SolutionStore& store, double volume) {
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    Mat3& basis = store(i).SolutionBasis;
    const double s = VolumeScaleFactor(basis, volume);
    if (!std::isfinite(s)) continue;
    basis = ScaleMatrix(basis, s);
  }
}

}  // namespace

void PrepareSolutions(const RunParameters& parameters, const DirectionStore& directions, SolutionStore& store,
                      RunObserver& events) {
  events.PostProcessingStarted();
  RefineAndSortSolutions(store, parameters, directions, events);
  store.NumberOfSolutions = std::min(store.NumberOfSolutions, parameters.MaxNumberOfSavedBases);
  ScaleToCellVolume(store, parameters.VolumeOfPrimitiveCell);
}

void RankSolutionsForReport(const RunParameters& parameters, const DirectionStore& directions,
                            SolutionStore& store, RunObserver& events) {
  const int type = parameters.SortSolutionsByQualityType;
  if (type != 0 && type != 1) return;
  ApplyParityPenalty(store, parameters, directions);
  ResortSolutions(store, events);
}

}  // namespace orv
