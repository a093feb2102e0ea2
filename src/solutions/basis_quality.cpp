// Support counts and quality of a basis: reflections indexed within half and within the tolerance.
#include "solutions/basis_quality.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

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

inline double WeightedCounts(const RunParameters& parameters, SupportCounts counts) {
  return parameters.WeightsForSortingBases_2 * counts.nFull + parameters.WeightsForSortingBases_1 * counts.nHalf;
}

// The largest of NINT(|x_1|), NINT(|x_2|), NINT(|x_3|).
inline int LargestIndex(const Vec3& x) {
  int h = Nint(std::fabs(x[0]));
  const int h2 = Nint(std::fabs(x[1]));
  const int h3 = Nint(std::fabs(x[2]));
  if (h2 > h) h = h2;
  if (h3 > h) h = h3;
  return h;
}

// The support of scanned reflections. For tolerances between 0 and a right angle the limits are
// decided on the cosine where it lies clearly on one side, so that the arc cosine is rarely
// needed; any other tolerance takes the angle itself.
class SupportLimits {
 public:
  explicit SupportLimits(const RunParameters& parameters)
      : half_(0.5 * parameters.AngularDeviationCriterion),
        full_(parameters.AngularDeviationCriterion),
        cosineOfHalf_(std::cos(half_)),
        cosineOfFull_(std::cos(full_)),
        cosinesDecide_(full_ > 0.0 && full_ <= 1.5) {}

  // Adds the support of a scanned reflection.
  void Count(const ScannedDirection& scanned, SupportCounts& counts) const {
    if (!scanned.withinBound) return;
    if (cosinesDecide_) {
      if (AngleWithin(scanned.cosine, half_, cosineOfHalf_)) ++counts.nHalf;
      if (AngleWithin(scanned.cosine, full_, cosineOfFull_)) ++counts.nFull;
    } else {
      CountSupport(ClampedArcCos(scanned.cosine), full_, counts);
    }
  }

 private:
  double half_;
  double full_;
  double cosineOfHalf_;
  double cosineOfFull_;
  bool cosinesDecide_;
};

// The support of reflections from the fast scan.
class FastSupport {
 public:
  FastSupport(const RunParameters& parameters, const DirectionStore& directions)
      : parameters_(parameters), directions_(directions), limits_(parameters) {}

  // Adds reflection k's support under the reciprocal basis R with dual D; returns its scan.
  ScannedDirection Count(int k, const Mat3& R, const Mat3& D, SupportCounts& counts) const {
    const ScannedDirection scanned = ScanIndexDirection(directions_(k), R, D, parameters_.MaxAllowedMillerIndex);
    limits_.Count(scanned, counts);
    return scanned;
  }

 private:
  const RunParameters& parameters_;
  const DirectionStore& directions_;
  SupportLimits limits_;
};

// The weights for which the weighted counts never decrease when a count grows, rounding included.
bool WeightsAreMonotone(const RunParameters& parameters) {
  const double w1 = parameters.WeightsForSortingBases_1;
  const double w2 = parameters.WeightsForSortingBases_2;
  return std::isfinite(w1) && std::isfinite(w2) && w1 >= 0.0 && w2 >= 0.0;
}

}  // namespace

ScoredBasis CandidateQuality(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions) {
  Mat3 D{};
  InverseTranspose(R, D, kBasisSingularity);  // |det R| = 1: cannot fail
  const FastSupport support(parameters, directions);
  ScoredBasis scored;
  for (int k = 1; k <= parameters.NumberOfReflections; ++k) support.Count(k, R, D, scored.counts);
  scored.quality = WeightedCounts(parameters, scored.counts);
  return scored;
}

bool CandidateQualityReaches(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions,
                             double needed) {
  if (!WeightsAreMonotone(parameters)) return CandidateQuality(R, parameters, directions).quality >= needed;
  Mat3 D{};
  InverseTranspose(R, D, kBasisSingularity);  // |det R| = 1: cannot fail
  const FastSupport support(parameters, directions);
  SupportCounts counts;
  const int n = parameters.NumberOfReflections;
  for (int k = 1; k <= n; ++k) {
    // The counted quality can only grow; the remaining reflections add at most one to each count.
    if (WeightedCounts(parameters, counts) >= needed) return true;
    const int remaining = n - k + 1;
    if (WeightedCounts(parameters, {counts.nHalf + remaining, counts.nFull + remaining}) < needed) return false;
    support.Count(k, R, D, counts);
  }
  return WeightedCounts(parameters, counts) >= needed;
}

