// The search over a run of triples (i, j, k) of one pair (i, j), kept for handing on in order later.
#pragma once

#include <atomic>
#include <limits>
#include <memory>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "search/candidate_bases.hpp"
#include "search/marked_zone_generators.hpp"
#include "search/quadruple_evaluation.hpp"
#include "search/search_type.hpp"
#include "search/sublattice_tables.hpp"

namespace orv {

// A basis accepted while walking a run, with where it stands in the walk: the triple (counted
// from the run's first), the quadruple (counted from the run's first) and the candidate within the
// quadruple. Sorted by quadruple and candidate, the bases of all parts of a run stand in the order
// of the single-threaded walk.
struct AcceptedBasis {
  int triple = 0;
  int quadruple = 0;
  CandidateScore scored;
};

// What one part of the walk over a run of triples found.
struct PairOutcome {
  std::vector<AcceptedBasis> accepted;
  bool wroteCrossing = false;  // type 4: a crossing was put into the working slot N+1 ...
  Vec3 lastCrossing{};         // ... and this is the last one
};

// One per thread. Walks a run of triples (i, j, k) of one pair exactly as the single-threaded
// search does (triple test, orientation, fourth directions, their test, the candidates of each
// quadruple) and keeps the accepted bases instead of offering them. With several parts, each
// scores only its share of every quadruple's candidates (those whose number leaves the remainder
// `part` when divided by `parts`), so that the candidates of one expensive quadruple are scored on
// several threads. A fourth reflection that a two-zone search lists again for the same triple is
// not scored again: its bases are the ones found the first time.
class PairSearch {
 public:
  // `arcs` must have been built for the search types 0 to 7. Keeps its own copy of the directions
  // for the working slot N+1. `offerFloor` is the store's latest published floor (ScoreCandidate),
  // read anew for every quadruple.
  // `secondNeeded`, when not NaN, is a second first score each accepted basis is tested against.
  PairSearch(const RunParameters& parameters, const DirectionStore& directions, const SublatticeTables& tables,
             const ZoneArcTable& arcs, const std::atomic<double>& offerFloor,
             double secondNeeded = std::numeric_limits<double>::quiet_NaN());

  // The triples (i, j, k) for k = kFirst .. kLast; the candidates of share `part` of `parts`.
  void Walk(int i, int j, int kFirst, int kLast, int part, int parts, PairOutcome& outcome);

 private:
  void VisitTriple(int i, int j, int k, PairOutcome& outcome);
  void VisitReflections(int i, int j, int k, bool mayRepeat, PairOutcome& outcome);
  void ScoreAndKeep(int i, int j, int k, int l, PairOutcome& outcome);

  const RunParameters& parameters_;
  const SublatticeTables& tables_;
  const std::atomic<double>& offerFloor_;
  double secondNeeded_;
  std::unique_ptr<DirectionStore> directions_;
  FourthDirectionSource fourthSource_;
  MarkedZoneGenerators generators_;
  std::unique_ptr<CandidateList> candidates_;
  std::vector<int> fourth_;
  std::vector<Vec3> crossings_;
  std::vector<CandidateScore> scored_;
  int triple_ = 0;     // the current triple, counted from the run's first
  int quadruple_ = 0;  // quadruples visited so far in the run
  int part_ = 0;
  int parts_ = 1;
  // Per fourth reflection of the current triple: scored already, and where its bases are.
  ReflectionMarks seen_;
  std::vector<int> firstAccepted_;
  std::vector<int> acceptedCount_;
  std::vector<char> passed_;
};

}  // namespace orv
