// The lattice choice on the solutions of a simulated silicon pattern: weighing the kept solutions
// and their commensurate relatives (indexing them, their observed-row shares, the climb from the
// winner) and refining the reported ones, as `--choose-lattice` and every round of `--grains` do.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "input/input_reader.hpp"
#include "search/commensurate_transforms.hpp"
#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_run.hpp"
#include "solutions/lattice_choice.hpp"
#include "solutions/post_process.hpp"

namespace orv {
namespace {

// A face-centred cubic crystal (a = 5.431 A) in a fixed random orientation: the `spots` strongest
// spots with 0.02 degree noise and 10 % spurious ones, a tolerance of 0.2 degree, search type 5;
// its solutions searched, refined and ranked once.
struct ChoicePattern {
  RunParameters parameters;
  DirectionStore directions;
  SolutionStore store;
  std::vector<Mat3> transforms;
};

std::unique_ptr<ChoicePattern> MakeChoicePattern(int spots) {
  sim::SimulationOptions options;
  options.outputFile = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                       "/orvanthel-choice-bench-" + std::to_string(spots) + ".kqt";
  options.cell = sim::CellParameters{5.431, 5.431, 5.431, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.seed = 3;
  options.flaws = sim::FlawSettings{0.02, 0.1, 0.0, spots};
  options.keywords.AngularDeviationCriterion = 0.2;
  options.keywords.ExtentOfTheSearch = 5;
  sim::SimulatedPattern simulated;
  std::string message;
  auto pattern = std::make_unique<ChoicePattern>();
  if (!sim::SimulatePattern(options, simulated, message)) return nullptr;
  sim::WritePatternFile(options.outputFile, options, simulated);
  std::ostringstream echo;
  SetDefaultParameters(pattern->parameters, pattern->directions);
  ReadInputFile(options.outputFile, pattern->parameters, pattern->directions, echo);
  std::remove(options.outputFile.c_str());
  auto tables = std::make_unique<SublatticeTables>();
  BuildSublatticeTables(*tables);
  RunObserver quiet;
  SearchBases(pattern->parameters, pattern->directions, *tables, pattern->store, quiet, SearchOptions{1, false});
  PrepareSolutions(pattern->parameters, pattern->directions, pattern->store, quiet);
  RankSolutionsForReport(pattern->parameters, pattern->directions, pattern->store, quiet);
  pattern->transforms = CommensurateTransforms(*tables);
  if (pattern->store.NumberOfSolutions <= 0) return nullptr;
  return pattern;
}

void LatticeChoice(benchmark::State& state) {
  const auto pattern = MakeChoicePattern(static_cast<int>(state.range(0)));
  if (!pattern) {
    state.SkipWithError("the pattern could not be simulated or indexed");
    return;
  }
  auto store = std::make_unique<SolutionStore>();
  for (auto _ : state) {
    *store = pattern->store;
    ChooseLattices(pattern->parameters, pattern->directions, pattern->transforms, *store);
  }
  state.counters["solutions"] = pattern->store.NumberOfSolutions;
}

BENCHMARK(LatticeChoice)->Arg(60)->Arg(120)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv
