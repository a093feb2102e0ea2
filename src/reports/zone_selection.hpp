// The main zones of a solution: the zone axes [uvw] on which most of its indexed spots lie.
#pragma once

#include <vector>

#include "geometry/index_direction.hpp"
#include "reports/spot_classes.hpp"

namespace orv {

struct Zone {
  MillerIndices axis{};  // [uvw], coprime, its first non-zero entry positive
  int spots = 0;         // indexed spots h k l with h u + k v + l w = 0
};

// The zones through at least `minimumSpots` indexed spots, most spots first, then the lowest
// |u| + |v| + |w|, at most `maximumZones` of them. The candidate axes are the cross products of
// pairs among the first indexed spots (the strongest), so every zone through two of them is tried.
std::vector<Zone> MainZones(const std::vector<ClassifiedSpot>& spots, int maximumZones, int minimumSpots);

}  // namespace orv
