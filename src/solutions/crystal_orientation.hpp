// The orientation of a solution in the crystallographer's terms: the conventional cell in its
// standard setting, B, U and UB of the conventional reciprocal cell, Bunge Euler angles, and the
// conventional indices of a reflection.
#pragma once

#include <array>
#include <vector>

#include "solutions/lattice_symmetry.hpp"

namespace orv {

// The crystal frame is that of Busing and Levy: a* along x, b* in the x-y plane (see
// geometry/crystal_frame.hpp); U turns it into the frame of the spot directions.
struct CrystalOrientation {
  BravaisType type = BravaisType::aP;
  // The conventional basis, rows a, b, c in the frame of the directions as measured, right-handed,
  // = fromDirectBasis * the solution's direct basis. Among the settings that the lattice's
  // rotations make equivalent it is the one whose U turns least (see ChooseSetting).
  Mat3 conventionalBasis{};
  IntMat3 fromDirectBasis{};
  LatticeCell cell;  // the conventional cell averaged over the lattice's symmetry
  Mat3 b{};          // B of that cell, at the solution's volume
  Mat3 u{};          // the rotation from the crystal frame to the frame of the directions
  Mat3 ub{};         // columns a*, b*, c* of the measured conventional basis in the frame of the directions
  Vec3 eulerDegrees{};  // Bunge (phi1, Phi, phi2) of U
  // The proper rotations of the lattice on the conventional basis (identity first), and the same
  // rotations in the crystal frame.
  std::vector<IntMat3> latticeRotations;
  std::vector<Mat3> crystalRotations;
};

// The orientation of a solution's direct basis (rows, frame of the directions) whose lattice was
// analysed as `symmetry`. The setting rule: of the conventional bases W * (the standard conventional
// basis) for the proper rotations W of the lattice, the one whose U has the smallest rotation angle;
// angles within 1e-9 degree of each other count as equal, and then the earlier W in the fixed order
// of ProperLatticeRotations wins, so that neighbouring patterns of one grain give the same numbers.
// False when the basis has no volume or its cell cannot be put in the crystal frame.
bool OrientSolution(const Mat3& directBasis, const LatticeSymmetry& symmetry, CrystalOrientation& orientation);

using IndexTriple = std::array<long long, 3>;

// The indices of a reflection on the conventional cell.
struct ConventionalIndices {
  // The shortest vector of the reciprocal lattice along the reflection's row, on the conventional
  // reciprocal basis of the orientation: 4 2 2 for a face-centred lattice, where 2 1 1 is not a
  // lattice vector. (0, 0, 0) for a row of indices (0, 0, 0).
  IndexTriple hkl{};
  // The form users write, the same for every reflection of one symmetry-equivalent family: the
  // greatest, compared entry by entry from the first, among +-W hkl over the lattice's rotations
  // (4 2 2 rather than -2 -4 2 for a cubic lattice).
  IndexTriple representative{};
};

// The conventional indices of the row with indices `primitive` on the solution's direct basis.
ConventionalIndices ConventionalIndicesOfRow(const IndexTriple& primitive, const CrystalOrientation& orientation);

}  // namespace orv
