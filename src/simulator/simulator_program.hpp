// The whole of orvanthel-simulate, from its arguments to its exit status.
#pragma once

#include <exception>
#include <ostream>
#include <string>
#include <vector>

namespace orv::sim {

// Reads the arguments (without the program name), simulates and writes the files: the help, the
// version or the summary go to `out`, the error to `err`. Returns the exit status: 0, 2 for a fault
// of the command line, 1 for any other error.
int SimulatorProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The one place where an error that ended the simulation becomes its message on `err` and its exit
// status: a fault of the command line its message and 2; options that give no pattern the reason,
// "; nothing written" and 1; an output file that cannot be written "cannot write" and the name and
// 1; anything else what it says and 1.
int ReportSimulationFailure(const std::exception_ptr& error, std::ostream& err);

}  // namespace orv::sim
