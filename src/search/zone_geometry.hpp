// Zone geometry of reflection directions: triple products, zone arcs, common members, crossings.
#pragma once

#include <vector>

#include "run_data/run_parameters.hpp"

namespace orv {

// Largest |triple product| of a reflection lying on the zone circle through two others.
constexpr double kZoneFlatness = 0.001;
// A tenth of a degree in radians, as the single-precision value the arc test has always used.
constexpr double kArcAngleTolerance = 0.001745329238474369;

// A read-only view of an ordered list of reflection numbers.
struct ReflectionList {
  const int* entries = nullptr;
  int count = 0;

  bool empty() const { return count == 0; }
  const int* begin() const { return entries; }
  const int* end() const { return entries + count; }
};

inline ReflectionList ListOf(const std::vector<int>& v) { return {v.data(), static_cast<int>(v.size())}; }

// d_p . (d_q x d_r): the determinant of the matrix with rows d_p, d_q, d_r. Any of the three may be
// the working slot N+1.
double TripleProduct(const DirectionStore& directions, int p, int q, int r);

// Appends to `arc` (cleared first) the reflections 1..n, other than p and q, that lie on the
// shorter great-circle arc from d_p to d_q, in increasing number.
void ZoneArc(const DirectionStore& directions, int n, int p, int q, std::vector<int>& arc);

// The first element of l1, in l1's order, that also occurs in l2; 0 if none. Both lists must be
// in increasing order, as ZoneArc makes them.
int FirstCommon(ReflectionList l1, ReflectionList l2);

// The first element e of l1 that occurs in l2, if it also occurs in l3; otherwise 0. Only that
// first e is tried against l3. All lists in increasing order.
int FirstCommonOfThree(ReflectionList l1, ReflectionList l2, ReflectionList l3);

// The unit vector where the zone circle through d_a, d_b crosses the one through d_c, d_e, on the
// side of d_a + d_b. False (crossing left untouched) when the two circles coincide or one of
// them is undefined, so that no direction can be formed.
bool ZoneMeet(const DirectionStore& directions, int a, int b, int c, int e, Vec3& crossing);

}  // namespace orv
