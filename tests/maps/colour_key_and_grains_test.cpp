// The inverse-pole-figure key (known orientations to known colours) and the joining of grains.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/rotation.hpp"
#include "maps/grain_setting.hpp"
#include "maps/ipf_colour.hpp"
#include "maps/map_grains.hpp"

namespace orv {
namespace {

const LatticeCell kCubic{Vec3{5.0, 5.0, 5.0}, Vec3{90.0, 90.0, 90.0}};
const Mat3 kIdentity{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}};
const IntMat3 kPrimitive{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

Rgb CubicColour(const Vec3& direction) {
  return KeyColour(direction, KeyCornerDirections(BravaisType::cF, kCubic), CrystalRotationsOfCell(kCubic, kPrimitive));
}

void ExpectColour(const Rgb& colour, double red, double green, double blue, const char* what) {
  EXPECT_NEAR(colour.red, red, 1e-9) << what;
  EXPECT_NEAR(colour.green, green, 1e-9) << what;
  EXPECT_NEAR(colour.blue, blue, 1e-9) << what;
}

TEST(ColourKey, CubicCornersAndTheirEquivalentsTakeRedGreenAndBlue) {
  ASSERT_EQ(CrystalRotationsOfCell(kCubic, kPrimitive).size(), 24u);
  ExpectColour(CubicColour({0.0, 0.0, 1.0}), 1, 0, 0, "001");
  ExpectColour(CubicColour({1.0, 0.0, 0.0}), 1, 0, 0, "100 is a 001");
  ExpectColour(CubicColour({0.0, -1.0, 0.0}), 1, 0, 0, "0-10 is a 001");
  ExpectColour(CubicColour({1.0, 0.0, 1.0}), 0, 1, 0, "101");
  ExpectColour(CubicColour({0.0, -1.0, 1.0}), 0, 1, 0, "0-11 is a 101");
  ExpectColour(CubicColour({1.0, 1.0, 1.0}), 0, 0, 1, "111");
  ExpectColour(CubicColour({-1.0, 1.0, -1.0}), 0, 0, 1, "-11-1 is a 111");
  EXPECT_EQ(HexColour(CubicColour({1.0, 1.0, 1.0})), "#0000ff");
  // Between 001 and 101 there is no blue.
  const Rgb between = CubicColour({0.2, 0.0, 1.0});
  EXPECT_NEAR(between.blue, 0.0, 1e-9);
  EXPECT_GT(between.red, between.green);
  EXPECT_GT(between.green, 0.0);
}

TEST(ColourKey, TheSampleDirectionIsSeenInTheCrystal) {
  const std::array<Vec3, 3> corners = KeyCornerDirections(BravaisType::cP, kCubic);
  const std::vector<Mat3> rotations = CrystalRotationsOfCell(kCubic, kPrimitive);
  const Vec3 z{0.0, 0.0, 1.0};
  ExpectColour(OrientationColour(kIdentity, z, corners, rotations), 1, 0, 0, "U = I: z along 001");
  // Turned 45 degrees about x, the sample z lies along the crystal's 0-11 (a 101).
  ExpectColour(OrientationColour(RotationFromBungeEulerAngles({0.0, 45.0, 0.0}), z, corners, rotations), 0, 1, 0,
               "z along a 101");
  // Hexagonal: the c axis is red, a is green.
  const LatticeCell hexagonal{Vec3{3.0, 3.0, 5.0}, Vec3{90.0, 90.0, 120.0}};
  const auto hexCorners = KeyCornerDirections(BravaisType::hP, hexagonal);
  const auto hexRotations = CrystalRotationsOfCell(hexagonal, kPrimitive);
  ASSERT_EQ(hexRotations.size(), 12u);
  // A rhombohedral lattice on hexagonal axes (obverse) keeps 6 of them.
  EXPECT_EQ(CrystalRotationsOfCell(hexagonal, IntMat3{{{1, -1, 0}, {0, 1, -1}, {1, 1, 1}}}).size(), 6u);
  ExpectColour(KeyColour({0.0, 0.0, 1.0}, hexCorners, hexRotations), 1, 0, 0, "hexagonal 001");
  ExpectColour(KeyColour(hexCorners[1], hexCorners, hexRotations), 0, 1, 0, "hexagonal 100");
  ExpectColour(KeyColour(hexCorners[2], hexCorners, hexRotations), 0, 0, 1, "hexagonal 210");
}

MapPointRecord CubicPoint(const Mat3& u) {
  MapPointRecord r;
  r.status = "indexed";
  r.type = BravaisType::cF;
  r.settingCell = kCubic;
  r.toConventional = kPrimitive;
  r.u = u;
  r.eulerDegrees = BungeEulerAngles(u);
  return r;
}

TEST(MapGrains, NeighboursJoinBelowTheThresholdUnderTheLatticesSymmetry) {
  // A 4 x 2 map: a grain turning 0.1 degree a step, a point of it in another setting (turned by
  // a 90-degree rotation of the cubic lattice), a second grain 20 degrees away, and a failed point.
  const MapLayout layout = GridLayout(4, 2, 8);
  std::vector<MapPointRecord> records;
  const Vec3 base{10.0, 30.0, 50.0};
  for (int i = 0; i < 8; ++i) {
    const int column = i % 4;
    Vec3 angles = base;
    angles[0] += 0.1 * column;
    if (column == 3) angles[1] += 20.0;
    records.push_back(CubicPoint(RotationFromBungeEulerAngles(angles)));
  }
  records[1].u = MultiplyMatrices(records[1].u, RotationFromBungeEulerAngles({90.0, 0.0, 0.0}));
  records[6].status = "failed";
  const MapGrains grains = JoinGrains(layout, records, 5.0);
  ASSERT_EQ(grains.grains.size(), 2u);
  EXPECT_EQ(grains.grainOf, (std::vector<int>{1, 1, 1, 2, 1, 1, 0, 2}));
  EXPECT_EQ(grains.grains[0].points, 5);
  EXPECT_EQ(grains.grains[1].firstPoint, 3);
  // The mean of grain 1 lies among its points; the point in the other setting is as near as its neighbours.
  EXPECT_LT(grains.misorientationToMean[1], 0.2);
  EXPECT_LT(grains.grains[0].largestMisorientation, 0.2);
  EXPECT_GT(grains.grains[0].largestMisorientation, 0.05);
  // The point in the other setting is reported in the grain's: its Euler angles are its neighbours'.
  EXPECT_NEAR(grains.eulerInGrainSetting[1][0], base[0] + 0.1, 1e-6);
  EXPECT_NEAR(grains.eulerInGrainSetting[1][1], base[1], 1e-6);
  EXPECT_NEAR(grains.eulerInGrainSetting[1][2], base[2], 1e-6);
  EXPECT_EQ(grains.eulerInGrainSetting[2][0], records[2].eulerDegrees[0]);
  // A threshold below the step keeps only the columns, whose two points are alike.
  EXPECT_EQ(JoinGrains(layout, records, 0.05).grains.size(), 4u);
}

}  // namespace
}  // namespace orv
