// The one console line that shows how far the search has come, rewritten in place.
#pragma once

#include <ostream>

namespace orv {

// Returns to the start of the line and writes " Progress : " ... i " -->" n, without line end.
void WriteProgressRecord(std::ostream& console, int i, int n);

// Blanks out the progress line and returns to its start, so the next output begins on a clean line.
void ClearProgressLine(std::ostream& console);

}  // namespace orv
