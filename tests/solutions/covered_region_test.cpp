// The region of the sphere that the reflections cover: a hull for a detector, a cap beyond it.
#include "solutions/covered_region.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/constants.hpp"

namespace orv {
namespace {

Vec3 Direction(double polarDegrees, double azimuthDegrees) {
  const double t = polarDegrees * kDegreesToRadians;
  const double f = azimuthDegrees * kDegreesToRadians;
  return {std::sin(t) * std::cos(f), std::sin(t) * std::sin(f), std::cos(t)};
}

CoveredRegion RegionOf(const std::vector<Vec3>& spots) {
  RunParameters parameters;
  DirectionStore directions;
  SetDefaultParameters(parameters, directions);
  parameters.NumberOfReflections = static_cast<int>(spots.size());
  for (std::size_t n = 0; n < spots.size(); ++n) directions(static_cast<int>(n) + 1) = spots[n];
  return CoveredRegion::FromDirections(parameters, directions);
}

TEST(CoveredRegion, ASquareOfSpotsCoversItsHullAndNothingOutside) {
  // The four corners of a square about +z, 20 degrees across its diagonals, and its centre.
  const CoveredRegion region = RegionOf({Direction(20, 0), Direction(20, 90), Direction(20, 180),
                                         Direction(20, 270), Direction(0, 0)});
  EXPECT_TRUE(region.Contains({0.0, 0.0, 5.0}));     // any length
  EXPECT_TRUE(region.Contains(Direction(19, 0)));    // towards a corner
  EXPECT_TRUE(region.Contains(Direction(12, 45)));   // inside the edge between two corners
  EXPECT_FALSE(region.Contains(Direction(19, 45)));  // within the cap, beyond that edge
  EXPECT_FALSE(region.Contains(Direction(21, 0)));
  EXPECT_FALSE(region.Contains({0.0, 0.0, -1.0}));
  // The square of half-diagonal 20 degrees covers about 2 tan^2(20) / 4 pi of the sphere.
  EXPECT_NEAR(region.SphereFraction(), 2.0 * std::pow(std::tan(20.0 * kDegreesToRadians), 2) / (4.0 * kPi), 2e-3);
}

TEST(CoveredRegion, SpotsBeyondAHemisphereOrTooFewForAHullGiveTheCap) {
  // Three spots 80 degrees from their mean: the cap of 80 degrees, wider than their triangle, whose
  // edges pass about 71 degrees from the mean.
  const CoveredRegion wide = RegionOf({Direction(80, 0), Direction(80, 120), Direction(80, 240)});
  EXPECT_TRUE(wide.Contains(Direction(79, 60)));
  EXPECT_FALSE(wide.Contains(Direction(81, 0)));
  EXPECT_NEAR(wide.SphereFraction(), 0.5 * (1.0 - std::cos(80.0 * kDegreesToRadians)), 1e-9);
  // Spots on one great circle span no hull: the cap of 10 degrees about the middle one.
  const CoveredRegion line = RegionOf({Direction(10, 0), Direction(20, 0), Direction(30, 0)});
  EXPECT_TRUE(line.Contains(Direction(20, 25)));
  EXPECT_FALSE(line.Contains(Direction(40, 0)));
  const CoveredRegion none = RegionOf({});
  EXPECT_TRUE(none.Contains({0.0, 0.0, -1.0}));
  EXPECT_EQ(none.SphereFraction(), 1.0);
}

// The cheap test passes over only directions that the region refuses, for a hull, a cap within a
// hemisphere, a cap beyond one (where it passes over none) and the whole sphere.
TEST(CoveredRegion, ADirectionFacingAwayIsNeverContained) {
  const std::vector<CoveredRegion> regions = {
      RegionOf({Direction(20, 0), Direction(20, 90), Direction(20, 180), Direction(20, 270)}),
      RegionOf({Direction(10, 0), Direction(20, 0), Direction(30, 0)}),
      RegionOf({Direction(0, 0), Direction(120, 0), Direction(120, 120), Direction(120, 240)}), RegionOf({})};
  int facingAway = 0;
  for (const CoveredRegion& region : regions)
    for (double polar = 0.0; polar <= 180.0; polar += 7.5)
      for (double azimuth = 0.0; azimuth < 360.0; azimuth += 15.0) {
        const Vec3 direction = Direction(polar, azimuth);
        if (!region.FacesAway(direction)) continue;
        ++facingAway;
        EXPECT_FALSE(region.Contains(direction)) << polar << " " << azimuth;
      }
  EXPECT_GT(facingAway, 100);
  // The cap beyond a hemisphere (about -z, out to the spot at +z) passes over nothing.
  EXPECT_FALSE(regions[2].FacesAway({0.0, 0.0, 1.0}));
  EXPECT_TRUE(regions[2].Contains(Direction(5, 0)));
}

}  // namespace
}  // namespace orv
