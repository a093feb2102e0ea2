// The quality figures of a basis: support counts within the tolerance and the weighted score.
#pragma once

#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

struct ScoredBasis {
  SupportCounts counts;
  double quality = 0.0;
};

// The cheap first score of a candidate reciprocal basis R: W2 nFull + W1 nHalf.
ScoredBasis CandidateQuality(const Mat3& R, const RunParameters& parameters, const DirectionStore& directions);

// The score of a direct basis B: W2 nFull + W1 nHalf - 0.000001 Hmax.
ScoredBasis BasisQuality(const Mat3& B, const RunParameters& parameters, const DirectionStore& directions);

}  // namespace orv
