// The automatic search: the steps it runs, the one it reports, the same store at any thread count,
// what a whole run writes about it, and the advice when nothing is found.
#include "indexing/automatic_search.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "driver/no_solution_advice.hpp"
#include "driver/program_entry.hpp"
#include "geometry/constants.hpp"
#include "support/lattice_patterns.hpp"
#include "support/run_listeners.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

// The primitive cell of a face-centred cubic lattice, a = 5.
Mat3 FaceCentredCubicDirectBasis() {
  return testing::RotateRows(Mat3{Vec3{0.0, 2.5, 2.5}, Vec3{2.5, 0.0, 2.5}, Vec3{2.5, 2.5, 0.0}},
                             testing::GenericOrientation());
}

struct AutomaticRun : testing::RunListeners {
  RunParameters parameters;
  DirectionStore directions;
  SublatticeTables tables;
  SolutionStore store;
  std::vector<StepOutcome> heard;
  AutomaticSearchResult result;

  AutomaticRun(const testing::LatticePattern& pattern, int threads) {
    testing::LoadPattern(pattern, parameters, directions);
    parameters.AngularDeviationCriterion = 0.2 * kDegreesToRadians;
    BuildSublatticeTables(tables);
    result = RunAutomaticSearch(parameters, directions, tables, store, events, SearchOptions{threads, false},
                                [this](const StepOutcome& step) { heard.push_back(step); });
  }
};

// The 16 strongest rows of a face-centred cubic lattice: no triple of them is a primitive basis with
// the sum of its rows among the spots, so types 0 and 5 store nothing; the zone-axis cells find the
// lattice, the search stops there, and the run carries that step's type and bound.
TEST(AutomaticSearch, GoesDeeperOnlyUntilASolutionIsSupported) {
  const testing::LatticePattern pattern = testing::BuildLatticePattern(FaceCentredCubicDirectBasis(), 16);
  AutomaticRun run(pattern, 1);
  ASSERT_EQ(run.heard.size(), 3u);
  EXPECT_EQ(run.heard[0].step.type, 0);
  EXPECT_EQ(run.heard[0].bestSupport, 0);
  EXPECT_EQ(run.heard[1].step.type, 5);
  EXPECT_EQ(run.heard[1].bestSupport, 0);
  EXPECT_TRUE(run.heard[2].step.zoneAxes);
  EXPECT_EQ(run.heard[2].bestSupport, 16);
  EXPECT_EQ(run.result.used, 2);
  EXPECT_EQ(run.result.planned, 5);
  EXPECT_EQ(run.parameters.ExtentOfTheSearch, 5);
  EXPECT_EQ(run.parameters.MaxAllowedMillerIndex, 12);
  EXPECT_EQ(BestSupport(run.store), 16);

  // The zone-axis cells are offered on the calling thread in a fixed order: the same store.
  AutomaticRun threaded(pattern, 2);
  ASSERT_EQ(threaded.store.NumberOfSolutions, run.store.NumberOfSolutions);
  for (int j = 1; j <= run.store.NumberOfSolutions; ++j) {
    EXPECT_EQ(threaded.store(j).SolutionBasis, run.store(j).SolutionBasis);
    EXPECT_EQ(threaded.store(j).SolutionQuality, run.store(j).SolutionQuality);
  }
}

TEST(AutomaticSearch, StepsEndWithALargerIndexBoundAndSkipTheConeSearchForManySpots) {
  RunParameters parameters;
  DirectionStore directions;
  SetDefaultParameters(parameters, directions);
  std::vector<SearchStep> steps = AutomaticSearchSteps(parameters);
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_TRUE(steps[0].freshStore);
  EXPECT_FALSE(steps[3].freshStore);
  EXPECT_EQ(steps[3].type, 8);
  EXPECT_TRUE(steps[4].freshStore);
  EXPECT_EQ(steps[4].maxIndex, 24);
  parameters.MaxAllowedMillerIndex = 60;
  EXPECT_EQ(AutomaticSearchSteps(parameters).back().maxIndex, 100);
  parameters.MaxAllowedMillerIndex = 100;
  EXPECT_EQ(AutomaticSearchSteps(parameters).size(), 4u);
}

