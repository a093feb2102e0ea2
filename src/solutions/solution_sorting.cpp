// Ordering of the store by quality and the odd-index balance of a basis.
#include "solutions/solution_sorting.hpp"

#include <algorithm>
#include <utility>

namespace orv {

void SortSolutionsByQuality(SolutionStore& store) {
  const int n = std::min(store.NumberOfSolutions, MaxStoredSolutions);
  // No early exit: the passes are those of the plain bubble sort whatever the order.
  for (int p = n - 1; p >= 1; --p)
    for (int j = 1; j <= p; ++j)
      if (store(j).SolutionQuality < store(j + 1).SolutionQuality) std::swap(store(j), store(j + 1));
}

double OddIndexBalanceFactor(const std::array<int, 3>& oddCounts) {
  const int lo = std::min({oddCounts[0], oddCounts[1], oddCounts[2]});
  const int hi = std::max({1, oddCounts[0], oddCounts[1], oddCounts[2]});
  const double r = static_cast<double>(lo) / static_cast<double>(hi);
  if (r <= 0.5) return 4.0 * r * (1.0 - r);
  return 1.0;
}

}  // namespace orv
