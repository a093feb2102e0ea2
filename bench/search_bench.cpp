// Timings of the whole search on a fixed pattern of 40 reflections, with candidates scored per second.
#include <benchmark/benchmark.h>

#include "../tests/support/lattice_patterns.hpp"
#include "search/quadruple_enumeration.hpp"
#include "search/quadruple_evaluation.hpp"
#include "search/search_bases.hpp"

namespace orv {
namespace {

class QuadrupleCounter final : public QuadrupleVisitor {
 public:
  void Visit(const DirectionStore&, int, int, int, int) override { ++count; }
  long count = 0;
};

// Candidates one quadruple yields: 1 for index 1, the table length for every further index.
long CandidatesPerQuadruple(int searchType, const SublatticeTables& tables) {
  long n = 0;
  for (int m = 1; m <= SublatticeIndicesTried(searchType); ++m) n += m == 1 ? 1 : static_cast<long>(tables.Table(m).size());
  return n;
}

void BM_SearchBases(benchmark::State& state) {
  const int searchType = static_cast<int>(state.range(0));
  const testing::LatticePattern pattern = testing::BuildLatticePattern(testing::TriclinicDirectBasis(), 40);
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(pattern, parameters, directions);
  parameters.ExtentOfTheSearch = searchType;
  SublatticeTables tables;
  BuildSublatticeTables(tables);
  RunObserver quiet;  // no log, no progress line

  QuadrupleCounter counter;
  EnumerationBuffers buffers;
  EnumerateQuadruples(parameters, directions, buffers, counter, quiet);
  const long candidates = counter.count * CandidatesPerQuadruple(searchType, tables);

  int stored = 0;
  for (auto _ : state) {
    SolutionStore store;
    SearchBases(parameters, directions, tables, store, quiet);
    stored = store.NumberOfSolutions;
  }
  state.counters["quadruples"] = static_cast<double>(counter.count);
  state.counters["candidates"] = static_cast<double>(candidates);
  state.counters["candidates/s"] =
      benchmark::Counter(static_cast<double>(candidates) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["stored"] = stored;
}

BENCHMARK(BM_SearchBases)->Arg(0)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchBases)->Arg(3)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace orv
