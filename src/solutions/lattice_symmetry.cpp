// The symmetry of a solution's lattice, found by spglib on the lattice with one point at the origin.
#include "solutions/lattice_symmetry.hpp"

#include <spglib.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"
#include "geometry/rotation.hpp"
#include "solutions/lattice_setting_memo.hpp"

namespace orv {

namespace {

// Tie-breaking tolerance of the Niggli conditions, on the metric of the cell at unit volume: the
// Niggli cell is the reduced cell of the metric as measured.
constexpr double kNiggliEpsilon = 1e-5;

// How far from an integer an entry of a matrix between two bases of one lattice may lie; the
// matrices come from exact integer work inside spglib and from one inversion here.
constexpr double kIntegralEntry = 1e-4;
// The edges of a unit-volume cell of any crystal lie far inside these bounds (a cell of 30 x 100 x
// 300 A has 0.31, 1.04 and 3.1). A cell beyond them is flat or needle-like to the point of having
// no lattice symmetry to find, and spglib fails on some such cells (it dereferences a null pointer).
constexpr double kShortestUnitEdge = 1e-2;
constexpr double kLongestUnitEdge = 1e2;

const IntMat3 kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// Rounds a matrix that should be integral; false when an entry is not close to an integer.
bool RoundToIntegers(const Mat3& m, IntMat3& rounded) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      if (!(std::fabs(m[r][c]) < 1000.0)) return false;
      rounded[r][c] = Nint(m[r][c]);
      if (!(std::fabs(m[r][c] - rounded[r][c]) <= kIntegralEntry)) return false;
    }
  return true;
}

// The integer matrix T with to = T * from, when there is one.
bool IntegerRelation(const Mat3& to, const Mat3& from, IntMat3& relation) {
  Mat3 inverse{};
  if (InvertMatrix(from, inverse, kBasisSingularity) != kStatusSuccess) return false;
  return RoundToIntegers(MultiplyMatrices(to, inverse), relation);
}

// spglib keeps basis vectors as the columns of its lattice matrix.
void ToSpglibLattice(const Mat3& rows, double lattice[3][3]) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) lattice[c][r] = rows[r][c];
}

Mat3 FromSpglibLattice(const double lattice[3][3]) {
  Mat3 rows{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) rows[r][c] = lattice[c][r];
  return rows;
}

// The Bravais type of the space group that spglib finds for a lattice with one point: the crystal
// family from the group's number, the centring from the first letter of its symbol.
BravaisType TypeOfSpaceGroup(int number, char centring) {
  if (number <= 2) return BravaisType::aP;
  if (number <= 15) return centring == 'P' ? BravaisType::mP : BravaisType::mC;
  if (number <= 74) {
    if (centring == 'P') return BravaisType::oP;
    if (centring == 'I') return BravaisType::oI;
    if (centring == 'F') return BravaisType::oF;
    return BravaisType::oC;
  }
  if (number <= 142) return centring == 'I' ? BravaisType::tI : BravaisType::tP;
  if (number <= 194) return centring == 'R' ? BravaisType::hR : BravaisType::hP;
  if (centring == 'I') return BravaisType::cI;
  if (centring == 'F') return BravaisType::cF;
  return BravaisType::cP;
}

// The conventional setting that spglib finds for the right-handed unit-volume Niggli basis. False
// when spglib finds no space group or its setting is not a conventional cell of the lattice.
bool FindConventionalSetting(const Mat3& niggliUnit, const LatticeTolerance& tolerance, ConventionalSetting& setting) {
  for (const Vec3& edge : niggliUnit) {
    const double length = VectorNorm(edge);
    if (!(length >= kShortestUnitEdge && length <= kLongestUnitEdge)) return false;
  }
  double lattice[3][3];
  ToSpglibLattice(niggliUnit, lattice);
  double position[1][3] = {{0.0, 0.0, 0.0}};
  const int types[1] = {1};
  SpglibDataset* dataset = spgat_get_dataset(lattice, position, types, 1, tolerance.relativeLength,
                                             tolerance.angleDegrees);
  if (dataset == nullptr) return false;

  bool found = dataset->spacegroup_number >= 1 && dataset->n_operations >= 1;
  if (found) {
    setting.type = TypeOfSpaceGroup(dataset->spacegroup_number, dataset->international_symbol[0]);
    // (a_s b_s c_s) = (a b c) P^-1 on columns, so the rows of the conventional basis are
    // (P^-1)^T times the rows of the Niggli basis.
    Mat3 p{};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) p[r][c] = dataset->transformation_matrix[r][c];
    Mat3 inverse{};
    found = InvertMatrix(p, inverse, kBasisSingularity) == kStatusSuccess &&
            RoundToIntegers(TransposeMatrix(inverse), setting.toConventional);
  }
  if (found) {
    const int determinant = IntegerDeterminant(setting.toConventional);
    if (determinant < 0) setting.toConventional = NegateIntegerMatrix(setting.toConventional);
    found = std::abs(determinant) == LatticePointsPerConventionalCell(setting.type);
  }
  if (found) {
    setting.rotations.resize(static_cast<std::size_t>(dataset->n_operations));
    for (int n = 0; n < dataset->n_operations; ++n)
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) setting.rotations[static_cast<std::size_t>(n)][r][c] = dataset->rotations[n][r][c];
  }
  spg_free_dataset(dataset);
  return found;
}

