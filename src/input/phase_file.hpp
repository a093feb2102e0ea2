// The file of candidate phases: one phase a line, "name a b c alpha beta gamma centring".
#pragma once

#include <istream>
#include <string>

#include "run_data/phase_list.hpp"

namespace orv {

// Reads the phases from text: per line a name (no blanks), the conventional cell a b c in the
// length unit of the run and alpha beta gamma in degrees, and the centring letter (P, A, B, C, I,
// F or R; R on hexagonal axes). Lines that are blank or start with '#' are skipped. A line that
// does not describe a cell throws InputError naming the file, the line and the reason; so does a
// file without any phase.
PhaseList ReadPhases(std::istream& in, const std::string& fileName);

// The same from the file `fileName`; a file that cannot be opened throws InputError.
PhaseList ReadPhaseFile(const std::string& fileName);

}  // namespace orv
