// System clock readings for the date line and the timing lines of a run.
#include "run_data/clock.hpp"

#include <sys/resource.h>
#include <sys/time.h>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace orv {

namespace {

struct LocalNow {
  std::tm parts{};
  int milliseconds = 0;
};

LocalNow ReadNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  LocalNow result;
  localtime_r(&seconds, &result.parts);
  result.milliseconds = static_cast<int>(ms % 1000);
  return result;
}

}  // namespace

LocalDateTime ReadLocalDateTime() {
  const LocalNow now = ReadNow();
  char date[64];
  char time[64];
  std::snprintf(date, sizeof date, "%04d%02d%02d", (now.parts.tm_year + 1900) % 10000, now.parts.tm_mon + 1,
                now.parts.tm_mday);
  std::snprintf(time, sizeof time, "%02d%02d%02d.%03d", now.parts.tm_hour, now.parts.tm_min, now.parts.tm_sec,
                now.milliseconds);
  return {date, time};
}

double SecondsSinceMidnight() {
  const LocalNow now = ReadNow();
  return now.parts.tm_hour * 3600.0 + now.parts.tm_min * 60.0 + now.parts.tm_sec + now.milliseconds * 0.001;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double user = static_cast<double>(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec * 1e-6;
  const double system = static_cast<double>(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec * 1e-6;
  return user + system;
}

double ElapsedWallSeconds(double startOfDay, double nowOfDay) {
  double elapsed = nowOfDay - startOfDay;
  if (elapsed < 0.0) elapsed += 86400.0;
  return elapsed;
}

}  // namespace orv
