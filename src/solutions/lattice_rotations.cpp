// The proper rotations of a lattice, as integer matrices on a basis of it.
#include "solutions/lattice_rotations.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/rotation.hpp"

namespace orv {

namespace {

constexpr double kMetricKept = 1e-6;

// W G W^T at (r, c), summed in one fixed order.
double TurnedMetric(const IntMat3& w, const Mat3& g, int r, int c) {
  double turned = 0.0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) turned += w[r][i] * g[i][j] * w[c][j];
  return turned;
}

double MetricScale(const Mat3& g) {
  double scale = 0.0;
  for (int i = 0; i < 3; ++i) scale = std::fmax(scale, std::fabs(g[i][i]));
  return scale;
}

bool KeepsMetric(const IntMat3& w, const Mat3& g) {
  const double scale = MetricScale(g);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      if (!(std::fabs(TurnedMetric(w, g, r, c) - g[r][c]) <= kMetricKept * scale)) return false;
  return true;
}

}  // namespace

std::vector<IntMat3> ProperLatticeRotations(const Mat3& metric) {
  const IntMat3 identity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  std::vector<IntMat3> rotations{identity};
  // Row r of a rotation keeps the length of basis vector r. The rows of entries -1, 0 and 1 that do
  // (by the very sum KeepsMetric forms) are listed first, so that only their combinations are tried,
  // in the order of the matrices' numbers (row 0 the lowest digits).
  const double scale = MetricScale(metric);
  constexpr int kRows = 27;
  std::vector<int> rowsKeeping[3];
  for (int code = 0; code < kRows; ++code) {
    const IntMat3 single = UnitEntryMatrix(code);  // row 0 is the row of this code, rows 1 and 2 are -1
    for (int r = 0; r < 3; ++r) {
      IntMat3 w{};
      w[r] = single[0];
      if (std::fabs(TurnedMetric(w, metric, r, r) - metric[r][r]) <= kMetricKept * scale)
        rowsKeeping[r].push_back(code);
    }
  }
  for (int code2 : rowsKeeping[2])
    for (int code1 : rowsKeeping[1])
      for (int code0 : rowsKeeping[0]) {
        const IntMat3 w = UnitEntryMatrix(code0 + kRows * code1 + kRows * kRows * code2);
        if (w == identity || IntegerDeterminant(w) != 1) continue;
        if (KeepsMetric(w, metric)) rotations.push_back(w);
      }
  return rotations;
}

std::vector<IntMat3> RotationsKeepingLattice(const std::vector<IntMat3>& rotations, const IntMat3& toConventional) {
  Mat3 t{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) t[r][c] = toConventional[r][c];
  Mat3 inverse{};
  if (InvertMatrix(t, inverse, kBasisSingularity) != kStatusSuccess) return rotations;
  std::vector<IntMat3> kept;
  for (const IntMat3& w : rotations) {
    Mat3 real{};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) real[r][c] = w[r][c];
    const Mat3 primitive = MultiplyMatrices(inverse, MultiplyMatrices(real, t));
    bool integral = true;
    for (const Vec3& row : primitive)
      for (double v : row) integral = integral && std::fabs(v - std::round(v)) <= 1e-6;
    if (integral) kept.push_back(w);
  }
  return kept;
}

std::vector<Mat3> CartesianRotations(const std::vector<IntMat3>& rotations, const Mat3& basis) {
  // Rows: W A = A S^T, so S = (A^-1 W A)^T.
  std::vector<Mat3> cartesian;
  Mat3 inverse{};
  if (InvertMatrix(basis, inverse, kBasisSingularity) != kStatusSuccess) return cartesian;
  for (const IntMat3& w : rotations) {
    Mat3 real{};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) real[r][c] = w[r][c];
    cartesian.push_back(TransposeMatrix(MultiplyMatrices(inverse, MultiplyMatrices(real, basis))));
  }
  return cartesian;
}

}  // namespace orv
