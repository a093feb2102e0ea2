// The reflections of a direction fit and the standard uncertainties of what follows from it.
#include "solutions/direction_fit_covariance.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

constexpr int kParameters = 9;
constexpr double kMisfitCut = 4.0;
constexpr int kLargestPasses = 6;
// A pass that moves no entry of the basis by more than this share of the largest has settled.
constexpr double kSettled = 1e-12;
// Step of the central differences, relative to the largest entry of R.
constexpr double kRelativeStep = 1e-6;
using Square9 = std::array<std::array<double, kParameters>, kParameters>;

// Gauss-Jordan inversion with partial pivoting; false for a singular matrix.
bool Invert9(Square9 a, Square9& inverse) {
  Square9 x{};
  for (int i = 0; i < kParameters; ++i) x[i][i] = 1.0;
  for (int col = 0; col < kParameters; ++col) {
    int pivot = col;
    for (int r = col + 1; r < kParameters; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (!(std::fabs(a[pivot][col]) > 0.0)) return false;
    std::swap(a[pivot], a[col]);
    std::swap(x[pivot], x[col]);
    const double scale = 1.0 / a[col][col];
    for (int c = 0; c < kParameters; ++c) {
      a[col][c] *= scale;
      x[col][c] *= scale;
    }
    for (int r = 0; r < kParameters; ++r) {
      if (r == col || a[r][col] == 0.0) continue;
      const double factor = a[r][col];
      for (int c = 0; c < kParameters; ++c) {
        a[r][c] -= factor * a[col][c];
        x[r][c] -= factor * x[col][c];
      }
    }
  }
  inverse = x;
  return true;
}

// The supported observations of a basis, whose scan of reflection j is `scanOf(j)`.
template <typename Scan>
std::vector<DirectionObservation> SupportedObservationsScanned(const Mat3& direct, const RunParameters& parameters,
                                                               const DirectionStore& directions, int n,
                                                               const Scan& scanOf) {
  std::vector<DirectionObservation> supported;
  std::vector<double> misfits;
  Mat3 reciprocal{};
  if (InverseTranspose(direct, reciprocal, kBasisSingularity) != kStatusSuccess) return supported;
  const AngleLimit tolerance(parameters.AngularDeviationCriterion);
  for (int j = 1; j <= n; ++j) {
    const ScannedDirection indexed = scanOf(j, reciprocal);
    if (!indexed.withinBound || !tolerance.Holds(indexed.cosine)) continue;
    DirectionObservation o;
    o.indices = {static_cast<double>(Nint(indexed.x[0])), static_cast<double>(Nint(indexed.x[1])),
                 static_cast<double>(Nint(indexed.x[2]))};
    Vec3 predicted;
    for (int c = 0; c < 3; ++c)
      predicted[c] =
          o.indices[0] * reciprocal[0][c] + o.indices[1] * reciprocal[1][c] + o.indices[2] * reciprocal[2][c];
    const double length = VectorNorm(predicted);
    double norm = 0.0;
    if (!(length > 0.0) || NormalizeVector(directions(j), o.direction, norm) != kStatusSuccess) continue;
    o.weight = 1.0 / (length * length);
    supported.push_back(o);
    misfits.push_back(ClampedArcCos(indexed.cosine));
  }
  if (supported.empty()) return supported;
  std::vector<double> sorted = misfits;
  std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() / 2), sorted.end());
  const double cut = kMisfitCut * sorted[sorted.size() / 2];
  std::vector<DirectionObservation> kept;
  for (std::size_t k = 0; k < supported.size(); ++k)
    if (misfits[k] <= cut) kept.push_back(supported[k]);
  return kept;
}

}  // namespace

std::vector<DirectionObservation> SupportedObservations(const Mat3& direct, const RunParameters& parameters,
                                                        const DirectionStore& directions) {
  const int n = std::min(parameters.NumberOfReflections, kMaxReflections);
  return SupportedObservationsScanned(direct, parameters, directions, n, [&](int j, const Mat3& reciprocal) {
    return ScanIndexDirection(directions(j), reciprocal, direct, parameters.MaxAllowedMillerIndex);
  });
}

std::vector<DirectionObservation> SupportedObservationsOfScans(const Mat3& direct,
                                                               const std::vector<ScannedDirection>& scans,
                                                               const RunParameters& parameters,
                                                               const DirectionStore& directions) {
  const int n = std::min({parameters.NumberOfReflections, kMaxReflections, static_cast<int>(scans.size())});
  return SupportedObservationsScanned(direct, parameters, directions, n, [&scans](int j, const Mat3&) {
    return scans[static_cast<std::size_t>(j - 1)];
  });
}

