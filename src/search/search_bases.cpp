// The search over reflection triples and fourth directions that fills the solution store.
#include "search/search_bases.hpp"

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "search/candidate_bases.hpp"
#include "search/ordered_work.hpp"
#include "search/pair_search.hpp"
#include "search/quadruple_enumeration.hpp"
#include "search/quadruple_evaluation.hpp"
#include "search/zone_arc_table.hpp"

namespace orv {
namespace {

// Builds the basis of every quadruple handed on and evaluates its candidates as they read.
class LiteralEvaluatingVisitor final : public QuadrupleVisitor {
 public:
  LiteralEvaluatingVisitor(const RunParameters& parameters, const SublatticeTables& tables, SolutionStore& store,
                           RunObserver& events)
      : parameters_(parameters), tables_(tables), store_(store), events_(events), candidates_(new CandidateList) {}

  void Visit(const DirectionStore& directions, int i, int j, int k, int l) override {
    const Mat3 W = BasisFromQuadruple(directions, i, j, k, l);
    EvaluateQuadruple(W, parameters_, directions, tables_, *candidates_, store_, events_, CandidateScoring::Literal);
  }

 private:
  const RunParameters& parameters_;
  const SublatticeTables& tables_;
  SolutionStore& store_;
  RunObserver& events_;
  std::unique_ptr<CandidateList> candidates_;  // 651 matrices, reused for every quadruple
};

void LiteralSearch(const RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                   SolutionStore& store, RunObserver& events) {
  EnumerationBuffers buffers;
  LiteralEvaluatingVisitor visitor(parameters, tables, store, events);
  EnumerateQuadruples(parameters, directions, buffers, visitor, events);
}

// The lowest stored quality of a full store, when every quality is finite (only then is it sure
// never to fall).
void PublishWorstQuality(const SolutionStore& store, std::atomic<double>& offerFloor) {
  double worst = std::numeric_limits<double>::infinity();
  for (int j = 1; j <= store.NumberOfSolutions; ++j) {
    const double quality = store(j).SolutionQuality;
    if (!std::isfinite(quality)) return;
    if (quality < worst) worst = quality;
  }
  offerFloor.store(worst, std::memory_order_relaxed);
}

// Pairs waiting to be handed on, per worker thread.
constexpr long long kPairsInFlightPerThread = 256;

// The pairs (i, j) of the walk are searched on the worker threads; their outcomes are handed on
// here in the order of the walk: the progress event at each new i, the triple events, and the
// accepted bases offered to the store between them, exactly where the single-threaded walk puts them.
void ThreadedSearch(const RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                    SolutionStore& store, RunObserver& events, int threads) {
  const int n = parameters.NumberOfReflections;
  ZoneArcTable arcs;
  const int type = parameters.ExtentOfTheSearch;
  if (type >= 0 && type <= 7) arcs.Build(directions, n, threads);

  std::vector<std::pair<int, int>> pairs;
  for (int i = 1; i <= n - 2; ++i)
    for (int j = i + 1; j <= n - 1; ++j) pairs.emplace_back(i, j);

  // Once the store is full its worst quality only rises; published after every offer, it lets
  // the workers leave out candidates that the store would drop anyway.
  std::atomic<double> offerFloor{-std::numeric_limits<double>::infinity()};
  std::vector<std::unique_ptr<PairSearch>> searchers;
  for (int w = 0; w < threads; ++w)
    searchers.push_back(std::make_unique<PairSearch>(parameters, directions, tables, arcs, offerFloor));

  ProduceInOrder<PairOutcome>(
      threads, static_cast<long long>(pairs.size()), kPairsInFlightPerThread * threads,
      [&](long long index, int worker, PairOutcome& outcome) {
        const std::pair<int, int>& pair = pairs[static_cast<std::size_t>(index)];
        searchers[static_cast<std::size_t>(worker)]->Walk(pair.first, pair.second, outcome);
      },
      [&](long long index, PairOutcome& outcome) {
        const std::pair<int, int>& pair = pairs[static_cast<std::size_t>(index)];
        if (pair.second == pair.first + 1) events.FirstReflectionStarted(pair.first, n);
        for (const AcceptedBasis& accepted : outcome.accepted) {
          for (int t = 0; t < accepted.triplesBefore; ++t) events.TripleStarted();
          const CandidateScore& scored = accepted.scored;
          SaveBasis(store, scored.basis, scored.score.counts, scored.score.quality, events);
          if (store.NumberOfSolutions >= MaxStoredSolutions) PublishWorstQuality(store, offerFloor);
        }
        for (int t = 0; t < outcome.trailingTriples; ++t) events.TripleStarted();
        if (outcome.wroteCrossing) directions(n + 1) = outcome.lastCrossing;
      });
  events.SearchFinished();
}

}  // namespace

void SearchBases(const RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                 SolutionStore& store, RunObserver& events, const SearchOptions& options) {
  if (options.literal)
    LiteralSearch(parameters, directions, tables, store, events);
  else
    ThreadedSearch(parameters, directions, tables, store, events, ResolveThreadCount(options.threads));
}

}  // namespace orv
