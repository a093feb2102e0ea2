// Zone arcs of one run, each computed once on first use and kept for the rest of the search.
#pragma once

#include <memory>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "search/zone_geometry.hpp"

namespace orv {

// ZoneArc(p, q) depends only on p, q and the reflections 1..n, which the search never changes, so
// every ordered pair is computed at most once per run. Lists handed out stay valid until Reset.
class ZoneArcCache {
 public:
  // Forgets every arc; the next lookups compute the arcs of reflections 1..n afresh.
  void Reset(int n);
  // ZoneArc(p, q) for reflections p, q in 1..n; computed on the first request.
  ReflectionList Arc(const DirectionStore& directions, int p, int q);

 private:
  static constexpr int kBlockShift = 16;
  static constexpr int kBlockSize = 1 << kBlockShift;  // longer than any arc (at most 997 entries)

  int n_ = 0;
  std::vector<int> start_;  // per ordered pair: where its entries begin, -1 while not computed
  std::vector<int> count_;
  std::vector<std::unique_ptr<int[]>> blocks_;  // entries in blocks that never move
  int used_ = kBlockSize;                         // entries used in the last block
  std::vector<int> scratch_;
};

}  // namespace orv
