// The console line that confirms a keyword's value once it has passed its checks.
#pragma once

#include <string>

#include "run_data/run_parameters.hpp"
#include "input/keywords.hpp"

namespace orv {

// The echo line of the keyword, ending in column 62; empty for `_Reflections`, which has none.
// For `_AngularDeviationCriterion` the parameter AngularDeviationCriterion holds the value in
// degrees, as read.
std::string EchoLine(Keyword keyword, const RunParameters& parameters);

}  // namespace orv
