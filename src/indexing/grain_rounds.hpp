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
  bool strain = false;        // measure each matched grain's strain against its phase's cell
};

// The minimum grain size of a run: the number asked for, or the default for the pattern.
int MinimumGrainSpotsOfRun(const GrainSearchSettings& settings, int numberOfSpots);

// The run parameters of a round on the spots of `parameters`, with `grainsSought` grains still to
// find: the first score a candidate needs is lowered from half the spots to what the largest grain
// still sought reaches (W2 times 0.8 of the spots per grain sought, but not below the minimum grain
// size), so that grains smaller than half the pattern are found at all, while a higher floor keeps
// the cost of scoring the candidates down.
RunParameters GrainRoundParameters(const RunParameters& parameters, int minimumGrainSpots, int grainsSought);

// The search of the first round: the store is the one of a single-crystal run (first score half the
// spots), which finds a grain that holds half the spots, when it keeps anything; otherwise the one of
// GrainRoundParameters, which `parameters` then keep, cut to the best bases (twice as many as a
// report keeps). One walk of the search fills both (SearchBasesAtTwoScores), and the events are
// those of the two searches one after the other. When GrainRoundParameters do not lower the first
// score (the last grain sought), it is the single-crystal search alone.
void SearchForGrain(RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                    SolutionStore& store, RunObserver& events, const SearchOptions& search, int minimumGrainSpots,
                    int grainsSought);

// The search of a later round: the spots left hold the grains still sought, so when more than one
// is, the search goes straight to the lowered first score of GrainRoundParameters (and keeps the
// best bases, as the first round does); for the last one, it is that of a single-crystal run.
void SearchForLaterGrain(RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                         SolutionStore& store, RunObserver& events, const SearchOptions& search,
                         int minimumGrainSpots, int grainsSought);

// From the ranked solutions of the first round (on every spot, with GrainRoundParameters and the
// lattice choice), the grains: solution 1 is grain 1; while LookForAnotherGrain, the spots no grain
// indexes are searched again with the same parameters (search, preparation, ranking, lattice
// choice) and the round's solution 1 is the next grain when IsGrain. Each grain is oriented with its
// cell held (OrientGrain), and, with `strain`, a grain that matched a phase is strained against it. Each grain's basis is refined
// on its spots (RefineKeepingSupport keeping 90 % of them) before it sets its spots aside. Each grain is then matched
// with the phases by shape and, when it matches one, brought to that phase's primitive volume.
// The lattices of the grains are analysed with `memo` (grains of one cubic or hexagonal phase share
// one analysis). The rounds report through `events`; nothing is written.
GrainSet FindGrains(const RunParameters& roundParameters, const DirectionStore& directions,
                    const SublatticeTables& tables, const SolutionStore& firstRound,
                    const GrainSearchSettings& settings, RunObserver& events, LatticeSettingMemo& memo);

}  // namespace orv
