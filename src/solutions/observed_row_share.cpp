// How well a lattice explains the reflections with its shortest rows: the share of them that is seen.
#include "solutions/observed_row_share.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

constexpr double kZeta3 = 1.2020569031595942;  // the share of lattice vectors that are primitive is 1/zeta(3)
// Lattice points tried at most for one lattice; a cell so elongated that its shortest rows need
// more is not a plausible choice and gets the share 0.
constexpr double kLargestBox = 4.0e6;
constexpr int kLargestRadiusSteps = 12;

struct PredictedRow {
  double squaredLength;
  bool observed;
};

bool IsObserved(const std::vector<MillerIndices>& observedRows, const MillerIndices& row) {
  return std::binary_search(observedRows.begin(), observedRows.end(), row);
}

// Every row with a primitive vector no longer than `radius` that points into the region or is
// observed. False when the box of indices to try is too large.
bool CollectRows(const Mat3& reciprocal, const Vec3& directLengths, double radius,
                 const std::vector<MillerIndices>& observedRows, const CoveredRegion& region,
                 std::vector<PredictedRow>& rows) {
  rows.clear();
  // |h_i| = |g . a_i| <= |g| |a_i|: the box holds the whole ball.
  int bound[3];
  double box = 1.0;
  for (int i = 0; i < 3; ++i) {
    const double reach = std::floor(radius * directLengths[i]);
    if (!(reach < 1.0e6)) return false;
    bound[i] = static_cast<int>(reach);
    box *= 2.0 * reach + 1.0;
  }
  if (box > kLargestBox) return false;
  const double limit = radius * radius;
  for (int h = -bound[0]; h <= bound[0]; ++h)
    for (int k = -bound[1]; k <= bound[1]; ++k)
      for (int l = -bound[2]; l <= bound[2]; ++l) {
        Vec3 g;
        for (int c = 0; c < 3; ++c) g[c] = h * reciprocal[0][c] + k * reciprocal[1][c] + l * reciprocal[2][c];
        const double squared = Dot(g, g);
        if (squared > limit || squared <= 0.0) continue;
        if (GreatestCommonDivisor(h, k, l) != 1) continue;
        const bool observed = IsObserved(observedRows, MillerIndices{h, k, l});
        if (!observed && !region.Contains(g)) continue;
        rows.push_back({squared, observed});
      }
  return true;
}

}  // namespace

IndexedRows IndexRows(const Mat3& direct, const RunParameters& parameters, const DirectionStore& directions) {
  IndexedRows indexed;
  IndexRowsWhileReachable(direct, parameters, directions, [](int) { return true; }, indexed);
  return indexed;
}

bool IndexRowsWhileReachable(const Mat3& direct, const RunParameters& parameters, const DirectionStore& directions,
                             const std::function<bool(int)>& reachable, IndexedRows& indexed) {
  indexed = IndexedRows{};
  Mat3 reciprocal{};
  if (InverseTranspose(direct, reciprocal, kBasisSingularity) != kStatusSuccess) return reachable(0);
  const double tolerance = parameters.AngularDeviationCriterion;
  const AngleLimit half(0.5 * tolerance);
  const AngleLimit full(tolerance);
  const int n = std::min(parameters.NumberOfReflections, kMaxReflections);
  for (int j = 1; j <= n; ++j) {
    if (!reachable(indexed.counts.nFull + (n - j + 1))) return false;
    const ScannedDirection row = ScanIndexDirection(directions(j), reciprocal, direct, parameters.MaxAllowedMillerIndex);
    if (!row.withinBound) continue;
    if (half.Holds(row.cosine)) ++indexed.counts.nHalf;
    if (!full.Holds(row.cosine)) continue;
    ++indexed.counts.nFull;
    indexed.rows.push_back({Nint(row.x[0]), Nint(row.x[1]), Nint(row.x[2])});
  }
  std::sort(indexed.rows.begin(), indexed.rows.end());
  indexed.rows.erase(std::unique(indexed.rows.begin(), indexed.rows.end()), indexed.rows.end());
  return true;
}

double ObservedRowShare(const Mat3& direct, const std::vector<MillerIndices>& observedRows,
                        const CoveredRegion& region, int rowsCounted) {
  if (rowsCounted <= 0) return 0.0;
  Mat3 reciprocal{};
  if (InverseTranspose(direct, reciprocal, kBasisSingularity) != kStatusSuccess) return 0.0;
  const Vec3 directLengths = {VectorNorm(direct[0]), VectorNorm(direct[1]), VectorNorm(direct[2])};
  const double reciprocalVolume = std::fabs(Determinant(reciprocal));
  const double fraction = std::max(region.SphereFraction(), 1.0e-3);
  const int wanted = rowsCounted;

  // A ball of radius r holds about (4 pi / 3) r^3 / (V* zeta(3)) primitive vectors; start a little
  // beyond the radius that should hold the wanted rows inside the region, and widen as needed.
  double radius = std::cbrt(1.3 * 3.0 * wanted * kZeta3 * reciprocalVolume / (4.0 * kPi * fraction));
  std::vector<PredictedRow> rows;
  for (int step = 0; step < kLargestRadiusSteps; ++step) {
    if (!CollectRows(reciprocal, directLengths, radius, observedRows, region, rows)) return 0.0;
    if (static_cast<int>(rows.size()) >= wanted) break;
    const double found = std::max<double>(1.0, static_cast<double>(rows.size()));
    radius *= std::max(1.15, 1.1 * std::cbrt(wanted / found));
  }
  if (rows.empty()) return 0.0;
  std::sort(rows.begin(), rows.end(),
            [](const PredictedRow& a, const PredictedRow& b) { return a.squaredLength < b.squaredLength; });
  const std::size_t last = std::min(rows.size(), static_cast<std::size_t>(wanted)) - 1;
  const double edge = rows[last].squaredLength;
  const double tie = edge * 1.0e-9;
  double seen = 0.0;
  int tiedSeen = 0;
  int tied = 0;
  std::size_t shorter = 0;
  for (const PredictedRow& row : rows) {
    if (row.squaredLength < edge - tie) {
      ++shorter;
      if (row.observed) seen += 1.0;
    } else if (row.squaredLength <= edge + tie) {
      ++tied;
      if (row.observed) ++tiedSeen;
    }
  }
  // The rows tied at the end share the places left.
  const double placesLeft = static_cast<double>(last + 1 - shorter);
  if (tied > 0) seen += placesLeft * tiedSeen / tied;
  return seen / wanted;
}

}  // namespace orv
