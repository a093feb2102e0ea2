// The choices a user makes on the command line before the input file name.
#pragma once

#include <optional>
#include <string>

#include "solutions/deviatoric_strain.hpp"

namespace orv {

enum class ProgressShown { WhenTerminal, Always };

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
  // Grains looked for in the pattern; 1 is the single crystal of every other run.
  int grains = 1;
  // Spots a grain after the first must index among those left to it; 0 takes the default, 8 or a
  // tenth of the spots when that is more.
  int minGrainSpots = 0;
  // A file of candidate phases that the grains are compared with; empty: none.
  std::string phasesFile;
  // Report the orientation: the console's "Orientation" line, the orientation fields of the JSON
  // results and the spot table "<stem>_kqt_spots.csv". Off keeps every output as without it.
  bool orientation = false;
  // Measure the deviatoric strain of solution 1 against this conventional cell (turns on
  // `orientation` as well).
  std::optional<ReferenceCell> referenceCell;
  // When the progress line (records that overwrite one console line) is shown: by default only
  // when the standard output is a terminal, since in a file it becomes one long line of carriage
  // returns; always with --progress, and in the console file of each pattern of a batch.
  ProgressShown progress = ProgressShown::WhenTerminal;
  // Without chooseLattice, work out what the choice would put first and name it on the console when
  // it is another lattice. A batch leaves it out: it would cost each pattern about as much again as
  // its search, for a note in a console file.
  bool latticeHint = true;
};

}  // namespace orv
