// The search over reflection triples and fourth directions that fills the solution store.
#include "search/search_bases.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "run_data/observer_fan_out.hpp"
#include "search/candidate_bases.hpp"
#include "search/ordered_work.hpp"
#include "search/pair_search.hpp"
#include "search/quadruple_enumeration.hpp"
#include "search/quadruple_evaluation.hpp"
#include "search/search_type.hpp"
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

// A store that the same walk fills as a search with a higher first score would: every accepted
// basis that reaches `needed` as well is offered to it, its offers heard by `events`.
struct SecondStore {
  SolutionStore& store;
  RunObserver& events;
  double needed;
};

// Runs waiting to be handed on, per worker thread.
constexpr long long kRunsInFlightPerThread = 256;
// The walk is cut into about this many runs of triples at least, so that a few expensive
// quadruples do not all fall to one thread; a pair is cut into at most as many runs as it has
// triples.
constexpr long long kRunsWanted = 20000;

// A run of triples (i, j, k) for k = kFirst .. kLast.
struct TripleRun {
  int i, j, kFirst, kLast;
};

// The runs of the walk in its order: every pair (i, j), each cut into runs of about equal length.
std::vector<TripleRun> CutIntoRuns(int n) {
  const long long pairs = n < 3 ? 0 : static_cast<long long>(n - 2) * (n - 1) / 2;
  const long long perPair = pairs == 0 ? 1 : std::max(1LL, kRunsWanted / pairs);
  std::vector<TripleRun> runs;
  for (int i = 1; i <= n - 2; ++i)
    for (int j = i + 1; j <= n - 1; ++j) {
      const int triples = n - j;
      const int parts = static_cast<int>(std::min<long long>(perPair, triples));
      for (int part = 0; part < parts; ++part)
        runs.push_back({i, j, j + 1 + triples * part / parts, j + triples * (part + 1) / parts});
    }
  return runs;
}

// Offers the accepted bases of one run to the store in the order of the walk, with the triple
// events before them; `accepted` holds those of every part, sorted here.
void HandOnRun(const TripleRun& run, int n, std::vector<AcceptedBasis>& accepted, SolutionStore& store,
               std::atomic<double>& offerFloor, RunObserver& events, RunObserver& storeEvents, SecondStore* second) {
  std::stable_sort(accepted.begin(), accepted.end(), [](const AcceptedBasis& a, const AcceptedBasis& b) {
    return a.quadruple != b.quadruple ? a.quadruple < b.quadruple : a.scored.candidate < b.scored.candidate;
  });
  if (run.j == run.i + 1 && run.kFirst == run.j + 1) events.FirstReflectionStarted(run.i, n);
  int started = 0;  // triples of the run announced so far
  for (const AcceptedBasis& basis : accepted) {
    for (; started <= basis.triple; ++started) events.TripleStarted();
    const CandidateScore& scored = basis.scored;
    if (second != nullptr && scored.reachesSecondScore)
      SaveBasis(second->store, scored.basis, scored.score.counts, scored.score.quality, second->events);
    SaveBasis(store, scored.basis, scored.score.counts, scored.score.quality, storeEvents);
    // Once the store is full its floor only rises; the workers leave out candidates below it. Each
    // of two stores drops an offer below its own floor: the workers may leave out only what both drop.
    const double floor = OfferFloor(store);
    offerFloor.store(second != nullptr ? std::min(floor, OfferFloor(second->store)) : floor,
                     std::memory_order_relaxed);
  }
  for (; started <= run.kLast - run.kFirst; ++started) events.TripleStarted();
}

// The runs of triples are searched on the worker threads, for search types that try many
// candidates per quadruple in several parts each; their outcomes are handed on here in the order
// of the walk: the progress event at each new i, the triple events, and the accepted bases offered
// to the store between them, exactly where the single-threaded walk puts them.
// With a second store, `events` hear the walk and `storeEvents` the offers to `store`.
void ThreadedSearch(const RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                    SolutionStore& store, RunObserver& events, RunObserver& storeEvents, int threads,
                    SecondStore* second) {
  const int n = parameters.NumberOfReflections;
  ZoneArcTable arcs;
  const SearchType type = DecodeSearchType(parameters.ExtentOfTheSearch);
  // The zone generators read the arcs; the cone generator and an unknown type do not.
  if (type.fourth != FourthDirectionSource::InsideCone && type.fourth != FourthDirectionSource::None)
    arcs.Build(directions, n, threads);
  const std::vector<TripleRun> runs = CutIntoRuns(n);
  const int parts = type.sublatticeIndices > 1 ? threads : 1;

  // Once the store is full its worst quality only rises; published after every offer, it lets
  // the workers leave out candidates that the store would drop anyway.
  std::atomic<double> offerFloor{-std::numeric_limits<double>::infinity()};
  std::vector<std::unique_ptr<PairSearch>> searchers;
  for (int w = 0; w < threads; ++w)
    searchers.push_back(std::make_unique<PairSearch>(parameters, directions, tables, arcs, offerFloor,
                                                     second != nullptr ? second->needed
                                                                       : std::numeric_limits<double>::quiet_NaN()));

  std::vector<AcceptedBasis> gathered;  // the parts of the current run
  ProduceInOrder<PairOutcome>(
      threads, static_cast<long long>(runs.size()) * parts, kRunsInFlightPerThread * threads * parts,
      [&](long long index, int worker, PairOutcome& outcome) {
        const TripleRun& run = runs[static_cast<std::size_t>(index / parts)];
        searchers[static_cast<std::size_t>(worker)]->Walk(run.i, run.j, run.kFirst, run.kLast,
                                                          static_cast<int>(index % parts), parts, outcome);
      },
      [&](long long index, PairOutcome& outcome) {
        gathered.insert(gathered.end(), outcome.accepted.begin(), outcome.accepted.end());
        if (index % parts != parts - 1) return;
        HandOnRun(runs[static_cast<std::size_t>(index / parts)], n, gathered, store, offerFloor, events, storeEvents,
                  second);
        gathered.clear();
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
    ThreadedSearch(parameters, directions, tables, store, events, events, ResolveThreadCount(options.threads),
                   nullptr);
}

void SearchBasesAtTwoScores(const RunParameters& parameters, const RunParameters& lowered,
                            DirectionStore& directions, const SublatticeTables& tables, SolutionStore& store,
                            SolutionStore& loweredStore, RunObserver& events, RunObserver& loweredEvents,
                            const SearchOptions& options) {
  if (options.literal) {
    SearchBases(parameters, directions, tables, store, events, options);
    SearchBases(lowered, directions, tables, loweredStore, loweredEvents, options);
    return;
  }
  // The walk is scored at the lower first score; the bases that reach the higher one are what a
  // search with it accepts, in the same order.
  ObserverFanOut walk;
  walk.Add(events);
  walk.Add(loweredEvents);
  SecondStore second{store, events, AcceptanceQuality(parameters)};
  ThreadedSearch(lowered, directions, tables, loweredStore, walk, loweredEvents,
                 ResolveThreadCount(options.threads), &second);
}

}  // namespace orv
