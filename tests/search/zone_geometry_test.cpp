// Zone arcs, first common members of arc lists, and crossings of two zone circles.
#include "search/zone_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/constants.hpp"

namespace orv {
namespace {

// A unit direction in the x-z plane, `degrees` away from +z towards +x.
Vec3 InPlane(double degrees, double y = 0.0) {
  const double t = degrees * kDegreesToRadians;
  return {std::sin(t), y, std::cos(t)};
}

std::vector<int> Arc(const DirectionStore& d, int n, int p, int q) {
  std::vector<int> arc{99};  // stale content must go
  ZoneArc(d, n, p, q, arc);
  return arc;
}

TEST(ZoneArc, KeepsOnlyReflectionsBetweenTheEndsOnTheCircle) {
  DirectionStore d;
  d(1) = InPlane(0.0);
  d(2) = InPlane(30.0);
  d(3) = InPlane(45.0);          // on the circle, beyond d_2
  d(4) = InPlane(-10.0);         // on the circle, before d_1
  d(5) = InPlane(15.0);          // inside the arc
  d(6) = InPlane(12.0, 0.01);    // off the circle: |triple product| about 0.005
  d(7) = InPlane(10.0, 0.0005);  // close enough to the circle
  d(8) = InPlane(30.5);          // beyond d_2 by half a degree
  d(9) = InPlane(30.04);         // beyond d_2 by less than the tenth of a degree of the sum test
  d(10) = InPlane(30.0);         // the same direction as d_2 under another number
  EXPECT_EQ(Arc(d, 10, 1, 2), (std::vector<int>{5, 7, 9, 10}));
  EXPECT_EQ(Arc(d, 10, 2, 1), (std::vector<int>{5, 7, 9, 10}));
  // Only reflections 1..n are looked at.
  EXPECT_EQ(Arc(d, 6, 1, 2), (std::vector<int>{5}));
  // The longer arc from -10 to 45 degrees holds everything on the circle in between.
  EXPECT_EQ(Arc(d, 10, 3, 4), (std::vector<int>{1, 2, 5, 7, 8, 9, 10}));
}

TEST(FirstCommon, FindsTheFirstSharedMemberInTheFirstListsOrder) {
  const std::vector<int> a{2, 5, 9}, b{1, 5, 9}, c{9}, e{5}, none{3, 4}, empty;
  EXPECT_EQ(FirstCommon(ListOf(a), ListOf(b)), 5);
  EXPECT_EQ(FirstCommon(ListOf(b), ListOf(a)), 5);
  EXPECT_EQ(FirstCommon(ListOf(a), ListOf(none)), 0);
  EXPECT_EQ(FirstCommon(ListOf(a), ListOf(empty)), 0);
  EXPECT_EQ(FirstCommon(ListOf(empty), ListOf(a)), 0);
  // Only the first member shared by the first two lists is tried against the third.
  EXPECT_EQ(FirstCommonOfThree(ListOf(a), ListOf(b), ListOf(c)), 0);
  EXPECT_EQ(FirstCommonOfThree(ListOf(a), ListOf(b), ListOf(e)), 5);
  EXPECT_EQ(FirstCommonOfThree(ListOf(a), ListOf(none), ListOf(a)), 0);
}

TEST(ZoneMeet, TakesTheCrossingOnTheSideOfTheFirstZonesReflections) {
  const double h = std::sqrt(0.5);
  DirectionStore d;
  d(1) = {1.0, 0.0, 0.0};
  d(2) = {0.0, 1.0, 0.0};
  d(3) = {0.0, 0.0, 1.0};
  d(4) = {h, h, 0.0};
  d(5) = {-1.0, 0.0, 0.0};
  d(6) = {0.0, -1.0, 0.0};
  d(7) = {h, -h, 0.0};
  Vec3 x{};
  ASSERT_TRUE(ZoneMeet(d, 1, 2, 3, 4, x));
  EXPECT_NEAR(x[0], h, 1e-15);
  EXPECT_NEAR(x[1], h, 1e-15);
  EXPECT_NEAR(x[2], 0.0, 1e-15);
  ASSERT_TRUE(ZoneMeet(d, 5, 6, 3, 4, x));
  EXPECT_NEAR(x[0], -h, 1e-15);
  EXPECT_NEAR(x[1], -h, 1e-15);
  // Two descriptions of the same zone circle do not cross in one point: no direction, x untouched.
  const Vec3 before = x;
  EXPECT_FALSE(ZoneMeet(d, 1, 2, 4, 7, x));
  EXPECT_EQ(x, before);
}

}  // namespace
}  // namespace orv
