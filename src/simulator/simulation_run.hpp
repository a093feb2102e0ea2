// One simulation from the options: the oriented crystal, its true spots and the flawed list.
#pragma once

#include <string>
#include <vector>

#include "geometry/vector_matrix.hpp"
#include "simulator/pattern_generation.hpp"
#include "simulator/simulation_options.hpp"

namespace orv::sim {

// The truth of one grain of a pattern of several.
struct GrainTruth {
  CellParameters cell;
  Centring centring = Centring::P;
  std::optional<std::array<double, 3>> eulerAngles;  // absent: drawn from the seed
  Mat3 rotation{};
  Mat3 directBasis{};
  double primitiveVolume = 0.0;
  int trueSpotsOnDetector = 0;
  int spotsWritten = 0;
};

struct SimulatedPattern {
  Mat3 rotation{};             // crystal frame to laboratory frame
  Mat3 directBasis{};          // rows a, b, c of the conventional cell, laboratory frame
  double primitiveVolume = 0.0;
  int trueSpotsOnDetector = 0;  // before the flaws
  std::vector<Spot> spots;      // the list written, in file order
  std::vector<GrainTruth> grains;  // a pattern of several grains: each of them, grain 1 first
  // With a strain: the truth of the orientation, in the crystal frame of Busing and Levy.
  bool strained = false;
  Mat3 trueU{};               // the unstrained crystal's frame to the laboratory frame
  Mat3 trueUB{};              // columns a*, b*, c* of the strained conventional cell, laboratory frame
  Mat3 strain{};              // the strain applied, crystal frame
  Mat3 deviatoricCrystal{};   // its deviatoric part at unit volume, crystal frame
  Mat3 deviatoricLab{};       // the same in the laboratory frame
};

// Builds the pattern. Throws NoPatternError when the cell gives no basis, the strain leaves no cell,
// the index range is too large, or fewer than 4 spots would be written (the indexing program needs
// at least 4).
SimulatedPattern SimulatePattern(const SimulationOptions& options);
// The same for callers that test the outcome: false with the reason in `message` where the other
// throws.
bool SimulatePattern(const SimulationOptions& options, SimulatedPattern& pattern, std::string& message);

}  // namespace orv::sim
