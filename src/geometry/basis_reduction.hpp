// The two in-place reductions of a basis: Gauss steps, and unit steps with the sum-vector step.
#pragma once

#include "geometry/vector_matrix.hpp"

namespace orv {

// Guard against endless alternation at boundary cases where rounding makes a step and its reverse
// both look like reductions; a reduction that ends by itself never comes near it.
constexpr int kMaxReductionPasses = 10000;

// Reduces the rows of the basis in place by nearest-integer multiples; returns the number of passes.
int ReduceBasisGauss(Mat3& basis);

// Reduces the rows in place by unit steps and the sum-vector step; returns the number of passes.
int ReduceBasisStepwise(Mat3& basis);

}  // namespace orv
