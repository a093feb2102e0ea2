// Whole runs that look for several grains, on simulated patterns of two grains and of one.
#include <unistd.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "indexing/grain_rounds.hpp"
#include "driver/program_entry.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "support/grain_patterns.hpp"
#include "support/lattice_patterns.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

std::string RunWith(const std::vector<std::string>& options, const std::string& pattern) {
  std::vector<std::string> arguments = options;
  arguments.push_back(pattern);
  std::istringstream in("");
  std::ostringstream out;
  EXPECT_EQ(RunProgram(arguments, in, out), 0) << out.str();
  return out.str();
}

// The text without the lines that change from run to run: the timings and the date.
std::string WithoutTimings(const std::string& console) {
  std::istringstream in(console);
  std::string line, kept;
  while (std::getline(in, line)) {
    if (line.find("time") == std::string::npos && line.find("Time") == std::string::npos &&
        line.find("Date :") == std::string::npos)
      kept += line + "\n";
  }
  return kept;
}

using testing::WriteTwoGrainPattern;

TEST(GrainRun, TwoGrainsAreFoundWithTheirLatticesSpotsAndPhases) {
  const std::string folder = testing::MakeScratchDir("grain-run");
  const std::string pattern = WriteTwoGrainPattern(folder, 0.0);
  testing::WriteTextFile(folder + "/phases.txt", "# one phase only: GaN is not in the list\nSi 5.431 5.431 5.431 90 90 90 F\n");
  const std::string console =
      RunWith({"--grains", "3", "--json", "--svg", "--orientation", "--phases", folder + "/phases.txt"}, pattern);
  EXPECT_NE(console.find(" Grains : 2 found, 3 asked for, at least 8 spots each"), std::string::npos) << console;
  EXPECT_NE(console.find("    Grain 1 : cF"), std::string::npos) << console;
  EXPECT_NE(console.find(", phase Si"), std::string::npos) << console;
  EXPECT_NE(console.find("    Grain 2 : hP"), std::string::npos) << console;
  EXPECT_NE(console.find("no phase fits (volume from the input)"), std::string::npos) << console;
  // Progress is shown on a terminal or when asked for, in the later rounds as in the first.
  if (::isatty(STDOUT_FILENO) != 1) {
    EXPECT_EQ(console.find("Progress :"), std::string::npos) << console;
  }

  const auto json = nlohmann::json::parse(testing::ReadTextFile(folder + "/two_kqt.json"));
  ASSERT_EQ(json["grains"].size(), 2u);
  EXPECT_EQ(json["grains"][0]["lattice"]["bravaisType"], "cF");
  // Matched to Si: brought to its volume, so the conventional cell is silicon's.
  EXPECT_NEAR(json["grains"][0]["lattice"]["conventionalCell"]["a"].get<double>(), 5.431, 0.01);
  EXPECT_EQ(json["grains"][0]["phase"]["name"], "Si");
  EXPECT_EQ(json["grains"][1]["lattice"]["bravaisType"], "hP");
  EXPECT_EQ(json["grains"][1]["phase"]["matched"], false);
  EXPECT_GE(json["grains"][0]["numberOfSpots"].get<int>(), 40);
  EXPECT_GE(json["grains"][1]["numberOfSpots"].get<int>(), 28);
  // Every spot names its grains; those of two grains are the shared ones.
  const auto& grainsOfSpots = json["grainSearch"]["grainsOfSpots"];
  ASSERT_EQ(grainsOfSpots.size(), 70u);
  int shared = 0;
  for (const auto& owners : grainsOfSpots) shared += owners.size() > 1 ? 1 : 0;
  EXPECT_EQ(static_cast<std::size_t>(shared), json["grainSearch"]["sharedSpots"].size());

  // The grain matched to Si is strained against it; the other has no phase, hence no strain.
  EXPECT_LT(json["grains"][0]["strain"]["vonMises"].get<double>(), 0.005);
  EXPECT_TRUE(json["grains"][1]["strain"].is_null());
  EXPECT_NEAR(json["grains"][0]["orientation"]["misorientationToGrain1Degrees"].get<double>(), 0.0, 1e-9);
  // The spot table names each spot's grains in its last column.
  const std::string table = testing::ReadTextFile(folder + "/two_kqt_spots.csv");
  EXPECT_EQ(table.substr(0, table.find('\n')).substr(table.find('\n') - 7), ",grains");
  int spotsOfGrain2 = 0;
  std::istringstream rows(table);
  for (std::string row; std::getline(rows, row);) {
    const std::string last = row.substr(row.rfind(',') + 1);
    if (last == "2" || last == "1 2") ++spotsOfGrain2;
  }
  EXPECT_EQ(spotsOfGrain2, json["grains"][1]["numberOfSpots"].get<int>());

  const std::string picture = testing::ReadTextFile(folder + "/two_kqt.svg");
  EXPECT_NE(picture.find("2 grains"), std::string::npos);
  EXPECT_NE(picture.find("Grain 2: hP"), std::string::npos);
}

