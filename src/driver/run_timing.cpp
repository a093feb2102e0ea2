// Elapsed wall-clock and CPU times of a run.
#include "driver/run_timing.hpp"

#include "text/line_format.hpp"

namespace orv {

double ElapsedWallSeconds(double startOfDay, double nowOfDay) {
  double elapsed = nowOfDay - startOfDay;
  if (elapsed < 0.0) elapsed += 86400.0;
  return elapsed;
}

std::string SystemTimeLine(double seconds, int width, int decimals) {
  return Line().Text(" System time :").X(15).F(seconds, width, decimals).Text(" seconds").str();
}

std::string CpuTimeLine(double seconds, int width, int decimals) {
  return Line().Text(" CPU time    :").X(15).F(seconds, width, decimals).Text(" seconds").str();
}

}  // namespace orv
