// The events of a search kept for later, to be told to another observer in their order.
#pragma once

#include <vector>

#include "run_data/run_events.hpp"

namespace orv {

// Keeps what a search reports (its progress, the offers to its store and its end) in order;
// consecutive triples are kept as one count, so the record stays small for any pattern.
class RecordedSearchEvents final : public RunObserver {
 public:
  void FirstReflectionStarted(int i, int n) override;
  void TripleStarted() override;
  void SearchFinished() override;
  void SimilarToSolution(int j) override;
  void ReplacedSolution(int j) override;
  void BasisSaved(int record, SupportCounts counts, double quality) override;

  // Tells `events` everything kept, in the order it came.
  void ReplayTo(RunObserver& events) const;

 private:
  enum class Kind { FirstReflection, Triples, Finished, Similar, Replaced, Saved };
  struct Event {
    Kind kind;
    int a = 0;  // i, the number of triples, j or the record
    int b = 0;  // n
    SupportCounts counts;
    double quality = 0.0;
  };
  std::vector<Event> events_;
};

}  // namespace orv
