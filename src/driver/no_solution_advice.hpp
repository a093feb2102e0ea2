// What to try when a run kept no solution, from what the pattern shows.
#pragma once

#include <string>

#include "run_data/run_parameters.hpp"

namespace orv {

// One console line naming the search most likely to help:
// - spots that hardly line up on zones at this tolerance (fewer than four zones of three spots
//   within half of it): a larger _AngularDeviationCriterion, since no lattice row is seen;
// - zones enough, without the automatic search: --auto-search, whose zone-axis cells need only
//   the zones (and type 8 for a pattern of at most 100 spots);
// - zones enough, and the automatic search found no cell indexing half of the spots: a larger
//   _MaxAllowedMillerIndex (a long axis) or a larger tolerance.
std::string NoSolutionAdvice(const RunParameters& parameters, const DirectionStore& directions,
                             bool automaticSearchRan);

}  // namespace orv
