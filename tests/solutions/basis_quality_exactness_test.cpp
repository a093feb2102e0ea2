// The fast quality figures against the literal loops: the same counts and qualities bit for bit,
// and early verdicts that agree with the complete scores, for bases near and far from the true
// lattice, tolerances from 0.1 to 3 degrees (and beyond a right angle), odd weights and bounds; the
// quality and the fitted observations from one kept scan of the reflections, the same.
#include "solutions/basis_quality.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"
#include "solutions/direction_fit_covariance.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

bool SameScore(const ScoredBasis& a, const ScoredBasis& b) {
  return a.counts.nHalf == b.counts.nHalf && a.counts.nFull == b.counts.nFull &&
         std::memcmp(&a.quality, &b.quality, sizeof a.quality) == 0;
}

// The true direct basis at unit volume, turned away from it by `turn` (a relative amount), so
// that some reflections drift across the tolerance limits.
Mat3 NearTrueBasis(const Mat3& direct, double turn, int variant) {
  Mat3 b = ScaleMatrix(direct, std::pow(1.0 / std::fabs(Determinant(direct)), kOneThird));
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) b[r][c] += turn * std::sin(3.0 * r + 5.0 * c + 1.7 * variant);
  b = ScaleMatrix(b, std::pow(1.0 / std::fabs(Determinant(b)), kOneThird));
  ReduceBasisStepwise(b);
  return b;
}

TEST(BasisQualityExactness, FastFiguresAndVerdictsAgreeWithTheLiteralLoops) {
  const testing::LatticePattern pattern =
      testing::BuildLatticePattern(testing::TriclinicDirectBasis(), 40, 40.0, 5);
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(pattern, parameters, directions);
  const double tolerances[] = {0.1, 0.3, 1.0, 3.0, 100.0};  // degrees
  const double weights[][2] = {{0.3, 0.7}, {0.0, 1.0}, {1.0, 0.0}, {0.5, 0.5}, {-0.2, 1.0}};
  const int bounds[] = {4, 12, 30};
  int accepted = 0, rejected = 0;
  for (int variant = 0; variant < 60; ++variant) {
    const double turn = variant % 3 == 0 ? 0.0 : 0.002 * variant;
    const Mat3 B = NearTrueBasis(pattern.direct, turn, variant);
    Mat3 R{};
    ASSERT_EQ(InverseTranspose(B, R, kBasisSingularity), kStatusSuccess);
    parameters.AngularDeviationCriterion = tolerances[variant % 5] * kDegreesToRadians;
    parameters.WeightsForSortingBases_1 = weights[variant % 5 == 4 ? variant / 5 % 5 : variant % 4][0];
    parameters.WeightsForSortingBases_2 = weights[variant % 5 == 4 ? variant / 5 % 5 : variant % 4][1];
    parameters.MaxAllowedMillerIndex = bounds[variant % 3];
    SCOPED_TRACE(variant);

    const ScoredBasis candidate = CandidateQualityLiteral(R, parameters, directions);
    ASSERT_TRUE(SameScore(CandidateQuality(R, parameters, directions), candidate));
    for (const double needed : {candidate.quality, std::nextafter(candidate.quality, 1e9), 20.0, 0.0}) {
      const bool reaches = candidate.quality >= needed;
      ASSERT_EQ(CandidateQualityReaches(R, parameters, directions, needed), reaches) << needed;
      (reaches ? accepted : rejected) += 1;
    }

    const ScoredBasis basis = BasisQualityLiteral(B, parameters, directions);
    ASSERT_TRUE(SameScore(BasisQuality(B, parameters, directions), basis));
    // One scan of the reflections for the quality and the observations of a fit.
    const std::vector<ScannedDirection> scans = ScanReflections(B, parameters, directions);
    ASSERT_TRUE(SameScore(QualityOfScans(scans, parameters), basis));
    const std::vector<DirectionObservation> observed = SupportedObservations(B, parameters, directions);
    const std::vector<DirectionObservation> fromScans = SupportedObservationsOfScans(B, scans, parameters, directions);
    ASSERT_EQ(fromScans.size(), observed.size());
    for (std::size_t k = 0; k < observed.size(); ++k) {
      ASSERT_EQ(std::memcmp(&fromScans[k], &observed[k], sizeof observed[k]), 0) << k;
    }
    for (const double floor : {-std::numeric_limits<double>::infinity(), basis.quality,
                               std::nextafter(basis.quality, 1e9), basis.quality - 3.0, 39.0}) {
      const std::optional<ScoredBasis> early = BasisQualityIfReaching(B, parameters, directions, floor);
      if (early) {
        ASSERT_TRUE(SameScore(*early, basis)) << floor;
      } else {
        ASSERT_LT(basis.quality, floor);
      }
      if (basis.quality >= floor) {
        ASSERT_TRUE(early.has_value()) << floor;
      }
    }
  }
  EXPECT_GT(accepted, 20);
  EXPECT_GT(rejected, 20);
}

}  // namespace
}  // namespace orv
