// After the search: refine, sort, cut, scale to the user's volume, and write the results file.
#pragma once

#include <ostream>
#include <string>

#include "driver/run_parameters.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

class TextFile;

void PostProcessSolutions(const std::string& inputFileName, const RunParameters& parameters,
                          const DirectionStore& directions, SolutionStore& store, TextFile& log,
                          std::ostream& console);

}  // namespace orv
