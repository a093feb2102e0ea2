// The inverse-pole-figure colour key: the colour of the crystal direction that lies along a
// direction of the sample, from the standard triangle of the lattice's symmetry.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "geometry/vector_matrix.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

struct Rgb {
  double red = 0.0;
  double green = 0.0;
  double blue = 0.0;
};

// The corners of the standard triangle of a lattice type, as direct-lattice rows [uvw] of its
// conventional cell, coloured red, green and blue: cubic 001, 101, 111; hexagonal and rhombohedral
// (hexagonal axes) 001, 100, 210; tetragonal 001, 100, 110; orthorhombic, monoclinic and triclinic
// 001, 100, 010 (for the last two the triangle does not fill the sphere under their symmetry,
// and a direction outside it takes the colour of its nearest point on the triangle's edge).
std::array<std::array<int, 3>, 3> KeyCorners(BravaisType type);
// The names of the corners as the key labels them ("001", "101", "111").
std::array<std::string, 3> KeyCornerNames(BravaisType type);

// The corners as unit vectors of the crystal frame of the cell (Busing and Levy).
std::array<Vec3, 3> KeyCornerDirections(BravaisType type, const LatticeCell& cell);

// The colour of the crystal direction `crystalDirection` (crystal frame, any length): among its
// equivalents +-S d under the rotations S (and the inversion, which a diffraction pattern adds),
// the one inside the triangle, or nearest inside it; its weights on the three corners (the
// solution of d = w1 c1 + w2 c2 + w3 c3) divided by the largest give red, green and blue.
Rgb KeyColour(const Vec3& crystalDirection, const std::array<Vec3, 3>& corners, const std::vector<Mat3>& rotations);

// The colour of a point of orientation U (crystal frame to the frame of the directions) for the
// sample direction `sampleDirection` (frame of the directions): the key colour of U^T s.
Rgb OrientationColour(const Mat3& u, const Vec3& sampleDirection, const std::array<Vec3, 3>& corners,
                      const std::vector<Mat3>& rotations);

// "#rrggbb".
std::string HexColour(const Rgb& colour);

}  // namespace orv
