// What the search and the post-processing report while they work; the log and the console listen.
#pragma once

#include "run_data/solution_records.hpp"

namespace orv {

// Every event has an empty default, so a listener overrides only what it shows. The events arrive
// in the order of the single-threaded search, whatever the number of threads that scored them.
class RunObserver {
 public:
  virtual ~RunObserver() = default;

  // The walk reached the triples whose first reflection is i of n.
  virtual void FirstReflectionStarted(int /*i*/, int /*n*/) {}
  // One triple (i, j, k) of the walk is about to be tested.
  virtual void TripleStarted() {}
  // Every triple has been walked.
  virtual void SearchFinished() {}

  // An offered basis describes the same lattice as stored solution j ...
  virtual void SimilarToSolution(int /*j*/) {}
  // ... and, being not worse, took its place.
  virtual void ReplacedSolution(int /*j*/) {}
  // An offered basis was stored as record `record`.
  virtual void BasisSaved(int /*record*/, SupportCounts /*counts*/, double /*quality*/) {}

  // The post-processing began.
  virtual void PostProcessingStarted() {}
  // The refined solutions were sorted by quality.
  virtual void SolutionsSorted() {}
  // The solutions were sorted again after the parity penalty.
  virtual void SolutionsResorted() {}

  // A run that looks for several grains began the round of grain `grain` on the `spots` spots that
  // no earlier grain indexes ...
  virtual void GrainRoundStarted(int /*grain*/, int /*spots*/) {}
  // ... and its best solution indexes `indexed` of them; `isGrain` when that is enough for a grain.
  virtual void GrainRoundFinished(int /*grain*/, int /*indexed*/, bool /*isGrain*/) {}
};

}  // namespace orv
