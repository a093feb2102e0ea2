// The line each program prints for --version.
#include "programs/version_line.hpp"

#include "run_data/program_version.hpp"

namespace orv {

std::string VersionLine(const std::string& program) { return program + " " + kProgramVersion; }

}  // namespace orv
