// The two in-place reductions of a basis: Gauss steps, and unit steps with the sum-vector step.
#pragma once

#include "geometry/vector_matrix.hpp"

namespace orv {

// Guard against endless alternation at boundary cases where rounding makes a step and its reverse
// both look like reductions; a reduction that ends by itself never comes near it.
constexpr int kMaxReductionPasses = 10000;

// q := q - NINT(s/t) p: one Gauss step of q against p, with s = p . q and t = p . p.
void SubtractNearestMultiple(const Vec3& p, Vec3& q, double s, double t);

// q := q - p when p . q >= 0, else q := q + p (the product taken afresh from the vectors).
void SubtractSignedVector(const Vec3& p, Vec3& q);

// Reduces the rows of the basis in place by nearest-integer multiples; returns the number of passes.
int ReduceBasisGauss(Mat3& basis);

// Reduces the rows in place by unit steps and the sum-vector step; returns the number of passes.
int ReduceBasisStepwise(Mat3& basis);

}  // namespace orv
