// Every zone arc of a run, computed up front (on several threads) and then only read.
#pragma once

#include <vector>

#include "run_data/run_parameters.hpp"
#include "search/zone_geometry.hpp"

namespace orv {

// ZoneArc(p, q) for every ordered pair of reflections 1..n. Being read-only once built, the table
// is shared by every thread of the search.
class ZoneArcTable {
 public:
  // Computes the arcs of reflections 1..n; each list is exactly ZoneArc's.
  void Build(const DirectionStore& directions, int n, int threads);
  ReflectionList Arc(int p, int q) const {
    const Row& row = rows_[static_cast<std::size_t>(p - 1)];
    const int begin = row.starts[static_cast<std::size_t>(q - 1)];
    return {row.entries.data() + begin, row.starts[static_cast<std::size_t>(q)] - begin};
  }

 private:
  // The arcs from one reflection p: those to q are entries[starts[q-1] .. starts[q]).
  struct Row {
    std::vector<int> starts;
    std::vector<int> entries;
  };
  std::vector<Row> rows_;
};

// ZoneArc(p, q) with a cheap screen: (d_p x d_q) . d_r, formed once per pair, differs from the
// triple product by far less than the margin used, so only reflections near the zone circle get
// the exact tests. `norms` holds |d_r| for r = 1..n at index r-1. Appends to `arc` (cleared first).
void ScreenedZoneArc(const DirectionStore& directions, const std::vector<double>& norms, int n, int p, int q,
                     std::vector<int>& arc);

}  // namespace orv
