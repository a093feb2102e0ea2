// The search over the triples (i, j, k) of one pair (i, j), kept for handing on in order later.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "search/candidate_bases.hpp"
#include "search/marked_zone_generators.hpp"
#include "search/quadruple_evaluation.hpp"
#include "search/sublattice_tables.hpp"

namespace orv {

// A basis accepted while walking a pair, with the number of triples started since the previous
// one (or since the pair's start), so that triple events and store offers can be replayed in the
// order of the single-threaded walk.
struct AcceptedBasis {
  int triplesBefore = 0;
  CandidateScore scored;
};

// What the walk over k = j+1 .. N for one pair (i, j) found.
struct PairOutcome {
  std::vector<AcceptedBasis> accepted;
  int trailingTriples = 0;  // triples started after the last accepted basis
  bool wroteCrossing = false;  // type 4: a crossing was put into the working slot N+1 ...
  Vec3 lastCrossing{};         // ... and this is the last one
};

// One per thread. Walks the triples of a pair exactly as the single-threaded search does (triple
// test, orientation, fourth directions, their test, the candidates of each quadruple) and keeps
// the accepted bases instead of offering them. A fourth reflection that a two-zone search lists
// again for the same triple is not scored again: its bases are the ones found the first time.
class PairSearch {
 public:
  // `arcs` must have been built for the search types 0 to 7. Keeps its own copy of the directions
  // for the working slot N+1. `offerFloor` is the store's latest published floor (ScoreCandidate),
  // read anew for every quadruple.
  PairSearch(const RunParameters& parameters, const DirectionStore& directions, const SublatticeTables& tables,
             const ZoneArcTable& arcs, const std::atomic<double>& offerFloor);

  void Walk(int i, int j, PairOutcome& outcome);

 private:
  void VisitTriple(int i, int j, int k, PairOutcome& outcome);
  void VisitReflections(int i, int j, int k, bool mayRepeat, PairOutcome& outcome);
  void ScoreAndKeep(int i, int j, int k, int l, PairOutcome& outcome);

  const RunParameters& parameters_;
  const SublatticeTables& tables_;
  const std::atomic<double>& offerFloor_;
  std::unique_ptr<DirectionStore> directions_;
  MarkedZoneGenerators generators_;
  std::unique_ptr<CandidateList> candidates_;
  std::vector<int> fourth_;
  std::vector<Vec3> crossings_;
  std::vector<CandidateScore> scored_;
  int pendingTriples_ = 0;
  // Per fourth reflection of the current triple: scored already, and where its bases are.
  ReflectionMarks seen_;
  std::vector<int> firstAccepted_;
  std::vector<int> acceptedCount_;
};

}  // namespace orv
