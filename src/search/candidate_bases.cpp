// PLACEHOLDER: replaced by the geometry kernel work.
#include "search/candidate_bases.hpp"
namespace orv {
Mat3 BasisFromQuadruple(const DirectionStore&, int, int, int, int) { return {}; }
void SublatticeCandidates(int, const Mat3&, const SublatticeTables&, CandidateList& candidates) { candidates.count = 0; }
}  // namespace orv
