// Fourth directions for an oriented triple: the zone generators, the cone test and the triple test.
#include "search/fourth_directions.hpp"

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

void FindEdgeArcs(const DirectionStore& directions, int n, int i, int j, int k, ZoneWork& zones) {
  ZoneArc(directions, n, i, j, zones.A);
  ZoneArc(directions, n, j, k, zones.B);
  ZoneArc(directions, n, k, i, zones.C);
}

// Arcs from every reflection of an edge to the opposite vertex, in the edge's order.
void FindVertexArcs(const DirectionStore& directions, int n, const std::vector<int>& edge, int vertex,
                    ArcSet& arcs) {
  arcs.Clear();
  for (const int e : edge) arcs.AppendZoneArc(directions, n, e, vertex);
}

}  // namespace

bool IsUsableTriple(double tripleProduct) {
  const double d = std::fabs(tripleProduct);
  return kFlattestTriple <= d && d <= kWidestTriple;
}

bool PassesFourthDirectionTest(const DirectionStore& directions, int i, int j, int k, int l) {
  return TripleProduct(directions, i, j, l) >= kConeMargin && TripleProduct(directions, i, l, k) >= kConeMargin &&
         TripleProduct(directions, l, j, k) >= kConeMargin;
}

void ArcSet::AppendZoneArc(const DirectionStore& directions, int n, int p, int q) {
  ZoneArc(directions, n, p, q, scratch_);
  entries_.insert(entries_.end(), scratch_.begin(), scratch_.end());
  starts_.push_back(static_cast<int>(entries_.size()));
}

void ThreeZoneReflections(const DirectionStore& directions, int n, int i, int j, int k, ZoneWork& zones,
                          std::vector<int>& result) {
  result.clear();
  ZoneArc(directions, n, i, j, zones.A);
  if (zones.A.empty()) return;
  ZoneArc(directions, n, j, k, zones.B);
  if (zones.B.empty()) return;
  ZoneArc(directions, n, k, i, zones.C);
  if (zones.C.empty()) return;
  // A common point needs one non-empty arc of each kind; stop before paying for the next kind.
  FindVertexArcs(directions, n, zones.A, k, zones.LA);
  if (!zones.LA.AnyNonEmpty()) return;
  FindVertexArcs(directions, n, zones.B, i, zones.LB);
  if (!zones.LB.AnyNonEmpty()) return;
  FindVertexArcs(directions, n, zones.C, j, zones.LC);
  if (!zones.LC.AnyNonEmpty()) return;

  for (int a = 0; a < zones.LA.Count(); ++a) {
    const ReflectionList la = zones.LA.List(a);
    if (la.empty()) continue;
    for (int b = 0; b < zones.LB.Count(); ++b) {
      const ReflectionList lb = zones.LB.List(b);
      if (lb.empty()) continue;
      for (int c = 0; c < zones.LC.Count(); ++c) {
        const ReflectionList lc = zones.LC.List(c);
        if (lc.empty()) continue;
        const int f = FirstCommonOfThree(la, lb, lc);
        if (f != 0 && std::find(result.begin(), result.end(), f) == result.end()) result.push_back(f);
      }
    }
  }
}

void TwoZoneReflections(const DirectionStore& directions, int n, int i, int j, int k, ZoneWork& zones,
                        std::vector<int>& result) {
  result.clear();
  FindEdgeArcs(directions, n, i, j, k, zones);
  FindVertexArcs(directions, n, zones.A, k, zones.LA);
  FindVertexArcs(directions, n, zones.B, i, zones.LB);
  FindVertexArcs(directions, n, zones.C, j, zones.LC);
  const ArcSet& LA = zones.LA;
  const ArcSet& LB = zones.LB;
  const ArcSet& LC = zones.LC;

  // Zones through i and through j.
  for (int b = 0; b < LB.Count(); ++b) {
    for (int c = 0; c < LC.Count(); ++c) {
      if (LC.List(c).empty()) continue;
      const int f = FirstCommon(LB.List(b), LC.List(c));
      if (f != 0) result.push_back(f);
    }
  }
  // Zones through j and through k.
  for (int c = 0; c < LC.Count(); ++c) {
    if (LC.List(c).empty()) continue;
    for (int a = 0; a < LA.Count(); ++a) {
      if (LA.List(a).empty()) continue;
      const int f = FirstCommon(LC.List(c), LA.List(a));
      if (f != 0) result.push_back(f);
    }
  }
  // Zones through k and through i.
  for (int a = 0; a < LA.Count(); ++a) {
    if (LA.List(a).empty()) continue;
    for (int b = 0; b < LB.Count(); ++b) {
      if (LB.List(b).empty()) continue;
      const int f = FirstCommon(LA.List(a), LB.List(b));
      if (f != 0) result.push_back(f);
    }
  }
}

void ZoneCrossings(const DirectionStore& directions, int n, int i, int j, int k, ZoneWork& zones,
                   std::vector<Vec3>& result) {
  result.clear();
  FindEdgeArcs(directions, n, i, j, k, zones);
  Vec3 crossing{};
  for (const int b : zones.B)
    for (const int c : zones.C)
      if (ZoneMeet(directions, b, i, c, j, crossing)) result.push_back(crossing);
  for (const int c : zones.C)
    for (const int a : zones.A)
      if (ZoneMeet(directions, c, j, a, k, crossing)) result.push_back(crossing);
  for (const int a : zones.A)
    for (const int b : zones.B)
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
