// Readings of the system clocks: local date and time, time of day, and the process CPU time.
#pragma once

#include <string>

namespace orv {

struct LocalDateTime {
  std::string date;  // eight digits: year, month, day ("20261208")
  std::string time;  // ten characters: hours, minutes, seconds with milliseconds ("081646.123")
};

LocalDateTime ReadLocalDateTime();

// Wall-clock time of day in seconds since local midnight, with millisecond resolution.
double SecondsSinceMidnight();

// CPU time (user plus kernel) used by the process so far, in seconds.
double ProcessCpuSeconds();

// Wall-clock seconds between two times of day; a run that passed midnight gets 86400 added once.
double ElapsedWallSeconds(double startOfDay, double nowOfDay);

}  // namespace orv
