// Elapsed wall-clock and CPU times of a run.
#include "driver/run_timing.hpp"

#include "text/line_format.hpp"

namespace orv {

std::string SystemTimeLine(double seconds, int width, int decimals) {
  return Line().Text(" System time :").X(15).F(seconds, width, decimals).Text(" seconds").str();
}

std::string CpuTimeLine(double seconds, int width, int decimals) {
  return Line().Text(" CPU time    :").X(15).F(seconds, width, decimals).Text(" seconds").str();
}

}  // namespace orv
