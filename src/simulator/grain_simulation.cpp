// A pattern of several grains and phases: the spots of every grain, mixed, with the flaws of the data.
#include "simulator/grain_simulation.hpp"

#include <utility>

#include "simulator/orientation.hpp"
#include "simulator/pattern_flaws.hpp"
#include "simulator/random_source.hpp"

namespace orv::sim {

namespace {

// The random streams of grain g (from 0) lie this far apart; grain 0 uses those of a single grain.
constexpr std::uint64_t kGrainStreamStep = 16;
// The stream that mixes the spots of the grains.
constexpr std::uint64_t kGrainMixStream = 5;

}  // namespace

bool SimulateGrains(const SimulationOptions& options, SimulatedPattern& pattern, std::string& message) {
  std::vector<SimulatedGrain> grains;
  const int firstSpots = options.flaws.spotsKept > 0 ? options.flaws.spotsKept : 50;
  grains.push_back(SimulatedGrain{options.cell, options.centring, firstSpots, options.eulerAngles});
  for (const SimulatedGrain& more : options.moreGrains) grains.push_back(more);

  pattern = SimulatedPattern{};
  std::vector<Spot> all;
  for (std::size_t g = 0; g < grains.size(); ++g) {
    const SimulatedGrain& grain = grains[g];
    const std::uint64_t offset = kGrainStreamStep * g;
    GrainTruth truth;
    truth.cell = grain.cell;
    truth.centring = grain.centring;
    truth.eulerAngles = grain.eulerAngles;
    Mat3 crystalBasis;
    if (DirectBasisFromCell(grain.cell, crystalBasis) != kStatusSuccess) {
      message = "the cell of grain " + std::to_string(g + 1) + " does not describe a cell";
      return false;
    }
    if (grain.eulerAngles) {
      const auto& e = *grain.eulerAngles;
      truth.rotation = RotationFromEulerAngles(e[0], e[1], e[2]);
    } else {
      RandomSource orientationRandom(options.seed, kOrientationStream + offset);
      truth.rotation = RandomRotation(orientationRandom);
    }
    truth.directBasis = RotateBasis(crystalBasis, truth.rotation);
    truth.primitiveVolume = CellVolume(crystalBasis) / LatticePointsPerCell(grain.centring);
    std::vector<Spot> trueSpots;
    if (GenerateTrueSpots(truth.directBasis, grain.centring, options.experiment, trueSpots) != kStatusSuccess) {
      message = "the cell of grain " + std::to_string(g + 1) + " is too large for the smallest d-spacing";
      return false;
    }
    SortByStrength(trueSpots);
    truth.trueSpotsOnDetector = static_cast<int>(trueSpots.size());
    FlawSettings flaws = options.flaws;
    flaws.spuriousFraction = 0.0;
    flaws.spotsKept = grain.spots;
    FlawSeeds seeds{RandomSource(options.seed, kDropStream + offset), RandomSource(options.seed, kNoiseStream + offset),
                    RandomSource(options.seed, kSpuriousStream + offset)};
    std::vector<Spot> kept = ApplyFlaws(trueSpots, flaws, options.experiment.detector, seeds);
    truth.spotsWritten = static_cast<int>(kept.size());
    for (Spot& spot : kept) {
      spot.grain = static_cast<int>(g) + 1;
      all.push_back(spot);
    }
    pattern.grains.push_back(truth);
  }

  // Mixed by a uniform shuffle (Fisher-Yates on our own generator, the same on every machine).
  RandomSource mix(options.seed, kGrainMixStream);
  for (std::size_t i = all.size(); i > 1; --i) {
    const std::size_t j = static_cast<std::size_t>(mix.Below(i));
    std::swap(all[i - 1], all[j]);
  }
  if (all.size() > static_cast<std::size_t>(kMaxSpotsInFile)) all.resize(static_cast<std::size_t>(kMaxSpotsInFile));
  FlawSettings spuriousOnly{0.0, options.flaws.spuriousFraction, 0.0, 0};
  FlawSeeds seeds{RandomSource(options.seed, kDropStream), RandomSource(options.seed, kNoiseStream),
                  RandomSource(options.seed, kSpuriousStream)};
  pattern.spots = ApplyFlaws(all, spuriousOnly, options.experiment.detector, seeds);

  const GrainTruth& first = pattern.grains.front();
  pattern.rotation = first.rotation;
  pattern.directBasis = first.directBasis;
  pattern.primitiveVolume = first.primitiveVolume;
  for (const GrainTruth& grain : pattern.grains) pattern.trueSpotsOnDetector += grain.trueSpotsOnDetector;
  if (pattern.spots.size() < 4) {
    message = "only " + std::to_string(pattern.spots.size()) + " spots reach the detector; an input file needs at least 4";
    return false;
  }
  return true;
}

}  // namespace orv::sim
