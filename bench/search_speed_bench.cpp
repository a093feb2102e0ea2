// The whole search on fixed simulated patterns: the literal search against the fast one on one
// thread and on every core, measured one after the other in the same run, so that their ratios
// hold even on a busy machine. The dense 999-spot pattern runs only the fast search on every core,
// and only when ORVANTHEL_DENSE_BENCH=1 (it takes many minutes).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "simulated_bench_pattern.hpp"

namespace orv {
namespace {

// A triclinic crystal (7, 9, 11 Angstrom, 80, 95, 105 degrees) in a fixed random orientation:
// `spots` spots with 0.02 degree noise, 5 % of them spurious, a tolerance of 1 degree.
using Pattern = BenchPattern;

std::unique_ptr<Pattern> MakePattern(int spots, int searchType, const char* cell) {
  sim::SimulationOptions options;
  std::istringstream values(cell);
  char comma;
  values >> options.cell.a >> comma >> options.cell.b >> comma >> options.cell.c >> comma >> options.cell.alpha >>
      comma >> options.cell.beta >> comma >> options.cell.gamma;
  options.seed = 1;
  options.flaws = sim::FlawSettings{0.02, 0.05, 0.0, spots};
  options.keywords.ExtentOfTheSearch = searchType;
  return SimulateBenchPattern(options,
                              "orvanthel-bench-" + std::to_string(spots) + "-" + std::to_string(searchType) + ".kqt");
}

// Seconds of one whole search; the store it fills goes to `store`.
double TimeSearch(const Pattern& pattern, const SublatticeTables& tables, const SearchOptions& options,
                  SolutionStore& store) {
  DirectionStore directions = pattern.directions;
  RunObserver quiet;  // no log, no progress line
  store = SolutionStore{};
  const auto start = std::chrono::steady_clock::now();
  SearchBases(pattern.parameters, directions, tables, store, quiet, options);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool SameStore(const SolutionStore& a, const SolutionStore& b) {
  if (a.NumberOfSolutions != b.NumberOfSolutions) return false;
  for (int j = 1; j <= a.NumberOfSolutions; ++j)
    if (a(j).SolutionBasis != b(j).SolutionBasis || a(j).SolutionQuality != b(j).SolutionQuality) return false;
  return true;
}

const char* const kTriclinic = "7,9,11,80,95,105";

void BM_SearchSpeed(benchmark::State& state) {
  const int spots = static_cast<int>(state.range(0));
  const int searchType = static_cast<int>(state.range(1));
  const std::unique_ptr<Pattern> pattern = MakePattern(spots, searchType, kTriclinic);
  if (!pattern) {
    state.SkipWithError("the simulator could not make the pattern");
    return;
  }
  auto tables = std::make_unique<SublatticeTables>();
  BuildSublatticeTables(*tables);
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  SearchOptions literal;
  literal.literal = true;
  SearchOptions oneThread;
  oneThread.threads = 1;
  SearchOptions allThreads;
  allThreads.threads = cores;
  auto stores = std::make_unique<std::array<SolutionStore, 3>>();
  double seconds[3] = {0, 0, 0};
  for (auto _ : state) {
    seconds[0] = TimeSearch(*pattern, *tables, literal, (*stores)[0]);
    seconds[1] = TimeSearch(*pattern, *tables, oneThread, (*stores)[1]);
    seconds[2] = TimeSearch(*pattern, *tables, allThreads, (*stores)[2]);
    state.SetIterationTime(seconds[0] + seconds[1] + seconds[2]);
  }
  if (!SameStore((*stores)[0], (*stores)[1]) || !SameStore((*stores)[0], (*stores)[2]))
    state.SkipWithError("the fast search stored other solutions than the literal one");
  state.counters["literal_s"] = seconds[0];
  state.counters["fast1_s"] = seconds[1];
  state.counters["fastAll_s"] = seconds[2];
  state.counters["x1thread"] = seconds[0] / seconds[1];
  state.counters["xAllThreads"] = seconds[0] / seconds[2];
  state.counters["threadGain"] = seconds[1] / seconds[2];
  state.counters["cores"] = cores;
  state.counters["stored"] = (*stores)[0].NumberOfSolutions;
}

BENCHMARK(BM_SearchSpeed)
    ->ArgNames({"N", "type"})
    ->Args({60, 0})
    ->Args({60, 3})
    ->Args({60, 5})
    ->Args({60, 8})
    ->Args({60, 9})
    ->Args({200, 0})
    ->Args({200, 5})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// 999 spots of a larger cell at search type 0, the fast search on every core.
void BM_DenseSearch(benchmark::State& state) {
  const std::unique_ptr<Pattern> pattern = MakePattern(999, 0, "12,15,19,80,95,105");
  if (!pattern || pattern->parameters.NumberOfReflections != 999) {
    state.SkipWithError("the simulator could not make the pattern");
    return;
  }
  auto tables = std::make_unique<SublatticeTables>();
  BuildSublatticeTables(*tables);
  SearchOptions allThreads;
  allThreads.threads = 0;
  auto store = std::make_unique<SolutionStore>();
  for (auto _ : state) state.SetIterationTime(TimeSearch(*pattern, *tables, allThreads, *store));
  state.counters["stored"] = store->NumberOfSolutions;
  state.counters["threads"] = static_cast<double>(std::thread::hardware_concurrency());
}

const bool kDenseRegistered = [] {
  const char* wanted = std::getenv("ORVANTHEL_DENSE_BENCH");
  if (wanted != nullptr && std::string(wanted) == "1")
    benchmark::RegisterBenchmark("BM_DenseSearch/N:999/type:0", BM_DenseSearch)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
  return true;
}();

}  // namespace
}  // namespace orv
