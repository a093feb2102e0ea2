// The zone generators on the precomputed arc table, with list membership looked up in marks.
#include "search/marked_zone_generators.hpp"

namespace orv {

MarkedZoneGenerators::MarkedZoneGenerators(const ZoneArcTable& arcs, int n) : arcs_(arcs) {
  outer_.Resize(n);
  third_.Resize(n);
  listed_.Resize(n);
}

void MarkedZoneGenerators::ThreeZoneReflections(int i, int j, int k, std::vector<int>& result) {
  result.clear();
  const ReflectionList A = arcs_.Arc(i, j);
  if (A.empty()) return;
  const ReflectionList B = arcs_.Arc(j, k);
  if (B.empty()) return;
  const ReflectionList C = arcs_.Arc(k, i);
  if (C.empty()) return;
  // For a pair (a, b) every c gives either 0 or the same first common element e of arc(a, k) and
  // arc(b, i): e is listed when some arc(c, j) holds it, that is when it lies in their union.
  third_.NewRound();
  for (const int c : C) third_.MarkAll(arcs_.Arc(c, j));
  listed_.NewRound();
  for (const int a : A) {
    const ReflectionList la = arcs_.Arc(a, k);
    if (la.empty()) continue;
    outer_.NewRound();
    outer_.MarkAll(la);
    for (const int b : B) {
      const int e = outer_.FirstMarked(arcs_.Arc(b, i));
      if (e != 0 && third_.IsMarked(e) && !listed_.IsMarked(e)) {
        listed_.Mark(e);
        result.push_back(e);
      }
    }
  }
}

void MarkedZoneGenerators::TwoZoneReflections(int i, int j, int k, std::vector<int>& result) {
  result.clear();
  const ReflectionList A = arcs_.Arc(i, j);
  const ReflectionList B = arcs_.Arc(j, k);
  const ReflectionList C = arcs_.Arc(k, i);
  // Zones through i and through j.
  for (const int b : B) {
    const ReflectionList lb = arcs_.Arc(b, i);
    if (lb.empty()) continue;
    outer_.NewRound();
    outer_.MarkAll(lb);
    for (const int c : C) {
      const int f = outer_.FirstMarked(arcs_.Arc(c, j));
      if (f != 0) result.push_back(f);
    }
  }
  // Zones through j and through k.
  for (const int c : C) {
    const ReflectionList lc = arcs_.Arc(c, j);
    if (lc.empty()) continue;
    outer_.NewRound();
    outer_.MarkAll(lc);
    for (const int a : A) {
      const int f = outer_.FirstMarked(arcs_.Arc(a, k));
      if (f != 0) result.push_back(f);
    }
  }
  // Zones through k and through i.
  for (const int a : A) {
    const ReflectionList la = arcs_.Arc(a, k);
    if (la.empty()) continue;
    outer_.NewRound();
    outer_.MarkAll(la);
    for (const int b : B) {
      const int f = outer_.FirstMarked(arcs_.Arc(b, i));
      if (f != 0) result.push_back(f);
    }
  }
}

void MarkedZoneGenerators::ZoneCrossings(const DirectionStore& directions, int i, int j, int k,
                                         std::vector<Vec3>& result) const {
  result.clear();
  const ReflectionList A = arcs_.Arc(i, j);
  const ReflectionList B = arcs_.Arc(j, k);
  const ReflectionList C = arcs_.Arc(k, i);
  Vec3 crossing{};
  for (const int b : B)
    for (const int c : C)
      if (ZoneMeet(directions, b, i, c, j, crossing)) result.push_back(crossing);
  for (const int c : C)
    for (const int a : A)
      if (ZoneMeet(directions, c, j, a, k, crossing)) result.push_back(crossing);
  for (const int a : A)
    for (const int b : B)
      if (ZoneMeet(directions, a, k, b, i, crossing)) result.push_back(crossing);
}

}  // namespace orv
