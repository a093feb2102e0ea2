// "LePage.inp": the cells of the best solutions as a command file for a lattice-symmetry program.
#pragma once

#include <string>

#include "driver/run_parameters.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

// Writes the first min(NumberOfSolutions, SaveLePage) solutions to the named file.
void WriteLePageFile(const SolutionStore& store, const RunParameters& parameters,
                     const std::string& fileName = "LePage.inp");

}  // namespace orv
