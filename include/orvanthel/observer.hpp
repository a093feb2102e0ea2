// Progress and cancellation of a running search.
#pragma once

namespace orvanthel {

// Called on the thread that called Index, in the order of the search. The defaults do nothing.
class IndexingObserver {
 public:
  virtual ~IndexingObserver() = default;
  // The search reached the triples of spots whose first spot is `first` of `total`.
  virtual void Progress(int /*first*/, int /*total*/) {}
  // Asked every few hundred triples; true stops the search, and Index throws Error(Cancelled).
  virtual bool StopRequested() { return false; }
};

}  // namespace orvanthel
