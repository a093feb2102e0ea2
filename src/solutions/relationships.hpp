// The transformation matrix between two kept solutions.
#pragma once

#include "run_data/solution_records.hpp"

namespace orv {

// The matrix T with basis i = T * basis j. False (T untouched) when basis j cannot be inverted, so
// that pair relates to nothing.
bool RelationMatrix(const SolutionStore& store, int i, int j, Mat3& T);

}  // namespace orv
