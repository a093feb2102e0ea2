// The orientation of a point in the setting its grain was given where it was first found, so
// that orientation and strain vary smoothly across a grain rather than jump between settings the
// lattice's symmetry makes equivalent.
#pragma once

#include <vector>

#include "solutions/crystal_orientation.hpp"

namespace orv {

// The lattice's rotations in the crystal frame of a conventional cell (the identity first), those
// that keep the lattice whose conventional basis is toConventional * (a primitive basis), as
// OrientSolution finds them; empty when the cell has no crystal frame.
std::vector<Mat3> CrystalRotationsOfCell(const LatticeCell& cell, const IntMat3& toConventional);

// The orientation of `directBasis` (rows, frame of the directions) with the conventional basis
// toConventional * directBasis, against the B of `settingCell`: what OrientSolution gives, but
// in the given setting rather than the one of smallest rotation. False when the basis has no
// positive volume in that setting or the cell has no crystal frame.
bool OrientInSetting(const Mat3& directBasis, BravaisType type, const LatticeCell& settingCell,
                     const IntMat3& toConventional, CrystalOrientation& orientation);

}  // namespace orv
