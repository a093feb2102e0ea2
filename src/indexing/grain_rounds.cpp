// The rounds of a run that looks for several grains.
#include "indexing/grain_rounds.hpp"

#include <algorithm>
#include <memory>

#include "geometry/rotation.hpp"
#include "search/commensurate_transforms.hpp"
#include "search/quadruple_evaluation.hpp"
#include "search/recorded_search_events.hpp"
#include "solutions/grain_spots.hpp"
#include "solutions/lattice_choice.hpp"
#include "solutions/lattice_setting_memo.hpp"
#include "solutions/post_process.hpp"
#include "solutions/solution_sorting.hpp"
#include "solutions/support_keeping_refinement.hpp"

namespace orv {

namespace {

// A grain's basis is refined on its spots as long as it keeps this share of them.
constexpr double kGrainSupportKept = 0.9;
// The largest grain still sought holds at least its share of the spots of a round (spurious ones
// aside); the first score a candidate needs is this part of that share.
constexpr double kLargestGrainMargin = 0.8;

// The bases of a round searched at the lowered first score that the post-processing refines: the
// best by their quality before refinement, twice as many as a report keeps. A refined basis can
// overtake some that scored better before, so keeping only as many as the report lost grains at
// 0.05 degree of noise.
int CandidatesRefined(const RunParameters& parameters) {
  return std::min(2 * parameters.MaxNumberOfSavedBases, MaxStoredSolutions);
}

// One round's spots and solutions; on the heap, as the stores are large.
struct Round {
  RunParameters parameters;
  DirectionStore directions;
  SolutionStore store;
};

int CountTrue(const std::vector<bool>& flags) { return static_cast<int>(std::count(flags.begin(), flags.end(), true)); }

std::vector<int> NumbersOfTrue(const std::vector<bool>& flags) {
  std::vector<int> numbers;
  for (std::size_t k = 0; k < flags.size(); ++k) {
    if (flags[k]) numbers.push_back(static_cast<int>(k) + 1);
  }
  return numbers;
}

}  // namespace

int MinimumGrainSpotsOfRun(const GrainSearchSettings& settings, int numberOfSpots) {
  return settings.minimumGrainSpots > 0 ? settings.minimumGrainSpots : DefaultMinimumGrainSpots(numberOfSpots);
}

RunParameters GrainRoundParameters(const RunParameters& parameters, int minimumGrainSpots, int grainsSought) {
  RunParameters round = parameters;
  const double largestGrain = kLargestGrainMargin * parameters.NumberOfReflections / std::max(grainsSought, 1);
  round.AcceptedCandidateQuality =
      parameters.WeightsForSortingBases_2 * std::max(static_cast<double>(minimumGrainSpots), largestGrain);
  return round;
}

namespace {

// The lowered first score keeps the bases of every grain and their relatives, often the whole
// store; the post-processing refines every kept basis, which would cost more than the search.
void KeepBestCandidates(const RunParameters& parameters, SolutionStore& store) {
  SortSolutionsByQuality(store);
  store.NumberOfSolutions = std::min(store.NumberOfSolutions, CandidatesRefined(parameters));
}

}  // namespace

void SearchForGrain(RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                    SolutionStore& store, RunObserver& events, const SearchOptions& search, int minimumGrainSpots,
                    int grainsSought) {
  store.NumberOfSolutions = 0;
  const RunParameters lowered = GrainRoundParameters(parameters, minimumGrainSpots, grainsSought);
  // The last grain sought, or a minimum grain size of half the spots, leaves the floor where it was.
  if (!(AcceptanceQuality(lowered) < AcceptanceQuality(parameters))) {
    SearchBases(parameters, directions, tables, store, events, search);
    return;
  }
  // Both searches in one walk: the one at the single-crystal score, whose store is kept when it
  // finds anything, and the one at the lowered score, whose store and events (the whole second
  // search, as if it ran after the first) are taken when it does not.
  auto loweredStore = std::make_unique<SolutionStore>();
  RecordedSearchEvents loweredEvents;
  SearchBasesAtTwoScores(parameters, lowered, directions, tables, store, *loweredStore, events, loweredEvents, search);
  if (store.NumberOfSolutions > 0) return;
  parameters = lowered;
  store = *loweredStore;
  loweredEvents.ReplayTo(events);
  KeepBestCandidates(parameters, store);
}

void SearchForLaterGrain(RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                         SolutionStore& store, RunObserver& events, const SearchOptions& search,
                         int minimumGrainSpots, int grainsSought) {
  store.NumberOfSolutions = 0;
  const RunParameters lowered = GrainRoundParameters(parameters, minimumGrainSpots, grainsSought);
  if (!(AcceptanceQuality(lowered) < AcceptanceQuality(parameters))) {
    SearchBases(parameters, directions, tables, store, events, search);
    return;
  }
  parameters = lowered;
  SearchBases(parameters, directions, tables, store, events, search);
  KeepBestCandidates(parameters, store);
}

GrainSet FindGrains(const RunParameters& roundParameters, const DirectionStore& directions,
                    const SublatticeTables& tables, const SolutionStore& firstRound,
                    const GrainSearchSettings& settings, RunObserver& events, LatticeSettingMemo& memo) {
  const int n = roundParameters.NumberOfReflections;
  GrainSet set;
  set.grainsAsked = settings.grainsAsked;
  set.minimumGrainSpots = MinimumGrainSpotsOfRun(settings, n);
  set.phasesGiven = !settings.phases.empty();
  if (firstRound.NumberOfSolutions <= 0) {
    // No grain: every spot is a spot of no grain.
    set.grainsOfSpots = GrainsOfSpots({}, n);
    set.spotsOfNoGrain = UnclaimedSpots({}, n);
    return set;
  }

  std::vector<std::vector<bool>> indexedBy;
  auto addGrain = [&](const Mat3& basis, int given, int indexedInRound, int solutions) {
    Grain grain;
    grain.basis = basis;
    grain.spotsGiven = given;
    grain.spotsIndexedInRound = indexedInRound;
    grain.solutionsInRound = solutions;
    indexedBy.push_back(SpotsWithinTolerance(basis, roundParameters, directions));
    grain.spots = NumbersOfTrue(indexedBy.back());
    set.grains.push_back(grain);
  };
  Mat3 firstBasis = firstRound(1).SolutionBasis;
  RefineKeepingSupport(firstBasis, roundParameters, directions, kGrainSupportKept);
  const std::vector<bool> first = SpotsWithinTolerance(firstBasis, roundParameters, directions);
  events.GrainRoundStarted(1, n);
  events.GrainRoundFinished(1, CountTrue(first), true);
  addGrain(firstBasis, n, CountTrue(first), firstRound.NumberOfSolutions);

  const std::vector<Mat3> transforms = CommensurateTransforms(tables);
  auto round = std::make_unique<Round>();
  for (;;) {
    const std::vector<int> left = UnclaimedSpots(indexedBy, n);
    const int grain = static_cast<int>(set.grains.size()) + 1;
    if (!LookForAnotherGrain(grain - 1, settings.grainsAsked, static_cast<int>(left.size()), set.minimumGrainSpots))
      break;
    SelectSpots(roundParameters, directions, left, round->parameters, round->directions);
    round->parameters.AcceptedCandidateQuality = 0.0;
    events.GrainRoundStarted(grain, round->parameters.NumberOfReflections);
    round->store = SolutionStore{};
    SearchForLaterGrain(round->parameters, round->directions, tables, round->store, events, settings.search,
                        set.minimumGrainSpots, settings.grainsAsked - grain + 1);
    PrepareSolutions(round->parameters, round->directions, round->store, events);
    RankSolutionsForReport(round->parameters, round->directions, round->store, events);
    const int kept = round->store.NumberOfSolutions;
    // The round's solution 1 alone becomes a grain: the choice refines no other.
    ChooseLattices(round->parameters, round->directions, transforms, round->store, 1);
    if (round->store.NumberOfSolutions <= 0) {
      events.GrainRoundFinished(grain, 0, false);
      break;
    }
    Mat3 basis = round->store(1).SolutionBasis;
    RefineKeepingSupport(basis, round->parameters, round->directions, kGrainSupportKept);
    const int indexed = CountTrue(SpotsWithinTolerance(basis, round->parameters, round->directions));
    const bool isGrain = IsGrain(indexed, set.minimumGrainSpots);
    events.GrainRoundFinished(grain, indexed, isGrain);
    if (!isGrain) break;
    addGrain(basis, round->parameters.NumberOfReflections, indexed, kept);
  }

  set.grainsOfSpots = GrainsOfSpots(indexedBy, n);
  set.sharedSpots = SharedSpots(set.grainsOfSpots);
  set.spotsOfNoGrain = UnclaimedSpots(indexedBy, n);

  const LatticeTolerance tolerance = LatticeToleranceForAngularCriterion(roundParameters.AngularDeviationCriterion);
  for (Grain& grain : set.grains) {
    if (!settings.phases.empty()) {
      grain.phase = MatchPhase(grain.basis, settings.phases, tolerance);
      if (grain.phase.matched) {
        const Phase& phase = settings.phases[static_cast<std::size_t>(grain.phase.phase)];
        grain.phaseName = phase.name;
        grain.basis = ScaleMatrix(grain.basis, VolumeScaleFactor(grain.basis, PrimitiveVolumeOfPhase(phase)));
      }
    }
    grain.analysed = AnalyseLatticeSymmetry(grain.basis, tolerance, grain.symmetry, memo, MemoUse::RecallOrRemember);
    if (!grain.analysed) continue;
    grain.orientation = OrientGrain(grain.basis, grain.symmetry, grain.spots, roundParameters, directions);
    if (settings.strain && grain.phase.matched && grain.orientation.oriented) {
      const Phase& phase = settings.phases[static_cast<std::size_t>(grain.phase.phase)];
      const ReferenceCell reference{Vec3{phase.a, phase.b, phase.c}, Vec3{phase.alpha, phase.beta, phase.gamma}};
      try {
        grain.strain = MeasureDeviatoricStrain(grain.basis, grain.orientation.orientation, reference, tolerance,
                                               roundParameters, directions);
      } catch (const ReferenceCellMismatch&) {
        // The phase fits by shape but not as the strain needs it (another setting): no strain.
      }
    }
  }
  set.strainAsked = settings.strain && set.phasesGiven;
  const Grain& grain1 = set.grains.front();
  for (Grain& grain : set.grains) {
    if (!grain1.orientation.oriented || !grain.orientation.oriented || grain.symmetry.type != grain1.symmetry.type)
      continue;
    grain.misorientationToFirstDegrees = MisorientationDegrees(grain.orientation.u, grain1.orientation.u,
                                                               grain1.orientation.orientation.crystalRotations);
  }
  return set;
}

}  // namespace orv
