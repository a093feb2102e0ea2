// The zone generators on the precomputed arc table, with list membership looked up in marks.
#pragma once

#include <vector>

#include "run_data/run_parameters.hpp"
#include "search/zone_arc_table.hpp"

namespace orv {

// Marks on reflection numbers that are cleared in constant time: a number is marked when its
// stamp equals the current round.
class ReflectionMarks {
 public:
  void Resize(int n) { stamps_.assign(static_cast<std::size_t>(n) + 2, 0); }
  void NewRound() {
    if (++round_ == 0) {  // after 2^32 rounds the old stamps could come back: clear them
      std::fill(stamps_.begin(), stamps_.end(), 0u);
      round_ = 1;
    }
  }
  void Mark(int e) { stamps_[static_cast<std::size_t>(e)] = round_; }
  bool IsMarked(int e) const { return stamps_[static_cast<std::size_t>(e)] == round_; }
  void MarkAll(ReflectionList list) {
    for (const int e : list) Mark(e);
  }
  // The first entry of the list that is marked; 0 if none.
  int FirstMarked(ReflectionList list) const {
    for (const int e : list)
      if (IsMarked(e)) return e;
    return 0;
  }

 private:
  std::vector<unsigned> stamps_;
  unsigned round_ = 0;
};

// One per thread: the generators of fourth directions of the two- and three-zone searches and the
// zone crossings, giving exactly the lists of ThreeZoneReflections, TwoZoneReflections and
// ZoneCrossings. The first common element of two increasing arcs is their smallest common one,
// which is the first entry of either that the other one marked; and the inner loops that repeat
// work of the outer ones are hoisted.
class MarkedZoneGenerators {
 public:
  MarkedZoneGenerators(const ZoneArcTable& arcs, int n);

  void ThreeZoneReflections(int i, int j, int k, std::vector<int>& result);
  void TwoZoneReflections(int i, int j, int k, std::vector<int>& result);
  void ZoneCrossings(const DirectionStore& directions, int i, int j, int k, std::vector<Vec3>& result) const;

 private:
  const ZoneArcTable& arcs_;
  ReflectionMarks outer_;
  ReflectionMarks third_;
  ReflectionMarks listed_;
};

}  // namespace orv
