// The log file's view of a run: the lines it writes for what the search and the post-processing report.
#pragma once

#include "run_data/run_events.hpp"

namespace orv {

class TextFile;

// Writes the log lines of every event while the log is open; writes nothing when it is closed.
class LogEventWriter final : public RunObserver {
 public:
  explicit LogEventWriter(TextFile& log) : log_(log) {}

  void TripleStarted() override;
  void SimilarToSolution(int j) override;
  void ReplacedSolution(int j) override;
  void BasisSaved(int record, SupportCounts counts, double quality) override;
  void PostProcessingStarted() override;
  void SolutionsSorted() override;
  void SolutionsResorted() override;

 private:
  TextFile& log_;
};

}  // namespace orv
