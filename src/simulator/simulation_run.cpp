// Orientation, spot generation and flaws put together for one simulated pattern.
#include "simulator/simulation_run.hpp"

#include "simulator/crystal_lattice.hpp"
#include "simulator/grain_simulation.hpp"
#include "simulator/orientation.hpp"
#include "simulator/pattern_flaws.hpp"
#include "simulator/random_source.hpp"

namespace orv::sim {

bool SimulatePattern(const SimulationOptions& options, SimulatedPattern& pattern, std::string& message) {
  if (!options.moreGrains.empty()) return SimulateGrains(options, pattern, message);
  Mat3 crystalBasis;
  if (DirectBasisFromCell(options.cell, crystalBasis) != kStatusSuccess) {
    message = "the cell parameters do not describe a cell";
    return false;
  }
  if (options.eulerAngles) {
    const auto& e = *options.eulerAngles;
    pattern.rotation = RotationFromEulerAngles(e[0], e[1], e[2]);
  } else {
    RandomSource orientationRandom(options.seed, kOrientationStream);
    pattern.rotation = RandomRotation(orientationRandom);
  }
  pattern.directBasis = RotateBasis(crystalBasis, pattern.rotation);
  pattern.primitiveVolume = CellVolume(crystalBasis) / LatticePointsPerCell(options.centring);

  std::vector<Spot> trueSpots;
  if (GenerateTrueSpots(pattern.directBasis, options.centring, options.experiment, trueSpots) != kStatusSuccess) {
    message = "the cell is too large for the smallest d-spacing (more than " + std::to_string(kMaxIndexRange) +
              " indices along an axis)";
    return false;
  }
  SortByStrength(trueSpots);
  pattern.trueSpotsOnDetector = static_cast<int>(trueSpots.size());

  FlawSeeds seeds{RandomSource(options.seed, kDropStream), RandomSource(options.seed, kNoiseStream),
                  RandomSource(options.seed, kSpuriousStream)};
  pattern.spots = ApplyFlaws(trueSpots, options.flaws, options.experiment.detector, seeds);
  if (pattern.spots.size() < 4) {
    message = "only " + std::to_string(pattern.spots.size()) +
              " spots reach the detector; an input file needs at least 4";
    return false;
  }
  return true;
}

}  // namespace orv::sim
