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
// A run that ends early blanks it as well, so that its error message starts on a clean line.
class ConsoleProgress final : public RunObserver {
 public:
  explicit ConsoleProgress(std::ostream& console) : console_(console) {}
  ConsoleProgress(const ConsoleProgress&) = delete;
  ConsoleProgress& operator=(const ConsoleProgress&) = delete;
  ~ConsoleProgress() override {
    if (showing_) ClearProgressLine(console_);
  }
  void FirstReflectionStarted(int i, int n) override {
    WriteProgressRecord(console_, i, n);
    showing_ = true;
  }
  void SearchFinished() override {
    ClearProgressLine(console_);
    showing_ = false;
  }

 private:
  std::ostream& console_;
  bool showing_ = false;
};

}  // namespace orv
