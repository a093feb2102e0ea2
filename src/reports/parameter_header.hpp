// The date line and parameter block that open the results file and the log file.
#pragma once

#include <string>

#include "run_data/clock.hpp"
#include "run_data/run_parameters.hpp"

namespace orv {

class TextFile;

// The log copy is written before the search and so has no "Number of solutions:" line.
enum class HeaderTarget { ResultsFile, LogFile };

// What a run did beyond its input parameters; each note adds a line only when it is set.
struct HeaderNotes {
  bool latticeChosen = false;  // the lattice choice among commensurate lattices was on
  // The automatic search step whose solutions are reported ("step 3 of 5: type 5 and zone-axis
  // cells"); empty when the run searched as its file says.
  std::string automaticSearch;
};

void WriteParameterHeader(TextFile& out, HeaderTarget target, const RunParameters& parameters,
                          int numberOfSolutions, const LocalDateTime& now, const HeaderNotes& notes = {});

}  // namespace orv
