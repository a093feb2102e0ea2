// One simulation from the options: the oriented crystal, its true spots and the flawed list.
#pragma once

#include <string>
#include <vector>

#include "geometry/vector_matrix.hpp"
#include "simulator/pattern_generation.hpp"
#include "simulator/simulation_options.hpp"

namespace orv::sim {

struct SimulatedPattern {
  Mat3 rotation{};             // crystal frame to laboratory frame
  Mat3 directBasis{};          // rows a, b, c of the conventional cell, laboratory frame
  double primitiveVolume = 0.0;
  int trueSpotsOnDetector = 0;  // before the flaws
  std::vector<Spot> spots;      // the list written, in file order
};

// Builds the pattern. Fails with a message when the cell gives no basis, the index range is too
// large, or fewer than 4 spots would be written (the indexing program needs at least 4).
bool SimulatePattern(const SimulationOptions& options, SimulatedPattern& pattern, std::string& message);

}  // namespace orv::sim
