// Evaluation of the candidate bases of one quadruple and their hand-over to the solution store.
#include "search/quadruple_evaluation.hpp"

#include <cmath>
#include <limits>
#include <optional>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"
#include "search/search_type.hpp"

namespace orv {

bool IsAcceptedQuality(double quality, int numberOfReflections) {
  return quality >= static_cast<double>(numberOfReflections) * 0.5;
}

double AcceptanceQuality(const RunParameters& parameters) {
  const double half = static_cast<double>(parameters.NumberOfReflections) * 0.5;
  const double lower = parameters.AcceptedCandidateQuality;
  return lower > 0.0 && lower < half ? lower : half;
}

CandidateScore ScoreCandidate(const Mat3& candidate, const RunParameters& parameters,
                              const DirectionStore& directions, CandidateScoring scoring, double offerFloor,
                              double secondNeeded) {
  CandidateScore result;
  const double s = VolumeScaleFactor(candidate, 1.0);
  // Candidates have det 1/m by construction; a degenerate one could not be scaled, so it is dropped.
  if (!std::isfinite(s) || s == 0.0) return result;
  Mat3 R = ScaleMatrix(candidate, s);
  ReduceBasisGauss(R);
  const double needed = AcceptanceQuality(parameters);
  if (scoring == CandidateScoring::Literal) {
    const double first = CandidateQualityLiteral(R, parameters, directions).quality;
    if (!(first >= needed)) return result;
    InverseTranspose(R, result.basis, kBasisSingularity);  // |det R| = 1: cannot fail
    ReduceBasisStepwise(result.basis);
    result.score = BasisQualityLiteral(result.basis, parameters, directions);
    result.accepted = true;
    result.reachesSecondScore = !std::isnan(secondNeeded) && first >= secondNeeded;
    return result;
  }
  // Both tests are pure, so they may run in either order: with a floor, the one that usually ends
  // soonest goes first.
  InverseTranspose(R, result.basis, kBasisSingularity);  // |det R| = 1: cannot fail
  ReduceBasisStepwise(result.basis);
  const bool floorFirst = offerFloor != -std::numeric_limits<double>::infinity();
  if (!floorFirst && !CandidateQualityReaches(R, parameters, directions, needed)) return result;
  const std::optional<ScoredBasis> score = BasisQualityIfReaching(result.basis, parameters, directions, offerFloor);
  if (!score) return result;
  if (floorFirst && !CandidateQualityReaches(R, parameters, directions, needed)) return result;
  result.score = *score;
  result.accepted = true;
  result.reachesSecondScore =
      !std::isnan(secondNeeded) && CandidateQualityReaches(R, parameters, directions, secondNeeded);
  return result;
}

void ScoreQuadruple(const Mat3& W, const RunParameters& parameters, const DirectionStore& directions,
                    const SublatticeTables& tables, CandidateList& candidates, CandidateScoring scoring,
                    double offerFloor, int part, int parts, std::vector<CandidateScore>& accepted,
                    double secondNeeded) {
  const int indices = DecodeSearchType(parameters.ExtentOfTheSearch).sublatticeIndices;
  int number = 0;
  for (int m = 1; m <= indices; ++m) {
    SublatticeCandidates(m, W, tables, candidates);
    for (int c = 0; c < candidates.count; ++c, ++number) {
      if (number % parts != part) continue;
      CandidateScore scored =
          ScoreCandidate(candidates.bases[static_cast<std::size_t>(c)], parameters, directions, scoring, offerFloor,
                         secondNeeded);
      scored.candidate = number;
      if (scored.accepted) accepted.push_back(scored);
    }
  }
}

void EvaluateQuadruple(const Mat3& W, const RunParameters& parameters, const DirectionStore& directions,
                       const SublatticeTables& tables, CandidateList& candidates, SolutionStore& store,
                       RunObserver& events, CandidateScoring scoring) {
  const int indices = DecodeSearchType(parameters.ExtentOfTheSearch).sublatticeIndices;
  for (int m = 1; m <= indices; ++m) {
    SublatticeCandidates(m, W, tables, candidates);
    for (int c = 0; c < candidates.count; ++c) {
      const CandidateScore scored =
          ScoreCandidate(candidates.bases[static_cast<std::size_t>(c)], parameters, directions, scoring);
      if (scored.accepted) SaveBasis(store, scored.basis, scored.score.counts, scored.score.quality, events);
    }
  }
}

}  // namespace orv
