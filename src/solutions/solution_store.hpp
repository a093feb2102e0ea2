// The store of at most 128 distinct accepted direct bases: offering a basis, similarity, the worst record.
#pragma once

#include "run_data/run_events.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

// Offers one accepted direct basis to the store; reports what it did to `events`.
void SaveBasis(SolutionStore& store, const Mat3& basis, SupportCounts counts, double quality, RunObserver& events);

// True when the basis is similar to a stored solution (which it then replaced or left alone).
bool MergeIfSimilar(SolutionStore& store, const Mat3& basis, SupportCounts counts, double quality, RunObserver& events);

// Sets WorstSolutionIndex to the highest-numbered record among those of lowest quality.
void FindWorstSolution(SolutionStore& store);

// The lowest quality of a full store with finite qualities: the store drops every offer below it,
// and it never falls; minus infinity otherwise, which leaves every candidate to be scored.
double OfferFloor(const SolutionStore& store);

}  // namespace orv
