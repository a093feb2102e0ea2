// One point of a map: a neighbour's lattice is taken when it fits, in the neighbour's setting; a
// lattice of another grain is not, and the pattern is searched instead.
#include <gtest/gtest.h>

#include <memory>

#include "driver/map_point_indexing.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "search/commensurate_transforms.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_run.hpp"
#include "solutions/lattice_rotations.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

std::string WriteCubicPattern(const std::string& dir, const std::string& name, std::array<double, 3> euler) {
  sim::SimulationOptions options;
  options.cell = {5.658, 5.658, 5.658, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.eulerAngles = euler;
  options.seed = 5;
  options.flaws = sim::FlawSettings{0.01, 0.05, 0.0, 60};
  options.keywords.AngularDeviationCriterion = 0.2;
  sim::SimulatedPattern pattern;
  std::string message;
  EXPECT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  const std::string file = dir + "/" + name;
  sim::WritePatternFile(file, options, pattern);
  return file;
}

double AngleBetween(const Mat3& a, const Mat3& b) { return RotationAngleDegrees(MultiplyMatrices(TransposeMatrix(a), b)); }

TEST(MapPointIndexing, SeedsThatFitAreTakenInTheirSettingAndOthersAreSearched) {
  const std::string dir = testing::MakeScratchDir("map-point");
  const std::string first = WriteCubicPattern(dir, "first.kqt", {10.0, 40.0, 70.0});
  const std::string near = WriteCubicPattern(dir, "near.kqt", {10.05, 40.03, 70.0});
  const std::string other = WriteCubicPattern(dir, "other.kqt", {60.0, 20.0, 30.0});
  auto tables = std::make_unique<SublatticeTables>();
  BuildSublatticeTables(*tables);
  MapIndexingContext context;
  context.tables = tables.get();
  context.relativeTransforms = CommensurateTransforms(*tables);

  const MapPointRecord searched = IndexMapPoint(first, {}, context);
  ASSERT_EQ(searched.status, "indexed") << searched.message;
  EXPECT_FALSE(searched.seeded);
  EXPECT_EQ(searched.type, BravaisType::cF);
  EXPECT_GE(searched.support.nFull, 55);

  const MapPointRecord seeded = IndexMapPoint(near, {{4, &searched}}, context);
  ASSERT_EQ(seeded.status, "indexed");
  EXPECT_TRUE(seeded.seeded);
  EXPECT_EQ(seeded.seed, 4);
  EXPECT_EQ(seeded.toConventional, searched.toConventional);
  EXPECT_NEAR(AngleBetween(seeded.u, searched.u), 0.06, 0.03);  // the turn between the two patterns

  // The grain's setting chosen otherwise (turned by a 90-degree rotation of the cubic lattice):
  // the point keeps it, and its U is turned by 90 degrees against the searched one.
  const Mat3 metric = MetricOfCellParameters(searched.settingCell.lengths, searched.settingCell.anglesInDegrees);
  const std::vector<IntMat3> rotations = ProperLatticeRotations(metric);
  ASSERT_EQ(rotations.size(), 24u);
  IntMat3 quarter{};
  for (const IntMat3& w : rotations)
    if (w[2][2] == 1 && w[0][0] == 0) quarter = w;  // a fourfold turn about c
  MapPointRecord turned = searched;
  turned.toConventional = MultiplyIntegerMatrices(quarter, searched.toConventional);
  const MapPointRecord inTurnedSetting = IndexMapPoint(near, {{4, &turned}}, context);
  ASSERT_TRUE(inTurnedSetting.seeded);
  EXPECT_EQ(inTurnedSetting.toConventional, turned.toConventional);
  EXPECT_NEAR(AngleBetween(inTurnedSetting.u, searched.u), 90.0, 0.1);

  // Another grain's lattice does not fit: the pattern is searched, and the seed passed over.
  const MapPointRecord otherGrain = IndexMapPoint(other, {{4, &searched}}, context);
  ASSERT_EQ(otherGrain.status, "indexed");
  EXPECT_FALSE(otherGrain.seeded);
  EXPECT_GT(AngleBetween(otherGrain.u, searched.u), 10.0);
  // A seed that was not indexed is never tried; a file that cannot be read fails with the reason.
  MapPointRecord failed;
  failed.status = "failed";
  EXPECT_FALSE(IndexMapPoint(near, {{1, &failed}}, context).seeded);
  const MapPointRecord missing = IndexMapPoint(dir + "/none.kqt", {{4, &searched}}, context);
  EXPECT_EQ(missing.status, "failed");
  EXPECT_NE(missing.message.find("none.kqt"), std::string::npos) << missing.message;
}

}  // namespace
}  // namespace orv
