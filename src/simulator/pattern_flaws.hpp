// The flaws of measured data: lost spots, the cut to the strongest, angular noise, spurious spots.
#pragma once

#include <vector>

#include "simulator/experiment_geometry.hpp"
#include "simulator/pattern_generation.hpp"
#include "simulator/random_source.hpp"

namespace orv::sim {

// The most reflections an input file may hold.
constexpr int kMaxSpotsInFile = 999;

struct FlawSettings {
  double noiseSigmaDegrees = 0.0;  // Gaussian angular noise per direction across the spot
  double spuriousFraction = 0.0;   // share of the written spots that are spurious, below 1
  double dropFraction = 0.0;       // share of the true spots lost before the cut
  int spotsKept = 0;               // spots written; 0 keeps every spot (up to kMaxSpotsInFile)
};

struct FlawSeeds {
  RandomSource drop;
  RandomSource noise;
  RandomSource spurious;
};

// The numbers of true and spurious spots written when `available` true spots survive the drop.
// With spotsKept K (or, for 0, as many as keep every true spot with the requested spurious share,
// at most kMaxSpotsInFile): NINT(fraction K) spurious spots and the rest true, as far as there are.
void CountWrittenSpots(int available, const FlawSettings& flaws, int& trueCount, int& spuriousCount);

// Turns the true spots, ordered from the strongest, into the written list:
// 1. NINT(dropFraction N) spots, chosen at random, are lost;
// 2. the strongest of the rest are kept (CountWrittenSpots);
// 3. each kept direction is turned away from its ideal by Gaussian angles in two perpendicular
//    directions across it;
// 4. spurious spots, random scattering vectors whose diffracted beam hits the detector, are put at
//    random places in the list.
std::vector<Spot> ApplyFlaws(const std::vector<Spot>& strongestFirst, const FlawSettings& flaws,
                             const Detector& detector, FlawSeeds& seeds);

// A direction turned by the angles (in radians) along two unit vectors perpendicular to it.
Vec3 DisplaceDirection(const Vec3& direction, double angleAcross, double angleUp);

// A uniformly random unit vector.
Vec3 RandomUnitVector(RandomSource& random);

}  // namespace orv::sim
