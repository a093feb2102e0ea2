// The matrices that carry a direct basis to the bases of its commensurate lattices of small index.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"
#include "search/sublattice_tables.hpp"

namespace orv {

// The largest index of a commensurate relative that the lattice choice looks at, in either direction.
constexpr int kLargestRelativeIndex = 4;

// Transformations X for the direct bases X B of the lattices commensurate with the lattice of B at
// index 2 to largestIndex (at most 16): for each index m in turn, first the m-fold smaller cells
// (X = T for each T of the sublattice table of m, whose reciprocal lattices lie inside that of B),
// then the m-fold larger cells (X = (T^-1)^T, an integer matrix, whose reciprocal lattices contain
// that of B). Each lattice of each index appears exactly once.
std::vector<Mat3> CommensurateTransforms(const SublatticeTables& tables, int largestIndex = kLargestRelativeIndex);

}  // namespace orv
