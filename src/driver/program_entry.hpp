// The program entry: command line, file-name prompt, help, and the one indexing run.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace orv {

// Runs the program on the arguments after its own name; returns the exit status.
int RunProgram(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out);

}  // namespace orv
