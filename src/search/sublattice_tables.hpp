// The sixteen sublattice tables: inverses of the Hermite normal forms of determinant 1 to 16.
#pragma once

#include <array>
#include <vector>

#include "geometry/vector_matrix.hpp"

namespace orv {

constexpr int kMaxSublatticeIndex = 16;

struct SublatticeTables {
  std::array<std::vector<Mat3>, kMaxSublatticeIndex> tables;

  // The table of index m (1..16), in enumeration order.
  const std::vector<Mat3>& Table(int m) const { return tables[static_cast<std::size_t>(m - 1)]; }
};

// Builds all sixteen tables; called once per run, before the search.
void BuildSublatticeTables(SublatticeTables& tables);

// Appends to the table of index m the inverses of all Hermite matrices with the given diagonal.
void EnumerateHermiteMatrices(int m, const std::array<int, 3>& diagonal, SublatticeTables& tables);

}  // namespace orv
