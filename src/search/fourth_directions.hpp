// Fourth directions for an oriented triple: the zone generators, the cone test and the triple test.
#pragma once

#include <vector>

#include "run_data/run_parameters.hpp"
#include "search/zone_arc_cache.hpp"
#include "search/zone_geometry.hpp"

namespace orv {

// A triple is used when 0.005 <= |D| <= 0.3: neither too flat nor too wide.
constexpr double kFlattestTriple = 0.005;
constexpr double kWidestTriple = 0.3;
// A fourth direction must lie inside the triple's cone by this margin on every face.
constexpr double kConeMargin = 0.015;

bool IsUsableTriple(double tripleProduct);

// d_l strictly inside the cone of the oriented triple (i, j, k), with the margin on each face:
// [i, j, l], [i, l, k] and [l, j, k] are all >= 0.015, tested in this order.
bool PassesFourthDirectionTest(const DirectionStore& directions, int i, int j, int k, int l);

// The zone generators take an oriented triple (i, j, k) and use the edge arcs A = arc(i, j),
// B = arc(j, k), C = arc(k, i) and the arcs from each edge reflection to the opposite vertex,
// arc(a, k), arc(b, i) and arc(c, j), all from the run's arc cache (reset for reflections 1..n).

// Reflections at the common point of three zones (search types 0 to 3), without repeats.
void ThreeZoneReflections(const DirectionStore& directions, int i, int j, int k, ZoneArcCache& arcs,
                          std::vector<int>& result);

// Reflections at the common point of two zones (types 5 to 7); a reflection reached through
// several pairs of zones is listed once per pair.
void TwoZoneReflections(const DirectionStore& directions, int i, int j, int k, ZoneArcCache& arcs,
                        std::vector<int>& result);

// The crossings of the same zones as unit vectors (type 4), computed even where no reflection lies.
// A crossing of two coinciding zone circles has no direction and is left out.
void ZoneCrossings(const DirectionStore& directions, int i, int j, int k, ZoneArcCache& arcs,
                   std::vector<Vec3>& result);

// Every other reflection inside the cone of the triple, in increasing number (types 8 and 9).
void ConeReflections(const DirectionStore& directions, int n, int i, int j, int k, std::vector<int>& result);

}  // namespace orv
