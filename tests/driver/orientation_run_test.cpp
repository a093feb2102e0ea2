// Whole runs with --orientation and --reference-cell on a simulated strained crystal: the
// orientation and strain against the simulator's truth, the reports that carry them, the results
// file left as it is, and the error for a reference that does not match.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"
#include "geometry/rotation.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

Mat3 MatrixOf(const nlohmann::json& rows) {
  Mat3 m{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m[r][c] = rows[r][c].get<double>();
  return m;
}

// The results file without its date line, which tells two runs apart.
std::string WithoutDate(const std::string& text) {
  const std::size_t date = text.find(" Date : ");
  if (date == std::string::npos) return text;
  return text.substr(0, date) + text.substr(text.find('\n', date));
}

struct ProgramRun {
  int status = 0;
  std::string console;
};

ProgramRun Index(const std::string& pattern, std::vector<std::string> arguments) {
  arguments.push_back(pattern);
  std::istringstream in("");
  std::ostringstream out;
  ProgramRun run;
  run.status = RunProgram(arguments, in, out);
  run.console = out.str();
  return run;
}

TEST(OrientationRun, ReportsTheTrueOrientationAndStrainAndLeavesTheResultsFileAsItIs) {
  const std::string folder = testing::MakeScratchDir("orientation-run");
  sim::SimulationOptions options;
  options.outputFile = folder + "/pattern.kqt";
  options.cell = {4.1, 5.3, 7.2, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::P;
  options.seed = 4;
  options.strain = std::array<double, 6>{2e-3, -1e-3, -1e-3, 5e-4, 0.0, 1e-3};
  options.flaws = sim::FlawSettings{0.002, 0.0, 0.0, 60};
  options.keywords.AngularDeviationCriterion = 0.2;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);
  const std::string stem = folder + "/pattern";

  ASSERT_EQ(Index(options.outputFile, {}).status, 0);
  const std::string plainResults = testing::ReadTextFile(stem + "_kqt.res");
  const ProgramRun run = Index(options.outputFile, {"--json", "--reference-cell", "4.1,5.3,7.2,90,90,90"});
  ASSERT_EQ(run.status, 0) << run.console;
  EXPECT_TRUE(WithoutDate(testing::ReadTextFile(stem + "_kqt.res")) == WithoutDate(plainResults));
  const std::size_t lattice = run.console.find("    Lattice : oP");
  const std::size_t orientation = run.console.find("    Orientation : phi1 =");
  const std::size_t strain = run.console.find("    Strain  : von Mises");
  ASSERT_NE(lattice, std::string::npos) << run.console;
  EXPECT_LT(lattice, orientation);
  EXPECT_LT(orientation, strain);
  EXPECT_NE(strain, std::string::npos);

  const nlohmann::json document = nlohmann::json::parse(testing::ReadTextFile(stem + "_kqt.json"));
  const nlohmann::json& first = document["solutions"][0];
  const Mat3 u = MatrixOf(first["orientation"]["U"]);
  const std::vector<Mat3> orthorhombic = {{{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}},
                                          {{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}};
  EXPECT_LT(MisorientationDegrees(u, pattern.trueU, orthorhombic), 0.003);
  const Mat3 found = MatrixOf(first["strain"]["directionsFrame"]);
  const Mat3 sigma = MatrixOf(first["strain"]["directionsFrameUncertainty"]);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(found[r][c], pattern.deviatoricLab[r][c], 1e-4);
      EXPECT_GT(sigma[r][c], 0.0);
    }
  // Every reflection carries its conventional indices; the spot table has a row per reflection.
  for (const nlohmann::json& reflection : first["reflections"]) EXPECT_EQ(reflection["conventionalHkl"].size(), 3u);
  const std::string table = testing::ReadTextFile(stem + "_kqt_spots.csv");
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 61);
  EXPECT_EQ(table.rfind("spot,x,y,z,two_theta,chi,", 0), 0u);
}

TEST(OrientationRun, AReferenceOfAnotherShapeEndsTheRunBeforeAnyReport) {
  const std::string folder = testing::MakeScratchDir("orientation-mismatch");
  sim::SimulationOptions options;
  options.outputFile = folder + "/pattern.kqt";
  options.cell = {5.43, 5.43, 5.43, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.flaws = sim::FlawSettings{0.002, 0.0, 0.0, 50};
  options.keywords.AngularDeviationCriterion = 0.2;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);
  const ProgramRun run = Index(options.outputFile, {"--reference-cell", "4.913,4.913,5.405,90,90,120"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.console.find("does not match the pattern's cF cell"), std::string::npos) << run.console;
  EXPECT_FALSE(testing::FileExists(folder + "/pattern_kqt.res"));
  const ProgramRun bad = Index(options.outputFile, {"--reference-cell", "5.43,5.43"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.console.find("six numbers"), std::string::npos) << bad.console;
}

}  // namespace
}  // namespace orv
