// Zone geometry of reflection directions: triple products, zone arcs, common members, crossings.
#include "search/zone_geometry.hpp"

#include <cmath>

namespace orv {
namespace {

inline double Angle(const Vec3& x, const Vec3& y) { return ClampedArcCos(Dot(x, y)); }

bool Contains(ReflectionList list, int e) {
  for (const int x : list)
    if (x == e) return true;
  return false;
}

}  // namespace

double TripleProduct(const DirectionStore& directions, int p, int q, int r) {
  return Determinant(Mat3{directions(p), directions(q), directions(r)});
}

void ZoneArc(const DirectionStore& directions, int n, int p, int q, std::vector<int>& arc) {
  arc.clear();
  const Vec3& dp = directions(p);
  const Vec3& dq = directions(q);
  const double theta = Angle(dp, dq);
  for (int r = 1; r <= n; ++r) {
    if (r == p || r == q) continue;
    // The cheap flatness test first: most reflections are far off the zone circle.
    if (!(std::fabs(TripleProduct(directions, p, q, r)) <= kZoneFlatness)) continue;
    const Vec3& dr = directions(r);
    // On the circle but beyond an end of the arc, the two angles add up to more than theta.
    if (std::fabs(Angle(dq, dr) + Angle(dr, dp) - theta) <= kArcAngleTolerance) arc.push_back(r);
  }
}

int FirstCommon(ReflectionList l1, ReflectionList l2) {
  // Both lists increase, so the first common element in l1's order is the smallest common one.
  int a = 0;
  int b = 0;
  while (a < l1.count && b < l2.count) {
    const int x = l1.entries[a];
    const int y = l2.entries[b];
    if (x == y) return x;
    if (x < y)
      ++a;
    else
      ++b;
  }
  return 0;
}

int FirstCommonOfThree(ReflectionList l1, ReflectionList l2, ReflectionList l3) {
  const int e = FirstCommon(l1, l2);
  if (e == 0) return 0;
  return Contains(l3, e) ? e : 0;
}

bool ZoneMeet(const DirectionStore& directions, int a, int b, int c, int e, Vec3& crossing) {
  const Vec3& da = directions(a);
  const Vec3& db = directions(b);
  const Vec3 u = CrossProduct(da, db);
  const Vec3 w = CrossProduct(directions(c), directions(e));
  Vec3 x = CrossProduct(u, w);
  const Vec3 side = {da[0] + db[0], da[1] + db[1], da[2] + db[2]};
  if (Dot(side, x) < 0.0) x = {-x[0], -x[1], -x[2]};
  double norm = 0.0;
  return NormalizeVector(x, crossing, norm) == kStatusSuccess;
}

}  // namespace orv
