// The zones of a pattern: directions to which many spot directions are perpendicular.
#pragma once

#include <vector>

#include "run_data/run_parameters.hpp"

namespace orv {

// A zone: the spots within the zone tolerance of the great circle normal to `axis`. The axis is a
// direct-lattice row [uvw] when the zone is real; a zone holding many spots belongs to a short row.
struct ZoneAxis {
  Vec3 axis{};    // unit vector, its sign of no meaning
  int spots = 0;  // reflections within the tolerance of the circle
};

// Bounds of the zone search.
struct ZoneSearchLimits {
  // Zones are proposed by pairs of the first `pairSpots` reflections (the strongest in a peak
  // list); their spots are counted over every reflection.
  int pairSpots = 80;
  // At most this many zones are returned.
  int maxAxes = 24;
  // Zones with fewer spots are dropped.
  int minSpots = 3;
  // The zone-axis cells count a spot on a zone within this share of the angular tolerance.
  double toleranceShare = 0.5;
};

// The zones of reflections 1..n, most spots first (then in the order of the pairs that proposed
// them): every pair of reflections at least 2 degrees apart and not opposite proposes the circle
// through both; the axis is refitted by least squares to the spots within `tolerance` (radians) of
// that circle and they are counted again. A zone whose axis lies within twice the tolerance of a
// zone already kept is the same zone. Depends only on its arguments.
std::vector<ZoneAxis> FindZoneAxes(const DirectionStore& directions, int n, double tolerance,
                                   const ZoneSearchLimits& limits = {});

}  // namespace orv
