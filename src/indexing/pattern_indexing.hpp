// One whole indexing of a pattern in memory, shared by the program and the library: the search (or
// the automatic search, or the first round of several grains), the post-processing, the lattice
// choice, the lattice analysis, the orientations and the further grains. Writes nothing.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "indexing/automatic_search.hpp"
#include "indexing/grain_rounds.hpp"
#include "run_data/run_events.hpp"
#include "run_data/run_parameters.hpp"
#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "solutions/deviatoric_strain.hpp"
#include "solutions/grain_set.hpp"
#include "solutions/solution_lattices.hpp"
#include "solutions/solution_orientations.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

// What a run does beyond the search type of its parameters.
struct IndexingChoices {
  SearchOptions search;
  bool chooseLattice = false;
  bool automaticSearch = false;
  // Several grains (grainsAsked > 1) or named phases; grainsAsked 1 without phases is a plain run.
  GrainSearchSettings grains;
  bool orient = false;
  std::optional<ReferenceCell> reference;  // with orient: the strain of solution 1
  // The lattice choice's commensurate relatives, when the caller keeps them for many runs; null:
  // made from the tables.
  const std::vector<Mat3>* relativeTransforms = nullptr;
  // Solutions whose lattice is analysed, from solution 1 (the families cover them all); orienting
  // analyses every one.
  int analysedSolutions = MaxStoredSolutions;

  // Several grains take the lattice choice in every round.
  bool ChoosesLattice() const { return chooseLattice || grains.grainsAsked > 1; }
  bool LooksForGrains() const { return grains.grainsAsked > 1 || !grains.phases.empty(); }
};

struct IndexingOutcome {
  SolutionLattices lattices;
  SolutionOrientations orientations;  // empty unless the choices orient
  AutomaticSearchResult automatic;    // steps only with the automatic search
  std::optional<GrainSet> grains;     // only when the choices look for grains
};

// Heard while a run goes: the automatic search's steps as each ends.
using StepListener = std::function<void(const StepOutcome&)>;

// Indexes the directions into `store` (emptied first). `parameters` end as the run used them (the
// automatic search's step, a grain round's first score). The events hear the search and the
// post-processing in the order of the single-threaded search; `roundEvents` hears the rounds of
// further grains. Throws ReferenceCellMismatch when the reference does not describe solution 1.
IndexingOutcome IndexPattern(RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                             SolutionStore& store, const IndexingChoices& choices, RunObserver& events,
                             RunObserver& roundEvents, const StepListener& stepDone = {});

}  // namespace orv