std::optional<ScoredBasis> BasisQualityIfReaching(const Mat3& B, const RunParameters& parameters,
                                                  const DirectionStore& directions, double floor) {
  Mat3 R{};
  InverseTranspose(B, R, kBasisSingularity);
  const FastSupport support(parameters, directions);
  const bool canStop = WeightsAreMonotone(parameters) && !(floor == -std::numeric_limits<double>::infinity());
  ScoredBasis scored;
  double hMax = 0.0;
  const int n = parameters.NumberOfReflections;
  for (int k = 1; k <= n; ++k) {
    // The counts can only grow and Hmax only rise, which lowers the quality: every remaining
    // reflection counted in both counts, with Hmax as it stands, bounds the quality from above.
    if (canStop) {
      const int remaining = n - k + 1;
      const SupportCounts best = {scored.counts.nHalf + remaining, scored.counts.nFull + remaining};
      if (WeightedCounts(parameters, best) - 0.000001 * hMax < floor) return std::nullopt;
    }
    const ScannedDirection scanned = support.Count(k, R, B, scored.counts);
    if (!scanned.withinBound) continue;  // out-of-bound indices count nowhere, not even in Hmax
    const int h = LargestIndex(scanned.x);
    if (h > hMax) hMax = h;
  }
  scored.quality = WeightedCounts(parameters, scored.counts) - 0.000001 * hMax;
  return scored;
}

std::vector<ScannedDirection> ScanReflections(const Mat3& B, const RunParameters& parameters,
                                              const DirectionStore& directions) {
  Mat3 R{};
  InverseTranspose(B, R, kBasisSingularity);
  std::vector<ScannedDirection> scans;
  scans.reserve(static_cast<std::size_t>(std::max(parameters.NumberOfReflections, 0)));
  for (int k = 1; k <= parameters.NumberOfReflections; ++k)
    scans.push_back(ScanIndexDirection(directions(k), R, B, parameters.MaxAllowedMillerIndex));
  return scans;
}

ScoredBasis QualityOfScans(const std::vector<ScannedDirection>& scans, const RunParameters& parameters) {
  const SupportLimits limits(parameters);
  ScoredBasis scored;
  double hMax = 0.0;
  for (const ScannedDirection& scanned : scans) {
    limits.Count(scanned, scored.counts);
    if (!scanned.withinBound) continue;
    const int h = LargestIndex(scanned.x);
    if (h > hMax) hMax = h;
  }
  scored.quality = WeightedCounts(parameters, scored.counts) - 0.000001 * hMax;
  return scored;
}

ScoredBasis BasisQuality(const Mat3& B, const RunParameters& parameters, const DirectionStore& directions) {
  return *BasisQualityIfReaching(B, parameters, directions, -std::numeric_limits<double>::infinity());
}

ScoredBasis CandidateQualityLiteral(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions) {
  Mat3 D{};
  InverseTranspose(R, D, kBasisSingularity);  // |det R| = 1: cannot fail
  const double tolerance = parameters.AngularDeviationCriterion;
  ScoredBasis scored;
  for (int k = 1; k <= parameters.NumberOfReflections; ++k) {
    const IndexedDirection indexed = IndexDirectionLiteral(directions(k), R, D, parameters.MaxAllowedMillerIndex);
    if (indexed.withinBound) CountSupport(indexed.theta, tolerance, scored.counts);
  }
  scored.quality = WeightedCounts(parameters, scored.counts);
  return scored;
}

ScoredBasis BasisQualityLiteral(const Mat3& B, const RunParameters& parameters, const DirectionStore& directions) {
  Mat3 R{};
  InverseTranspose(B, R, kBasisSingularity);
  const double tolerance = parameters.AngularDeviationCriterion;
  ScoredBasis scored;
  double hMax = 0.0;
  for (int k = 1; k <= parameters.NumberOfReflections; ++k) {
    const IndexedDirection indexed = IndexDirectionLiteral(directions(k), R, B, parameters.MaxAllowedMillerIndex);
    if (!indexed.withinBound) continue;  // out-of-bound indices count nowhere, not even in Hmax
    CountSupport(indexed.theta, tolerance, scored.counts);
    int h = Nint(std::fabs(indexed.x[0]));
    const int h2 = Nint(std::fabs(indexed.x[1]));
    const int h3 = Nint(std::fabs(indexed.x[2]));
    if (h2 > h) h = h2;
    if (h3 > h) h = h3;
    if (h > hMax) hMax = h;
  }
  scored.quality = WeightedCounts(parameters, scored.counts) - 0.000001 * hMax;
  return scored;
}

}  // namespace orv