// The type, the matrix from the Niggli basis to the conventional one and the conventional metric
// (of the unit-volume cell) that spglib finds, remembered in the memo when there is one; or one
// the memo recalls.
bool ConventionalOfNiggli(const Mat3& niggliUnit, const LatticeTolerance& tolerance, LatticeSettingMemo* memo,
                          MemoUse use, RecalledSetting& found) {
  if (memo != nullptr && use == MemoUse::RecallOrRemember && memo->Recall(niggliUnit, tolerance, found)) return true;
  ConventionalSetting setting;
  if (!FindConventionalSetting(niggliUnit, tolerance, setting)) return false;
  if (memo != nullptr) memo->Remember(niggliUnit, tolerance, setting);
  const Mat3 symmetricMetric = AverageMetricOverRotations(MetricOfBasis(niggliUnit), setting.rotations);
  const Mat3 c = IntegerMatrixAsReal(setting.toConventional);
  found.type = setting.type;
  found.toConventional = setting.toConventional;
  found.conventionalMetric = MultiplyMatrices(c, MultiplyMatrices(symmetricMetric, TransposeMatrix(c)));
  return true;
}

}  // namespace

const char* BravaisSymbol(BravaisType type) {
  switch (type) {
    case BravaisType::aP: return "aP";
    case BravaisType::mP: return "mP";
    case BravaisType::mC: return "mC";
    case BravaisType::oP: return "oP";
    case BravaisType::oC: return "oC";
    case BravaisType::oI: return "oI";
    case BravaisType::oF: return "oF";
    case BravaisType::tP: return "tP";
    case BravaisType::tI: return "tI";
    case BravaisType::hP: return "hP";
    case BravaisType::hR: return "hR";
    case BravaisType::cP: return "cP";
    case BravaisType::cI: return "cI";
    case BravaisType::cF: return "cF";
  }
  return "aP";
}

int LatticePointsPerConventionalCell(BravaisType type) {
  switch (type) {
    case BravaisType::mC:
    case BravaisType::oC:
    case BravaisType::oI:
    case BravaisType::tI:
    case BravaisType::cI: return 2;
    case BravaisType::hR: return 3;
    case BravaisType::oF:
    case BravaisType::cF: return 4;
    default: return 1;
  }
}

Mat3 MetricOfBasis(const Mat3& basis) { return MultiplyMatrices(basis, TransposeMatrix(basis)); }

LatticeCell CellOfMetric(const Mat3& metric) {
  LatticeCell cell;
  for (int i = 0; i < 3; ++i) cell.lengths[i] = std::sqrt(metric[i][i]);
  const auto angle = [&](int j, int k) {
    return ClampedArcCos(metric[j][k] / (cell.lengths[j] * cell.lengths[k])) * kRadiansToDegrees;
  };
  cell.anglesInDegrees = {angle(1, 2), angle(2, 0), angle(0, 1)};
  return cell;
}

LatticeTolerance LatticeToleranceForAngularCriterion(double angularCriterion) {
  const double angle = 1.5 * std::fmax(angularCriterion, kDegreesToRadians);
  return LatticeTolerance{angle, angle * kRadiansToDegrees};
}

