// Evaluation of the candidate bases of one quadruple and their hand-over to the solution store.
#pragma once

#include <limits>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "solutions/basis_quality.hpp"
#include "search/candidate_bases.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

// A candidate is accepted when its first score reaches half the number of reflections.
bool IsAcceptedQuality(double quality, int numberOfReflections);

// The first score a candidate needs: half the number of reflections, or AcceptedCandidateQuality
// when that is set and lower.
double AcceptanceQuality(const RunParameters& parameters);

// The outcome of scoring one candidate. When accepted, `basis` is the reduced direct basis and
// `score` its BasisQuality; otherwise `score` says nothing.
struct CandidateScore {
  bool accepted = false;
  Mat3 basis{};
  ScoredBasis score;
  int candidate = 0;  // its number among the quadruple's candidates, index by index, from 0
  // With a second first score given: whether an accepted candidate reaches that one as well.
  bool reachesSecondScore = false;
};

// How candidates are scored: Fast stops a candidate's first score as soon as it cannot pass and
// uses the fast IndexDirection; Literal is the evaluation as it reads, kept as the reference.
// Both accept the same candidates with the same bases and scores, bit for bit.
enum class CandidateScoring { Fast, Literal };

// Scores one candidate reciprocal basis: unit volume, Gauss reduction, first score, and for an
// accepted one the reduced direct basis with its quality. Depends only on its arguments.
//
// offerFloor: a full store drops, without a word, every basis whose quality is below its worst
// one, and that worst quality never falls. Given a floor at or below it, the fast scoring leaves
// unaccepted the candidates whose quality is certain to stay below the floor, which changes
// nothing that the store does; minus infinity (a store not yet full) leaves them all.
//
// secondNeeded: when not NaN, a second first score (above the one of `parameters`), against which
// an accepted candidate is tested as well, as a search with that first score would test it.
CandidateScore ScoreCandidate(const Mat3& candidate, const RunParameters& parameters,
                              const DirectionStore& directions, CandidateScoring scoring = CandidateScoring::Fast,
                              double offerFloor = -std::numeric_limits<double>::infinity(),
                              double secondNeeded = std::numeric_limits<double>::quiet_NaN());

// Scores the candidates of the quadruple's basis W whose number leaves the remainder `part` when
// divided by `parts` (all of them for one part), index by index and in list order, and appends
// each accepted one to `accepted` in that order. `candidates` is the caller's reusable buffer.
void ScoreQuadruple(const Mat3& W, const RunParameters& parameters, const DirectionStore& directions,
                    const SublatticeTables& tables, CandidateList& candidates, CandidateScoring scoring,
                    double offerFloor, int part, int parts, std::vector<CandidateScore>& accepted,
                    double secondNeeded = std::numeric_limits<double>::quiet_NaN());

// Scores every candidate of the quadruple's basis W, index by index and in list order, and offers
// each accepted one to the store in that order. `candidates` is the caller's reusable buffer.
void EvaluateQuadruple(const Mat3& W, const RunParameters& parameters, const DirectionStore& directions,
                       const SublatticeTables& tables, CandidateList& candidates, SolutionStore& store,
                       RunObserver& events, CandidateScoring scoring = CandidateScoring::Fast);

}  // namespace orv
