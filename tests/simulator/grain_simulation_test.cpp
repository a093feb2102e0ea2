// Patterns of several grains: the option, the share of each grain, the mixing and the truth file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "simulator/pattern_files.hpp"
#include "simulator/simulation_error.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv::sim {
namespace {

TEST(GrainSimulation, EachAddGrainAddsAGrainInOrderAndABadOneIsRefused) {
  SimulationOptions options;
  std::string message;
  ASSERT_EQ(ParseCommandLine({"--add-grain", "3.189,3.189,5.185,90,90,120,P,30", "--spots", "40", "--add-grain",
                              "2.866,2.866,2.866,90,90,90,I,25,10,20,30"},
                             options, message),
            CommandLineAction::Simulate)
      << message;
  ASSERT_EQ(options.moreGrains.size(), 2u);
  EXPECT_EQ(options.moreGrains[0].centring, Centring::P);
  EXPECT_EQ(options.moreGrains[0].spots, 30);
  EXPECT_FALSE(options.moreGrains[0].eulerAngles.has_value());
  EXPECT_EQ(options.moreGrains[1].centring, Centring::I);
  ASSERT_TRUE(options.moreGrains[1].eulerAngles.has_value());
  EXPECT_EQ((*options.moreGrains[1].eulerAngles)[2], 30.0);

  for (const char* bad : {"3,3,5,90,90,120,P", "3,3,5,90,90,120,Q,30", "3,3,5,90,90,120,P,0", "3,3,5,10,10,170,P,30",
                          "3,3,5,90,90,120,P,30,1,2"}) {
    SimulationOptions refused;
    try {
      ParseCommandLine({"--add-grain", bad}, refused, message);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const SimulationOptionError& error) {
      EXPECT_NE(std::string(error.what()).find("--add-grain"), std::string::npos) << error.what();
    }
  }
}

TEST(GrainSimulation, EveryGrainGivesItsShareOfTrueSpotsMixedWithTheOthersAndTheTruthSaysWhose) {
  SimulationOptions options;
  options.cell = CellParameters{5.431, 5.431, 5.431, 90.0, 90.0, 90.0};
  options.centring = Centring::F;
  options.flaws = FlawSettings{0.0, 0.1, 0.0, 40};
  options.moreGrains.push_back(SimulatedGrain{CellParameters{3.189, 3.189, 5.185, 90.0, 90.0, 120.0}, Centring::P, 30, {}});
  SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(SimulatePattern(options, pattern, message)) << message;
  ASSERT_EQ(pattern.grains.size(), 2u);
  int counts[3] = {0, 0, 0};
  int switches = 0;
  for (std::size_t i = 0; i < pattern.spots.size(); ++i) {
    const Spot& s = pattern.spots[i];
    ASSERT_GE(s.grain, 0);
    ASSERT_LE(s.grain, 2);
    ++counts[s.grain];
    EXPECT_EQ(s.spurious, s.grain == 0);
    if (i > 0 && s.grain != pattern.spots[i - 1].grain) ++switches;
    if (s.spurious) continue;
    // A true spot lies along h a* + k b* + l c* of its own grain (no noise here).
    const Mat3& direct = pattern.grains[static_cast<std::size_t>(s.grain - 1)].directBasis;
    Mat3 reciprocal{};
    InverseTranspose(direct, reciprocal, 1e-300);
    Vec3 g{};
    for (std::size_t c = 0; c < 3; ++c) g[c] = s.h * reciprocal[0][c] + s.k * reciprocal[1][c] + s.l * reciprocal[2][c];
    EXPECT_NEAR(Dot(g, s.direction) / VectorNorm(g), 1.0, 1e-9) << i;
  }
  EXPECT_EQ(counts[1], 40);
  EXPECT_EQ(counts[2], 30);
  EXPECT_EQ(counts[0], 8);  // NINT(0.1 * 78)
  EXPECT_GT(switches, 20);  // mixed, not one grain after the other
  // Two grains in random orientations, drawn from different streams.
  EXPECT_GT(std::fabs(pattern.grains[0].rotation[0][0] - pattern.grains[1].rotation[0][0]), 1e-6);
  // Grain 1 is also the single-grain description of the pattern.
  EXPECT_EQ(pattern.directBasis, pattern.grains[0].directBasis);

  const std::string folder = testing::MakeScratchDir("grain-simulation");
  options.outputFile = folder + "/two.kqt";
  WriteTruthFile(folder + "/two_truth.txt", options, pattern);
  const std::string truth = testing::ReadTextFile(folder + "/two_truth.txt");
  EXPECT_NE(truth.find("_Grains\n     2\n# grain 1\n_GrainCell\n  5.431000 5.431000 5.431000 90.000000 90.000000 90.000000\n"
                       "_GrainCentring\n  F\n"),
            std::string::npos);
  EXPECT_NE(truth.find("_GrainCentring\n  P\n_GrainOrientation\n  random\n"), std::string::npos);
  const std::size_t table = truth.find("_SpotGrains\n");
  ASSERT_NE(table, std::string::npos);
  std::string first = truth.substr(truth.find('\n', truth.find('\n', table) + 1) + 1);
  first = first.substr(0, first.find('\n'));
  EXPECT_EQ(first.substr(0, 2), " " + std::to_string(pattern.spots[0].grain));
}

}  // namespace
}  // namespace orv::sim
