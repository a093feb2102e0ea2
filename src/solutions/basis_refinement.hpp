// Least-squares refinement of a direct basis against the reflections it indexes closely.
#pragma once

#include <vector>

#include "run_data/run_parameters.hpp"
#include "geometry/vector_matrix.hpp"

namespace orv {

// Rows of the least-squares problem X * fitted = Y: integer indices and the observed directions
// stretched to the predicted lengths, one row per reflection taken. Sized once for N reflections.
struct RefinementWorkspace {
  explicit RefinementWorkspace(int reflections)
      : X(static_cast<std::size_t>(reflections > 0 ? reflections : 0)),
        Y(static_cast<std::size_t>(reflections > 0 ? reflections : 0)) {}
  std::vector<Vec3> X;
  std::vector<Vec3> Y;
};

// The largest |x_k - NINT(x_k)|; NaN when any component is NaN, so that it passes no tolerance.
double MaxIndexDeviation(const Vec3& x);

// fitted = (X^T X)^-1 X^T Y over rows 1..m; singular (and fitted untouched) when the normal matrix
// cannot be inverted.
void FitReciprocalBasis(const RefinementWorkspace& work, int m, Mat3& fitted, bool& singular);

// Refits the reciprocal basis of `basis` to the reflections whose real indices lie within
// `tolerance` of integers. failed is true, and the basis unchanged, when too few reflections are
// taken or a basis cannot be inverted.
void RefineBasis(double tolerance, Mat3& basis, bool& failed, const RunParameters& parameters,
                 const DirectionStore& directions, RefinementWorkspace& work);

// The reflections of one basis as RefineBasis takes them, for every tolerance at once: those with
// an index direction and indices within the bound, in order, with the largest deviation of their
// real indices from integers and their rows of the least-squares problem.
struct RefinementRows {
  bool invertible = false;  // the basis has a reciprocal basis
  std::vector<double> deviation;
  std::vector<Vec3> X;
  std::vector<Vec3> Y;

  // How many lie within `tolerance`: the reflections RefineBasis takes at it.
  int Within(double tolerance) const;
};

void IndexForRefinement(const Mat3& basis, const RunParameters& parameters, const DirectionStore& directions,
                        int reflections, RefinementRows& rows);

// RefineBasis on the rows of `basis` made by IndexForRefinement: the same outcome, bit for bit.
void RefineBasisFromRows(double tolerance, const RefinementRows& rows, Mat3& basis, bool& failed,
                         const RunParameters& parameters, RefinementWorkspace& work);

}  // namespace orv
