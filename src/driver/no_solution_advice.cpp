// What to try when a run kept no solution, from what the pattern shows.
#include "driver/no_solution_advice.hpp"

#include <algorithm>
#include <cstdio>

#include "geometry/constants.hpp"
#include "text/line_format.hpp"
#include "search/zone_axes.hpp"

namespace orv {
namespace {

// Four zones fix a cell; fewer of them leave the zone-axis cells nothing to work with.
constexpr int kZonesForACell = 4;

std::string Degrees(double radians) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", radians * kRadiansToDegrees);
  return text;
}

}  // namespace

std::string NoSolutionAdvice(const RunParameters& parameters, const DirectionStore& directions,
                             bool automaticSearchRan) {
  const int n = parameters.NumberOfReflections;
  const double tolerance = parameters.AngularDeviationCriterion;
  const int zones =
      static_cast<int>(FindZoneAxes(directions, n, 0.5 * tolerance, ZoneSearchLimits{80, kZonesForACell, 3}).size());
  const std::string seen = " (" + std::to_string(zones) + " zones of 3 or more spots within " +
                           Degrees(0.5 * tolerance) + " deg)";
  if (zones < kZonesForACell) {
    const double larger = std::min(2.0 * tolerance, 3.0 / kRadiansToDegrees);
    return FreeLine("Most likely to help: a larger _AngularDeviationCriterion, e.g. " + Degrees(larger) +
                    "; the spots hardly lie on zones" + seen + ".");
  }
  if (!automaticSearchRan) {
    std::string text = "Most likely to help: --auto-search, whose zone-axis cells need only the zones" + seen;
    if (n <= 100) text += ", or _ExtentOfTheSearch 8";
    return FreeLine(text + ".");
  }
  return FreeLine("Most likely to help: a larger _MaxAllowedMillerIndex (a long axis) or a larger "
                  "_AngularDeviationCriterion; no cell of the zones" + seen + " indexes half the spots.");
}

}  // namespace orv
