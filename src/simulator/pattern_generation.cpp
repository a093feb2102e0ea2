// Enumeration of the reflections that diffract inside the wavelength band onto the detector.
#include "simulator/pattern_generation.hpp"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "geometry/constants.hpp"

namespace orv::sim {

namespace {

// The lowest allowed harmonic of a coprime (h, k, l) that diffracts, or 0 when none does.
// Allowed harmonics are the multiples of the first allowed one; lambda = 2 (d_hkl / n) sin(theta)
// falls as n grows, so the walk stops below the band or below the smallest d-spacing.
int DiffractingHarmonic(int firstAllowed, double dHkl, double sinTheta, const ExperimentSettings& experiment) {
  for (int n = firstAllowed;; n += firstAllowed) {
    const double d = dHkl / n;
    if (d < experiment.minDSpacing) return 0;
    const double wavelength = 2.0 * d * sinTheta;
    if (wavelength < experiment.minWavelength) return 0;
    if (wavelength <= experiment.maxWavelength) return n;
  }
}

}  // namespace

Vec3 ReciprocalVector(const Mat3& r, int h, int k, int l) {
  Vec3 g;
  for (int c = 0; c < 3; ++c) g[c] = h * r[0][c] + k * r[1][c] + l * r[2][c];
  return g;
}

int GenerateTrueSpots(const Mat3& directBasis, Centring centring, const ExperimentSettings& experiment,
                      std::vector<Spot>& spots) {
  Mat3 reciprocal;
  if (InverseTranspose(directBasis, reciprocal, kBasisSingularity) != kStatusSuccess) return kStatusFailure;
  // A reflection needs d >= the smallest d-spacing and, since lambda <= 2d, d >= the shortest
  // wavelength / 2; |h| = |G.a| <= |a| / d bounds the indices on each axis.
  const double dLimit = std::max(experiment.minDSpacing, 0.5 * experiment.minWavelength);
  if (!(dLimit > 0.0)) return kStatusFailure;
  const double maxLength = 1.0 / dLimit;
  int range[3];
  for (int axis = 0; axis < 3; ++axis) {
    const double bound = VectorNorm(directBasis[axis]) * maxLength;
    if (!(bound <= kMaxIndexRange)) return kStatusFailure;
    range[axis] = static_cast<int>(std::floor(bound));
  }
  spots.clear();
  for (int h = -range[0]; h <= range[0]; ++h)
    for (int k = -range[1]; k <= range[1]; ++k)
      for (int l = -range[2]; l <= range[2]; ++l) {
        if (GreatestCommonDivisor(h, k, l) != 1) continue;
        const Vec3 g = ReciprocalVector(reciprocal, h, k, l);
        Vec3 unit;
        double length = 0.0;
        if (NormalizeVector(g, unit, length) != kStatusSuccess || length > maxLength) continue;
        if (!ScatteringVectorHitsDetector(experiment.detector, unit)) continue;
        const double sinTheta = SinBraggAngle(unit);
        const double dHkl = 1.0 / length;
        const int firstAllowed = FirstAllowedHarmonic(centring, h, k, l);
        const int n = DiffractingHarmonic(firstAllowed, dHkl, sinTheta, experiment);
        if (n == 0) continue;
        Spot spot;
        spot.direction = unit;
        spot.h = h;
        spot.k = k;
        spot.l = l;
        spot.harmonic = n;
        spot.dSpacing = dHkl / n;
        spot.firstAllowedDSpacing = dHkl / firstAllowed;
        spot.wavelength = 2.0 * spot.dSpacing * sinTheta;
        spot.twoTheta = TwoThetaDegrees(DiffractedDirection(unit));
        spots.push_back(spot);
      }
  return kStatusSuccess;
}

void SortByStrength(std::vector<Spot>& spots) {
  auto key = [](const Spot& s) {
    const long long dSteps = static_cast<long long>(std::llround(s.firstAllowedDSpacing * 1e6));
    return std::make_tuple(-dSteps, s.harmonic, s.h, s.k, s.l);
  };
  std::stable_sort(spots.begin(), spots.end(), [&](const Spot& x, const Spot& y) { return key(x) < key(y); });
}

}  // namespace orv::sim
