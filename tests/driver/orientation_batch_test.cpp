// The batch summary's orientation columns: written with --orientation only, empty for a failed
// pattern, and a summary of the other layout replaced rather than mixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "driver/batch_summary.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

TEST(OrientationBatch, TheSummaryGainsOrientationAndStrainColumnsOnlyWithTheOption) {
  const std::string dir = testing::MakeScratchDir("orientation-batch");
  std::filesystem::create_directories(dir + "/pats");
  sim::SimulationOptions options;
  options.cell = {5.431, 5.431, 5.431, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.strain = std::array<double, 6>{1e-3, -1e-3, 0.0, 5e-4, 0.0, 0.0};
  options.flaws = sim::FlawSettings{0.002, 0.0, 0.0, 60};
  options.keywords.AngularDeviationCriterion = 0.2;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(dir + "/pats/p1.kqt", options, pattern);
  testing::WriteTextFile(dir + "/pats/bad.kqt", "_NumberOfReflections\n3\n");

  const testing::ProcessResult plain = testing::RunOrvanthel({"--batch", "pats", "--workers", "1"}, dir);
  EXPECT_EQ(testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"))[0], SummaryHeader()) << plain.output;

  const testing::ProcessResult oriented =
      testing::RunOrvanthel({"--batch", "pats", "--workers", "1", "--reference-cell", "5.431,5.431,5.431,90,90,90"}, dir);
  EXPECT_EQ(oriented.exitStatus, 1) << oriented.output;  // bad.kqt fails
  EXPECT_NE(oriented.output.find("has another header"), std::string::npos) << oriented.output;
  const std::vector<std::string> lines = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], SummaryHeaderWithOrientation());
  const auto failed = ParseRow(lines[1]);
  const auto indexed = ParseRow(lines[2]);
  ASSERT_TRUE(failed && indexed);
  EXPECT_EQ(failed->status, "failed");
  EXPECT_EQ(failed->orientation, std::vector<std::string>(10));
  EXPECT_EQ(indexed->status, "indexed");
  ASSERT_EQ(indexed->orientation.size(), 10u);
  // The deviatoric xx and the yz components in the frame of the directions, against the truth.
  EXPECT_NEAR(std::stod(indexed->orientation[3]), pattern.deviatoricLab[0][0], 1e-4);
  EXPECT_NEAR(std::stod(indexed->orientation[6]), pattern.deviatoricLab[1][2], 1e-4);
  EXPECT_FALSE(indexed->orientation[9].empty());
  EXPECT_TRUE(testing::FileExists(dir + "/pats/p1_kqt_spots.csv"));

  // Resumed, the indexed pattern is complete only while its spot table is there.
  const std::vector<std::string> again = {"--batch", "pats", "--workers", "1", "--reference-cell",
                                          "5.431,5.431,5.431,90,90,90"};
  EXPECT_NE(testing::RunOrvanthel(again, dir).output.find(", 1 complete before"), std::string::npos);
  std::filesystem::remove(dir + "/pats/p1_kqt_spots.csv");
  EXPECT_NE(testing::RunOrvanthel(again, dir).output.find(", 0 complete before"), std::string::npos);
  EXPECT_TRUE(testing::FileExists(dir + "/pats/p1_kqt_spots.csv"));
}

}  // namespace
}  // namespace orv