Mat3 LeastSquaresBasis(const Mat3& directBasis, const RunParameters& parameters, const DirectionStore& directions) {
  const double volume = std::fabs(Determinant(directBasis));
  Mat3 current = directBasis;
  for (int pass = 0; pass < kLargestPasses; ++pass) {
    Mat3 reciprocal{};
    Mat3 direct{};
    if (!FitBasisToDirections(SupportedObservations(current, parameters, directions), reciprocal) ||
        InverseTranspose(reciprocal, direct, kBasisSingularity) != kStatusSuccess)
      break;
    const double s = VolumeScaleFactor(direct, volume);
    if (!std::isfinite(s)) break;
    const Mat3 refined = ScaleMatrix(direct, s);
    double change = 0.0;
    double largest = 0.0;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) {
        change = std::fmax(change, std::fabs(refined[r][c] - current[r][c]));
        largest = std::fmax(largest, std::fabs(refined[r][c]));
      }
    current = refined;
    if (change <= kSettled * largest) break;
  }
  return current;
}

bool StandardUncertainties(const std::vector<DirectionObservation>& observations, const Mat3& r,
                           const BasisFunction& f, std::vector<double>& sigma) {
  const int n = static_cast<int>(observations.size());
  const int freedom = 2 * n - 8;
  if (freedom <= 0) return false;
  Square9 normal{};
  double squares = 0.0;
  for (const DirectionObservation& o : observations) {
    Vec3 g{};
    for (int c = 0; c < 3; ++c) g[c] = o.indices[0] * r[0][c] + o.indices[1] * r[1][c] + o.indices[2] * r[2][c];
    const double length = VectorNorm(g);
    if (!(length > 0.0)) return false;
    const Vec3 cross = CrossProduct(g, o.direction);
    for (int k = 0; k < 3; ++k) squares += cross[k] * cross[k] / (length * length);
    // Column 3 i + c: the change of the residual for a unit change of R(i, c).
    std::array<Vec3, kParameters> jacobian{};
    for (int i = 0; i < 3; ++i)
      for (int c = 0; c < 3; ++c) {
        Vec3 unit{};
        unit[c] = 1.0;
        const Vec3 turned = CrossProduct(unit, o.direction);
        for (int k = 0; k < 3; ++k)
          jacobian[3 * i + c][k] = o.indices[i] * (turned[k] / length - cross[k] * g[c] / (length * length * length));
      }
    for (int p = 0; p < kParameters; ++p)
      for (int q = 0; q < kParameters; ++q) normal[p][q] += Dot(jacobian[p], jacobian[q]);
  }
  const double variance = squares / freedom;
  // The scale of R is free (J e = 0 for e along R): add e e^T to invert, then take it off again.
  std::array<double, kParameters> e{};
  double norm = 0.0;
  for (int p = 0; p < kParameters; ++p) {
    e[p] = r[p / 3][p % 3];
    norm += e[p] * e[p];
  }
  norm = std::sqrt(norm);
  double trace = 0.0;
  for (int p = 0; p < kParameters; ++p) trace += normal[p][p];
  const double lift = trace / kParameters;
  if (!(norm > 0.0) || !(lift > 0.0)) return false;
  for (double& v : e) v /= norm;
  for (int p = 0; p < kParameters; ++p)
    for (int q = 0; q < kParameters; ++q) normal[p][q] += lift * e[p] * e[q];
  Square9 covariance{};
  if (!Invert9(normal, covariance)) return false;
  for (int p = 0; p < kParameters; ++p)
    for (int q = 0; q < kParameters; ++q) covariance[p][q] = variance * (covariance[p][q] - e[p] * e[q] / lift);

  double largest = 0.0;
  for (const Vec3& row : r)
    for (double v : row) largest = std::fmax(largest, std::fabs(v));
  const double step = kRelativeStep * largest;
  std::vector<double> centre;
  if (!(step > 0.0) || !f(r, centre)) return false;
  std::vector<std::vector<double>> derivative(centre.size(), std::vector<double>(kParameters, 0.0));
  for (int p = 0; p < kParameters; ++p) {
    Mat3 up = r;
    Mat3 down = r;
    up[p / 3][p % 3] += step;
    down[p / 3][p % 3] -= step;
    std::vector<double> above;
    std::vector<double> below;
    if (!f(up, above) || !f(down, below) || above.size() != centre.size() || below.size() != centre.size()) return false;
    for (std::size_t k = 0; k < centre.size(); ++k) derivative[k][static_cast<std::size_t>(p)] = (above[k] - below[k]) / (2.0 * step);
  }
  sigma.assign(centre.size(), 0.0);
  for (std::size_t k = 0; k < centre.size(); ++k) {
    double sum = 0.0;
    for (int p = 0; p < kParameters; ++p)
      for (int q = 0; q < kParameters; ++q)
        sum += derivative[k][static_cast<std::size_t>(p)] * covariance[p][q] * derivative[k][static_cast<std::size_t>(q)];
    sigma[k] = std::sqrt(std::fmax(sum, 0.0));
  }
  return true;
}

}  // namespace orv
