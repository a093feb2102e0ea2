// One complete indexing run on one input file, from the defaults to the timing lines.
#pragma once

#include <ostream>
#include <string>

#include "driver/run_options.hpp"

namespace orv {

// Reads and checks the file, searches, post-processes, writes the reports and the timings. An input
// that cannot be used throws InputError before any output file exists; an output file that cannot be
// written throws OutputFileError.
void RunIndexing(const std::string& fileName, const RunOptions& options, std::ostream& console);

}  // namespace orv
