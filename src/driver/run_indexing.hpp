// One complete indexing run on one input file, from the defaults to the timing lines.
#pragma once

#include <ostream>
#include <string>

#include "driver/run_options.hpp"
#include "driver/run_summary.hpp"
#include "search/search_bases.hpp"

namespace orv {

// Reads and checks the file, searches, post-processes, writes the reports and the timings. An input
// that cannot be used throws InputError before any output file exists; an output file that cannot be
// written throws OutputFileError. Returns solution 1 in brief.
RunSummary RunIndexing(const std::string& fileName, const RunOptions& options, std::ostream& console);

// The same run with the search strategy given: the tests compare the fast search with the literal one
// through it.
RunSummary RunIndexing(const std::string& fileName, const RunOptions& options, std::ostream& console,
                       SearchStrategy strategy);

}  // namespace orv
