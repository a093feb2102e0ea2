// The road of a run: defaults, input, tables, log, search, post-processing, reports, timings.
#include "driver/run_indexing.hpp"

#include <unistd.h>

#include <exception>
#include <memory>
#include <optional>

#include "driver/automatic_search_console.hpp"
#include "driver/first_run_notes.hpp"
#include "driver/grain_summary.hpp"
#include "driver/no_solution_advice.hpp"
#include "driver/orientation_summary.hpp"
#include "driver/progress_display.hpp"
#include "driver/run_timing.hpp"
#include "indexing/pattern_indexing.hpp"
#include "input/input_reader.hpp"
#include "input/phase_file.hpp"
#include "reports/grain_lines.hpp"
#include "reports/json_results.hpp"
#include "reports/lattice_summary.hpp"
#include "reports/lepage_file.hpp"
#include "text/line_format.hpp"
#include "reports/log_events.hpp"
#include "reports/log_file.hpp"
#include "reports/orientation_json.hpp"
#include "reports/orientation_lines.hpp"
#include "reports/results_file.hpp"
#include "reports/spot_table.hpp"
#include "reports/svg_grains.hpp"
#include "reports/svg_pattern.hpp"
#include "text/text_file.hpp"
#include "run_data/clock.hpp"
#include "run_data/observer_fan_out.hpp"
#include "run_data/run_errors.hpp"
#include "run_data/run_parameters.hpp"
#include "search/commensurate_transforms.hpp"
#include "search/sublattice_tables.hpp"
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

// The console notes after the results: the volume the cells were scaled to, and, without the
// lattice choice, the lattice that the choice would put first when it is another one. A run of
// several grains has taken the choice already (and analysing every solution again would cost more
// than a whole single-crystal run), so it gets no such hint.
void WriteFirstRunNotes(const RunState& run, const SolutionLattices& lattices, const RunOptions& options,
                        std::ostream& console) {
  std::vector<std::string> lines;
  if (!options.chooseLattice && options.grains <= 1 && options.latticeHint) {
    const RunSummary shown = SummarizeRun(run.parameters, run.directions, run.store, lattices);
    lines = LatticeHintLines(run.parameters, run.directions, run.store, shown, CommensurateTransforms(run.tables));
  }
  for (const std::string& line : VolumeNoteLines(run.parameters)) lines.push_back(line);
  for (const std::string& line : lines) console << line << '\n';
  if (!lines.empty()) console << FreeLine("") << '\n';
}

}  // namespace

RunSummary RunIndexing(const std::string& fileName, const RunOptions& options, std::ostream& console) {
  return RunIndexing(fileName, options, console, SearchStrategy::Fast);
}

RunSummary RunIndexing(const std::string& fileName, const RunOptions& options, std::ostream& console,
                       SearchStrategy strategy) {
  const double startCpu = ProcessCpuSeconds();
  const double startClock = SecondsSinceMidnight();

  IndexingChoices choices;
  choices.search = SearchOptions{options.threads, strategy == SearchStrategy::Literal};
  choices.chooseLattice = options.chooseLattice;
  choices.automaticSearch = options.automaticSearch;
  choices.grains.grainsAsked = options.grains;
  choices.grains.minimumGrainSpots = options.minGrainSpots;
  // Read before the input, so that a phases file that cannot be used ends the run at once.
  if (!options.phasesFile.empty()) choices.grains.phases = ReadPhaseFile(options.phasesFile);
  choices.grains.strain = options.orientation;
  choices.orient = options.orientation;
  choices.reference = options.referenceCell;

  auto run = std::make_unique<RunState>();
  SetDefaultParameters(run->parameters, run->directions);
  ReadInputFile(fileName, run->parameters, run->directions, console);
  BuildSublatticeTables(run->tables);
  if (run->parameters.CreateLogFile > 0) OpenLogFile(run->log, fileName, run->parameters);

  ConsoleProgress progress(console);
  LogEventWriter logLines(run->log);
  ObserverFanOut events;
  const bool showProgress = options.progress == ProgressShown::Always || ::isatty(STDOUT_FILENO) == 1;
  if (showProgress) events.Add(progress);
  events.Add(logLines);
  // The later rounds of several grains show their progress as the first does.
  ConsoleProgress roundProgress(console);
  ObserverFanOut roundEvents;
  if (showProgress) roundEvents.Add(roundProgress);
  // The JSON results and the orientations report every solution's lattice; the other reports read
  // solution 1's alone.
  choices.analysedSolutions = options.json || options.orientation ? MaxStoredSolutions : 1;

  // A reference cell that does not match ends the run here, before it writes anything.
  int step = 0;
  const int n = run->parameters.NumberOfReflections;
  const IndexingOutcome outcome =
      IndexPattern(run->parameters, run->directions, run->tables, run->store, choices, events, roundEvents,
                   [&](const StepOutcome& done) { WriteStepLine(console, ++step, done, n); });
  const SolutionLattices& lattices = outcome.lattices;
  const SolutionOrientations& orientations = outcome.orientations;
  const std::optional<GrainSet>& grains = outcome.grains;
  HeaderNotes notes;
  notes.latticeChosen = choices.ChoosesLattice();
  if (options.automaticSearch && options.grains <= 1) {
    WriteUsedStepLine(console, outcome.automatic);
    notes.automaticSearch = UsedStepNote(outcome.automatic);
  }
  std::vector<std::string> latticeLines = FirstSolutionLatticeLines(lattices);
  if (options.orientation) latticeLines = WithOrientationLines(std::move(latticeLines), orientations);
  WriteResultsFile(fileName, run->parameters, run->directions, run->store, console, latticeLines, notes);
  // A run that kept nothing names the search most likely to help, from the zones of the pattern.
  if (run->store.NumberOfSolutions == 0)
    console << NoSolutionAdvice(run->parameters, run->directions, options.automaticSearch && options.grains <= 1)
            << '\n';
  if (grains)
    for (const std::string& line : GrainConsoleLines(*grains)) console << line << '\n';
  WriteFirstRunNotes(*run, lattices, options, console);
  // A report that cannot be written ends the run with its error, but only once the log, which
  // holds the whole search, is finished and in place: one failed file does not cost another.
  std::exception_ptr failedReport;
  try {
    if (options.json && (options.orientation || grains)) {
      std::string text = JsonResultsText(fileName, run->parameters, run->directions, run->store, lattices, notes,
                                         grains ? &*grains : nullptr);
      if (options.orientation) text = JsonWithOrientation(text, orientations, options.referenceCell);
      TextFile file;
      file.Open(JsonResultsFileName(fileName));
      file.WriteLine(text);
      file.Close();
    } else if (options.json) {
      WriteJsonResults(fileName, run->parameters, run->directions, run->store, lattices, notes);
    }
    if (options.orientation)
      WriteSpotTable(fileName, run->parameters, run->directions, run->store, orientations,
                     grains ? &grains->grainsOfSpots : nullptr);
    if (run->parameters.SaveLePage > 0) WriteLePageFile(run->store, run->parameters, options.lePageFile);
    if (options.svg) {
      if (grains && grains->grains.size() > 1)
        WriteGrainPicture(fileName, run->parameters, run->directions, *grains);
      else
        WritePatternPicture(fileName, run->parameters, run->directions, run->store, lattices);
    }
  } catch (const OutputFileError&) {
    failedReport = std::current_exception();
  }

  const double wallSeconds = ElapsedWallSeconds(startClock, SecondsSinceMidnight());
  const double cpuSeconds = ProcessCpuSeconds() - startCpu;
  if (!failedReport) {
    console << SystemTimeLine(wallSeconds, 8, 3) << '\n';
    console << CpuTimeLine(cpuSeconds, 8, 3) << '\n' << FreeLine("") << '\n';
  }

  if (run->parameters.CreateLogFile > 0) {
    run->log.WriteLine(FreeLine(""));
    run->log.WriteLine(FreeLine(Repeat('=', 49)));
    run->log.WriteLine(SystemTimeLine(ElapsedWallSeconds(startClock, SecondsSinceMidnight()), 13, 2));
    run->log.WriteLine(CpuTimeLine(cpuSeconds, 13, 2));
    run->log.Close();
  }
  if (failedReport) std::rethrow_exception(failedReport);
  RunSummary summary = SummarizeRun(run->parameters, run->directions, run->store, lattices);
  if (options.orientation) AddOrientationToSummary(orientations, summary);
  if (grains) AddGrainsToSummary(*grains, summary);
  return summary;
}

}  // namespace orv