namespace {

// A basis made right-handed and of unit volume, and its Niggli reduction.
struct NiggliReduction {
  bool leftHanded = false;
  double unitScale = 1.0;
  IntMat3 toNiggli{};    // from the right-handed basis, determinant +1
  Mat3 niggliUnit{};     // the right-handed unit-volume Niggli basis
  IntMat3 fromGiven{};   // from the given basis: toNiggli, negated for a left-handed basis
};

bool ReduceToNiggli(const Mat3& basis, NiggliReduction& reduction) {
  const double determinant = Determinant(basis);
  if (!std::isfinite(determinant) || !(std::fabs(determinant) > kBasisSingularity)) return false;
  // -basis spans the same lattice; working on a right-handed basis keeps spglib's cells right-handed.
  reduction.leftHanded = determinant < 0.0;
  const Mat3 work = reduction.leftHanded ? ScaleMatrix(basis, -1.0) : basis;
  reduction.unitScale = VolumeScaleFactor(work, 1.0);
  if (!std::isfinite(reduction.unitScale)) return false;
  const Mat3 unit = ScaleMatrix(work, reduction.unitScale);

  // Niggli cell of the unit-volume lattice; should the reduction fail, the basis itself stands in.
  IntMat3 toNiggli = kIdentity;
  double lattice[3][3];
  ToSpglibLattice(unit, lattice);
  if (spg_niggli_reduce(lattice, kNiggliEpsilon) != 0) {
    IntMat3 relation{};
    if (IntegerRelation(FromSpglibLattice(lattice), unit, relation) && std::abs(IntegerDeterminant(relation)) == 1)
      toNiggli = relation;
  }
  if (IntegerDeterminant(toNiggli) < 0) toNiggli = NegateIntegerMatrix(toNiggli);
  reduction.toNiggli = toNiggli;
  reduction.niggliUnit = ApplyIntegerMatrix(toNiggli, unit);
  reduction.fromGiven = reduction.leftHanded ? NegateIntegerMatrix(toNiggli) : toNiggli;
  return true;
}

bool Analyse(const Mat3& basis, const LatticeTolerance& tolerance, LatticeSymmetry& symmetry, LatticeSettingMemo* memo,
             MemoUse use) {
  NiggliReduction reduction;
  if (!ReduceToNiggli(basis, reduction)) return false;
  const bool leftHanded = reduction.leftHanded;
  const IntMat3& toNiggli = reduction.toNiggli;
  const Mat3& niggliUnit = reduction.niggliUnit;
  const double unitScale = reduction.unitScale;

  LatticeSymmetry result;
  result.toNiggli = reduction.fromGiven;
  result.niggliBasis = ApplyIntegerMatrix(result.toNiggli, basis);
  result.niggliCell = CellOfMetric(MetricOfBasis(result.niggliBasis));

  // Lengths of the unit-volume cell times this factor are lengths of the given basis.
  const double lengthScale = 1.0 / unitScale;
  RecalledSetting setting;
  if (ConventionalOfNiggli(niggliUnit, tolerance, memo, use, setting)) {
    result.type = setting.type;
    const IntMat3 fromWork = MultiplyIntegerMatrices(setting.toConventional, toNiggli);
    result.toConventional = leftHanded ? NegateIntegerMatrix(fromWork) : fromWork;
    result.conventionalCell = CellOfMetric(ScaleMatrix(setting.conventionalMetric, lengthScale * lengthScale));
  } else {
    result.type = BravaisType::aP;
    result.toConventional = result.toNiggli;
    result.conventionalCell = result.niggliCell;
  }
  result.conventionalBasis = ApplyIntegerMatrix(result.toConventional, basis);
  symmetry = result;
  return true;
}

}  // namespace

bool NiggliBasisOf(const Mat3& basis, Mat3& niggliBasis) {
  NiggliReduction reduction;
  if (!ReduceToNiggli(basis, reduction)) return false;
  niggliBasis = ApplyIntegerMatrix(reduction.fromGiven, basis);
  return true;
}

bool AnalyseLatticeSymmetry(const Mat3& basis, const LatticeTolerance& tolerance, LatticeSymmetry& symmetry) {
  return Analyse(basis, tolerance, symmetry, nullptr, MemoUse::Remember);
}

bool AnalyseLatticeSymmetry(const Mat3& basis, const LatticeTolerance& tolerance, LatticeSymmetry& symmetry,
                            LatticeSettingMemo& memo, MemoUse use) {
  return Analyse(basis, tolerance, symmetry, &memo, use);
}

}  // namespace orv
