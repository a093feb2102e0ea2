// The main zones of a solution: the zone axes [uvw] on which most of its indexed spots lie.
#include "reports/zone_selection.hpp"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace orv {

namespace {

// Pairs are formed among this many of the first indexed spots; enough for any picture, and it
// keeps the work quadratic in a bounded number.
constexpr std::size_t kSpotsPaired = 120;

bool IsIndexed(const ClassifiedSpot& spot) { return spot.spotClass != SpotClass::NotIndexed; }

// The zone axis of two index triples, coprime and with its first non-zero entry positive; (0,0,0)
// when the two are parallel.
MillerIndices AxisOf(const MillerIndices& p, const MillerIndices& q) {
  MillerIndices axis = {p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
  ReduceToCoprime(axis);
  for (int value : axis) {
    if (value == 0) continue;
    if (value < 0) {
      for (int& entry : axis) entry = -entry;
    }
    break;
  }
  return axis;
}

int IndexSum(const MillerIndices& axis) { return std::abs(axis[0]) + std::abs(axis[1]) + std::abs(axis[2]); }

}  // namespace

std::vector<Zone> MainZones(const std::vector<ClassifiedSpot>& spots, int maximumZones, int minimumSpots) {
  std::vector<MillerIndices> indexed;
  for (const ClassifiedSpot& spot : spots) {
    if (IsIndexed(spot)) indexed.push_back(spot.hkl);
  }
  const std::size_t paired = std::min(indexed.size(), kSpotsPaired);
  std::set<MillerIndices> axes;
  for (std::size_t i = 0; i < paired; ++i) {
    for (std::size_t j = i + 1; j < paired; ++j) {
      const MillerIndices axis = AxisOf(indexed[i], indexed[j]);
      if (axis != MillerIndices{0, 0, 0}) axes.insert(axis);
    }
  }
  std::vector<Zone> zones;
  for (const MillerIndices& axis : axes) {
    Zone zone{axis, 0};
    for (const MillerIndices& h : indexed) {
      if (h[0] * axis[0] + h[1] * axis[1] + h[2] * axis[2] == 0) ++zone.spots;
    }
    if (zone.spots >= minimumSpots) zones.push_back(zone);
  }
  std::sort(zones.begin(), zones.end(), [](const Zone& p, const Zone& q) {
    if (p.spots != q.spots) return p.spots > q.spots;
    if (IndexSum(p.axis) != IndexSum(q.axis)) return IndexSum(p.axis) < IndexSum(q.axis);
    return p.axis < q.axis;
  });
  if (static_cast<int>(zones.size()) > maximumZones) zones.resize(static_cast<std::size_t>(std::max(0, maximumZones)));
  return zones;
}

}  // namespace orv
