// The log and console listeners of a real run, for tests that check the lines a step leads to.
#pragma once

#include <sstream>

#include "driver/progress_display.hpp"
#include "reports/log_events.hpp"
#include "text/text_file.hpp"
#include "run_data/observer_fan_out.hpp"

namespace orv::testing {

struct RunListeners {
  TextFile log;  // closed unless a test opens it
  std::ostringstream console;
  LogEventWriter logLines{log};
  ConsoleProgress progress{console};
  ObserverFanOut events;

  RunListeners() {
    events.Add(progress);
    events.Add(logLines);
  }
  RunListeners(const RunListeners&) = delete;
  RunListeners& operator=(const RunListeners&) = delete;
};

}  // namespace orv::testing
