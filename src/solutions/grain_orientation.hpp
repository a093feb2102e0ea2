// The orientation of a grain with its cell held to the symmetric cell of its lattice.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"
#include "solutions/crystal_orientation.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

struct GrainOrientation {
  bool oriented = false;
  CrystalOrientation orientation;  // of the grain's basis as measured (its setting, B and its own U)
  Mat3 u{};                        // the rotation fitted with the cell held to B
  Mat3 ub{};                       // U B: columns a*, b*, c* of the held cell in the frame of the spots
  Vec3 eulerDegrees{};             // Bunge angles of u
  int spotsFitted = 0;
  double rmsMisfitDegrees = 0.0;   // of the spots against U B h
};

// The least-squares basis of a few dozen directions may trade a turn for a shear of the cell: spots
// in a cone of a few tens of degrees move alike under both. A grain's lattice is known, so its
// orientation is fitted with the cell held to the one its symmetry gives (the conventional cell of
// the metric averaged over the lattice's rotations, B of OrientSolution): U is the rotation that
// brings the unit vectors of B h closest to the observed directions of the grain's spots (the
// nearest rotation to sum u (B h)^T / |B h|), h the conventional indices of each spot under the
// grain's basis. `spots` are numbered from 1. Not oriented when the basis has no orientation or
// fewer than three spots are given.
GrainOrientation OrientGrain(const Mat3& basis, const LatticeSymmetry& symmetry, const std::vector<int>& spots,
                             const RunParameters& parameters, const DirectionStore& directions);

}  // namespace orv
