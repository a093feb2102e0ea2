// Candidate reciprocal bases of a quadruple: its unit-volume basis and the superlattices of index m.
#pragma once

#include <array>

#include "run_data/run_parameters.hpp"
#include "search/sublattice_tables.hpp"

namespace orv {

// The longest sublattice table (index 16) has 651 matrices.
constexpr int kMaxCandidatesPerIndex = 651;

// A fixed-capacity list, filled anew for every index; nothing is allocated per candidate.
struct CandidateList {
  std::array<Mat3, kMaxCandidatesPerIndex> bases;
  int count = 0;
};

// The reciprocal basis on which d_p, d_q, d_r carry 100, 010, 001 and d_s carries 111, det 1.
// p, q, r is an oriented triple; s may be the working slot N+1.
Mat3 BasisFromQuadruple(const DirectionStore& directions, int p, int q, int r, int s);

// The candidates of sublattice index m (1..16): W itself for m = 1, else T W for every T of table m.
void SublatticeCandidates(int m, const Mat3& W, const SublatticeTables& tables, CandidateList& candidates);

}  // namespace orv
