// The road of a run: defaults, input, tables, log, search, post-processing, reports, timings.
#include "driver/run_indexing.hpp"

#include <memory>

#include "driver/automatic_search.hpp"
#include "driver/automatic_search_console.hpp"
#include "driver/no_solution_advice.hpp"
#include "driver/progress_display.hpp"
#include "driver/run_timing.hpp"
#include "input/input_reader.hpp"
#include "reports/json_results.hpp"
#include "reports/lattice_summary.hpp"
#include "reports/lepage_file.hpp"
#include "reports/line_format.hpp"
#include "reports/log_events.hpp"
#include "reports/log_file.hpp"
#include "reports/results_file.hpp"
#include "reports/svg_pattern.hpp"
#include "reports/text_file.hpp"
#include "run_data/clock.hpp"
#include "run_data/observer_fan_out.hpp"
#include "run_data/run_parameters.hpp"
#include "search/commensurate_transforms.hpp"
#include "search/search_bases.hpp"
#include "search/sublattice_tables.hpp"
#include "solutions/lattice_choice.hpp"
#include "solutions/post_process.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

namespace {

// Everything one run owns; kept on the heap because the tables are large.
struct RunState {
  RunParameters parameters;
  DirectionStore directions;
  SublatticeTables tables;
  SolutionStore store;
  TextFile log;
};

}  // namespace

RunSummary RunIndexing(const std::string& fileName, const RunOptions& options, std::ostream& console) {
  const double startCpu = ProcessCpuSeconds();
  const double startClock = SecondsSinceMidnight();

  auto run = std::make_unique<RunState>();
  SetDefaultParameters(run->parameters, run->directions);
  ReadInputFile(fileName, run->parameters, run->directions, console);
  BuildSublatticeTables(run->tables);
  if (run->parameters.CreateLogFile > 0) OpenLogFile(run->log, fileName, run->parameters);

  ConsoleProgress progress(console);
  LogEventWriter logLines(run->log);
  ObserverFanOut events;
  events.Add(progress);
  events.Add(logLines);

  run->store.NumberOfSolutions = 0;
  const SearchOptions searchOptions{options.threads, options.literalSearch};
  HeaderNotes notes;
  notes.latticeChosen = options.chooseLattice;
  AutomaticSearchResult automatic;
  if (options.automaticSearch) {
    int position = 0;
    const int n = run->parameters.NumberOfReflections;
    automatic = RunAutomaticSearch(run->parameters, run->directions, run->tables, run->store, events, searchOptions,
                                   [&](const StepOutcome& step) { WriteStepLine(console, ++position, step, n); });
    WriteUsedStepLine(console, automatic);
    notes.automaticSearch = UsedStepNote(automatic);
  } else {
    SearchBases(run->parameters, run->directions, run->tables, run->store, events, searchOptions);
  }
  PrepareSolutions(run->parameters, run->directions, run->store, events);
  RankSolutionsForReport(run->parameters, run->directions, run->store, events);
  if (options.chooseLattice)
    ChooseLattices(run->parameters, run->directions, CommensurateTransforms(run->tables), run->store);
  const SolutionLattices lattices = AnalyseSolutionLattices(run->store, run->parameters.AngularDeviationCriterion);
  WriteResultsFile(fileName, run->parameters, run->directions, run->store, console,
                   FirstSolutionLatticeLines(lattices), notes);
  // A default run keeps its console as it was; the automatic search adds what would most likely help.
  if (options.automaticSearch && run->store.NumberOfSolutions == 0)
    console << NoSolutionAdvice(run->parameters, run->directions, true) << '\n';
  if (options.json)
    WriteJsonResults(fileName, run->parameters, run->directions, run->store, lattices,
                     notes);
  if (run->parameters.SaveLePage > 0) WriteLePageFile(run->store, run->parameters, options.lePageFile);
  if (options.svg) WritePatternPicture(fileName, run->parameters, run->directions, run->store, lattices);

  console << SystemTimeLine(ElapsedWallSeconds(startClock, SecondsSinceMidnight()), 8, 3) << '\n';
  const double cpuSeconds = ProcessCpuSeconds() - startCpu;
  console << CpuTimeLine(cpuSeconds, 8, 3) << '\n' << FreeLine("") << '\n';

  if (run->parameters.CreateLogFile > 0) {
    run->log.WriteLine(FreeLine(""));
    run->log.WriteLine(FreeLine(Repeat('=', 49)));
    run->log.WriteLine(SystemTimeLine(ElapsedWallSeconds(startClock, SecondsSinceMidnight()), 13, 2));
    run->log.WriteLine(CpuTimeLine(cpuSeconds, 13, 2));
    run->log.Close();
  }
  return SummarizeRun(run->parameters, run->directions, run->store, lattices);
}

}  // namespace orv
