// Indexing a pattern, and reading the patterns of ".kqt" files.
#pragma once

#include <string>
#include <vector>

#include "orvanthel/observer.hpp"
#include "orvanthel/options.hpp"
#include "orvanthel/pattern.hpp"
#include "orvanthel/result.hpp"

namespace orvanthel {

// Searches the pattern for reciprocal-lattice bases under which most spots get small integer
// indices, refines and ranks them, and scales them to the volume. Prints nothing, writes no file,
// never pauses or exits. The solutions, their order and every number are those that the program
// writes for the same spots and options. Throws Error.
IndexingResult Index(const Pattern& pattern, const IndexingOptions& options = {},
                     IndexingObserver* observer = nullptr);

// A ".kqt" input file: its spots and the options its keywords set (`chooseLattice` as the program
// runs it, off). Throws Error(ReadFailed) with the program's message for a file it refuses.
struct KqtInput {
  Pattern pattern;
  IndexingOptions options;
};
KqtInput ReadKqtFile(const std::string& path);

// A peak list as orvanthel-import reads it: the .cor layout, a table whose header names its columns
// (2theta, chi, I, qx, qy, qz), or two columns of 2theta and chi; `columns` names them instead of a
// header. Peaks strongest first when the list has intensities, else in file order; at most `top`
// (0: all). Directions in the frame of peak lists, with 2theta, chi and intensities filled in.
// Throws Error(ReadFailed) naming the line at fault.
Pattern ReadPeakList(const std::string& path, const std::vector<std::string>& columns = {}, int top = 0);

// The version of the library, as `orvanthel --version` prints it.
const char* Version();

}  // namespace orvanthel