// A whole run: the console names each step and the one used, the results file the used step's
// type and bound; a default run of the same file writes no such line.
TEST(AutomaticSearch, AWholeRunSaysWhichSearchItUsed) {
  const std::string dir = testing::MakeScratchDir("auto-search");
  const testing::LatticePattern pattern = testing::BuildLatticePattern(FaceCentredCubicDirectBasis(), 16);
  std::ostringstream file;
  file.precision(17);
  file << "_NumberOfReflections\n16\n_Reflections\n";
  for (const Vec3& d : pattern.directions) file << d[0] << ' ' << d[1] << ' ' << d[2] << '\n';
  file << "_AngularDeviationCriterion\n0.2\n";
  testing::WriteTextFile(dir + "/fcc.kqt", file.str());

  std::istringstream in("");
  std::ostringstream console;
  ASSERT_EQ(RunProgram({"--auto-search", "--json", dir + "/fcc.kqt"}, in, console), 0);
  const std::string results = testing::ReadTextFile(dir + "/fcc_kqt.res");
  EXPECT_NE(console.str().find(" Automatic search, step 1 : type 0, indices up to 12 :"), std::string::npos);
  EXPECT_NE(console.str().find(" Automatic search used step 3 : type 5 and zone-axis cells, indices up to 12"),
            std::string::npos)
      << console.str();
  EXPECT_NE(results.find(" Extent of the search :                                 5"), std::string::npos);
  EXPECT_NE(results.find(" Automatic search :  step 3 of 5, type 5 and zone-axis cells, indices up to 12"),
            std::string::npos);
  EXPECT_NE(results.find(" 16h and  16H vectors out of  16."), std::string::npos);
  const std::string json = testing::ReadTextFile(dir + "/fcc_kqt.json");
  EXPECT_NE(json.find("\"automaticSearch\": \"step 3 of 5, type 5 and zone-axis cells, indices up to 12\""),
            std::string::npos);
  EXPECT_NE(json.find("\"ExtentOfTheSearch\": 5"), std::string::npos);

  std::ostringstream plainConsole;
  ASSERT_EQ(RunProgram({dir + "/fcc.kqt"}, in, plainConsole), 0);
  EXPECT_EQ(testing::ReadTextFile(dir + "/fcc_kqt.res").find("Automatic search"), std::string::npos);
  EXPECT_EQ(plainConsole.str().find("Automatic search"), std::string::npos);
}

// The advice names a larger tolerance when the spots lie on no zones, the automatic search when
// they do and it did not run, and a larger index bound when it ran.
TEST(NoSolutionAdvice, NamesTheSearchThePatternCallsFor) {
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(testing::BuildLatticePattern(FaceCentredCubicDirectBasis(), 16), parameters, directions);
  parameters.AngularDeviationCriterion = 0.2 * kDegreesToRadians;
  EXPECT_NE(NoSolutionAdvice(parameters, directions, false).find("--auto-search"), std::string::npos);
  EXPECT_NE(NoSolutionAdvice(parameters, directions, true).find("_MaxAllowedMillerIndex"), std::string::npos);

  // Twelve directions in general position: no zone of three.
  const double scattered[12][3] = {
      {-0.374298, 0.919906, 0.116836}, {0.609113, -0.524339, 0.595101}, {0.061590, 0.958208, 0.279318},
      {-0.755089, -0.471470, -0.455567}, {0.367271, 0.838573, -0.402352}, {-0.129431, -0.839011, 0.528510},
      {0.753627, 0.338049, -0.563696}, {-0.266658, -0.294574, -0.917669}, {0.939254, -0.335316, 0.073168},
      {-0.557773, 0.471005, 0.683388}, {0.240451, 0.111919, 0.964186}, {-0.879046, 0.229834, -0.417605}};
  parameters.NumberOfReflections = 12;
  for (int n = 1; n <= 12; ++n) {
    double norm = 0.0;
    NormalizeVector(Vec3{scattered[n - 1][0], scattered[n - 1][1], scattered[n - 1][2]}, directions(n), norm);
  }
  const std::string advice = NoSolutionAdvice(parameters, directions, true);
  EXPECT_NE(advice.find("a larger _AngularDeviationCriterion, e.g. 0.40"), std::string::npos) << advice;
}

}  // namespace
}  // namespace orv
