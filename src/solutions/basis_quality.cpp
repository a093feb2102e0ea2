// Support counts and quality of a basis: reflections indexed within half and within the tolerance.
#include "solutions/basis_quality.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {
namespace {

// Counts one indexed reflection: within half the tolerance it counts in both, within the
// tolerance in nFull only. Both limits are inclusive.
inline void CountSupport(double theta, double tolerance, SupportCounts& counts) {
  if (theta <= 0.5 * tolerance) ++counts.nHalf;
  if (theta <= tolerance) ++counts.nFull;
}

}  // namespace

ScoredBasis CandidateQuality(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions) {
  Mat3 D{};
  InverseTranspose(R, D, kBasisSingularity);  // |det R| = 1: cannot fail
  const double tolerance = parameters.AngularDeviationCriterion;
  ScoredBasis scored;
  for (int k = 1; k <= parameters.NumberOfReflections; ++k) {
    const IndexedDirection indexed = IndexDirection(directions(k), R, D, parameters.MaxAllowedMillerIndex);
    if (indexed.withinBound) CountSupport(indexed.theta, tolerance, scored.counts);
  }
  scored.quality = parameters.WeightsForSortingBases_2 * scored.counts.nFull +
                   parameters.WeightsForSortingBases_1 * scored.counts.nHalf;
  return scored;
}

ScoredBasis BasisQuality(const Mat3& B, const RunParameters& parameters, const DirectionStore& directions) {
  Mat3 R{};
  InverseTranspose(B, R, kBasisSingularity);
  const double tolerance = parameters.AngularDeviationCriterion;
  ScoredBasis scored;
  double hMax = 0.0;
  for (int k = 1; k <= parameters.NumberOfReflections; ++k) {
    const IndexedDirection indexed = IndexDirection(directions(k), R, B, parameters.MaxAllowedMillerIndex);
    if (!indexed.withinBound) continue;  // out-of-bound indices count nowhere, not even in Hmax
    CountSupport(indexed.theta, tolerance, scored.counts);
    int h = Nint(std::fabs(indexed.x[0]));
    const int h2 = Nint(std::fabs(indexed.x[1]));
    const int h3 = Nint(std::fabs(indexed.x[2]));
    if (h2 > h) h = h2;
    if (h3 > h) h = h3;
    if (h > hMax) hMax = h;
  }
  scored.quality = parameters.WeightsForSortingBases_2 * scored.counts.nFull +
                   parameters.WeightsForSortingBases_1 * scored.counts.nHalf - 0.000001 * hMax;
  return scored;
}

}  // namespace orv
