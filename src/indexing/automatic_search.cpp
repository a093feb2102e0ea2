// The automatic search: the cheap search first, deeper ones only while no solution is supported.
#include "indexing/automatic_search.hpp"

#include <algorithm>
#include <cmath>
#include <memory>

#include "run_data/clock.hpp"
#include "search/zone_axis_bases.hpp"

namespace orv {

std::vector<SearchStep> AutomaticSearchSteps(const RunParameters& parameters) {
  const int bound = parameters.MaxAllowedMillerIndex;
  std::vector<SearchStep> steps = {{0, bound, false, true}, {5, bound, false, false}, {5, bound, true, false},
                                   {8, bound, false, false}};
  if (bound < 100) steps.push_back({5, std::min(2 * bound, 100), true, true});
  return steps;
}

int BestSupport(const SolutionStore& store) {
  int best = 0;
  for (int j = 1; j <= store.NumberOfSolutions; ++j) best = std::max(best, store(j).SolutionCounts.nFull);
  return best;
}

namespace {

bool Supported(int support, int n) { return static_cast<double>(support) >= kAutomaticSupportShare * n; }

}  // namespace

AutomaticSearchResult RunAutomaticSearch(RunParameters& parameters, DirectionStore& directions,
                                         const SublatticeTables& tables, SolutionStore& store, RunObserver& events,
                                         const SearchOptions& options,
                                         const std::function<void(const StepOutcome&)>& stepDone) {
  AutomaticSearchResult result;
  const int n = parameters.NumberOfReflections;
  auto best = std::make_unique<SolutionStore>();  // what the best step so far left
  RunParameters bestParameters = parameters;
  const RunParameters fileParameters = parameters;
  int bestSupport = -1;
  store.NumberOfSolutions = 0;
  const std::vector<SearchStep> steps = AutomaticSearchSteps(fileParameters);
  result.planned = static_cast<int>(steps.size());
  for (const SearchStep& step : steps) {
    StepOutcome outcome;
    outcome.step = step;
    if (step.type == 8 && n > kConeSearchMaxReflections) {
      outcome.skippedBecause = "more than " + std::to_string(kConeSearchMaxReflections) + " reflections";
      result.steps.push_back(outcome);
      stepDone(outcome);
      continue;
    }
    RunParameters stepParameters = fileParameters;
    stepParameters.ExtentOfTheSearch = step.type;
    stepParameters.MaxAllowedMillerIndex = step.maxIndex;
    if (step.freshStore) store.NumberOfSolutions = 0;
    const double start = SecondsSinceMidnight();
    SearchBases(stepParameters, directions, tables, store, events, options);
    if (step.zoneAxes) outcome.zones = OfferZoneAxisBases(stepParameters, directions, store, events).zones;
    outcome.seconds = ElapsedWallSeconds(start, SecondsSinceMidnight());
    outcome.ran = true;
    outcome.bestSupport = BestSupport(store);
    result.steps.push_back(outcome);
    stepDone(outcome);
    // The steps at the file's bound add to one store, so the latest holds the most candidates for
    // the ranking and the lattice choice. A larger index bound lets any lattice index more spots by
    // chance: its step is used only when it reaches the support.
    const bool largerBound = step.maxIndex > fileParameters.MaxAllowedMillerIndex;
    const bool better = largerBound ? Supported(outcome.bestSupport, n) : outcome.bestSupport >= bestSupport;
    if (better) {
      bestSupport = outcome.bestSupport;
      *best = store;
      bestParameters = stepParameters;
      result.used = static_cast<int>(result.steps.size()) - 1;
    }
    if (Supported(outcome.bestSupport, n)) break;
  }
  store = *best;
  parameters = bestParameters;
  return result;
}

}  // namespace orv
