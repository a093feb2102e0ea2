// The choices a user makes on the command line before the input file name.
#pragma once

namespace orv {

struct RunOptions {
  // Threads that score candidates; 0 takes every core of the machine, 1 is the single-threaded search.
  int threads = 0;
  // Also write the results as JSON, "<stem>_kqt.json" beside the results file.
  bool json = false;
};

}  // namespace orv
