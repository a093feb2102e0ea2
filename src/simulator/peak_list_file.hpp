// Writer of the simulated pattern as a peak list, in the layout that orvanthel-import reads.
#pragma once

#include <string>

#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"

namespace orv::sim {

// Decimals of the written angles: 1e-10 degree keeps a direction to about 2e-12.
constexpr int kAngleDecimals = 10;

// The header line "2theta chi X Y I", then one line per entry of the input file, in its order:
// 2theta and chi (degrees) of the spot in the frame of peak lists, X and Y where its diffracted
// beam meets the detector plane (units of the crystal-detector distance, along the detector's
// across and up directions), and I = the number of entries minus the position (N, N-1, ..., 1),
// so that ordering by intensity keeps the order of the input file. Comment lines ("#") after the
// peaks describe the frame and the detector.
void WritePeakListFile(const std::string& fileName, const SimulationOptions& options,
                       const SimulatedPattern& pattern);

}  // namespace orv::sim
