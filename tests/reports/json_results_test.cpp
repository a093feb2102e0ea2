// The JSON results: the file parses, holds every field, and shows what the results file shows.
#include "reports/json_results.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"
#include "geometry/constants.hpp"
#include "text/line_format.hpp"
#include "reports/results_file.hpp"
#include "run_data/program_version.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

using nlohmann::json;

// The lines of each solution block of a results file, from "  Solution nr" to the volume line.
std::vector<std::vector<std::string>> SolutionBlocks(const std::string& resultsText) {
  std::vector<std::vector<std::string>> blocks;
  for (const std::string& line : testing::SplitLines(resultsText)) {
    if (line.rfind("  Solution nr ", 0) == 0) blocks.emplace_back();
    if (!blocks.empty()) blocks.back().push_back(line);
  }
  return blocks;
}

// True when the lines follow one another in the block in this order (others may lie between).
bool BlockHoldsInOrder(const std::vector<std::string>& block, const std::vector<std::string>& lines) {
  std::size_t at = 0;
  for (const std::string& line : lines) {
    while (at < block.size() && block[at] != line) ++at;
    if (at == block.size()) return false;
    ++at;
  }
  return true;
}

std::string ThreeReals(const json& v, int skip, int width, int decimals) {
  return Line().X(skip).F(v[0].get<double>(), width, decimals).F(v[1].get<double>(), width, decimals)
      .F(v[2].get<double>(), width, decimals).str();
}

// The reflection row that the results file shows for a reflection of the JSON file.
std::string ReflectionRowOf(const json& r, double toleranceDegrees) {
  const int number = r["number"].get<int>();
  const std::string kind = r["class"].get<std::string>();
  if (!(r["deviationDegrees"].get<double>() < 2.0 * toleranceDegrees)) return Line().I(number, 4).str();
  const json& x = r["realIndices"];
  Line line;
  line.I(number, 4);
  if (kind == "notIndexed") {
    line.X(5).Text("|").X(13);
  } else {
    line.X(2).Text(kind == "withinHalfTolerance" ? "H-" : "-h").X(1).Text("|");
    for (int k = 0; k < 3; ++k) line.I(r["hkl"][static_cast<std::size_t>(k)].get<int>(), 4);
    line.X(1);
  }
  const Vec3 real{x[0].get<double>(), x[1].get<double>(), x[2].get<double>()};
  line.Text("|").F(real[0], 7, 2).F(real[1], 7, 2).F(real[2], 7, 2).X(2).Text("|").X(2).F(IndexResidualNorm(real), 5, 3);
  return line.str();
}

Mat3 MatrixOf(const json& rows) {
  Mat3 m{};
  for (std::size_t r = 0; r < 3; ++r)
    for (std::size_t c = 0; c < 3; ++c) m[r][c] = rows[r][c].get<double>();
  return m;
}

