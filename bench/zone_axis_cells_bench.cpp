// The zone-axis cells of the automatic search on sparse and fuller simulated patterns: the time of
// finding the zones and scoring every cell of four of them, beside the search types 0 and 5 on the
// same pattern, so that the cost of the extra step can be read against the design's.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "search/zone_axis_bases.hpp"
#include "simulated_bench_pattern.hpp"

namespace orv {
namespace {

// A face-centred cubic crystal (a = 5.431 A) in a fixed random orientation: the `spots` strongest
// spots with 0.02 degree noise, a tolerance of 0.2 degree.
std::unique_ptr<BenchPattern> MakeZonePattern(int spots) {
  return SimulateBenchPattern(SiliconOptions(1, spots, 0.0), "orvanthel-zone-bench-" + std::to_string(spots) + ".kqt");
}

void ZoneAxisCells(benchmark::State& state) {
  const auto pattern = MakeZonePattern(static_cast<int>(state.range(0)));
  if (!pattern) {
    state.SkipWithError("the pattern could not be simulated");
    return;
  }
  auto store = std::make_unique<SolutionStore>();
  RunObserver quiet;
  ZoneAxisSearchCounts counts;
  for (auto _ : state) {
    *store = SolutionStore{};
    counts = OfferZoneAxisBases(pattern->parameters, pattern->directions, *store, quiet);
  }
  state.counters["zones"] = counts.zones;
  state.counters["cells"] = static_cast<double>(counts.cells);
}

void DesignSearch(benchmark::State& state) {
  const auto pattern = MakeZonePattern(static_cast<int>(state.range(0)));
  if (!pattern) {
    state.SkipWithError("the pattern could not be simulated");
    return;
  }
  pattern->parameters.ExtentOfTheSearch = static_cast<int>(state.range(1));
  auto tables = std::make_unique<SublatticeTables>();
  BuildSublatticeTables(*tables);
  auto store = std::make_unique<SolutionStore>();
  RunObserver quiet;
  for (auto _ : state) {
    *store = SolutionStore{};
    DirectionStore directions = pattern->directions;
    SearchBases(pattern->parameters, directions, *tables, *store, quiet, SearchOptions{1, false});
  }
}

BENCHMARK(ZoneAxisCells)->Arg(20)->Arg(30)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(DesignSearch)->Args({20, 0})->Args({20, 5})->Args({30, 0})->Args({30, 5})->Args({50, 5})->Args({100, 5})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv
