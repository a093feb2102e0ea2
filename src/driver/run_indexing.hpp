// One complete indexing run on one input file, from the defaults to the timing lines.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace orv {

// Reads and checks the file, searches, post-processes, writes the reports and the timings. An input
// error ends the run through PauseAndStop, whose pause reads from `in`.
void RunIndexing(const std::string& fileName, std::istream& in, std::ostream& console);

}  // namespace orv
