// Many patterns at once: the pool of worker processes, resumption, the progress line, the summary.
#include "driver/forked_worker.hpp"
#include "driver/batch_run.hpp"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "driver/batch_merge.hpp"
#include "driver/batch_progress.hpp"
#include "driver/batch_summary.hpp"
#include "driver/batch_worker.hpp"
#include "driver/map_run.hpp"
#include "driver/whole_results_file.hpp"
#include "reports/results_file.hpp"
#include "reports/json_results.hpp"
#include "reports/spot_table.hpp"
#include "text/printable_text.hpp"
#include "reports/svg_pattern.hpp"

namespace orv {

namespace fs = std::filesystem;

namespace {

// A progress line for a log file (not a terminal) at most this often.
constexpr double kLogProgressEverySeconds = 10.0;

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool NotOlderThan(const std::string& output, const std::string& input) {
  std::error_code error;
  const auto made = fs::last_write_time(output, error);
  if (error) return false;
  const auto read = fs::last_write_time(input, error);
  return !error && made >= read;
}

// The progress line: rewritten in place on a terminal, a line now and then in a log.
class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& console) : console_(console), terminal_(::isatty(STDOUT_FILENO) == 1) {}

  void Show(const BatchCounts& counts, double elapsed, bool last) {
    const std::string text = ProgressText(counts, elapsed);
    if (terminal_) {
      console_ << '\r' << text << std::string(width_ > text.size() ? width_ - text.size() : 0, ' ');
      width_ = text.size();
      if (last) console_ << '\n';
      console_ << std::flush;
    } else if (last || elapsed - lastShown_ >= kLogProgressEverySeconds) {
      console_ << text << '\n' << std::flush;
      lastShown_ = elapsed;
    }
  }

  // A line of its own, above the progress line.
  void Note(const std::string& text) {
    if (terminal_ && width_ > 0) console_ << '\r' << std::string(width_, ' ') << '\r';
    width_ = 0;
    console_ << text << '\n' << std::flush;
  }

 private:
  std::ostream& console_;
  bool terminal_;
  std::size_t width_ = 0;
  double lastShown_ = 0.0;
};

// A summary holding patterns that this list does not name was left by a batch of another list; it
// would lose their rows when this batch writes its summary, so the batch does not start without
// --force (which starts the summary afresh).
void RefuseSummaryOfAnotherList(const std::string& summaryName, const std::map<std::string, SummaryRow>& previous,
                                const std::vector<std::string>& files) {
  if (previous.empty()) return;
  const std::set<std::string> listed(files.begin(), files.end());
  std::size_t others = 0;
  const std::string* first = nullptr;
  for (const auto& [file, row] : previous) {
    if (listed.count(file) != 0) continue;
    if (others++ == 0) first = &file;
  }
  if (others == 0) return;
  throw BatchError(summaryName + " holds " + std::to_string(others) + (others == 1 ? " pattern" : " patterns") +
                   " that this list does not name (" + PrintableText(*first) +
                   (others == 1 ? "" : ", ...") +
                   "): it was left by a batch of another list. Run this list in another folder, or give --force "
                   "to start the summary afresh.");
}

}  // namespace

bool PatternIsComplete(const std::string& file, const std::optional<SummaryRow>& row, const RunOptions& run) {
  if (!row || !row->Complete()) return false;
  if (!NotOlderThan(ResultsFileName(file), file) || !ResultsFileIsWhole(ResultsFileName(file))) return false;
  if (run.svg && !NotOlderThan(PictureFileName(file), file)) return false;
  // The spot table is written for a pattern with a solution.
  if (run.orientation && row->status == "indexed" && !NotOlderThan(SpotTableFileName(file), file)) return false;
  return !run.json || NotOlderThan(JsonResultsFileName(file), file);
}

