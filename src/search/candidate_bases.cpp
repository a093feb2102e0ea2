// Candidate reciprocal bases of a quadruple: the unit-volume basis and its superlattices of index m.
#include "search/candidate_bases.hpp"

#include <cmath>
#include <cstddef>

#include "geometry/constants.hpp"

namespace orv {

Mat3 BasisFromQuadruple(const DirectionStore& directions, int p, int q, int r, int s) {
  const Vec3& dp = directions(p);
  const Vec3& dq = directions(q);
  const Vec3& dr = directions(r);
  const Vec3& ds = directions(s);
  // Cramer's rule: D d_s = a d_p + b d_q + c d_r.
  const double d = Determinant({dp, dq, dr});
  const double a = Determinant({ds, dq, dr});
  const double b = Determinant({dp, ds, dr});
  const double c = Determinant({dp, dq, ds});
  const double f = 1.0 / std::pow(d * a * b * c, kOneThird);
  Mat3 w;
  for (int j = 0; j < 3; ++j) {
    w[0][j] = f * a * dp[j];
    w[1][j] = f * b * dq[j];
    w[2][j] = f * c * dr[j];
  }
  return w;
}

void SublatticeCandidates(int m, const Mat3& W, const SublatticeTables& tables, CandidateList& candidates) {
  candidates.count = 0;
  if (m == 1) {
    candidates.bases[0] = W;
    candidates.count = 1;
    return;
  }
  if (m < 2 || m > kMaxSublatticeIndex) return;
  const std::vector<Mat3>& table = tables.Table(m);
  for (const Mat3& t : table) {
    if (candidates.count >= kMaxCandidatesPerIndex) break;
    candidates.bases[static_cast<std::size_t>(candidates.count)] = MultiplyMatrices(t, W);
    ++candidates.count;
  }
}

}  // namespace orv
