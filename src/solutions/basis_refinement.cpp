// Least-squares refinement of a direct basis against the reflections it indexes closely.
#include "solutions/basis_refinement.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

double MaxIndexDeviation(const Vec3& x) {
  double largest = 0.0;
  for (int k = 0; k < 3; ++k) {
    const double deviation = std::fabs(x[k] - static_cast<double>(Nint(x[k])));
    if (std::isnan(deviation)) return deviation;
    if (deviation > largest) largest = deviation;
  }
  return largest;
}

void FitReciprocalBasis(const RefinementWorkspace& work, int m, Mat3& fitted, bool& singular) {
  Mat3 normal{};
  Mat3 projected{};
  for (int i = 0; i < m; ++i) {
    const Vec3& x = work.X[static_cast<std::size_t>(i)];
    const Vec3& y = work.Y[static_cast<std::size_t>(i)];
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) {
        normal[a][b] += x[a] * x[b];
        projected[a][b] += x[a] * y[b];
      }
  }
  Mat3 normalInverse;
  singular = InvertMatrix(normal, normalInverse, kNormalMatrixSingularity) != kStatusSuccess;
  if (singular) return;
  fitted = MultiplyMatrices(normalInverse, projected);
}

int RefinementRows::Within(double tolerance) const {
  int taken = 0;
  for (double d : deviation)
    if (d <= tolerance) ++taken;
  return taken;
}

void IndexForRefinement(const Mat3& basis, const RunParameters& parameters, const DirectionStore& directions,
                        int reflections, RefinementRows& rows) {
  rows.deviation.clear();
  rows.X.clear();
  rows.Y.clear();
  Mat3 reciprocal;
  rows.invertible = InverseTranspose(basis, reciprocal, kRefinementSingularity) == kStatusSuccess;
  if (!rows.invertible) return;
  const int n = std::min(parameters.NumberOfReflections, reflections);
  const long long maxIndex = parameters.MaxAllowedMillerIndex;
  for (int j = 1; j <= n; ++j) {
    const Vec3& u = directions(j);
    // The angle is not needed: the scan alone (IndexDirection without its arc cosine).
    const ScannedDirection indexed = ScanIndexDirection(u, reciprocal, basis, parameters.MaxAllowedMillerIndex);
    // A direction that has no index direction at all (a zero vector) carries no information.
    if (indexed.scale == 0) continue;
    const Vec3& x = indexed.x;
    const double deviation = MaxIndexDeviation(x);
    // NaN passes no tolerance.
    if (std::isnan(deviation)) continue;
    const int h = Nint(x[0]);
    const int k = Nint(x[1]);
    const int l = Nint(x[2]);
    // Widened before abs: a saturated NINT may be the most negative int.
    if (std::max({std::llabs(h), std::llabs(k), std::llabs(l)}) > maxIndex) continue;
    Vec3 predicted;
    for (int c = 0; c < 3; ++c) predicted[c] = h * reciprocal[0][c] + k * reciprocal[1][c] + l * reciprocal[2][c];
    const double length = VectorNorm(predicted);
    rows.deviation.push_back(deviation);
    rows.X.push_back({static_cast<double>(h), static_cast<double>(k), static_cast<double>(l)});
    rows.Y.push_back({length * u[0], length * u[1], length * u[2]});
  }
}

void RefineBasis(double tolerance, Mat3& basis, bool& failed, const RunParameters& parameters,
                 const DirectionStore& directions, RefinementWorkspace& work) {
  RefinementRows rows;
  IndexForRefinement(basis, parameters, directions, static_cast<int>(work.X.size()), rows);
  RefineBasisFromRows(tolerance, rows, basis, failed, parameters, work);
}

void RefineBasisFromRows(double tolerance, const RefinementRows& rows, Mat3& basis, bool& failed,
                         const RunParameters& parameters, RefinementWorkspace& work) {
  failed = true;
  if (!rows.invertible) return;
  int m = 0;
  for (std::size_t r = 0; r < rows.deviation.size(); ++r) {
    if (!(rows.deviation[r] <= tolerance)) continue;
    work.X[static_cast<std::size_t>(m)] = rows.X[r];
    work.Y[static_cast<std::size_t>(m)] = rows.Y[r];
    ++m;
  }

  const int fewest = std::max(4, Nint(parameters.NumberOfReflections * 0.25));
  if (m <= fewest) return;

  failed = false;
  Mat3 fitted;
  bool singular = false;
  FitReciprocalBasis(work, m, fitted, singular);
  if (singular) return;  // nothing to refine with; the basis stays as it was
  Mat3 refined;
  if (InverseTranspose(fitted, refined, kRefinementSingularity) != kStatusSuccess) {
    failed = true;
    return;
  }
  basis = refined;
}

}  // namespace orv
