// The zones of a pattern: directions to which many spot directions are perpendicular.
#include "search/zone_axes.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/constants.hpp"

namespace orv {
namespace {

// Spots within `sinTolerance` (the sine of the angular tolerance) of the circle normal to `axis`.
int CountZoneSpots(const DirectionStore& directions, int n, const Vec3& axis, double sinTolerance) {
  int count = 0;
  for (int r = 1; r <= n; ++r)
    if (std::fabs(Dot(directions(r), axis)) <= sinTolerance) ++count;
  return count;
}

// The unit vector most nearly perpendicular to the zone's spots: the eigenvector of the smallest
// eigenvalue of their scatter matrix, by power iteration on trace - scatter, started from `axis`.
Vec3 RefitAxis(const DirectionStore& directions, int n, const Vec3& axis, double sinTolerance) {
  Mat3 scatter{};
  for (int r = 1; r <= n; ++r) {
    const Vec3& d = directions(r);
    if (std::fabs(Dot(d, axis)) > sinTolerance) continue;
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) scatter[a][b] += d[a] * d[b];
  }
  const double trace = scatter[0][0] + scatter[1][1] + scatter[2][2];
  Vec3 v = axis;
  for (int iteration = 0; iteration < 40; ++iteration) {
    Vec3 next{};
    for (int a = 0; a < 3; ++a) next[a] = trace * v[a] - Dot(scatter[a], v);
    Vec3 unit{};
    double norm = 0.0;
    if (NormalizeVector(next, unit, norm) != kStatusSuccess) return axis;
    v = unit;
  }
  return v;
}

}  // namespace

std::vector<ZoneAxis> FindZoneAxes(const DirectionStore& directions, int n, double tolerance,
                                   const ZoneSearchLimits& limits) {
  const double sinTolerance = std::sin(tolerance);
  const double minPairSine = std::sin(2.0 * kDegreesToRadians);
  const int proposers = std::min(n, limits.pairSpots);
  std::vector<ZoneAxis> proposed;
  for (int p = 1; p < proposers; ++p)
    for (int q = p + 1; q <= proposers; ++q) {
      Vec3 axis{};
      double norm = 0.0;
      if (NormalizeVector(CrossProduct(directions(p), directions(q)), axis, norm) != kStatusSuccess) continue;
      if (norm < minPairSine) continue;
      if (CountZoneSpots(directions, n, axis, sinTolerance) < limits.minSpots) continue;
      axis = RefitAxis(directions, n, axis, sinTolerance);
      const int spots = CountZoneSpots(directions, n, axis, sinTolerance);
      if (spots >= limits.minSpots) proposed.push_back({axis, spots});
    }
  // Most spots first; among equal counts the order of the proposing pairs.
  std::stable_sort(proposed.begin(), proposed.end(),
                   [](const ZoneAxis& a, const ZoneAxis& b) { return a.spots > b.spots; });
  const double sameZoneCosine = std::cos(2.0 * tolerance);
  std::vector<ZoneAxis> zones;
  for (const ZoneAxis& zone : proposed) {
    if (static_cast<int>(zones.size()) >= limits.maxAxes) break;
    const bool known = std::any_of(zones.begin(), zones.end(), [&](const ZoneAxis& kept) {
      return std::fabs(Dot(kept.axis, zone.axis)) >= sameZoneCosine;
    });
    if (!known) zones.push_back(zone);
  }
  return zones;
}

}  // namespace orv
