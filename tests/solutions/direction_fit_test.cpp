// Fitting a reciprocal basis to directions alone, and the refinement that keeps the support.
#include "solutions/direction_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "solutions/support_keeping_refinement.hpp"
#include "support/cell_comparison.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

std::vector<DirectionObservation> Observations(const Mat3& reciprocal, int count) {
  std::vector<DirectionObservation> observations;
  for (int h = -2; h <= 2 && static_cast<int>(observations.size()) < count; ++h)
    for (int k = -2; k <= 2 && static_cast<int>(observations.size()) < count; ++k)
      for (int l = 1; l <= 2 && static_cast<int>(observations.size()) < count; ++l) {
        if (GreatestCommonDivisor(h, k, l) != 1) continue;
        DirectionObservation o;
        o.indices = {double(h), double(k), double(l)};
        o.direction = testing::RowDirection(reciprocal, h, k, l);
        observations.push_back(o);
      }
  return observations;
}

TEST(DirectionFit, RecoversTheBasisUpToItsScaleFromExactDirections) {
  Mat3 reciprocal{};
  InverseTranspose(testing::TriclinicDirectBasis(), reciprocal, kBasisSingularity);
  Mat3 fitted{};
  ASSERT_TRUE(FitBasisToDirections(Observations(reciprocal, 12), fitted));
  const double scale = VectorNorm(reciprocal[0]) / VectorNorm(fitted[0]);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(fitted[r][c] * scale, reciprocal[r][c], 1e-9) << r << ' ' << c;

  // Three directions cannot fix nine entries up to scale; nor can reflections along two rows only.
  EXPECT_FALSE(FitBasisToDirections(Observations(reciprocal, 3), fitted));
  std::vector<DirectionObservation> twoRows = Observations(reciprocal, 2);
  for (int n = 0; n < 4; ++n) twoRows.push_back(twoRows[static_cast<std::size_t>(n % 2)]);
  EXPECT_FALSE(FitBasisToDirections(twoRows, fitted));
}

// A rough basis of the true lattice is refined to the exact one; a basis that already is exact
// stays as it is and keeps its volume.
TEST(DirectionFit, RefinementReachesTheExactCellAndKeepsTheVolume) {
  const Mat3 truth = testing::OrthorhombicDirectBasis();
  const testing::LatticePattern pattern = testing::BuildLatticePattern(truth, 30);
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(pattern, parameters, directions);
  Mat3 rough = truth;
  rough[1][0] += 0.01;
  for (double& x : rough[2]) x *= 0.997;
  const double volume = std::fabs(Determinant(rough));
  const ScoredBasis scored = RefineKeepingSupport(rough, parameters, directions);
  EXPECT_EQ(scored.counts.nHalf, 30);
  EXPECT_NEAR(std::fabs(Determinant(rough)), volume, 1e-9 * volume);
  EXPECT_TRUE(testing::RelateBases(testing::ScaledToUnitVolume(rough), testing::ScaledToUnitVolume(truth), 1e-7)
                  .unimodular);
}

}  // namespace
}  // namespace orv
