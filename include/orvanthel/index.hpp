// Indexing a pattern, and reading the patterns of ".kqt" files.
#pragma once

#include <string>

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

// The version of the library, as `orvanthel --version` prints it.
const char* Version();

}  // namespace orvanthel
