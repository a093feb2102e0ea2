// The library's view of the ranked solutions of a run.
#pragma once

#include <vector>

#include "orvanthel/result.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

// One Solution per kept solution, in report order, with the numbers the results file and the JSON
// results show for it.
std::vector<orvanthel::Solution> SolutionsOfRun(const RunParameters& parameters, const DirectionStore& directions,
                                                const SolutionStore& store, const SolutionLattices& lattices);

}  // namespace orv
