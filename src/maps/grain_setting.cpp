// Orientation in a given conventional setting.
#include "maps/grain_setting.hpp"

#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "solutions/lattice_rotations.hpp"

namespace orv {

std::vector<Mat3> CrystalRotationsOfCell(const LatticeCell& cell, const IntMat3& toConventional) {
  const Mat3 metric = MetricOfCellParameters(cell.lengths, cell.anglesInDegrees);
  Mat3 b{};
  Mat3 crystalBasis{};
  if (!BusingLevyB(metric, b) || !DirectBasisInCrystalFrame(b, crystalBasis)) return {};
  return CartesianRotations(RotationsKeepingLattice(ProperLatticeRotations(metric), toConventional), crystalBasis);
}

bool OrientInSetting(const Mat3& directBasis, BravaisType type, const LatticeCell& settingCell,
                     const IntMat3& toConventional, CrystalOrientation& orientation) {
  const Mat3 conventional = ApplyIntegerMatrix(toConventional, directBasis);
  if (!(Determinant(conventional) > 0.0)) return false;
  CrystalOrientation result;
  result.type = type;
  result.cell = settingCell;
  const Mat3 metric = MetricOfCellParameters(settingCell.lengths, settingCell.anglesInDegrees);
  if (!BusingLevyB(metric, result.b)) return false;
  Mat3 crystalBasis{};
  if (!DirectBasisInCrystalFrame(result.b, crystalBasis)) return false;
  result.latticeRotations = RotationsKeepingLattice(ProperLatticeRotations(metric), toConventional);
  result.crystalRotations = CartesianRotations(result.latticeRotations, crystalBasis);
  Mat3 reciprocal{};
  if (InverseTranspose(conventional, reciprocal, kBasisSingularity) != kStatusSuccess) return false;
  result.ub = UBOfReciprocalRows(reciprocal);
  if (!OrientationOfUB(result.ub, result.b, result.u)) return false;
  result.conventionalBasis = conventional;
  result.fromDirectBasis = toConventional;
  result.eulerDegrees = BungeEulerAngles(result.u);
  orientation = result;
  return true;
}

}  // namespace orv
