// The Cartesian frame of a crystal (Busing and Levy: a* along x, b* in the x-y plane, c* completing
// a right-handed frame), the matrix B of a cell in that frame, and the orientation U of a measured
// reciprocal basis.
#pragma once

#include "geometry/vector_matrix.hpp"

namespace orv {

// The metric G(i, j) = a_i . a_j of a cell given by its edges and its angles alpha = (b, c),
// beta = (c, a), gamma = (a, b) in degrees.
Mat3 MetricOfCellParameters(const Vec3& lengths, const Vec3& anglesInDegrees);

// B of the cell with direct metric G: its columns are a*, b*, c* (lengths 1/d, no factor 2 pi) in
// the crystal frame, upper triangular with a positive diagonal, so B^T B = G^-1. False (b untouched)
// when G is not the metric of a cell with volume.
bool BusingLevyB(const Mat3& directMetric, Mat3& b);

// The direct basis of a cell in the crystal frame, rows a, b, c: the dual of the columns of B.
bool DirectBasisInCrystalFrame(const Mat3& b, Mat3& rows);

// UB of a reciprocal basis given by its rows a*, b*, c* in the frame of the spot directions: the
// matrix whose columns are those rows, so that UB (h k l)^T is the reciprocal-lattice vector.
Mat3 UBOfReciprocalRows(const Mat3& reciprocalRows);

// The rotation U that brings B closest to UB (the rotation of the polar decomposition of UB B^-1):
// exact when the measured cell is the cell of B, the best rotation when the measured cell is
// strained. False (u untouched) for a singular B or a UB of the wrong handedness.
bool OrientationOfUB(const Mat3& ub, const Mat3& b, Mat3& u);

}  // namespace orv
