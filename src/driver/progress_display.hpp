// The one console line that shows how far the search has come, rewritten in place.
#pragma once

#include <ostream>

#include "run_data/run_events.hpp"

namespace orv {

// Returns to the start of the line and writes " Progress : " ... i " -->" n, without line end.
void WriteProgressRecord(std::ostream& console, int i, int n);

// Blanks out the progress line and returns to its start, so the next output begins on a clean line.
void ClearProgressLine(std::ostream& console);

// The console's view of the search: the progress line for every first reflection, blanked at the end.
class ConsoleProgress final : public RunObserver {
 public:
  explicit ConsoleProgress(std::ostream& console) : console_(console) {}
  void FirstReflectionStarted(int i, int n) override { WriteProgressRecord(console_, i, n); }
  void SearchFinished() override { ClearProgressLine(console_); }

 private:
  std::ostream& console_;
};

}  // namespace orv
