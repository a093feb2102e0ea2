// The whole search on patterns of known lattices: every search type runs through, and the
// store ends up holding a basis of the true lattice.
#include "search/search_bases.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "geometry/constants.hpp"
#include "text/text_file.hpp"
#include "run_data/observer_fan_out.hpp"
#include "search/recorded_search_events.hpp"
#include "solutions/basis_quality.hpp"
#include "simulator/simulation_run.hpp"
#include "support/lattice_patterns.hpp"
#include "support/run_listeners.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

using testing::BuildLatticePattern;
using testing::LatticePattern;

struct SearchRun : testing::RunListeners {
  RunParameters parameters;
  DirectionStore directions;
  SublatticeTables tables;
  SolutionStore store;

  SearchRun(const LatticePattern& pattern, int searchType) {
    testing::LoadPattern(pattern, parameters, directions);
    parameters.ExtentOfTheSearch = searchType;
    BuildSublatticeTables(tables);
  }
  void Search() { SearchBases(parameters, directions, tables, store, events); }
};

int CountTrueBases(const SolutionStore& store, const Mat3& trueDirect) {
  int count = 0;
  for (int j = 1; j <= store.NumberOfSolutions; ++j) count += testing::IsBasisOfLattice(store(j).SolutionBasis, trueDirect);
  return count;
}

TEST(SearchBases, FindsTheTrueTriclinicLattice) {
  const LatticePattern pattern = BuildLatticePattern(testing::TriclinicDirectBasis(), 28);
  SearchRun run(pattern, 0);
  run.Search();
  EXPECT_GE(CountTrueBases(run.store, pattern.direct), 1);
}

TEST(SearchBases, FindsTheTrueOrthorhombicLatticeAndLogsOneSeparatorPerTriple) {
  const LatticePattern pattern = BuildLatticePattern(testing::OrthorhombicDirectBasis(), 28);
  ASSERT_EQ(pattern.directions.size(), 28u);
  SearchRun run(pattern, 0);
  const std::string folder = testing::MakeScratchDir("search");
  run.log.Open(folder + "/search.log");
  run.Search();
  run.log.Close();
  ASSERT_GE(run.store.NumberOfSolutions, 1);
  EXPECT_GE(CountTrueBases(run.store, pattern.direct), 1);

  std::istringstream log(testing::ReadTextFile(folder + "/search.log"));
  const std::string separator = " " + std::string(54, '=');
  int separators = 0;
  for (std::string line; std::getline(log, line);) separators += line == separator;
  EXPECT_EQ(separators, 28 * 27 * 26 / 6);
  // The progress line is blanked out at the end, leaving the cursor at the start of a clean line.
  const std::string console = run.console.str();
  EXPECT_EQ(console.substr(console.size() - 63), "\r" + std::string(61, ' ') + "\r");
}

