// The choices a user makes on the command line before the input file name.
#pragma once

#include <string>

namespace orv {

struct RunOptions {
  // Threads that score candidates; 0 takes every core of the machine, 1 is the single-threaded search.
  int threads = 0;
  // Choose the true lattice among commensurate ones and report refined cells; off keeps every
  // output exactly as without the option.
  bool chooseLattice = false;
  // Also write the results as JSON, "<stem>_kqt.json" beside the results file.
  bool json = false;
  // Also write the picture of the pattern, "<stem>_kqt.svg".
  bool svg = false;
  // Where _SaveLePage writes its cells. A batch names one per pattern, so that patterns indexed
  // side by side never write the same file.
  std::string lePageFile = "LePage.inp";
  // Start with the cheap search and go deeper (types 5 and 8, zone-axis cells, a larger index bound)
  // only while no solution indexes 90 % of the reflections; off searches as the file says.
  bool automaticSearch = false;
  // The search as it reads, one thread, no shortcut: the reference the tests compare the fast search
  // with. Not a command-line option.
  bool literalSearch = false;
};

}  // namespace orv
