// Conventional settings of a run's cubic and hexagonal lattices, reused for other grains of a phase.
#include "solutions/lattice_setting_memo.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/rotation.hpp"
#include "solutions/lattice_rotations.hpp"

namespace orv {

namespace {

// A recalled setting needs the new lattice within this share of the tolerance of the metric that
// its operations make symmetric; spglib then finds those operations at the full tolerance too.
constexpr double kRecallShareOfTolerance = 0.5;

bool IsMaximalType(BravaisType type) {
  return type == BravaisType::cP || type == BravaisType::cI || type == BravaisType::cF || type == BravaisType::hP;
}

bool SameTolerance(const LatticeTolerance& a, const LatticeTolerance& b) {
  return a.relativeLength == b.relativeLength && a.angleDegrees == b.angleDegrees;
}

// The cell of `metric` departs from that of `symmetric` by at most the share of the tolerance
// (lengths of unit-volume cells, angles in degrees).
bool CloseCells(const Mat3& metric, const Mat3& symmetric, const LatticeTolerance& tolerance) {
  const LatticeCell a = CellOfMetric(metric);
  const LatticeCell b = CellOfMetric(symmetric);
  for (int i = 0; i < 3; ++i) {
    if (!(std::fabs(a.lengths[i] - b.lengths[i]) <= kRecallShareOfTolerance * tolerance.relativeLength)) return false;
    if (!(std::fabs(a.anglesInDegrees[i] - b.anglesInDegrees[i]) <= kRecallShareOfTolerance * tolerance.angleDegrees))
      return false;
  }
  return true;
}

// The 26 combinations of a basis's rows with coefficients -1, 0 and 1, not all 0.
struct SmallCombinations {
  std::array<std::array<int, 3>, 26> coefficients{};
  std::array<Vec3, 26> rows{};
};

SmallCombinations CombinationsOf(const Mat3& basis) {
  SmallCombinations combinations;
  int n = 0;
  for (int i = -1; i <= 1; ++i)
    for (int j = -1; j <= 1; ++j)
      for (int k = -1; k <= 1; ++k) {
        if (i == 0 && j == 0 && k == 0) continue;
        combinations.coefficients[static_cast<std::size_t>(n)] = {i, j, k};
        for (int x = 0; x < 3; ++x)
          combinations.rows[static_cast<std::size_t>(n)][x] = i * basis[0][x] + j * basis[1][x] + k * basis[2][x];
        ++n;
      }
  return combinations;
}

// |a . b - g| within the share of the tolerance that lengths and angles allow an entry of a metric
// of unit-volume cells (entries near 1): a first sieve; the check against the symmetric metric decides.
bool NearEntry(const Vec3& a, const Vec3& b, double g, const LatticeTolerance& tolerance) {
  const double allowance = 2.0 * tolerance.relativeLength + tolerance.angleDegrees * kDegreesToRadians;
  return std::fabs(Dot(a, b) - g) <= allowance * std::sqrt(std::fabs(Dot(a, a) * Dot(b, b)));
}

}  // namespace

Mat3 AverageMetricOverRotations(const Mat3& metric, const std::vector<IntMat3>& rotations) {
  // Each operation W acts on fractional coordinates and keeps the metric: W^T G W = G.
  Mat3 sum{};
  for (const IntMat3& rotation : rotations) {
    const Mat3 w = IntegerMatrixAsReal(rotation);
    const Mat3 turned = MultiplyMatrices(TransposeMatrix(w), MultiplyMatrices(metric, w));
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) sum[r][c] += turned[r][c];
  }
  return ScaleMatrix(sum, 1.0 / static_cast<double>(rotations.size()));
}

