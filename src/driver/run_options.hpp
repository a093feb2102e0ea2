// The choices a user makes on the command line before the input file name.
#pragma once

#include <optional>
#include <string>

#include "solutions/deviatoric_strain.hpp"

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
  // The search as it reads, one thread, no shortcut: the reference the tests compare the fast search
  // with. Not a command-line option.
  bool literalSearch = false;
  // Report the orientation: the console's "Orientation" line, the orientation fields of the JSON
  // results and the spot table "<stem>_kqt_spots.csv". Off keeps every output as without it.
  bool orientation = false;
  // Measure the deviatoric strain of solution 1 against this conventional cell (turns on
  // `orientation` as well).
  std::optional<ReferenceCell> referenceCell;
};

}  // namespace orv
