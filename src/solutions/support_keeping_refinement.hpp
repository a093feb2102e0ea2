// Least-squares refinement of a basis that is kept whenever it keeps the reflections the basis supports.
#pragma once

#include "run_data/run_parameters.hpp"
#include "solutions/basis_quality.hpp"

namespace orv {

// Refits the basis to the directions of the reflections it supports (FitBasisToDirections, each
// reflection weighted so that its term is its squared angular misfit), leaving out those whose
// misfit is more than four times the median, which are most likely spurious spots that a lattice
// row passes by chance. The refit is repeated from the new basis, with the reflections indexed
// afresh, until it settles. The basis becomes the last refit that supports at least as many
// reflections within half the tolerance and within the tolerance as the original basis did:
// refinement that only makes the cell more accurate is not thrown away. The basis keeps its cell
// volume. Returns the score of the basis it ends with.
// With a keptShare below 1, a refit is kept when it supports at least that share of the reflections
// within the tolerance that the original basis supported: for a grain, whose cell and orientation
// count for more than a spot that the rough basis of four spots caught at the edge of the tolerance.
ScoredBasis RefineKeepingSupport(Mat3& basis, const RunParameters& parameters, const DirectionStore& directions,
                                 double keptShare = 1.0);

}  // namespace orv
