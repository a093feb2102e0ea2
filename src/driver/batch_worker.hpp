// One pattern of a batch in a process of its own, so that whatever happens to it (an input error,
// a write error, a crash) ends as one failed row and the batch goes on.
#pragma once

#include <sys/types.h>

#include <string>

#include "driver/batch_summary.hpp"
#include "driver/run_options.hpp"

namespace orv {

struct PatternJob {
  std::string file;
  RunOptions run;  // the outputs asked for beside the results
};

// The console of a pattern goes to "<stem>_kqt.console"; its Le Page cells, when the file asks for
// them, to "<stem>_LePage.inp".
std::string ConsoleCaptureName(const std::string& file);
std::string BatchLePageName(const std::string& file);

// Indexes one pattern single-threaded in this process and returns its row: the run's outputs as a
// single run writes them, the console into ConsoleCaptureName.
SummaryRow IndexOnePattern(const PatternJob& job);

// A pattern running in a child process.
struct RunningPattern {
  pid_t pid = -1;
  int rowPipe = -1;  // the child's row arrives here
  std::size_t position = 0;
  double startSeconds = 0.0;
};

// Forks a child that runs IndexOnePattern and sends its row back. Throws BatchError when no
// process can be started.
RunningPattern StartPattern(const PatternJob& job, std::size_t position, double nowSeconds);

// Waits for any started child to end and returns its position and row; a child that ended
// without a row (killed, crashed) gives a failed row that says how it ended. `running` loses the
// finished one.
std::pair<std::size_t, SummaryRow> FinishOnePattern(std::vector<RunningPattern>& running,
                                                    const std::vector<std::string>& files, double nowSeconds);

}  // namespace orv
