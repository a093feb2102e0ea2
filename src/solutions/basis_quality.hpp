// The quality figures of a basis: support counts within the tolerance and the weighted score.
#pragma once

#include <optional>
#include <vector>

#include "geometry/index_direction.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

struct ScoredBasis {
  SupportCounts counts;
  double quality = 0.0;
};

// The cheap first score of a candidate reciprocal basis R: W2 nFull + W1 nHalf.
ScoredBasis CandidateQuality(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions);

// Whether CandidateQuality(R).quality >= needed, the acceptance test, counting only as far as the
// verdict is open: it stops once the counted part reaches `needed` or once the reflections not yet
// counted can no longer lift the quality to it. With weights that are not finite and non-negative
// it counts everything.
bool CandidateQualityReaches(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions,
                             double needed);

// The score of a direct basis B: W2 nFull + W1 nHalf - 0.000001 Hmax.
ScoredBasis BasisQuality(const Mat3& B, const RunParameters& parameters, const DirectionStore& directions);

// The scans (ScanIndexDirection against the reciprocal basis) of reflections 1..n under the direct
// basis B, kept so that BasisQuality and SupportedObservations of one basis come from one indexing.
std::vector<ScannedDirection> ScanReflections(const Mat3& B, const RunParameters& parameters,
                                              const DirectionStore& directions);

// BasisQuality(B) from ScanReflections(B), bit for bit.
ScoredBasis QualityOfScans(const std::vector<ScannedDirection>& scans, const RunParameters& parameters);

// BasisQuality, or nothing as soon as the quality is certain to stay below `floor` (counting every
// remaining reflection in both counts cannot lift it there). Counts everything for a floor of
// minus infinity or weights that are not finite and non-negative.
std::optional<ScoredBasis> BasisQualityIfReaching(const Mat3& B, const RunParameters& parameters,
                                                  const DirectionStore& directions, double floor);

// CandidateQuality and BasisQuality as they read, on IndexDirectionLiteral: the reference for the
// faster functions above, which must give the same results bit for bit.
ScoredBasis CandidateQualityLiteral(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions);
ScoredBasis BasisQualityLiteral(const Mat3& B, const RunParameters& parameters, const DirectionStore& directions);

}  // namespace orv
