// The elapsed times of a run and the lines that report them.
#pragma once

#include <string>

namespace orv {

// Wall-clock seconds between two times of day; a run that passed midnight gets 86400 added once.
double ElapsedWallSeconds(double startOfDay, double nowOfDay);

// " System time :", 15 blanks, the seconds in a field of `width` with `decimals`, " seconds".
std::string SystemTimeLine(double seconds, int width, int decimals);
// The same for " CPU time    :".
std::string CpuTimeLine(double seconds, int width, int decimals);

}  // namespace orv
