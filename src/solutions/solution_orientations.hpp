// The orientation of every kept solution of a run and, against a reference cell, the strain of
// solution 1: what the orientation reports show.
#pragma once

#include <optional>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/crystal_orientation.hpp"
#include "solutions/deviatoric_strain.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

struct SolutionOrientations {
  // One entry per kept solution in report order; false where the lattice was not analysed or
  // could not be put in the crystal frame.
  std::vector<bool> oriented;
  std::vector<CrystalOrientation> orientation;
  // The strain of solution 1, when a reference cell was given and solution 1 was oriented.
  std::optional<DeviatoricStrain> strain;
};

// Orients solutions 1..NumberOfSolutions, each from the least-squares basis of the directions it
// indexes (LeastSquaresBasis), and with a reference measures the strain of solution 1
// (throws ReferenceCellMismatch when the reference does not describe its lattice); solution 1's
// orientation is then that of the reference cell (OrientationOfReference).
SolutionOrientations OrientSolutions(const SolutionStore& store, const SolutionLattices& lattices,
                                     const std::optional<ReferenceCell>& reference, const RunParameters& parameters,
                                     const DirectionStore& directions);

}  // namespace orv
