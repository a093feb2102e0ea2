// The console lines of a run that looked for several grains: one line per grain.
#pragma once

#include <string>
#include <vector>

#include "solutions/grain_set.hpp"

namespace orv {

// " Grains : 2 found, 3 asked for, at least 9 spots each", then per grain
// "    Grain 1 : cF   a = 5.431  b = 5.431  c = 5.431   90.00  90.00  90.00   40 spots (2 shared)"
// followed by ", phase Si" or ", no phase fits (volume from the input)" when phases were given,
// then " Spots of no grain : 5".
std::vector<std::string> GrainConsoleLines(const GrainSet& set);

}  // namespace orv
