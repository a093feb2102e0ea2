// The automatic search: the cheap search first, deeper ones only while no solution is supported.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run_data/run_events.hpp"
#include "run_data/run_parameters.hpp"
#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

// A solution is supported when it indexes at least this share of the reflections within the
// angular tolerance; the automatic search stops at the first step that stores one.
constexpr double kAutomaticSupportShare = 0.9;
// The search type 8 step, which costs about N^4, runs only up to this many reflections.
constexpr int kConeSearchMaxReflections = 100;

// One step of the automatic search.
struct SearchStep {
  int type = 0;          // the search type run over the triples of reflections
  int maxIndex = 12;     // the bound on the Miller indices
  bool zoneAxes = false; // cells from the zone axes offered as well
  bool freshStore = false;  // starts from an empty store (a new index bound); else adds to the last
};

// What a step did.
struct StepOutcome {
  SearchStep step;
  bool ran = false;
  std::string skippedBecause;  // why a step did not run
  double seconds = 0.0;        // wall-clock time of the step
  int bestSupport = 0;         // the most reflections one stored solution indexes within the tolerance
  int zones = 0;               // zones the zone-axis cells came from
};

struct AutomaticSearchResult {
  std::vector<StepOutcome> steps;
  int used = -1;     // the step whose store the run reports (its position in steps)
  int planned = 0;   // the steps there were to run
};

// The steps for a run of these parameters: type 0, type 5, type 5 with zone-axis cells, type 8 (up
// to kConeSearchMaxReflections reflections; the zone-axis cells are in its store already), then type
// 5 with zone-axis cells at twice the index bound (at most 100) when the bound of the file is below
// 100.
std::vector<SearchStep> AutomaticSearchSteps(const RunParameters& parameters);

// The reflections indexed within the tolerance by the best-supported stored solution.
int BestSupport(const SolutionStore& store);

// Runs the steps in order until one leaves a supported solution in the store (the share above);
// when none does, the last step at the file's index bound is used (its store holds the solutions of
// every step before it); a step at a larger bound is used only when it is supported. On return the
// store holds what the used step left, and `parameters` carry its search type and index bound.
// `stepDone` hears of every step as it ends (also of those skipped).
AutomaticSearchResult RunAutomaticSearch(RunParameters& parameters, DirectionStore& directions,
                                         const SublatticeTables& tables, SolutionStore& store, RunObserver& events,
                                         const SearchOptions& options,
                                         const std::function<void(const StepOutcome&)>& stepDone);

}  // namespace orv
