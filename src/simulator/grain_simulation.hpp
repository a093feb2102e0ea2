// A pattern of several grains and phases: the spots of every grain, mixed, with the flaws of the data.
#pragma once

#include <string>

#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"

namespace orv::sim {

// The grains are grain 1 (--cell, --centring, --euler, K = --spots) and options.moreGrains. Each
// grain, oriented (its Euler angles, or a rotation drawn from the seed, a stream per grain), gives
// its true spots ordered from the strongest; of these NINT(drop K) are lost and its K strongest
// kept, each turned by the angular noise. The spots of all grains are then mixed in a random order
// (measured lists come ordered by intensity, which does not sort by grain), and the spurious share
// of the whole list is added at random places. Every spot carries its grain; `pattern` describes
// grain 1 as a single-grain pattern does, and `pattern.grains` every grain. Fails with a message
// when a grain has no cell or too large an index range, or fewer than 4 spots would be written.
bool SimulateGrains(const SimulationOptions& options, SimulatedPattern& pattern, std::string& message);

}  // namespace orv::sim
