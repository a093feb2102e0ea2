// Candidate scoring: the support counts at their limits, the acceptance threshold, the Hmax term,
// and the order in which the candidates of a quadruple reach the store.
#include "search/quadruple_evaluation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/index_direction.hpp"
#include "text/text_file.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

const Mat3 kIdentity{Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 1.0, 0.0}, Vec3{0.0, 0.0, 1.0}};

Vec3 Unit(double x, double y, double z) {
  const double n = std::sqrt(x * x + y * y + z * z);
  return {x / n, y / n, z / n};
}

struct Reflections {
  RunParameters parameters;
  DirectionStore directions;
  explicit Reflections(const std::vector<Vec3>& list) {
    SetDefaultParameters(parameters, directions);
    parameters.NumberOfReflections = static_cast<int>(list.size());
    for (std::size_t n = 0; n < list.size(); ++n) directions(static_cast<int>(n) + 1) = list[n];
  }
};

// Seven directions of the cubic lattice, all indexed exactly by the identity; the largest index is 3.
std::vector<Vec3> CubicRows() {
  return {Unit(1, 0, 0), Unit(0, 1, 0), Unit(0, 0, 1), Unit(1, 1, 0), Unit(1, 2, 3), Unit(2, 2, 1), Unit(0, 1, 1)};
}

TEST(SupportCounts, HalfAndFullToleranceAreInclusiveLimits) {
  Reflections run({Unit(0.3, 0.5, 0.81)});
  const double theta = IndexDirection(run.directions(1), kIdentity, kIdentity, 12).theta;
  ASSERT_GT(theta, 0.005);  // indexed as 358, about a third of a degree off

  run.parameters.AngularDeviationCriterion = 2.0 * theta;  // theta is exactly half the tolerance
  ScoredBasis s = CandidateQuality(kIdentity, run.parameters, run.directions);
  EXPECT_EQ(s.counts.nHalf, 1);
  EXPECT_EQ(s.counts.nFull, 1);

  run.parameters.AngularDeviationCriterion = theta;  // exactly the tolerance
  s = CandidateQuality(kIdentity, run.parameters, run.directions);
  EXPECT_EQ(s.counts.nHalf, 0);
  EXPECT_EQ(s.counts.nFull, 1);
  EXPECT_EQ(s.quality, 0.7);
  s = BasisQuality(kIdentity, run.parameters, run.directions);
  EXPECT_EQ(s.counts.nHalf, 0);
  EXPECT_EQ(s.counts.nFull, 1);

  run.parameters.AngularDeviationCriterion = std::nextafter(theta, 0.0);
  s = CandidateQuality(kIdentity, run.parameters, run.directions);
  EXPECT_EQ(s.counts.nFull, 0);
  EXPECT_EQ(s.quality, 0.0);
}

TEST(SupportCounts, IndicesAboveTheBoundCountNowhereAndHmaxOnlyInBasisQuality) {
  std::vector<Vec3> list = CubicRows();
  list.push_back(Unit(1, 0, 13));  // exactly on a lattice row, but 13 > 12
  Reflections run(list);
  const ScoredBasis first = CandidateQuality(kIdentity, run.parameters, run.directions);
  EXPECT_EQ(first.counts.nHalf, 7);
  EXPECT_EQ(first.counts.nFull, 7);
  EXPECT_EQ(first.quality, 0.7 * 7 + 0.3 * 7);
  const ScoredBasis stored = BasisQuality(kIdentity, run.parameters, run.directions);
  EXPECT_EQ(stored.counts.nHalf, 7);
  EXPECT_EQ(stored.counts.nFull, 7);
  EXPECT_EQ(stored.quality, 0.7 * 7 + 0.3 * 7 - 0.000001 * 3.0);  // Hmax 3 from 123, not 13

  // With only the out-of-bound reflection nothing counts, and Hmax stays 0.
  Reflections lone({Unit(1, 0, 13)});
  const ScoredBasis none = BasisQuality(kIdentity, lone.parameters, lone.directions);
  EXPECT_EQ(none.counts.nFull, 0);
  EXPECT_EQ(none.quality, 0.0);

  // Each weight applies to its own count.
  run.parameters.AngularDeviationCriterion = 2.0 * IndexDirection(run.directions(1), kIdentity, kIdentity, 12).theta;
  run.parameters.WeightsForSortingBases_1 = 0.0;
  EXPECT_EQ(CandidateQuality(kIdentity, run.parameters, run.directions).quality, 0.7 * 7);
  run.parameters.WeightsForSortingBases_1 = 0.3;
  run.parameters.WeightsForSortingBases_2 = 0.0;
  EXPECT_EQ(CandidateQuality(kIdentity, run.parameters, run.directions).quality, 0.3 * 7);
}

