// PLACEHOLDER: replaced by the search work.
#include "search/basis_quality.hpp"
namespace orv {
ScoredBasis CandidateQuality(const Mat3&, const RunParameters&, const DirectionStore&) { return {}; }
ScoredBasis BasisQuality(const Mat3&, const RunParameters&, const DirectionStore&) { return {}; }
}  // namespace orv
