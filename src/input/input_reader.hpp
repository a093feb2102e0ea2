// The reader of ".kqt" input files: keyword entries, values, checks and the parameter echo.
#pragma once

#include <ostream>
#include <string>

#include "driver/run_parameters.hpp"

namespace orv {

// Reads the named input file into the parameters and the direction store, echoing every value on
// the console. Any error ends the run through PauseAndStop (an exception of type ProgramStop).
void ReadInputFile(const std::string& fileName, RunParameters& parameters, DirectionStore& directions,
                   std::ostream& console);

}  // namespace orv
