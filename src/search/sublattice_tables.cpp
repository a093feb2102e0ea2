// PLACEHOLDER: replaced by the geometry kernel work.
#include "search/sublattice_tables.hpp"
namespace orv {
void BuildSublatticeTables(SublatticeTables&) {}
void EnumerateHermiteMatrices(int, const std::array<int, 3>&, SublatticeTables&) {}
}  // namespace orv
