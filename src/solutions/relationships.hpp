// The transformation matrices between every pair of kept solutions, for the results file.
#pragma once

#include "solutions/solution_store.hpp"

namespace orv {

class TextFile;

// For every pair i < j the matrix T with basis i = T * basis j, then a closing dashed line. A pair
// whose basis j cannot be inverted is left out.
void WriteRelationships(TextFile& results, const SolutionStore& store);

}  // namespace orv
