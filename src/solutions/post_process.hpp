// After the search: refine, sort, cut and scale the solutions, then rank them for the report.
#pragma once

#include "run_data/run_events.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

// Refines every stored basis and sorts the store, keeps the best MaxNumberOfSavedBases and brings
// each kept basis to VolumeOfPrimitiveCell.
void PrepareSolutions(const RunParameters& parameters, const DirectionStore& directions, SolutionStore& store,
                      RunObserver& events);

// The parity penalty and the second sort, which fix the order in which the solutions are reported.
void RankSolutionsForReport(const RunParameters& parameters, const DirectionStore& directions,
                            SolutionStore& store, RunObserver& events);

}  // namespace orv
