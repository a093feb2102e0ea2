// Whether a results file left by an earlier run is whole, so that a resumed batch may keep it.
#pragma once

#include <string>

namespace orv {

// True when the results file ends with a line end and holds as many solution blocks, each up to its
// closing "Volume of the cell" line, as its header's "Number of solutions:" announces, and, when it
// has a relationships section, ends with that section's closing line. A file cut short (by a full
// disk, a copy broken off, a hand edit) is not whole and its pattern runs again.
bool ResultsFileIsWhole(const std::string& path);

}  // namespace orv
