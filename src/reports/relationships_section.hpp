// The relationships section of the results file: the matrix between every pair of kept solutions.
#pragma once

#include "run_data/solution_records.hpp"

namespace orv {

class TextFile;

// For every pair i < j the matrix T with basis i = T * basis j, then a closing dashed line. A pair
// whose basis j cannot be inverted is left out.
void WriteRelationships(TextFile& results, const SolutionStore& store);

}  // namespace orv
