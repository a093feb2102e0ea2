// One whole indexing of a pattern in memory, shared by the program and the library.
#include "indexing/pattern_indexing.hpp"

#include "search/commensurate_transforms.hpp"
#include "solutions/lattice_choice.hpp"
#include "solutions/lattice_setting_memo.hpp"
#include "solutions/post_process.hpp"

namespace orv {

IndexingOutcome IndexPattern(RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                             SolutionStore& store, const IndexingChoices& choices, RunObserver& events,
                             RunObserver& roundEvents, const StepListener& stepDone) {
  IndexingOutcome outcome;
  store.NumberOfSolutions = 0;
  if (choices.grains.grainsAsked > 1) {
    SearchForGrain(parameters, directions, tables, store, events, choices.search,
                   MinimumGrainSpotsOfRun(choices.grains, parameters.NumberOfReflections), choices.grains.grainsAsked);
  } else if (choices.automaticSearch) {
    outcome.automatic = RunAutomaticSearch(parameters, directions, tables, store, events, choices.search,
                                           stepDone ? stepDone : [](const StepOutcome&) {});
  } else {
    SearchBases(parameters, directions, tables, store, events, choices.search);
  }
  PrepareSolutions(parameters, directions, store, events);
  RankSolutionsForReport(parameters, directions, store, events);
  if (choices.ChoosesLattice()) {
    if (choices.relativeTransforms != nullptr)
      ChooseLattices(parameters, directions, *choices.relativeTransforms, store);
    else
      ChooseLattices(parameters, directions, CommensurateTransforms(tables), store);
  }
  // A run that looks for grains takes the settings of cubic lattices from their ideal forms, and
  // those of hexagonal ones from the first analysis of each; a run without grains asks spglib
  // about every lattice.
  LatticeSettingMemo memo;
  if (choices.LooksForGrains()) memo.RememberIdealCubicLattices();
  outcome.lattices = AnalyseSolutionLattices(store, parameters.AngularDeviationCriterion,
                                             choices.orient ? MaxStoredSolutions : choices.analysedSolutions,
                                             choices.LooksForGrains() ? &memo : nullptr, MemoUse::RecallOrRemember);
  if (choices.orient)
    outcome.orientations = OrientSolutions(store, outcome.lattices, choices.reference, parameters, directions);
  if (choices.LooksForGrains()) {
    GrainSearchSettings settings = choices.grains;
    settings.search = choices.search;
    outcome.grains = FindGrains(parameters, directions, tables, store, settings, roundEvents, memo);
  }
  return outcome;
}

}  // namespace orv
