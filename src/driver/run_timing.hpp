// The elapsed times of a run and the lines that report them.
#pragma once

#include <string>

#include "run_data/clock.hpp"

namespace orv {

// " System time :", 15 blanks, the seconds in a field of `width` with `decimals`, " seconds".
std::string SystemTimeLine(double seconds, int width, int decimals);
// The same for " CPU time    :".
std::string CpuTimeLine(double seconds, int width, int decimals);

}  // namespace orv
