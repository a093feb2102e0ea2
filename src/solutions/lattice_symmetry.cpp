// The symmetry of a solution's lattice, found by spglib on the lattice with one point at the origin.
#include "solutions/lattice_symmetry.hpp"

#include <spglib.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

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

Mat3 Transpose(const Mat3& m) {
  Mat3 t{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) t[r][c] = m[c][r];
  return t;
}

// G = B B^T for rows B.
Mat3 MetricOfBasis(const Mat3& basis) { return MultiplyMatrices(basis, Transpose(basis)); }

IntMat3 MultiplyIntegerMatrices(const IntMat3& a, const IntMat3& b) {
  IntMat3 p{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
  return p;
}

int IntegerDeterminant(const IntMat3& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

IntMat3 NegateIntegerMatrix(const IntMat3& m) {
  IntMat3 n{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) n[r][c] = -m[r][c];
  return n;
}

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

// The conventional setting that spglib finds for the right-handed unit-volume Niggli basis: the
// type, the integer matrix from the Niggli basis to the conventional one, and the metric of the
// Niggli basis averaged over the symmetry operations. False when spglib finds no space group or
// its setting is not a conventional cell of the lattice.
bool FindConventionalSetting(const Mat3& niggliUnit, const LatticeTolerance& tolerance, BravaisType& type,
                             IntMat3& toConventional, Mat3& symmetricMetric) {
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
    type = TypeOfSpaceGroup(dataset->spacegroup_number, dataset->international_symbol[0]);
    // (a_s b_s c_s) = (a b c) P^-1 on columns, so the rows of the conventional basis are
    // (P^-1)^T times the rows of the Niggli basis.
    Mat3 p{};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) p[r][c] = dataset->transformation_matrix[r][c];
    Mat3 inverse{};
    found = InvertMatrix(p, inverse, kBasisSingularity) == kStatusSuccess &&
            RoundToIntegers(Transpose(inverse), toConventional);
  }
  if (found) {
    const int determinant = IntegerDeterminant(toConventional);
    if (determinant < 0) toConventional = NegateIntegerMatrix(toConventional);
    found = std::abs(determinant) == LatticePointsPerConventionalCell(type);
  }
  if (found) {
    // Each operation W acts on fractional coordinates and keeps the metric: W^T G W = G.
    const Mat3 metric = MetricOfBasis(niggliUnit);
    Mat3 sum{};
    for (int n = 0; n < dataset->n_operations; ++n) {
      Mat3 w{};
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) w[r][c] = dataset->rotations[n][r][c];
      const Mat3 turned = MultiplyMatrices(Transpose(w), MultiplyMatrices(metric, w));
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) sum[r][c] += turned[r][c];
    }
    symmetricMetric = ScaleMatrix(sum, 1.0 / dataset->n_operations);
  }
  spg_free_dataset(dataset);
  return found;
}

Mat3 IntegerMatrixAsReal(const IntMat3& m) {
  Mat3 real{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) real[r][c] = m[r][c];
  return real;
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

Mat3 ApplyIntegerMatrix(const IntMat3& m, const Mat3& basis) {
  return MultiplyMatrices(IntegerMatrixAsReal(m), basis);
}

bool AnalyseLatticeSymmetry(const Mat3& basis, const LatticeTolerance& tolerance, LatticeSymmetry& symmetry) {
  const double determinant = Determinant(basis);
  if (!std::isfinite(determinant) || !(std::fabs(determinant) > kBasisSingularity)) return false;
  // -basis spans the same lattice; working on a right-handed basis keeps spglib's cells right-handed.
  const bool leftHanded = determinant < 0.0;
  const Mat3 work = leftHanded ? ScaleMatrix(basis, -1.0) : basis;
  const double unitScale = VolumeScaleFactor(work, 1.0);
  if (!std::isfinite(unitScale)) return false;
  const Mat3 unit = ScaleMatrix(work, unitScale);

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
  const Mat3 niggliUnit = ApplyIntegerMatrix(toNiggli, unit);

  LatticeSymmetry result;
  result.toNiggli = leftHanded ? NegateIntegerMatrix(toNiggli) : toNiggli;
  result.niggliBasis = ApplyIntegerMatrix(result.toNiggli, basis);
  result.niggliCell = CellOfMetric(MetricOfBasis(result.niggliBasis));

  // Lengths of the unit-volume cell times this factor are lengths of the given basis.
  const double lengthScale = 1.0 / unitScale;
  IntMat3 niggliToConventional{};
  Mat3 symmetricMetric{};
  if (FindConventionalSetting(niggliUnit, tolerance, result.type, niggliToConventional, symmetricMetric)) {
    const IntMat3 fromWork = MultiplyIntegerMatrices(niggliToConventional, toNiggli);
    result.toConventional = leftHanded ? NegateIntegerMatrix(fromWork) : fromWork;
    const Mat3 c = IntegerMatrixAsReal(niggliToConventional);
    const Mat3 conventionalMetric = MultiplyMatrices(c, MultiplyMatrices(symmetricMetric, Transpose(c)));
    result.conventionalCell = CellOfMetric(ScaleMatrix(conventionalMetric, lengthScale * lengthScale));
  } else {
    result.type = BravaisType::aP;
    result.toConventional = result.toNiggli;
    result.conventionalCell = result.niggliCell;
  }
  result.conventionalBasis = ApplyIntegerMatrix(result.toConventional, basis);
  symmetry = result;
  return true;
}

}  // namespace orv
