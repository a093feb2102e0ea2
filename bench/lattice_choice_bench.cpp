// The lattice choice on the solutions of a simulated silicon pattern: weighing the kept solutions
// and their commensurate relatives (indexing them, their observed-row shares, the climb from the
// winner) and refining the reported ones, as `--choose-lattice` and every round of `--grains` do.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "search/commensurate_transforms.hpp"
#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "simulated_bench_pattern.hpp"
#include "solutions/lattice_choice.hpp"
#include "solutions/post_process.hpp"

namespace orv {
namespace {

// A face-centred cubic crystal (a = 5.431 A) in a fixed random orientation: the `spots` strongest
// spots with 0.02 degree noise and 10 % spurious ones, a tolerance of 0.2 degree, search type 5;
// its solutions searched, refined and ranked once.
struct ChoicePattern {
  std::unique_ptr<BenchPattern> pattern;
  SolutionStore store;
  std::vector<Mat3> transforms;
};

std::unique_ptr<ChoicePattern> MakeChoicePattern(int spots) {
  sim::SimulationOptions options = SiliconOptions(3, spots, 0.1);
  options.keywords.ExtentOfTheSearch = 5;
  auto choice = std::make_unique<ChoicePattern>();
  choice->pattern = SimulateBenchPattern(options, "orvanthel-choice-bench-" + std::to_string(spots) + ".kqt");
  if (!choice->pattern) return nullptr;
  auto tables = std::make_unique<SublatticeTables>();
  BuildSublatticeTables(*tables);
  RunObserver quiet;
  const RunParameters& parameters = choice->pattern->parameters;
  SearchBases(parameters, choice->pattern->directions, *tables, choice->store, quiet, SearchOptions{1, false});
  PrepareSolutions(parameters, choice->pattern->directions, choice->store, quiet);
  RankSolutionsForReport(parameters, choice->pattern->directions, choice->store, quiet);
  choice->transforms = CommensurateTransforms(*tables);
  if (choice->store.NumberOfSolutions <= 0) return nullptr;
  return choice;
}

void LatticeChoice(benchmark::State& state) {
  const auto choice = MakeChoicePattern(static_cast<int>(state.range(0)));
  if (!choice) {
    state.SkipWithError("the pattern could not be simulated or indexed");
    return;
  }
  auto store = std::make_unique<SolutionStore>();
  for (auto _ : state) {
    *store = choice->store;
    ChooseLattices(choice->pattern->parameters, choice->pattern->directions, choice->transforms, *store);
  }
  state.counters["solutions"] = choice->store.NumberOfSolutions;
}

BENCHMARK(LatticeChoice)->Arg(60)->Arg(120)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv
