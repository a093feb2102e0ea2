// The true Laue spots of an oriented crystal: Bragg condition in the band, d-spacing, detector.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"
#include "simulator/crystal_lattice.hpp"
#include "simulator/experiment_geometry.hpp"

namespace orv::sim {

struct ExperimentSettings {
  double minWavelength = 0.2;  // Angstrom
  double maxWavelength = 1.5;  // Angstrom
  double minDSpacing = 0.5;    // Angstrom
  Detector detector = SideDetector();
};

// One entry of the pattern. A true spot is the coprime (h, k, l) of the conventional cell, seen
// through its lowest harmonic n that is allowed and diffracts (wavelength in the band, d-spacing
// d_hkl/n not below the limit); its direction is the unit scattering vector. A spurious spot has
// only a direction and zeros elsewhere.
struct Spot {
  Vec3 direction{};
  bool spurious = false;
  int h = 0;
  int k = 0;
  int l = 0;
  int harmonic = 0;
  double dSpacing = 0.0;    // d_hkl / n, Angstrom
  double firstAllowedDSpacing = 0.0;  // d_hkl / (first allowed harmonic): the lowest allowed order
  double wavelength = 0.0;  // Angstrom
  double twoTheta = 0.0;    // degrees
  int grain = 0;            // in a pattern of several grains, the grain (from 1); 0 otherwise
};

// Largest |h|, |k| or |l| that the enumeration may reach on any axis; a cell this much larger than
// the smallest d-spacing is refused rather than enumerated for minutes.
constexpr int kMaxIndexRange = 200;

// The reciprocal-lattice vector h a* + k b* + l c* of the reciprocal basis (rows a*, b*, c*).
Vec3 ReciprocalVector(const Mat3& reciprocalBasis, int h, int k, int l);

// Every true spot of the crystal whose direct basis (rows a, b, c, laboratory frame) is given,
// in the enumeration order h, k, l ascending. Fails when the basis is singular or the index range
// needed for the smallest d-spacing exceeds kMaxIndexRange.
int GenerateTrueSpots(const Mat3& directBasis, Centring centring, const ExperimentSettings& experiment,
                      std::vector<Spot>& spots);

// Orders spots from the strongest-looking: the largest d-spacing of the first allowed harmonic
// (the lowest-order reflection that the centring allows along the spot's ray) first, compared in
// steps of 1e-6 Angstrom so that rounding in the last bit cannot swap two spots; then the lower
// diffracting harmonic; then h, k, l ascending.
void SortByStrength(std::vector<Spot>& spots);

}  // namespace orv::sim
