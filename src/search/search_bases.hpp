// The search over reflection triples and fourth directions that fills the solution store.
#pragma once

#include "run_data/run_parameters.hpp"
#include "search/sublattice_tables.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

// Runs the whole search. Search type 4 writes its crossings into the working slot N+1 of the
// direction store; nothing else in it changes.
void SearchBases(const RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                 SolutionStore& store, RunObserver& events);

}  // namespace orv
