// Hands every event of a run to several listeners in turn, in the order they were added.
#pragma once

#include <vector>

#include "run_data/run_events.hpp"

namespace orv {

class ObserverFanOut final : public RunObserver {
 public:
  void Add(RunObserver& listener) { listeners_.push_back(&listener); }

  void FirstReflectionStarted(int i, int n) override {
    for (RunObserver* l : listeners_) l->FirstReflectionStarted(i, n);
  }
  void TripleStarted() override {
    for (RunObserver* l : listeners_) l->TripleStarted();
  }
  void SearchFinished() override {
    for (RunObserver* l : listeners_) l->SearchFinished();
  }
  void SimilarToSolution(int j) override {
    for (RunObserver* l : listeners_) l->SimilarToSolution(j);
  }
  void ReplacedSolution(int j) override {
    for (RunObserver* l : listeners_) l->ReplacedSolution(j);
  }
  void BasisSaved(int record, SupportCounts counts, double quality) override {
    for (RunObserver* l : listeners_) l->BasisSaved(record, counts, quality);
  }
  void PostProcessingStarted() override {
    for (RunObserver* l : listeners_) l->PostProcessingStarted();
  }
  void SolutionsSorted() override {
    for (RunObserver* l : listeners_) l->SolutionsSorted();
  }
  void SolutionsResorted() override {
    for (RunObserver* l : listeners_) l->SolutionsResorted();
  }
  void GrainRoundStarted(int grain, int spots) override {
    for (RunObserver* l : listeners_) l->GrainRoundStarted(grain, spots);
  }
  void GrainRoundFinished(int grain, int indexed, bool isGrain) override {
    for (RunObserver* l : listeners_) l->GrainRoundFinished(grain, indexed, isGrain);
  }

 private:
  std::vector<RunObserver*> listeners_;
};

}  // namespace orv
