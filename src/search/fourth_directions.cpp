// Fourth directions for an oriented triple: the zone generators, the cone test and the triple test.
#include "search/fourth_directions.hpp"

#include <algorithm>
#include <cmath>

namespace orv {

bool IsUsableTriple(double tripleProduct) {
  const double d = std::fabs(tripleProduct);
  return kFlattestTriple <= d && d <= kWidestTriple;
}

bool PassesFourthDirectionTest(const DirectionStore& directions, int i, int j, int k, int l) {
  return TripleProduct(directions, i, j, l) >= kConeMargin && TripleProduct(directions, i, l, k) >= kConeMargin &&
         TripleProduct(directions, l, j, k) >= kConeMargin;
}

void ThreeZoneReflections(const DirectionStore& directions, int i, int j, int k, ZoneArcCache& arcs,
                          std::vector<int>& result) {
  result.clear();
  const ReflectionList A = arcs.Arc(directions, i, j);
  if (A.empty()) return;
  const ReflectionList B = arcs.Arc(directions, j, k);
  if (B.empty()) return;
  const ReflectionList C = arcs.Arc(directions, k, i);
  if (C.empty()) return;
  for (const int a : A) {
    const ReflectionList la = arcs.Arc(directions, a, k);
    if (la.empty()) continue;
    for (const int b : B) {
      const ReflectionList lb = arcs.Arc(directions, b, i);
      if (lb.empty()) continue;
      for (const int c : C) {
        const ReflectionList lc = arcs.Arc(directions, c, j);
        if (lc.empty()) continue;
        const int f = FirstCommonOfThree(la, lb, lc);
        if (f != 0 && std::find(result.begin(), result.end(), f) == result.end()) result.push_back(f);
      }
    }
  }
}

void TwoZoneReflections(const DirectionStore& directions, int i, int j, int k, ZoneArcCache& arcs,
                        std::vector<int>& result) {
  result.clear();
  const ReflectionList A = arcs.Arc(directions, i, j);
  const ReflectionList B = arcs.Arc(directions, j, k);
  const ReflectionList C = arcs.Arc(directions, k, i);
  // Zones through i and through j.
  for (const int b : B) {
    const ReflectionList lb = arcs.Arc(directions, b, i);
    for (const int c : C) {
      const ReflectionList lc = arcs.Arc(directions, c, j);
      if (lc.empty()) continue;
      const int f = FirstCommon(lb, lc);
      if (f != 0) result.push_back(f);
    }
  }
  // Zones through j and through k.
  for (const int c : C) {
    const ReflectionList lc = arcs.Arc(directions, c, j);
    if (lc.empty()) continue;
    for (const int a : A) {
      const ReflectionList la = arcs.Arc(directions, a, k);
      if (la.empty()) continue;
      const int f = FirstCommon(lc, la);
      if (f != 0) result.push_back(f);
    }
  }
  // Zones through k and through i.
  for (const int a : A) {
    const ReflectionList la = arcs.Arc(directions, a, k);
    if (la.empty()) continue;
    for (const int b : B) {
      const ReflectionList lb = arcs.Arc(directions, b, i);
      if (lb.empty()) continue;
      const int f = FirstCommon(la, lb);
      if (f != 0) result.push_back(f);
    }
  }
}

void ZoneCrossings(const DirectionStore& directions, int i, int j, int k, ZoneArcCache& arcs,
                   std::vector<Vec3>& result) {
  result.clear();
  const ReflectionList A = arcs.Arc(directions, i, j);
  const ReflectionList B = arcs.Arc(directions, j, k);
  const ReflectionList C = arcs.Arc(directions, k, i);
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

void ConeReflections(const DirectionStore& directions, int n, int i, int j, int k, std::vector<int>& result) {
  result.clear();
  for (int l = 1; l <= n; ++l) {
    if (l == i || l == j || l == k) continue;
    if (PassesFourthDirectionTest(directions, i, j, k, l)) result.push_back(l);
  }
}

}  // namespace orv
