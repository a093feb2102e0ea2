// One pattern of a batch in a process of its own; its row comes back to the batch through a pipe.
#include "driver/batch_worker.hpp"

#include "driver/forked_worker.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <sstream>

#include "driver/run_indexing.hpp"
#include "reports/log_file.hpp"
#include "text/text_file.hpp"
#include "text/trim_blanks.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

// A failure message stays short enough for one row and one write into the pipe.
constexpr std::size_t kLongestMessage = 400;

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool NamesAnInputFile(const std::string& file) {
  const std::string name = TrimBlanks(file);
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".kqt") == 0;
}

std::string Shortened(std::string text) {
  if (text.size() > kLongestMessage) text.resize(kLongestMessage);
  return text;
}

// The console as a single run would have shown it; only for names that have a stem of their own.
void SaveConsole(const std::string& file, const std::string& text) {
  if (!NamesAnInputFile(file)) return;
  TextFile capture;
  capture.Open(ConsoleCaptureName(file));
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) capture.WriteLine(line);
  capture.Close();
}


std::string ReadAll(int descriptor) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

}  // namespace

std::string ConsoleCaptureName(const std::string& file) { return OutputFileName(file, "_kqt.console"); }
std::string BatchLePageName(const std::string& file) { return OutputFileName(file, "_LePage.inp"); }

SummaryRow IndexOnePattern(const PatternJob& job) {
  const double start = SteadySeconds();
  std::ostringstream console;
  RunOptions options = job.run;
  options.threads = 1;
  options.progress = ProgressShown::Always;  // each pattern's console file as a terminal would show it
  options.latticeHint = false;
  options.lePageFile = BatchLePageName(job.file);
  std::string failure;
  try {
    try {
      const RunSummary summary = RunIndexing(job.file, options, console);
      SaveConsole(job.file, console.str());
      return RowOfRun(job.file, summary, SteadySeconds() - start);
    } catch (const InputError& error) {
      for (const std::string& line : error.consoleLines) console << line << '\n';
      // The message and the line that says where and why, when there is one.
      failure.clear();
      int shown = 0;
      for (const std::string& line : error.consoleLines) {
        if (TrimBlanks(line).empty() || shown == 2) continue;
        failure += (shown++ == 0 ? "" : " ") + TrimBlanks(line);
      }
      if (failure.empty()) failure = "input error";
      SaveConsole(job.file, console.str());
    } catch (const OutputFileError& error) {
      failure = "Cannot write " + error.fileName + ".";
      console << " Error: " << failure << '\n';
      SaveConsole(job.file, console.str());
    }
  } catch (const OutputFileError& error) {
    failure += " Cannot write " + error.fileName + ".";
  } catch (const std::exception& error) {
    failure = error.what();
  }
  return FailedRow(job.file, Shortened(TrimBlanks(failure)), SteadySeconds() - start);
}

RunningPattern StartPattern(const PatternJob& job, std::size_t position, double nowSeconds) {
  const ForkedWorker worker = ForkWorker([&job] { return FormatRow(IndexOnePattern(job)) + "\n"; });
  return RunningPattern{worker.pid, worker.output, position, nowSeconds};
}

std::pair<std::size_t, SummaryRow> FinishOnePattern(std::vector<RunningPattern>& running,
                                                    const std::vector<std::string>& files, double nowSeconds) {
  for (;;) {
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      throw BatchError("Lost track of the workers: " + std::string(std::strerror(errno)) + ".");
    }
    const auto it = std::find_if(running.begin(), running.end(), [&](const RunningPattern& r) { return r.pid == pid; });
    if (it == running.end()) continue;  // not one of ours
    const RunningPattern done = *it;
    running.erase(it);
    const std::string text = ReadAll(done.rowPipe);
    ::close(done.rowPipe);
    const std::string& file = files[done.position];
    std::optional<SummaryRow> row;
    if (!text.empty() && text.back() == '\n') row = ParseRow(text.substr(0, text.size() - 1));
    if (row && row->file == file) return {done.position, *row};
    std::string how = "The run ended without a result";
    if (WIFSIGNALED(status)) {
      how += " (signal " + std::to_string(WTERMSIG(status)) + ")";
    } else if (WIFEXITED(status)) {
      how += " (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    }
    return {done.position, FailedRow(file, how + ".", nowSeconds - done.startSeconds)};
  }
}

}  // namespace orv
