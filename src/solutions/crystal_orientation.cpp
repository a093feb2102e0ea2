// The orientation of a solution: standard conventional setting, B, U, UB, Euler angles, indices.
#include "solutions/crystal_orientation.hpp"

#include <cmath>
#include <cstdlib>

#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/rotation.hpp"
#include "solutions/lattice_rotations.hpp"

namespace orv {

namespace {

// Rotation angles closer than this, in degrees, are a tie of the setting rule.
constexpr double kSettingTie = 1e-9;

// The orientation of one conventional setting: U of its UB against B.
bool OrientSetting(const Mat3& conventional, const Mat3& b, Mat3& ub, Mat3& u) {
  Mat3 reciprocal{};
  if (InverseTranspose(conventional, reciprocal, kBasisSingularity) != kStatusSuccess) return false;
  ub = UBOfReciprocalRows(reciprocal);
  return OrientationOfUB(ub, b, u);
}

IndexTriple Apply(const IntMat3& w, const IndexTriple& h) {
  IndexTriple turned{};
  for (int r = 0; r < 3; ++r) turned[r] = w[r][0] * h[0] + w[r][1] * h[1] + w[r][2] * h[2];
  return turned;
}

}  // namespace

bool OrientSolution(const Mat3& directBasis, const LatticeSymmetry& symmetry, CrystalOrientation& orientation) {
  const Mat3 standard = ApplyIntegerMatrix(symmetry.toConventional, directBasis);
  if (!(Determinant(standard) > 0.0)) return false;
  CrystalOrientation result;
  result.type = symmetry.type;
  result.cell = symmetry.conventionalCell;
  const Mat3 metric = MetricOfCellParameters(result.cell.lengths, result.cell.anglesInDegrees);
  if (!BusingLevyB(metric, result.b)) return false;
  Mat3 crystalBasis{};
  if (!DirectBasisInCrystalFrame(result.b, crystalBasis)) return false;
  result.latticeRotations = RotationsKeepingLattice(ProperLatticeRotations(metric), symmetry.toConventional);
  result.crystalRotations = CartesianRotations(result.latticeRotations, crystalBasis);

  bool found = false;
  double smallest = 0.0;
  for (const IntMat3& w : result.latticeRotations) {
    const Mat3 setting = ApplyIntegerMatrix(w, standard);
    Mat3 ub{};
    Mat3 u{};
    if (!OrientSetting(setting, result.b, ub, u)) continue;
    const double angle = RotationAngleDegrees(u);
    if (found && !(angle < smallest - kSettingTie)) continue;
    found = true;
    smallest = angle;
    result.conventionalBasis = setting;
    result.fromDirectBasis = MultiplyIntegerMatrices(w, symmetry.toConventional);
    result.ub = ub;
    result.u = u;
  }
  if (!found) return false;
  result.eulerDegrees = BungeEulerAngles(result.u);
  orientation = result;
  return true;
}

ConventionalIndices ConventionalIndicesOfRow(const IndexTriple& primitive, const CrystalOrientation& orientation) {
  ConventionalIndices indices;
  const long long divisor = GreatestCommonDivisor(primitive[0], primitive[1], primitive[2]);
  if (divisor == 0) return indices;
  // A reciprocal vector g = h (a*, b*, c*) of the solution has the conventional indices g . a_conv,
  // that is T h for conventional rows T * (the solution's rows).
  const IndexTriple shortest = {primitive[0] / divisor, primitive[1] / divisor, primitive[2] / divisor};
  indices.hkl = Apply(orientation.fromDirectBasis, shortest);
  indices.representative = indices.hkl;
  for (const IntMat3& w : orientation.latticeRotations) {
    const IndexTriple turned = Apply(w, indices.hkl);
    const IndexTriple opposite = {-turned[0], -turned[1], -turned[2]};
    if (turned > indices.representative) indices.representative = turned;
    if (opposite > indices.representative) indices.representative = opposite;
  }
  return indices;
}

}  // namespace orv
