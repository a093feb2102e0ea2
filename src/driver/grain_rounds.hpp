// The rounds of a run that looks for several grains: the grains after the first, their spots,
// their lattices and the phases they match.
#pragma once

#include "run_data/phase_list.hpp"
#include "run_data/run_events.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "solutions/grain_set.hpp"

namespace orv {

struct GrainSearchSettings {
  int grainsAsked = 1;
  int minimumGrainSpots = 0;  // 0: DefaultMinimumGrainSpots of the pattern
  SearchOptions search;
  PhaseList phases;           // empty: no phase is named
};

// The minimum grain size of a run: the number asked for, or the default for the pattern.
int MinimumGrainSpotsOfRun(const GrainSearchSettings& settings, int numberOfSpots);

// The run parameters of every round: the first score a candidate needs is lowered to what a grain
// of the minimum size reaches (that many spots within the tolerance), when that is below half the
// pattern, so that grains smaller than half the pattern are found at all.
RunParameters GrainRoundParameters(const RunParameters& parameters, int minimumGrainSpots);

// From the ranked solutions of the first round (on every spot, with GrainRoundParameters and the
// lattice choice), the grains: solution 1 is grain 1; while LookForAnotherGrain, the spots no grain
// indexes are searched again with the same parameters (search, preparation, ranking, lattice
// choice) and the round's solution 1 is the next grain when IsGrain. Each grain is then matched
// with the phases by shape and, when it matches one, brought to that phase's primitive volume.
// The rounds report through `events`; nothing is written.
GrainSet FindGrains(const RunParameters& roundParameters, const DirectionStore& directions,
                    const SublatticeTables& tables, const SolutionStore& firstRound,
                    const GrainSearchSettings& settings, RunObserver& events);

}  // namespace orv