void LatticeSettingMemo::RememberIdealCubicLattices() {
  struct Ideal {
    BravaisType type;
    Mat3 primitive;         // a reduced primitive basis of the lattice of the unit cube's points
    IntMat3 toConventional;  // rows of the unit cube from it
  };
  const Ideal ideals[3] = {
      {BravaisType::cP, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
      {BravaisType::cI, {{{-0.5, 0.5, 0.5}, {0.5, -0.5, 0.5}, {0.5, 0.5, -0.5}}}, {{{0, 1, 1}, {1, 0, 1}, {1, 1, 0}}}},
      {BravaisType::cF, {{{0, 0.5, 0.5}, {0.5, 0, 0.5}, {0.5, 0.5, 0}}}, {{{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}}}},
  };
  for (const Ideal& ideal : ideals) {
    const Mat3 unit = ScaleMatrix(ideal.primitive, VolumeScaleFactor(ideal.primitive, 1.0));
    const Mat3 metric = MetricOfBasis(unit);
    ConventionalSetting setting;
    setting.type = ideal.type;
    setting.toConventional = ideal.toConventional;
    // The lattice's proper rotations act on rows (W * basis); on fractional coordinates, as the
    // operations here act, they are their transposes, and with the inversion they make the 48.
    for (const IntMat3& w : ProperLatticeRotations(metric)) {
      IntMat3 onCoordinates{};
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) onCoordinates[r][c] = w[c][r];
      setting.rotations.push_back(onCoordinates);
      setting.rotations.push_back(NegateIntegerMatrix(onCoordinates));
    }
    entries_.push_back(Entry{metric, LatticeTolerance{}, true, setting});
  }
}

void LatticeSettingMemo::Remember(const Mat3& niggliUnit, const LatticeTolerance& tolerance,
                                  const ConventionalSetting& setting) {
  if (!IsMaximalType(setting.type) || setting.rotations.empty()) return;
  entries_.push_back(Entry{MetricOfBasis(niggliUnit), tolerance, false, setting});
}

bool LatticeSettingMemo::Recall(const Mat3& niggliUnit, const LatticeTolerance& tolerance,
                                RecalledSetting& recalled) const {
  if (entries_.empty()) return false;
  const SmallCombinations combinations = CombinationsOf(niggliUnit);
  const Mat3 metric = MetricOfBasis(niggliUnit);
  for (const Entry& entry : entries_) {
    if (!entry.everyTolerance && !SameTolerance(entry.tolerance, tolerance)) continue;
    const Mat3& g = entry.metric;
    // Rows m0, m1, m2 of a unimodular M with M N' of about the remembered metric.
    for (std::size_t a = 0; a < combinations.rows.size(); ++a) {
      const Vec3& ra = combinations.rows[a];
      if (!NearEntry(ra, ra, g[0][0], tolerance)) continue;
      for (std::size_t b = 0; b < combinations.rows.size(); ++b) {
        const Vec3& rb = combinations.rows[b];
        if (!NearEntry(rb, rb, g[1][1], tolerance) || !NearEntry(ra, rb, g[0][1], tolerance)) continue;
        for (std::size_t c = 0; c < combinations.rows.size(); ++c) {
          const Vec3& rc = combinations.rows[c];
          if (!NearEntry(rc, rc, g[2][2], tolerance) || !NearEntry(ra, rc, g[0][2], tolerance) ||
              !NearEntry(rb, rc, g[1][2], tolerance))
            continue;
          const IntMat3 m{combinations.coefficients[a], combinations.coefficients[b], combinations.coefficients[c]};
          if (IntegerDeterminant(m) != 1) continue;
          const Mat3 mr = IntegerMatrixAsReal(m);
          const Mat3 moved = MultiplyMatrices(mr, MultiplyMatrices(metric, TransposeMatrix(mr)));
          const Mat3 symmetric = AverageMetricOverRotations(moved, entry.setting.rotations);
          if (!CloseCells(moved, symmetric, tolerance)) continue;
          const Mat3 toConventional = IntegerMatrixAsReal(entry.setting.toConventional);
          recalled.type = entry.setting.type;
          recalled.toConventional = MultiplyIntegerMatrices(entry.setting.toConventional, m);
          recalled.conventionalMetric =
              MultiplyMatrices(toConventional, MultiplyMatrices(symmetric, TransposeMatrix(toConventional)));
          return true;
        }
      }
    }
  }
  return false;
}

}  // namespace orv
