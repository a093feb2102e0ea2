// The orientation of a grain with its cell held to the symmetric cell of its lattice.
#include "solutions/grain_orientation.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"
#include "geometry/rotation.hpp"

namespace orv {

namespace {

constexpr int kFitPasses = 3;
constexpr double kMisfitCut = 3.0;
constexpr double kSmallestCut = 0.05;  // of the angular tolerance

Vec3 Times(const Mat3& m, const Vec3& v) {
  return {Dot(m[0], v), Dot(m[1], v), Dot(m[2], v)};
}

}  // namespace

GrainOrientation OrientGrain(const Mat3& basis, const LatticeSymmetry& symmetry, const std::vector<int>& spots,
                             const RunParameters& parameters, const DirectionStore& directions) {
  GrainOrientation result;
  if (spots.size() < 3 || !OrientSolution(basis, symmetry, result.orientation)) return result;
  Mat3 reciprocal{};
  if (InverseTranspose(basis, reciprocal, kBasisSingularity) != kStatusSuccess) return result;
  const Mat3& b = result.orientation.b;
  std::vector<Vec3> observed, predicted;
  for (int j : spots) {
    if (j < 1 || j > parameters.NumberOfReflections) continue;
    const IndexedDirection indexed = IndexDirection(directions(j), reciprocal, basis, parameters.MaxAllowedMillerIndex);
    const IndexTriple primitive = {Nint(indexed.x[0]), Nint(indexed.x[1]), Nint(indexed.x[2])};
    const IndexTriple hkl = ConventionalIndicesOfRow(primitive, result.orientation).hkl;
    const Vec3 g = Times(b, Vec3{static_cast<double>(hkl[0]), static_cast<double>(hkl[1]), static_cast<double>(hkl[2])});
    Vec3 v{}, u{};
    double length = 0.0;
    if (NormalizeVector(g, v, length) != kStatusSuccess || NormalizeVector(directions(j), u, length) != kStatusSuccess)
      continue;
    observed.push_back(u);
    predicted.push_back(v);
  }
  // Fitted, then fitted again without the spots whose misfit is beyond three times the median (and
  // beyond a twentieth of the tolerance): a
  // spot of another grain or a spurious one that a high-index row passes within the tolerance
  // would pull the rotation.
  std::vector<bool> used(observed.size(), true);
  std::vector<double> misfits(observed.size(), 0.0);
  for (int pass = 0; pass < kFitPasses; ++pass) {
    Mat3 sum{};
    int count = 0;
    for (std::size_t i = 0; i < observed.size(); ++i) {
      if (!used[i]) continue;
      ++count;
      for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c) sum[r][c] += observed[i][r] * predicted[i][c];
    }
    if (count < 3 || !NearestRotation(sum, result.u)) return result;
    for (std::size_t i = 0; i < observed.size(); ++i) {
      const double c = Dot(observed[i], Times(result.u, predicted[i]));
      misfits[i] = std::acos(std::fmax(-1.0, std::fmin(1.0, c))) * kRadiansToDegrees;
    }
    std::vector<double> kept;
    for (std::size_t i = 0; i < observed.size(); ++i)
      if (used[i]) kept.push_back(misfits[i]);
    std::nth_element(kept.begin(), kept.begin() + static_cast<long>(kept.size() / 2), kept.end());
    // Misfits far below the tolerance are rounding, never strays, whatever their median.
    const double cut = std::fmax(kMisfitCut * kept[kept.size() / 2],
                                 kSmallestCut * parameters.AngularDeviationCriterion * kRadiansToDegrees);
    for (std::size_t i = 0; i < observed.size(); ++i) used[i] = misfits[i] <= cut;
  }
  double squares = 0.0;
  int fitted = 0;
  for (std::size_t i = 0; i < observed.size(); ++i) {
    if (!used[i]) continue;
    squares += misfits[i] * misfits[i];
    ++fitted;
  }
  if (fitted < 3) return result;
  result.spotsFitted = fitted;
  result.rmsMisfitDegrees = std::sqrt(squares / static_cast<double>(fitted));
  result.ub = MultiplyMatrices(result.u, b);
  result.eulerDegrees = BungeEulerAngles(result.u);
  result.oriented = true;
  return result;
}

}  // namespace orv
