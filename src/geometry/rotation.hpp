// Rotations of the crystal: the rotation nearest a matrix, its angle, Bunge Euler angles and the
// misorientation between two orientations of a crystal with symmetry.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"

namespace orv {

// A rotation matrix acts on column vectors: a vector v given in the crystal's Cartesian frame lies
// along U v in the frame of the spot directions (U[i][j] is row i, column j).

Mat3 TransposeMatrix(const Mat3& m);

// The rotation nearest to m (the orthogonal factor of its polar decomposition), for a matrix with a
// positive determinant; scaling m does not change it. False (output untouched) when m is singular,
// has a negative determinant, is not finite, or the iteration does not settle.
bool NearestRotation(const Mat3& m, Mat3& rotation);

// The angle of a rotation, in degrees from 0 to 180.
double RotationAngleDegrees(const Mat3& rotation);

// Bunge Euler angles (phi1, Phi, phi2) in degrees of U = Rz(phi1) Rx(Phi) Rz(phi2), with
// Rz(t) = [[cos t, -sin t, 0], [sin t, cos t, 0], [0, 0, 1]]: the crystal frame is brought onto the
// frame of the directions by turning it phi2 about its z, Phi about its new x and phi1 about the
// new z. phi1 and phi2 in [0, 360), Phi in [0, 180]; for Phi = 0 or 180 phi2 is 0.
Vec3 BungeEulerAngles(const Mat3& rotation);
Mat3 RotationFromBungeEulerAngles(const Vec3& anglesInDegrees);

// The smallest angle, in degrees, of the rotations that carry orientation `first` onto any of
// the orientations `second * S` with S among `crystalRotations` (the proper rotations of the
// crystal's symmetry in its Cartesian frame; the identity is always tried).
double MisorientationDegrees(const Mat3& first, const Mat3& second, const std::vector<Mat3>& crystalRotations);

}  // namespace orv