// What a search tells, one line per event, qualities to the last bit.
class Transcript final : public RunObserver {
 public:
  void FirstReflectionStarted(int i, int n) override { out_ << "F " << i << ' ' << n << '\n'; }
  void TripleStarted() override { out_ << "T\n"; }
  void SearchFinished() override { out_ << "E\n"; }
  void SimilarToSolution(int j) override { out_ << "S " << j << '\n'; }
  void ReplacedSolution(int j) override { out_ << "R " << j << '\n'; }
  void BasisSaved(int record, SupportCounts counts, double quality) override {
    char text[96];
    std::snprintf(text, sizeof text, "B %d %d %d %a\n", record, counts.nHalf, counts.nFull, quality);
    out_ << text;
  }
  std::string str() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

void ExpectSameStore(const SolutionStore& a, const SolutionStore& b) {
  ASSERT_EQ(a.NumberOfSolutions, b.NumberOfSolutions);
  for (int j = 1; j <= a.NumberOfSolutions; ++j) {
    EXPECT_EQ(a(j).SolutionBasis, b(j).SolutionBasis) << j;
    EXPECT_EQ(a(j).SolutionQuality, b(j).SolutionQuality) << j;
    EXPECT_EQ(a(j).SolutionCounts.nFull, b(j).SolutionCounts.nFull) << j;
    EXPECT_EQ(a(j).SolutionCounts.nHalf, b(j).SolutionCounts.nHalf) << j;
  }
}

// Directions of a simulated pattern of silicon grains (cF), 0.01 degree noise: `spots` per grain.
LatticePattern SiliconGrains(const std::vector<int>& spots) {
  sim::SimulationOptions options;
  options.cell = sim::CellParameters{5.431, 5.431, 5.431, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.seed = 5;
  options.flaws = sim::FlawSettings{0.01, 0.0, 0.0, spots.front()};
  for (std::size_t g = 1; g < spots.size(); ++g)
    options.moreGrains.push_back(sim::SimulatedGrain{options.cell, sim::Centring::F, spots[g], std::nullopt});
  sim::SimulatedPattern simulated;
  std::string message;
  EXPECT_TRUE(sim::SimulatePattern(options, simulated, message)) << message;
  LatticePattern pattern;
  for (const sim::Spot& spot : simulated.spots) pattern.directions.push_back(spot.direction);
  return pattern;
}

// One walk for two first scores fills each store, and tells each observer, what the two searches
// apart do: on a pattern of one grain and on one of three, on one and two threads, with one and
// several sublattice indices (then the candidates of a quadruple are cut into parts), with stores
// that fill up (then what the workers may leave out depends on both).
TEST(SearchBases, OneWalkForTwoFirstScoresFillsEachStoreAsItsOwnSearch) {
  const LatticePattern one = SiliconGrains({36});
  const LatticePattern two = SiliconGrains({20, 18, 10});
  bool storesDiffered = false;  // the cases show what they are meant to show
  bool storeFilled = false;
  for (const LatticePattern* pattern : {&one, &two}) {
    for (int type : {0, 5, 7}) {
      for (int threads : {1, 2}) {
        RunParameters parameters;
        DirectionStore directions;
        testing::LoadPattern(*pattern, parameters, directions);
        parameters.ExtentOfTheSearch = type;
        SublatticeTables tables;
        BuildSublatticeTables(tables);
        RunParameters lowered = parameters;
        lowered.AcceptedCandidateQuality = parameters.WeightsForSortingBases_2 * 0.3 * parameters.NumberOfReflections;
        const SearchOptions options{threads, false};

        auto alone = std::make_unique<SolutionStore>();
        auto loweredAlone = std::make_unique<SolutionStore>();
        Transcript aloneEvents;
        Transcript loweredAloneEvents;
        DirectionStore working = directions;
        SearchBases(parameters, working, tables, *alone, aloneEvents, options);
        SearchBases(lowered, working, tables, *loweredAlone, loweredAloneEvents, options);

        auto together = std::make_unique<SolutionStore>();
        auto loweredTogether = std::make_unique<SolutionStore>();
        Transcript togetherEvents;
        Transcript loweredTogetherEvents;
        working = directions;
        SearchBasesAtTwoScores(parameters, lowered, working, tables, *together, *loweredTogether, togetherEvents,
                               loweredTogetherEvents, options);

        SCOPED_TRACE(std::string(pattern == &one ? "one grain" : "two grains") + ", type " + std::to_string(type) +
                     ", threads " + std::to_string(threads));
        ExpectSameStore(*together, *alone);
        ExpectSameStore(*loweredTogether, *loweredAlone);
        EXPECT_EQ(togetherEvents.str(), aloneEvents.str());
        EXPECT_EQ(loweredTogetherEvents.str(), loweredAloneEvents.str());
        storesDiffered = storesDiffered || loweredAlone->NumberOfSolutions > alone->NumberOfSolutions;
        storeFilled = storeFilled || alone->NumberOfSolutions == MaxStoredSolutions;
      }
    }
  }
  EXPECT_TRUE(storesDiffered);
  EXPECT_TRUE(storeFilled);
}

// The events kept for later are told again in their order, consecutive triples and all.
TEST(SearchBases, RecordedEventsAreToldAgainInTheirOrder) {
  RecordedSearchEvents recorded;
  Transcript direct;
  ObserverFanOut both;
  both.Add(recorded);
  both.Add(direct);
  both.FirstReflectionStarted(1, 9);
  both.TripleStarted();
  both.TripleStarted();
  both.BasisSaved(1, SupportCounts{5, 7}, 12.25);
  both.SimilarToSolution(1);
  both.ReplacedSolution(1);
  both.TripleStarted();
  both.SearchFinished();
  Transcript replayed;
  recorded.ReplayTo(replayed);
  EXPECT_EQ(replayed.str(), direct.str());
}

// Every search type runs to the end. The types that try many sublattice indices per quadruple get
// smaller patterns, so that each run stays short also under the sanitizers.
struct TypeCase {
  int type;
  bool triclinic;
  int reflections;
};

class EverySearchType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(EverySearchType, RunsThroughAndStoresScoredBases) {
  const TypeCase c = GetParam();
  const LatticePattern pattern = BuildLatticePattern(
      c.triclinic ? testing::TriclinicDirectBasis() : testing::OrthorhombicDirectBasis(), c.reflections);
  SearchRun run(pattern, c.type);
  run.Search();
  ASSERT_GE(run.store.NumberOfSolutions, 1);
  ASSERT_LE(run.store.NumberOfSolutions, MaxStoredSolutions);
  for (int j = 1; j <= run.store.NumberOfSolutions; ++j) {
    const SolutionRecord& record = run.store(j);
    EXPECT_NEAR(std::fabs(Determinant(record.SolutionBasis)), 1.0, 1e-9) << j;
    // What the store holds is the quality of the reduced direct basis it holds.
    const ScoredBasis again = BasisQuality(record.SolutionBasis, run.parameters, run.directions);
    EXPECT_EQ(record.SolutionQuality, again.quality) << j;
    EXPECT_EQ(record.SolutionCounts.nHalf, again.counts.nHalf) << j;
    EXPECT_EQ(record.SolutionCounts.nFull, again.counts.nFull) << j;
  }
  // Only the crossing slot after the last reflection may change.
  for (int r = 1; r <= run.parameters.NumberOfReflections; ++r)
    EXPECT_EQ(run.directions(r), pattern.directions[static_cast<std::size_t>(r - 1)]) << r;
}

INSTANTIATE_TEST_SUITE_P(SearchBases, EverySearchType,
                         ::testing::Values(TypeCase{0, true, 20}, TypeCase{1, true, 20}, TypeCase{2, true, 20},
                                           TypeCase{3, false, 14}, TypeCase{4, true, 20}, TypeCase{5, true, 20},
                                           TypeCase{6, true, 20}, TypeCase{7, true, 16}, TypeCase{8, true, 20},
                                           TypeCase{9, true, 12}),
                         [](const ::testing::TestParamInfo<TypeCase>& info) {
                           return "Type" + std::to_string(info.param.type);
                         });

}  // namespace
}  // namespace orv
