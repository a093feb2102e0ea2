// "LePage.inp": the cells of the best solutions as a command file for a lattice-symmetry program.
#pragma once

#include <string>

#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

// Writes the first min(NumberOfSolutions, SaveLePage) solutions to the named file.
void WriteLePageFile(const SolutionStore& store, const RunParameters& parameters,
                     const std::string& fileName = "LePage.inp");

}  // namespace orv
