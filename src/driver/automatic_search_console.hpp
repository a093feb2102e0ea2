// What the automatic search shows on the console and notes in the results file.
#pragma once

#include <ostream>
#include <string>

#include "indexing/automatic_search.hpp"

namespace orv {

// " Automatic search, step 2 : type 5, indices up to 12 :     0.012 s, best support  27 of  30", or
// the reason a step was skipped.
void WriteStepLine(std::ostream& console, int position, const StepOutcome& step, int reflections);

// " Automatic search used step 3 : type 5 and zone-axis cells, indices up to 12".
void WriteUsedStepLine(std::ostream& console, const AutomaticSearchResult& result);

// The results file's note: "step 3 of 4, type 5 and zone-axis cells, indices up to 12".
std::string UsedStepNote(const AutomaticSearchResult& result);

}  // namespace orv