TEST(GrainRun, OneGrainAskedForIsTheRunAsItAlwaysWasAndASingleCrystalStaysOneGrain) {
  const std::string folder = testing::MakeScratchDir("grain-run-single");
  sim::SimulationOptions options;
  options.outputFile = folder + "/one.kqt";
  options.cell = sim::CellParameters{5.431, 5.431, 5.431, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.flaws = sim::FlawSettings{0.01, 0.0, 0.0, 40};
  options.keywords.AngularDeviationCriterion = 0.1;
  options.keywords.CreateLogFile = 1;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);

  const std::string plain = WithoutTimings(RunWith({"--json"}, options.outputFile));
  const std::string results = WithoutTimings(testing::ReadTextFile(folder + "/one_kqt.res"));
  const std::string log = WithoutTimings(testing::ReadTextFile(folder + "/one_kqt.log"));
  const std::string json = testing::ReadTextFile(folder + "/one_kqt.json");
  EXPECT_EQ(WithoutTimings(RunWith({"--grains", "1", "--json"}, options.outputFile)), plain);
  EXPECT_EQ(WithoutTimings(testing::ReadTextFile(folder + "/one_kqt.res")), results);
  EXPECT_EQ(WithoutTimings(testing::ReadTextFile(folder + "/one_kqt.log")), log);
  EXPECT_EQ(testing::ReadTextFile(folder + "/one_kqt.json"), json);

  // Asked for three grains, a single crystal gives one, the same lattice as solution 1 of the run
  // with the lattice choice, and no phantom.
  const std::string three = RunWith({"--grains", "3", "--choose-lattice"}, options.outputFile);
  EXPECT_NE(three.find(" Grains : 1 found, 3 asked for"), std::string::npos) << three;
  EXPECT_NE(three.find("    Grain 1 : cF"), std::string::npos) << three;
}

TEST(GrainRun, APatternWithoutSolutionHasNoGrainAndEverySpotIsLeft) {
  const std::string folder = testing::MakeScratchDir("grain-run-none");
  // Eight directions spread at random: no lattice indexes half of them at a tenth of a degree.
  testing::WriteTextFile(folder + "/none.kqt",
                         "_NumberOfReflections\n8\n_Reflections\n"
                         "0.11 0.93 0.35\n-0.52 0.41 0.75\n0.83 -0.21 0.51\n-0.14 -0.77 0.62\n"
                         "0.37 0.12 0.92\n-0.68 -0.33 0.65\n0.22 -0.45 0.87\n0.61 0.58 0.54\n"
                         "_AngularDeviationCriterion\n0.1\n_MaxAllowedMillerIndex\n4\n");
  const std::string console = RunWith({"--grains", "2", "--json"}, folder + "/none.kqt");
  EXPECT_NE(console.find(" Grains : 0 found, 2 asked for"), std::string::npos) << console;
  EXPECT_NE(console.find(" Spots of no grain : 8"), std::string::npos) << console;
  const auto json = nlohmann::json::parse(testing::ReadTextFile(folder + "/none_kqt.json"));
  EXPECT_TRUE(json["grains"].empty());
  EXPECT_EQ(json["grainSearch"]["spotsOfNoGrain"].size(), 8u);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// A cubic grain's lowest rows among directions scattered at random in the same cone.
struct GrainAmongStrays {
  RunParameters parameters;
  DirectionStore directions;
  GrainAmongStrays(int grainSpots, int strays) {
    testing::LatticePattern all = testing::BuildLatticePattern(testing::CubicDirectBasis(), grainSpots);
    unsigned long long state = 12345;
    auto uniform = [&state]() {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (int k = 0; k < strays; ++k) {
      const double z = 0.87 + 0.13 * uniform(), phi = 6.283185307179586 * uniform();
      const double r = std::sqrt(1.0 - z * z);
      all.directions.push_back(Vec3{r * std::cos(phi), r * std::sin(phi), z});
    }
    testing::LoadPattern(all, parameters, directions);
    ApplyAngularDeviationCriterion(parameters, 0.1);
    parameters.ExtentOfTheSearch = 5;
  }
};

// Counts the searches of a round.
struct SearchCounter : RunObserver {
  int searches = 0;
  void SearchFinished() override { ++searches; }
};

TEST(GrainRoundSearch, TheFirstScoreOfASingleCrystalFirstAndTheLowerOneOnlyWhenItFindsNothing) {
  auto tables = std::make_unique<SublatticeTables>();
  BuildSublatticeTables(*tables);
  auto store = std::make_unique<SolutionStore>();

  // The grain holds more than half the spots: the search is that of a single crystal.
  GrainAmongStrays big(30, 10);
  SearchCounter once;
  SearchForGrain(big.parameters, big.directions, *tables, *store, once, SearchOptions{1, false}, 8, 2);
  EXPECT_GT(store->NumberOfSolutions, 0);
  EXPECT_EQ(big.parameters.AcceptedCandidateQuality, 0.0);
  EXPECT_EQ(once.searches, 1);

  // A grain of 14 among 30 spots does not reach half of them: the floor is lowered to what the
  // largest of two grains sought reaches, W2 0.8 30 / 2, and the grain is found.
  GrainAmongStrays small(14, 16);
  SearchCounter twice;
  SearchForGrain(small.parameters, small.directions, *tables, *store, twice, SearchOptions{1, false}, 8, 2);
  EXPECT_DOUBLE_EQ(small.parameters.AcceptedCandidateQuality, 0.7 * (0.8 * 30 / 2));
  EXPECT_EQ(twice.searches, 2);
  ASSERT_GT(store->NumberOfSolutions, 0);
  int best = 0;
  for (int k = 1; k <= store->NumberOfSolutions; ++k) best = std::max(best, (*store)(k).SolutionCounts.nFull);
  EXPECT_GE(best, 14);

  // The last grain sought: W2 0.8 of all the spots is above half of them, so the floor cannot be
  // lowered and the search that kept nothing is not run again.
  GrainAmongStrays last(14, 16);
  SearchCounter lastOnce;
  SearchForGrain(last.parameters, last.directions, *tables, *store, lastOnce, SearchOptions{1, false}, 8, 1);
  EXPECT_EQ(store->NumberOfSolutions, 0);
  EXPECT_EQ(lastOnce.searches, 1);
}

}  // namespace
}  // namespace orv
