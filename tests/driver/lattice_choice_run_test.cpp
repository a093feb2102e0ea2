// Whole runs with --choose-lattice on simulated centred lattices whose true cell the design's
// ranking puts below a commensurate one.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "support/cell_comparison.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

struct CentredCase {
  const char* name;
  sim::CellParameters cell;
  sim::Centring centring;
  Mat3 primitiveFromConventional;  // rows: primitive vectors in units of the conventional ones
  double noise;
  double spurious;
  double tolerance;
  const char* bravais;  // the lattice the hint of a run without the choice names
};

std::ostream& operator<<(std::ostream& out, const CentredCase& c) { return out << c.name; }

class LatticeChoiceRun : public ::testing::TestWithParam<CentredCase> {};

std::vector<testing::ReportedSolution> Index(const std::string& pattern, const std::vector<std::string>& options,
                                             std::string& resultsText, std::string* console = nullptr) {
  std::vector<std::string> arguments = options;
  arguments.push_back(pattern);
  std::istringstream in("");
  std::ostringstream out;
  EXPECT_EQ(RunProgram(arguments, in, out), 0) << out.str();
  resultsText = testing::ReadTextFile(pattern.substr(0, pattern.size() - 4) + "_kqt.res");
  if (console != nullptr) *console = out.str();
  return testing::ParseResultsFile(resultsText);
}

TEST_P(LatticeChoiceRun, TheTrueCellComesFirstAndTheHeaderSaysSo) {
  const CentredCase& crystal = GetParam();
  const std::string folder = testing::MakeScratchDir("lattice-choice-run");
  sim::SimulationOptions options;
  options.outputFile = folder + "/pattern.kqt";
  options.cell = crystal.cell;
  options.centring = crystal.centring;
  options.seed = 1;
  options.flaws = sim::FlawSettings{crystal.noise, crystal.spurious, 0.0, 50};
  options.keywords.AngularDeviationCriterion = crystal.tolerance;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);
  const Mat3 primitive = testing::ScaledToUnitVolume(MultiplyMatrices(crystal.primitiveFromConventional, pattern.directBasis));
  const std::string line = " Choice among commensurate lattices :                  on";

  std::string designText;
  std::string designConsole;
  const auto design = Index(options.outputFile, {}, designText, &designConsole);
  ASSERT_FALSE(design.empty());
  EXPECT_FALSE(testing::RelateBases(design.front().unitBasis, primitive, 0.02).unimodular);
  EXPECT_EQ(designText.find(line), std::string::npos);
  // The run without the choice says on the console which lattice the choice would put first.
  EXPECT_NE(designConsole.find(" Hint: the lattice choice puts first " + std::string(crystal.bravais) + " "),
            std::string::npos)
      << designConsole;
  EXPECT_NE(designConsole.find("run again with --choose-lattice"), std::string::npos);
  EXPECT_EQ(designConsole.find("_VolumeOfPrimitiveCell"), std::string::npos);  // the simulator gives it

  std::string chosenText;
  std::string chosenConsole;
  const auto chosen = Index(options.outputFile, {"--choose-lattice"}, chosenText, &chosenConsole);
  EXPECT_EQ(chosenConsole.find("Hint:"), std::string::npos);
  ASSERT_FALSE(chosen.empty());
  EXPECT_TRUE(testing::RelateBases(chosen.front().unitBasis, primitive, 0.02).unimodular);
  EXPECT_NE(chosenText.find(line), std::string::npos);
}

const double h = 0.5;
INSTANTIATE_TEST_SUITE_P(
    CentredLattices, LatticeChoiceRun,
    ::testing::Values(CentredCase{"cubic_F_a_tenth_spurious_1_degree", {5.431, 5.431, 5.431, 90.0, 90.0, 90.0},
                                  sim::Centring::F, {{{0, h, h}, {h, 0, h}, {h, h, 0}}}, 0.02, 0.1, 1.0, "cF"},
                      CentredCase{"tetragonal_I_0_2_degree", {5.2, 5.2, 9.6, 90.0, 90.0, 90.0}, sim::Centring::I,
                                  {{{-h, h, h}, {h, -h, h}, {h, h, -h}}}, 0.02, 0.0, 0.2, "tI"}));

}  // namespace
}  // namespace orv
