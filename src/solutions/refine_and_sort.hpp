// Refinement of the stored bases by least squares, the parity penalty, and the sorts by quality.
#pragma once

#include <array>

#include "run_data/run_parameters.hpp"
#include "run_data/run_events.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

// Refines every stored basis at eight decreasing index tolerances, then sorts best first.
void RefineAndSortSolutions(SolutionStore& store, const RunParameters& parameters, const DirectionStore& directions,
                            RunObserver& events);

// Multiplies each kept solution's quality by its odd-index balance factor.
void ApplyParityPenalty(SolutionStore& store, const RunParameters& parameters, const DirectionStore& directions);

// The same stable sort again, after the parity penalty.
void ResortSolutions(SolutionStore& store, RunObserver& events);

// 1 for an odd index (negative odd numbers included), 0 for an even one.
std::array<int, 3> OddIndexFlags(int h, int k, int l);

}  // namespace orv