TEST(JsonResults, TheFileParsesHoldsEveryFieldAndShowsWhatTheResultsFileShows) {
  // A face-centred cubic crystal (a = 5.654), 40 spots with 0.02 degree noise, 0.1 degree tolerance.
  const std::string withJson = testing::MakeScratchDir("json-on");
  const std::string without = testing::MakeScratchDir("json-off");
  sim::SimulationOptions options;
  options.outputFile = withJson + "/ge.kqt";
  options.cell = sim::CellParameters{5.654, 5.654, 5.654, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.flaws = sim::FlawSettings{0.02, 0.0, 0.0, 40};
  options.keywords.AngularDeviationCriterion = 0.1;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);
  sim::WritePatternFile(without + "/ge.kqt", options, pattern);

  std::istringstream in;
  std::ostringstream console, consoleWithout;
  ASSERT_EQ(RunProgram({"--json", withJson + "/ge.kqt"}, in, console), 0) << console.str();
  ASSERT_EQ(RunProgram({without + "/ge.kqt"}, in, consoleWithout), 0) << consoleWithout.str();
  EXPECT_FALSE(testing::FileExists(without + "/ge_kqt.json"));
  // The option adds the file and changes nothing else (but the date and the folder in the title).
  std::vector<std::string> on = testing::SplitLines(testing::ReadTextFile(withJson + "/ge_kqt.res"));
  std::vector<std::string> off = testing::SplitLines(testing::ReadTextFile(without + "/ge_kqt.res"));
  ASSERT_EQ(on.size(), off.size());
  for (std::size_t n = 0; n < on.size(); ++n) {
    if (on[n].rfind(" Date : ", 0) == 0 || on[n].find("Solutions for ") != std::string::npos) continue;
    EXPECT_EQ(on[n], off[n]);
  }

  const json document = json::parse(testing::ReadTextFile(withJson + "/ge_kqt.json"));
  EXPECT_EQ(document["format"], "orvanthel-results");
  EXPECT_EQ(document["formatVersion"], kJsonResultsFormatVersion);
  EXPECT_EQ(document["programVersion"], kProgramVersion);
  EXPECT_EQ(document["resultsFile"], withJson + "/ge_kqt.res");
  EXPECT_EQ(document["latticeChoice"], false);
  const json& parameters = document["parameters"];
  for (const char* key : {"NumberOfReflections", "VolumeOfPrimitiveCell", "MaxAllowedMillerIndex", "ExtentOfTheSearch",
                          "AngularDeviationCriterion", "TheMainCriterion", "WeightsForSortingBases",
                          "MaxNumberOfSavedBases", "SortSolutionsByQualityType", "SaveLePage", "CreateLogFile"})
    EXPECT_TRUE(parameters.contains(key)) << key;
  const int n = parameters["NumberOfReflections"].get<int>();
  EXPECT_EQ(n, 40);
  const double toleranceDegrees = parameters["AngularDeviationCriterion"].get<double>();
  EXPECT_NEAR(toleranceDegrees, 0.1, 1e-12);
  const double weights = parameters["WeightsForSortingBases"][0].get<double>() +
                         parameters["WeightsForSortingBases"][1].get<double>();

  const auto blocks = SolutionBlocks(testing::ReadTextFile(withJson + "/ge_kqt.res"));
  const json& solutions = document["solutions"];
  ASSERT_EQ(solutions.size(), blocks.size());
  ASSERT_EQ(document["numberOfSolutions"].get<std::size_t>(), blocks.size());
  ASSERT_GE(blocks.size(), 2u);
  for (std::size_t i = 0; i < solutions.size(); ++i) {
    SCOPED_TRACE("solution " + std::to_string(i + 1));
    const json& s = solutions[i];
    EXPECT_EQ(s["rank"].get<std::size_t>(), i + 1);

    // What the results file shows of the solution, rebuilt from the JSON values.
    std::vector<std::string> expected;
    for (const json& row : s["directBasisUnitVolume"]) expected.push_back(ThreeReals(row, 10, 14, 8));
    ASSERT_EQ(s["reflections"].size(), static_cast<std::size_t>(n));
    for (const json& r : s["reflections"]) expected.push_back(ReflectionRowOf(r, toleranceDegrees));
    const int nh = s["support"]["withinTolerance"].get<int>(), nH = s["support"]["withinHalfTolerance"].get<int>();
    EXPECT_NEAR(s["quality"].get<double>(), s["qualityFigure"].get<double>() / (weights * n), 1e-12);
    expected.push_back(Line().X(1).I(nh, 4).Text("h and").I(nH, 4).Text("H vectors out of").X(1).I(n, 3)
                           .Text(".").X(4).Text("Quality :").F(s["quality"].get<double>(), 6, 3).str());
    const json& cell = s["primitiveCell"];
    expected.push_back(Line().X(23).F(cell["a"], 9, 3).F(cell["b"], 9, 3).F(cell["c"], 9, 3).str());
    expected.push_back(Line().X(22).F(cell["alpha"], 9, 2).F(cell["beta"], 9, 2).F(cell["gamma"], 9, 2).str());
    expected.push_back(Line().X(2).Text("Volume of the cell  :").F(cell["volume"], 12, 2).str());
    EXPECT_TRUE(BlockHoldsInOrder(blocks[i], expected));

    // The basis at the user's volume is the unit-volume basis scaled.
    const Mat3 direct = MatrixOf(s["directBasis"]), unit = MatrixOf(s["directBasisUnitVolume"]);
    const double edge = std::cbrt(cell["volume"].get<double>());
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(direct[r][c], edge * unit[r][c], 1e-9);

    // The deviation of an indexed reflection is its angle from the lattice row h k l (the indexing
    // takes it as an arc cosine, good to about 1e-7 radian for small angles).
    const Mat3 reciprocal = MatrixOf(s["reciprocalBasis"]);
    for (const json& r : s["reflections"]) {
      if (r["class"] == "notIndexed") continue;
      Vec3 row{};
      for (std::size_t k = 0; k < 3; ++k)
        for (int c = 0; c < 3; ++c) row[c] += r["hkl"][k].get<int>() * reciprocal[k][c];
      const Vec3& u = pattern.spots[r["number"].get<std::size_t>() - 1].direction;
      const double angle = std::atan2(VectorNorm(CrossProduct(u, row)), Dot(u, row)) * kRadiansToDegrees;
      EXPECT_NEAR(r["deviationDegrees"].get<double>(), angle, 1e-4);
    }
    // The lattice: every field there, and a conventional cell of the solution's lattice.
    const json& lattice = s["lattice"];
    for (const char* key : {"bravaisType", "latticePointsPerCell", "conventionalBasis", "fromDirectBasis"})
      EXPECT_TRUE(lattice.contains(key)) << key;
    for (const char* key : {"a", "b", "c", "alpha", "beta", "gamma", "volume"}) {
      EXPECT_TRUE(lattice["conventionalCell"].contains(key)) << key;
      EXPECT_TRUE(s["niggli"]["cell"].contains(key)) << key;
    }
    EXPECT_TRUE(s["niggli"].contains("basis") && s["niggli"].contains("fromDirectBasis"));
    EXPECT_NEAR(lattice["conventionalCell"]["volume"].get<double>(),
                lattice["latticePointsPerCell"].get<int>() * cell["volume"].get<double>(), 1e-6);
    for (const json& relation : s["family"]["relations"]) {
      const std::size_t other = relation["solution"].get<std::size_t>();
      EXPECT_TRUE(other >= 1 && other <= solutions.size() && other != i + 1);
      EXPECT_EQ(solutions[other - 1]["family"]["number"], s["family"]["number"]);
      EXPECT_NEAR(std::fabs(Determinant(MatrixOf(relation["matrix"]))), relation["index"].get<double>(), 1e-9);
    }
  }

  // The console line of the first solution shows the JSON's lattice of solution 1.
  const json& first = solutions[0]["lattice"];
  EXPECT_EQ(first["bravaisType"], "cF");
  EXPECT_NEAR(first["conventionalCell"]["a"].get<double>(), 5.654, 5.654 * 0.005);
  const std::string latticeLine = Line().X(4).Text("Lattice : cF   a =").F(first["conventionalCell"]["a"], 6, 3).str();
  EXPECT_NE(console.str().find(latticeLine), std::string::npos) << console.str();
  EXPECT_NE(console.str().find("    Family  : "), std::string::npos);
}

