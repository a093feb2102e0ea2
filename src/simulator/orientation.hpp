// Orientation of the crystal in the laboratory frame: random or from Euler angles.
#pragma once

#include "geometry/vector_matrix.hpp"
#include "simulator/random_source.hpp"

namespace orv::sim {

// A rotation matrix R acts on column vectors: a crystal-frame vector v lies along R v in the
// laboratory frame (R[i][j] is row i, column j).

// A rotation drawn uniformly over all rotations (uniform unit quaternion, Shoemake's method).
Mat3 RandomRotation(RandomSource& random);

// Bunge Euler angles in degrees: R = Rz(phi1) Rx(Phi) Rz(phi2).
Mat3 RotationFromEulerAngles(double phi1, double Phi, double phi2);

// Every row of the basis (a basis vector) turned by the rotation.
Mat3 RotateBasis(const Mat3& basis, const Mat3& rotation);

// R v for a column vector v.
Vec3 RotateVector(const Mat3& rotation, const Vec3& v);

}  // namespace orv::sim
