// The "grains" member of the JSON results of a run that looked for several grains.
#pragma once

#include <nlohmann/json.hpp>

#include "run_data/run_parameters.hpp"
#include "solutions/grain_set.hpp"

namespace orv {

// Per grain its lattice (Bravais type, conventional and Niggli cells), its primitive cell and direct
// and reciprocal bases in the frame of the spots, the phase it matched, and its spots with their
// indices on the conventional cell; then the shared spots and, for every spot, its grains.
nlohmann::ordered_json GrainsJson(const GrainSet& set, const RunParameters& parameters,
                                  const DirectionStore& directions);

}  // namespace orv
