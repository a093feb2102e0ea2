// The error ending shared by the whole program: a pause for the user, then the end of the run.
#pragma once

#include <istream>
#include <ostream>

namespace orv {

// Writes " Press Enter to continue.", reads one line from `in` (returning at once when the input is
// at its end or closed), then throws ProgramStop{exitStatus}; the program entry turns it into the
// exit status.
[[noreturn]] void PauseAndStop(std::istream& in, std::ostream& out, int exitStatus);

}  // namespace orv
