// The penalty on bases under which the odd Miller indices are unevenly spread over h, k and l.
#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"
#include "solutions/refine_and_sort.hpp"
#include "solutions/solution_sorting.hpp"

namespace orv {

std::array<int, 3> OddIndexFlags(int h, int k, int l) { return {h % 2 != 0, k % 2 != 0, l % 2 != 0}; }

namespace {

// Numbers of odd h, k and l among the reflections indexed within the bound and strictly within
// the angular tolerance.
std::array<int, 3> CountOddIndices(const Mat3& basis, const RunParameters& parameters,
                                   const DirectionStore& directions) {
  std::array<int, 3> odd = {0, 0, 0};
  Mat3 reciprocal;
  // A basis without a dual supports no reflection.
  if (InverseTranspose(basis, reciprocal, kBasisSingularity) != kStatusSuccess) return odd;
  for (int j = 1; j <= parameters.NumberOfReflections && j <= kMaxReflections; ++j) {
    const IndexedDirection indexed =
        IndexDirection(directions(j), reciprocal, basis, parameters.MaxAllowedMillerIndex);
    if (!indexed.withinBound || !(indexed.theta < parameters.AngularDeviationCriterion)) continue;
    const std::array<int, 3> flags = OddIndexFlags(Nint(indexed.x[0]), Nint(indexed.x[1]), Nint(indexed.x[2]));
    for (int k = 0; k < 3; ++k) odd[static_cast<std::size_t>(k)] += flags[static_cast<std::size_t>(k)];
  }
  return odd;
}

}  // namespace

void ApplyParityPenalty(SolutionStore& store, const RunParameters& parameters, const DirectionStore& directions) {
  for (int i = 1; i <= store.NumberOfSolutions && i <= MaxStoredSolutions; ++i) {
    SolutionRecord& record = store(i);
    record.SolutionQuality *= OddIndexBalanceFactor(CountOddIndices(record.SolutionBasis, parameters, directions));
  }
}

}  // namespace orv
