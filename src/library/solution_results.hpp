// The library's view of the ranked solutions of a run.
#pragma once

#include <vector>

#include "orvanthel/result.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/grain_set.hpp"
#include "solutions/solution_lattices.hpp"
#include "solutions/solution_orientations.hpp"

namespace orv {

// One Solution per kept solution, in report order, with the numbers the results file and the JSON
// results show for it, its orientation and, for solution 1 against a reference, its strain.
std::vector<orvanthel::Solution> SolutionsOfRun(const RunParameters& parameters, const DirectionStore& directions,
                                                const SolutionStore& store, const SolutionLattices& lattices,
                                                const SolutionOrientations& orientations);

// The grains of a run of several, with the spots they share and those no grain indexes.
void AddGrainsOfRun(const GrainSet& grains, orvanthel::IndexingResult& result);

}  // namespace orv
