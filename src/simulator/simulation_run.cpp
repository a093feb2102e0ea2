// Orientation, spot generation and flaws put together for one simulated pattern.
#include "simulator/simulation_run.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "simulator/crystal_lattice.hpp"
#include "simulator/grain_simulation.hpp"
#include "simulator/orientation.hpp"
#include "simulator/pattern_flaws.hpp"
#include "simulator/random_source.hpp"
#include "simulator/simulation_error.hpp"

namespace orv::sim {

namespace {

Mat3 StrainTensor(const std::array<double, 6>& e) {
  return Mat3{{{e[0], e[5], e[4]}, {e[5], e[1], e[3]}, {e[4], e[3], e[2]}}};
}

// Strains the rows of the crystal basis (the simulator's crystal frame: a along x, b in the x-y
// plane) by the tensor given in the Busing-Levy frame, and records the truth of the orientation.
bool StrainCrystal(const std::array<double, 6>& components, const Mat3& rotation, Mat3& crystalBasis,
                   SimulatedPattern& pattern) {
  const Mat3 metric = MultiplyMatrices(crystalBasis, TransposeMatrix(crystalBasis));
  Mat3 b{};
  Mat3 busingLevy{};
  Mat3 inverse{};
  if (!BusingLevyB(metric, b) || !DirectBasisInCrystalFrame(b, busingLevy) ||
      InvertMatrix(busingLevy, inverse, kBasisSingularity) != kStatusSuccess)
    return false;
  // q turns the Busing-Levy frame into the simulator's: rows a_sim = q a_BL.
  const Mat3 q = TransposeMatrix(MultiplyMatrices(inverse, crystalBasis));
  const Mat3 e = StrainTensor(components);
  Mat3 stretch = MultiplyMatrices(q, MultiplyMatrices(e, TransposeMatrix(q)));
  for (int k = 0; k < 3; ++k) stretch[k][k] += 1.0;
  const Mat3 strained = MultiplyMatrices(crystalBasis, TransposeMatrix(stretch));
  const double determinant = Determinant(strained);
  if (!std::isfinite(determinant) || !(determinant > 0.0)) return false;
  crystalBasis = strained;

  pattern.strained = true;
  pattern.strain = e;
  pattern.trueU = MultiplyMatrices(rotation, q);
  Mat3 reciprocal{};
  if (InverseTranspose(RotateBasis(strained, rotation), reciprocal, kBasisSingularity) != kStatusSuccess) return false;
  pattern.trueUB = TransposeMatrix(reciprocal);
  // As the indexing program defines it: (I + e) at determinant 1, less I, less a third of its trace.
  Mat3 unit = e;
  for (int k = 0; k < 3; ++k) unit[k][k] += 1.0;
  unit = ScaleMatrix(unit, 1.0 / std::cbrt(Determinant(unit)));
  for (int k = 0; k < 3; ++k) unit[k][k] -= 1.0;
  const double mean = (unit[0][0] + unit[1][1] + unit[2][2]) / 3.0;
  for (int k = 0; k < 3; ++k) unit[k][k] -= mean;
  pattern.deviatoricCrystal = unit;
  pattern.deviatoricLab = MultiplyMatrices(pattern.trueU, MultiplyMatrices(unit, TransposeMatrix(pattern.trueU)));
  return true;
}

}  // namespace

SimulatedPattern SimulatePattern(const SimulationOptions& options) {
  SimulatedPattern pattern;
  if (!options.moreGrains.empty()) {
    std::string message;
    if (!SimulateGrains(options, pattern, message)) throw NoPatternError(message);
    return pattern;
  }
  Mat3 crystalBasis;
  if (DirectBasisFromCell(options.cell, crystalBasis) != kStatusSuccess) {
    throw NoPatternError("the cell parameters do not describe a cell");
  }
  if (options.eulerAngles) {
    const auto& e = *options.eulerAngles;
    pattern.rotation = RotationFromEulerAngles(e[0], e[1], e[2]);
  } else {
    RandomSource orientationRandom(options.seed, kOrientationStream);
    pattern.rotation = RandomRotation(orientationRandom);
  }
  if (options.strain && !StrainCrystal(*options.strain, pattern.rotation, crystalBasis, pattern)) {
    throw NoPatternError("the strain leaves no cell");
  }
  pattern.directBasis = RotateBasis(crystalBasis, pattern.rotation);
  pattern.primitiveVolume = CellVolume(crystalBasis) / LatticePointsPerCell(options.centring);

  std::vector<Spot> trueSpots;
  if (GenerateTrueSpots(pattern.directBasis, options.centring, options.experiment, trueSpots) != kStatusSuccess) {
    throw NoPatternError("the cell is too large for the smallest d-spacing (more than " +
                         std::to_string(kMaxIndexRange) + " indices along an axis)");
  }
  SortByStrength(trueSpots);
  pattern.trueSpotsOnDetector = static_cast<int>(trueSpots.size());

  FlawSeeds seeds{RandomSource(options.seed, kDropStream), RandomSource(options.seed, kNoiseStream),
                  RandomSource(options.seed, kSpuriousStream)};
  pattern.spots = ApplyFlaws(trueSpots, options.flaws, options.experiment.detector, seeds);
  if (pattern.spots.size() < 4)
    throw NoPatternError("only " + std::to_string(pattern.spots.size()) +
                         " spots reach the detector; an input file needs at least 4");
  return pattern;
}

bool SimulatePattern(const SimulationOptions& options, SimulatedPattern& pattern, std::string& message) {
  try {
    pattern = SimulatePattern(options);
    return true;
  } catch (const NoPatternError& error) {
    message = error.what();
    return false;
  }
}

}  // namespace orv::sim
