// Console notes that keep a first run from misleading: the volume the cells were scaled to, and the
// lattice that the choice of lattice would have put first.
#pragma once

#include <string>
#include <vector>

#include "driver/run_summary.hpp"
#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

// Nothing when the input file gave _VolumeOfPrimitiveCell; otherwise two lines saying that the
// cells are scaled to the default volume and how to give the true one.
std::vector<std::string> VolumeNoteLines(const RunParameters& parameters);

// Whether two summaries name different lattices: another Bravais type, or conventional cells of the
// same type whose sorted lengths differ by more than 1 %.
bool AnotherLattice(const RunSummary& shown, const RunSummary& chosen);

// For a run without the lattice choice: the choice made on a copy of the store; when it puts
// another lattice first than the run's solution 1, two lines naming that lattice, its conventional
// cell, its support and --choose-lattice. Nothing otherwise, and nothing when the choice cannot be
// made (a hint never ends a run).
std::vector<std::string> LatticeHintLines(const RunParameters& parameters, const DirectionStore& directions,
                                          const SolutionStore& store, const RunSummary& shown,
                                          const std::vector<Mat3>& relativeTransforms);

}  // namespace orv