TEST(JsonResults, TheFileSaysWhetherTheLatticeChoiceOrderedTheSolutions) {
  const std::string dir = testing::MakeScratchDir("json-choice");
  sim::SimulationOptions options;
  options.outputFile = dir + "/cubic.kqt";
  options.cell = {5.0, 5.0, 5.0, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.flaws.spotsKept = 30;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);
  std::istringstream in;
  std::ostringstream console;
  ASSERT_EQ(RunProgram({"--choose-lattice", "--json", options.outputFile}, in, console), 0) << console.str();
  const json document = json::parse(testing::ReadTextFile(dir + "/cubic_kqt.json"));
  EXPECT_EQ(document["latticeChoice"], true);
  EXPECT_EQ(document["volumeOfPrimitiveCellGiven"], true);
  EXPECT_EQ(console.str().find("Note: the file gives no _VolumeOfPrimitiveCell"), std::string::npos);

  // Without the volume the cells are scaled to the default one: the console and the file say so.
  std::string text = testing::ReadTextFile(options.outputFile);
  text.erase(text.find("_VolumeOfPrimitiveCell"), text.find("_ExtentOfTheSearch") - text.find("_VolumeOfPrimitiveCell"));
  testing::WriteTextFile(options.outputFile, text);
  std::ostringstream without;
  ASSERT_EQ(RunProgram({"--json", options.outputFile}, in, without), 0) << without.str();
  EXPECT_EQ(json::parse(testing::ReadTextFile(dir + "/cubic_kqt.json"))["volumeOfPrimitiveCellGiven"], false);
  EXPECT_NE(without.str().find(" Note: the file gives no _VolumeOfPrimitiveCell, so every cell is scaled to the "
                               "default volume 1000.0 A^3.\n       Give the primitive cell's volume: orvanthel-import "
                               "--cell"),
            std::string::npos)
      << without.str();
}

}  // namespace
}  // namespace orv
