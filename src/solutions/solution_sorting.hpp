// Ordering of the store by quality and the odd-index balance of a basis.
#pragma once

#include <array>

#include "solutions/solution_store.hpp"

namespace orv {

// Stable bubble sort of records 1..NumberOfSolutions, best quality first; a NaN never moves.
void SortSolutionsByQuality(SolutionStore& store);

// The factor for the numbers of odd h, k and l among the supported reflections: 4 r (1 - r) for
// r = min / max(1, max) up to 0.5, and 1 above.
double OddIndexBalanceFactor(const std::array<int, 3>& oddCounts);

}  // namespace orv
