// Least-squares fit of a reciprocal basis to the directions of indexed reflections alone.
#include "solutions/direction_fit.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace orv {

namespace {

constexpr int kUnknowns = 9;
using Square9 = std::array<std::array<double, kUnknowns>, kUnknowns>;
constexpr int kLargestJacobiSweeps = 60;
// The smallest eigenvalue must lie this far below the next one for the fit to be determined.
constexpr double kSeparation = 4.0;

// Eigenvalues (diagonal of a on return) and eigenvectors (columns of v) of a symmetric matrix by
// cyclic Jacobi rotations.
void JacobiEigen(Square9& a, Square9& v) {
  for (int i = 0; i < kUnknowns; ++i)
    for (int j = 0; j < kUnknowns; ++j) v[i][j] = i == j ? 1.0 : 0.0;
  for (int sweep = 0; sweep < kLargestJacobiSweeps; ++sweep) {
    double off = 0.0;
    double diagonal = 0.0;
    for (int i = 0; i < kUnknowns; ++i) {
      diagonal += a[i][i] * a[i][i];
      for (int j = i + 1; j < kUnknowns; ++j) off += a[i][j] * a[i][j];
    }
    if (off <= 1e-30 * diagonal || off == 0.0) return;
    for (int p = 0; p < kUnknowns; ++p)
      for (int q = p + 1; q < kUnknowns; ++q) {
        if (a[p][q] == 0.0) continue;
        const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
        const double t = (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
        const double c = 1.0 / std::sqrt(t * t + 1.0);
        const double s = t * c;
        for (int k = 0; k < kUnknowns; ++k) {
          const double akp = a[k][p];
          const double akq = a[k][q];
          a[k][p] = c * akp - s * akq;
          a[k][q] = s * akp + c * akq;
        }
        for (int k = 0; k < kUnknowns; ++k) {
          const double apk = a[p][k];
          const double aqk = a[q][k];
          a[p][k] = c * apk - s * aqk;
          a[q][k] = s * apk + c * aqk;
        }
        for (int k = 0; k < kUnknowns; ++k) {
          const double vkp = v[k][p];
          const double vkq = v[k][q];
          v[k][p] = c * vkp - s * vkq;
          v[k][q] = s * vkp + c * vkq;
        }
      }
  }
}

}  // namespace

bool FitBasisToDirections(const std::vector<DirectionObservation>& observations, Mat3& reciprocal) {
  if (observations.size() < 4) return false;
  // (h R) x u is linear in the entries R(i, c), numbered 3 i + c; row k of M is its component k.
  Square9 normal{};
  for (const DirectionObservation& o : observations) {
    const Vec3& h = o.indices;
    const Vec3& u = o.direction;
    std::array<std::array<double, kUnknowns>, 3> m{};
    for (int i = 0; i < 3; ++i) {
      // x: g_y u_z - g_z u_y;  y: g_z u_x - g_x u_z;  z: g_x u_y - g_y u_x, with g_c = sum_i h_i R(i, c).
      m[0][3 * i + 1] = h[i] * u[2];
      m[0][3 * i + 2] = -h[i] * u[1];
      m[1][3 * i + 2] = h[i] * u[0];
      m[1][3 * i + 0] = -h[i] * u[2];
      m[2][3 * i + 0] = h[i] * u[1];
      m[2][3 * i + 1] = -h[i] * u[0];
    }
    for (int r = 0; r < kUnknowns; ++r)
      for (int c = 0; c < kUnknowns; ++c)
        normal[r][c] += o.weight * (m[0][r] * m[0][c] + m[1][r] * m[1][c] + m[2][r] * m[2][c]);
  }
  Square9 vectors{};
  JacobiEigen(normal, vectors);
  int smallest = 0;
  for (int k = 1; k < kUnknowns; ++k)
    if (normal[k][k] < normal[smallest][smallest]) smallest = k;
  double next = HUGE_VAL;
  for (int k = 0; k < kUnknowns; ++k)
    if (k != smallest) next = std::min(next, normal[k][k]);
  if (!(next > kSeparation * std::max(normal[smallest][smallest], 0.0)) || !(next > 0.0)) return false;

  Mat3 fitted{};
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < 3; ++c) fitted[i][c] = vectors[3 * i + c][smallest];
  double along = 0.0;
  for (const DirectionObservation& o : observations) {
    for (int c = 0; c < 3; ++c)
      along += (o.indices[0] * fitted[0][c] + o.indices[1] * fitted[1][c] + o.indices[2] * fitted[2][c]) * o.direction[c];
  }
  if (along < 0.0) fitted = ScaleMatrix(fitted, -1.0);
  reciprocal = fitted;
  return true;
}

}  // namespace orv
