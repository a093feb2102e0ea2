// The proper rotations of a lattice, as integer matrices on a basis of it.
#pragma once

#include <vector>

#include "solutions/lattice_symmetry.hpp"

namespace orv {

// Every integer matrix W of determinant 1 with entries -1, 0 and 1 that keeps the metric G of the
// basis (W G W^T = G to a relative 1e-6): the new basis W * basis is then the same lattice turned
// by a proper rotation. Entries up to 1 suffice for the conventional cells of every Bravais type.
// The identity comes first, the others in a fixed order.
std::vector<IntMat3> ProperLatticeRotations(const Mat3& metric);

// Those of the rotations that carry the lattice onto itself when the conventional basis holds
// centring points: the basis is toConventional * (a primitive basis), and W is kept when the
// primitive basis goes to an integral combination of itself (T^-1 W T integral). The hexagonal cell
// of a rhombohedral lattice keeps 6 of its 12 rotations; every other centring keeps them all.
std::vector<IntMat3> RotationsKeepingLattice(const std::vector<IntMat3>& rotations, const IntMat3& toConventional);

// The same rotations as Cartesian matrices S in the frame of the rows of `basis`: W * basis has the
// rows S a_i.
std::vector<Mat3> CartesianRotations(const std::vector<IntMat3>& rotations, const Mat3& basis);

}  // namespace orv
