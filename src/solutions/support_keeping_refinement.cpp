// Least-squares refinement of a basis that is kept whenever it keeps the reflections the basis supports.
#include "solutions/support_keeping_refinement.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"
#include "solutions/direction_fit.hpp"
#include "solutions/direction_fit_covariance.hpp"

namespace orv {

namespace {

constexpr int kLargestPasses = 6;
// A pass that moves no basis entry by more than this share of the largest one has settled.
constexpr double kSettled = 1.0e-10;

bool KeepsSupport(const SupportCounts& refined, const SupportCounts& before, double keptShare) {
  if (keptShare >= 1.0) return refined.nHalf >= before.nHalf && refined.nFull >= before.nFull;
  return refined.nFull >= keptShare * before.nFull;
}

double LargestChange(const Mat3& a, const Mat3& b) {
  double change = 0.0;
  double scale = 0.0;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      change = std::fmax(change, std::fabs(a[r][c] - b[r][c]));
      scale = std::fmax(scale, std::fabs(a[r][c]));
    }
  return scale > 0.0 ? change / scale : change;
}

// The basis fitted to the observations, at the given cell volume; false when there is none.
bool FittedBasis(const std::vector<DirectionObservation>& observations, double volume, Mat3& refined) {
  Mat3 fitted{};
  if (!FitBasisToDirections(observations, fitted)) return false;
  Mat3 direct{};
  if (InverseTranspose(fitted, direct, kBasisSingularity) != kStatusSuccess) return false;
  const double s = VolumeScaleFactor(direct, volume);
  if (!std::isfinite(s)) return false;
  refined = ScaleMatrix(direct, s);
  return true;
}

}  // namespace

ScoredBasis RefineKeepingSupport(Mat3& basis, const RunParameters& parameters, const DirectionStore& directions,
                                 double keptShare) {
  // The reflections are indexed once per basis: the scans of the basis fitted last give both its
  // quality and the observations of the next pass.
  std::vector<ScannedDirection> scans = ScanReflections(basis, parameters, directions);
  const ScoredBasis original = QualityOfScans(scans, parameters);
  const double volume = std::fabs(Determinant(basis));
  // As many reflections as the post-processing's refinement asks for.
  const std::size_t fewest = static_cast<std::size_t>(std::max(4, Nint(parameters.NumberOfReflections * 0.25)));
  ScoredBasis kept = original;
  Mat3 current = basis;
  for (int pass = 0; pass < kLargestPasses; ++pass) {
    const std::vector<DirectionObservation> observations =
        SupportedObservationsOfScans(current, scans, parameters, directions);
    if (observations.size() <= fewest) break;
    Mat3 refined{};
    if (!FittedBasis(observations, volume, refined)) break;
    const double change = LargestChange(refined, current);
    current = refined;
    // A pass may lose a spot that the rougher basis caught by chance and the next one regain it;
    // what counts is the support of the basis that is kept against that of the original.
    scans = ScanReflections(refined, parameters, directions);
    const ScoredBasis scored = QualityOfScans(scans, parameters);
    if (KeepsSupport(scored.counts, original.counts, keptShare)) {
      basis = refined;
      kept = scored;
    }
    if (change <= kSettled) break;
  }
  return kept;
}

}  // namespace orv