TEST(CandidateAcceptance, HalfTheReflectionsIsEnough) {
  EXPECT_TRUE(IsAcceptedQuality(3.5, 7));
  EXPECT_FALSE(IsAcceptedQuality(std::nextafter(3.5, 0.0), 7));
  EXPECT_TRUE(IsAcceptedQuality(2.0, 4));

  // Seven reflections, only nFull weighted by 0.5: a quality of exactly 3.5 is accepted.
  Reflections run(CubicRows());
  run.parameters.WeightsForSortingBases_1 = 0.0;
  run.parameters.WeightsForSortingBases_2 = 0.5;
  const Mat3 doubled = ScaleMatrix(kIdentity, 2.0);  // brought back to unit volume before scoring
  const CandidateScore accepted = ScoreCandidate(doubled, run.parameters, run.directions);
  ASSERT_TRUE(accepted.accepted);
  EXPECT_NEAR(std::fabs(Determinant(accepted.basis)), 1.0, 1e-14);
  // The quality handed on is that of the reduced direct basis, Hmax term included.
  EXPECT_EQ(accepted.score.quality, 3.5 - 0.000001 * 3.0);
  const ScoredBasis again = BasisQuality(accepted.basis, run.parameters, run.directions);
  EXPECT_EQ(accepted.score.quality, again.quality);
  // A floor at the quality keeps the candidate as it was; one just above leaves it out.
  const double quality = accepted.score.quality;
  const CandidateScore atFloor = ScoreCandidate(doubled, run.parameters, run.directions, CandidateScoring::Fast, quality);
  ASSERT_TRUE(atFloor.accepted);
  EXPECT_EQ(atFloor.basis, accepted.basis);
  EXPECT_EQ(atFloor.score.quality, quality);
  EXPECT_FALSE(ScoreCandidate(doubled, run.parameters, run.directions, CandidateScoring::Fast,
                              std::nextafter(quality, 10.0))
                   .accepted);

  // Every reflection supported, yet a weight just below 0.5 keeps the quality below 3.5.
  run.parameters.WeightsForSortingBases_2 = std::nextafter(0.5, 0.0);
  for (const CandidateScoring scoring : {CandidateScoring::Fast, CandidateScoring::Literal})
    EXPECT_FALSE(ScoreCandidate(doubled, run.parameters, run.directions, scoring).accepted);
  const ScoredBasis first = CandidateQuality(kIdentity, run.parameters, run.directions);
  EXPECT_EQ(first.counts.nFull, 7);
  EXPECT_LT(first.quality, 3.5);
  EXPECT_FALSE(CandidateQualityReaches(kIdentity, run.parameters, run.directions, 3.5));
  EXPECT_TRUE(CandidateQualityReaches(kIdentity, run.parameters, run.directions, first.quality));
}

TEST(QuadrupleEvaluation, CandidatesReachTheStoreIndexByIndex) {
  Reflections run(CubicRows());
  run.parameters.ExtentOfTheSearch = 1;  // indices 1 to 3
  SublatticeTables tables;
  BuildSublatticeTables(tables);
  CandidateList candidates;
  SolutionStore store;
  RunObserver quiet;
  EvaluateQuadruple(kIdentity, run.parameters, run.directions, tables, candidates, store, quiet);
  // Every superlattice of the cubic lattice indexes these rows too: 1 + 7 + 13 distinct lattices.
  ASSERT_EQ(store.NumberOfSolutions, 21);
  // Record 1 is the lattice of the quadruple itself, record 2 the first lattice of index 2, whose
  // reciprocal rows are 100, 010, 00 1/2: its direct lattice is spanned by a, b and 2c.
  const Mat3 firstOfIndex2{Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 1.0, 0.0}, Vec3{0.0, 0.0, 2.0}};
  const Mat3 expected[2] = {kIdentity, ScaleMatrix(firstOfIndex2, std::pow(0.5, kOneThird))};
  for (int j = 1; j <= 2; ++j) {
    Mat3 inverse{};
    ASSERT_EQ(InvertMatrix(expected[j - 1], inverse, 1e-300), kStatusSuccess);
    const Mat3 relation = MultiplyMatrices(store(j).SolutionBasis, inverse);
    EXPECT_NEAR(std::fabs(Determinant(relation)), 1.0, 1e-9) << j;
    for (const Vec3& row : relation)
      for (const double v : row) EXPECT_NEAR(v, std::round(v), 1e-9) << j;
  }
}

}  // namespace
}  // namespace orv
