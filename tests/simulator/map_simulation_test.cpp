// Simulated maps: grains with room, boundary points along the lines between them, orientations
// that turn smoothly inside a grain, the strain gradient, and the files a map run reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "geometry/rotation.hpp"
#include "simulator/map_simulation.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

TEST(MapSimulation, GrainsBoundariesAndGradientsAreWhatTheOptionsSay) {
  sim::MapSimulationOptions options;  // 40 x 40, three grains
  const std::vector<sim::MapPointTruth> plan = sim::PlanMap(options);
  ASSERT_EQ(plan.size(), 1600u);
  const std::vector<sim::MapPointTruth> again = sim::PlanMap(options);
  std::map<int, int> perGrain;
  int boundary = 0;
  double largestStrain = 0.0;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    EXPECT_EQ(plan[i].eulerDegrees, again[i].eulerDegrees);
    ++perGrain[plan[i].grain];
    if (plan[i].otherGrain != 0) {
      ++boundary;
      EXPECT_NE(plan[i].otherGrain, plan[i].grain);
      // A neighbour, or the neighbour's neighbour, belongs to the other grain.
      bool near = false;
      for (const auto& other : plan)
        near = near || (other.grain == plan[i].otherGrain && std::abs(other.column - plan[i].column) <= 2 &&
                        std::abs(other.row - plan[i].row) <= 2);
      EXPECT_TRUE(near) << plan[i].file;
    }
    for (double e : plan[i].strain) largestStrain = std::max(largestStrain, std::fabs(e));
  }
  ASSERT_EQ(perGrain.size(), 3u);
  for (const auto& [grain, points] : perGrain) EXPECT_GT(points, 100) << "grain " << grain;
  EXPECT_GT(boundary, 10);
  EXPECT_LT(boundary, 120);
  EXPECT_DOUBLE_EQ(largestStrain, options.strainGradient);

  // Inside a grain a step of the grid turns the crystal by about rotationPerStep.
  const std::vector<Mat3> none;
  for (std::size_t i = 0; i + 1 < plan.size(); ++i) {
    const auto& a = plan[i];
    const auto& b = plan[i + 1];
    if (a.row != b.row || a.grain != b.grain) continue;
    const double turn = MisorientationDegrees(RotationFromBungeEulerAngles({a.eulerDegrees[0], a.eulerDegrees[1], a.eulerDegrees[2]}),
                                              RotationFromBungeEulerAngles({b.eulerDegrees[0], b.eulerDegrees[1], b.eulerDegrees[2]}),
                                              none);
    EXPECT_NEAR(turn, options.rotationPerStep, 0.002) << a.file;
  }
}

TEST(MapSimulation, WritesPatternsListPositionsAndTruth) {
  const std::string dir = testing::MakeScratchDir("simulated-map");
  sim::MapSimulationOptions options;
  options.columns = 6;
  options.rows = 4;
  options.grains = 2;
  options.boundaryWidth = 1.0;
  options.pattern.flaws = sim::FlawSettings{0.01, 0.0, 0.0, 40};
  std::string message;
  ASSERT_TRUE(sim::WriteSimulatedMap(options, dir + "/m", message)) << message;
  const std::string positions = testing::ReadTextFile(dir + "/m/positions.csv");
  EXPECT_EQ(positions.rfind("file,x,y\n" + dir + "/m/point_0000_0000.kqt,0,0\n", 0), 0u);
  std::istringstream truth(testing::ReadTextFile(dir + "/m/map_truth.csv"));
  std::string line;
  std::getline(truth, line);
  int rows = 0;
  while (std::getline(truth, line)) {
    ++rows;
    // Every pattern holds its 40 spots, boundary points 24 of their grain's and 16 of the other's.
    const std::string file = line.substr(0, line.find(','));
    const std::string pattern = testing::ReadTextFile(dir + "/m/" + file);
    EXPECT_NE(pattern.find("_NumberOfReflections"), std::string::npos);
    std::istringstream text(pattern.substr(pattern.find("_NumberOfReflections")));
    std::string keyword;
    int count = 0;
    text >> keyword >> count;
    EXPECT_EQ(count, 40) << file;
  }
  EXPECT_EQ(rows, 24);
}

}  // namespace
}  // namespace orv
