// Least-squares fit of a reciprocal basis to the directions of indexed reflections alone.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"

namespace orv {

// One reflection of the fit: its integer Miller indices, its observed direction (a unit vector)
// and its weight.
struct DirectionObservation {
  Vec3 indices{};
  Vec3 direction{};
  double weight = 1.0;
};

// A Laue pattern fixes only the directions of the reciprocal-lattice vectors, so the fit asks that
// each predicted vector h R be parallel to its observed direction u: it minimises
// sum w |(h R) x u|^2 over the nine entries of R at a fixed norm of R, which is the eigenvector of
// the smallest eigenvalue of a 9 x 9 matrix. With w = 1/|h R|^2 for the basis being refined the
// terms are the squared sines of the angular misfits. The sign is chosen so that the predicted
// vectors point along the observed directions; the scale of R is arbitrary. False (R untouched)
// when the directions do not fix the basis: fewer than four reflections, or a second eigenvalue
// that is not clearly above the smallest.
bool FitBasisToDirections(const std::vector<DirectionObservation>& observations, Mat3& reciprocal);

}  // namespace orv