int RunBatch(const BatchOptions& options, std::ostream& console) {
  if (options.MapMode()) return RunMap(options, console);
  try {
    const PatternList list = ReadPatternList(options.list);
    for (const std::string& file : list.duplicates)
      console << " Listed before, run once: " << PrintableText(file) << '\n';
    if (options.merge) return MergeShardSummaries(list.files, console);

    const Shard shard = options.shard ? *options.shard
                                      : ShardFromSlurm([](const char* name) -> const char* { return std::getenv(name); })
                                            .value_or(Shard{0, 1});
    const std::vector<std::size_t> positions = PositionsOfShard(list.files.size(), shard);
    const std::string summaryName = SummaryFileName(shard);
    bool foreign = false;
    // A summary of another layout (with or without the orientation or the grain columns) is replaced.
    const bool grains = options.run.grains > 1 || !options.run.phasesFile.empty();
    const std::string& header = SummaryHeaderOf(options.run.orientation, grains);
    const auto previous =
        options.force ? std::map<std::string, SummaryRow>{} : ReadSummaryRows(summaryName, foreign, header);
    if (foreign) console << " " << summaryName << " has another header than a batch summary of this program; it is replaced.\n";
    RefuseSummaryOfAnotherList(summaryName, previous, list.files);

    // Rows by list position; complete ones are kept from the earlier batch.
    std::vector<std::optional<SummaryRow>> rows(list.files.size());
    std::vector<std::size_t> todo;
    BatchCounts counts;
    counts.total = positions.size();
    for (std::size_t position : positions) {
      const std::string& file = list.files[position];
      const auto found = previous.find(file);
      std::optional<SummaryRow> earlier;
      if (found != previous.end()) earlier = found->second;
      if (PatternIsComplete(file, earlier, options.run)) {
        rows[position] = earlier;
        ++counts.skipped;
      } else {
        todo.push_back(position);
      }
    }

    SummaryJournal journal(summaryName, options.force || foreign, header);
    const int workers = std::max(1, std::min(options.workers > 0 ? options.workers : UsableCores(),
                                             static_cast<int>(std::max<std::size_t>(todo.size(), 1))));
    std::string scope = std::to_string(positions.size()) + (positions.size() == 1 ? " pattern" : " patterns");
    if (shard.count > 1) {
      scope += " (shard " + std::to_string(shard.index) + "/" + std::to_string(shard.count) + ", counted from 0, of " +
               std::to_string(list.files.size()) + " listed)";
    }
    console << " Batch of " << scope << ", " << counts.skipped << " complete before, " << workers
            << (workers == 1 ? " worker" : " workers") << '\n'
            << std::flush;

    ProgressLine progress(console);
    const double start = SteadySeconds();
    std::vector<RunningPattern> running;
    std::size_t next = 0;
    while (next < todo.size() || !running.empty()) {
      while (next < todo.size() && static_cast<int>(running.size()) < workers) {
        const std::size_t position = todo[next++];
        running.push_back(StartPattern(PatternJob{list.files[position], options.run}, position, SteadySeconds()));
      }
      auto [position, row] = FinishOnePattern(running, list.files, SteadySeconds());
      journal.Append(row);
      ++counts.done;
      if (!row.Complete()) {
        ++counts.failed;
        progress.Note(PrintableText(" Failed : " + row.file + " : " + row.message));
      }
      rows[position] = std::move(row);
      progress.Show(counts, SteadySeconds() - start, false);
    }
    progress.Show(counts, SteadySeconds() - start, true);

    std::vector<SummaryRow> ordered;
    for (std::size_t position : positions) ordered.push_back(*rows[position]);
    WriteSummary(summaryName, ordered);
    console << " Summary saved in file : " << summaryName << '\n' << std::flush;
    return counts.failed > 0 ? 1 : 0;
  } catch (const BatchError& error) {
    console << " Error: " << PrintableText(error.what()) << '\n' << std::flush;
    return 2;
  }
}

}  // namespace orv
