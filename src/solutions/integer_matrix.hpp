// Integer 3 x 3 matrices between bases of one lattice: products, determinants, signs.
#pragma once

#include <array>

#include "geometry/vector_matrix.hpp"

namespace orv {

using IntMat3 = std::array<std::array<int, 3>, 3>;

IntMat3 MultiplyIntegerMatrices(const IntMat3& a, const IntMat3& b);

int IntegerDeterminant(const IntMat3& m);

IntMat3 NegateIntegerMatrix(const IntMat3& m);

Mat3 IntegerMatrixAsReal(const IntMat3& m);

// The 3^9 matrices with entries -1, 0 and 1, numbered 0 .. kUnitEntryMatrices - 1: entry (r, c) is
// digit 3r + c of the number in base 3, less 1. Reduced bases of a lattice are related by such
// matrices, and so are the symmetry operations on them.
constexpr int kUnitEntryMatrices = 19683;
IntMat3 UnitEntryMatrix(int number);

// product of an integer matrix and a basis: row r is the combination sum over c of m(r, c) basis(c).
Mat3 ApplyIntegerMatrix(const IntMat3& m, const Mat3& basis);

}  // namespace orv
