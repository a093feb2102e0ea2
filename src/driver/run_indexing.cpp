// The road of a run: defaults, input, tables, log, search, post-processing, reports, timings.
#include "driver/run_indexing.hpp"

#include <memory>

#include "driver/progress_display.hpp"
#include "driver/run_timing.hpp"
#include "driver/orientation_summary.hpp"
#include "input/input_reader.hpp"
#include "reports/json_results.hpp"
#include "reports/lattice_summary.hpp"
#include "reports/lepage_file.hpp"
#include "reports/line_format.hpp"
#include "reports/log_events.hpp"
#include "reports/log_file.hpp"
#include "reports/orientation_json.hpp"
#include "reports/orientation_lines.hpp"
#include "reports/results_file.hpp"
#include "reports/spot_table.hpp"
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
#include "solutions/solution_orientations.hpp"

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
  SearchBases(run->parameters, run->directions, run->tables, run->store, events, SearchOptions{options.threads, options.literalSearch});
  PrepareSolutions(run->parameters, run->directions, run->store, events);
  RankSolutionsForReport(run->parameters, run->directions, run->store, events);
  if (options.chooseLattice)
    ChooseLattices(run->parameters, run->directions, CommensurateTransforms(run->tables), run->store);
  const SolutionLattices lattices = AnalyseSolutionLattices(run->store, run->parameters.AngularDeviationCriterion);
  // With --orientation: measured before any report, so that a reference cell that does not match
  // ends the run before it writes anything.
  SolutionOrientations orientations;
  if (options.orientation)
    orientations = OrientSolutions(run->store, lattices, options.referenceCell, run->parameters, run->directions);
  std::vector<std::string> latticeLines = FirstSolutionLatticeLines(lattices);
  if (options.orientation) latticeLines = WithOrientationLines(std::move(latticeLines), orientations);
  WriteResultsFile(fileName, run->parameters, run->directions, run->store, console, latticeLines,
                   HeaderNotes{options.chooseLattice});
  if (options.json && options.orientation)
    WriteJsonResultsWithOrientation(fileName, run->parameters, run->directions, run->store, lattices,
                                    HeaderNotes{options.chooseLattice}, orientations, options.referenceCell);
  else if (options.json)
    WriteJsonResults(fileName, run->parameters, run->directions, run->store, lattices,
                     HeaderNotes{options.chooseLattice});
  if (options.orientation) WriteSpotTable(fileName, run->parameters, run->directions, run->store, orientations);
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
  RunSummary summary = SummarizeRun(run->parameters, run->directions, run->store, lattices);
  if (options.orientation) AddOrientationToSummary(orientations, summary);
  return summary;
}

}  // namespace orv
