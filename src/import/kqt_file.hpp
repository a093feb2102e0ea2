// The input file written from the selected peaks: comments, the reflections, the run keywords.
#pragma once

#include <string>
#include <vector>

#include "import/peak_list.hpp"
#include "import/run_keywords.hpp"

namespace orv::imp {

// The lines of the file: each comment prefixed by "# ", _NumberOfReflections, _Reflections (one
// unit vector a line), then the keywords asked for in the order the indexer lists them, each value
// on the line after its keyword, reals written so that they read back exactly. WriteKqtLines
// (text/kqt_layout.hpp) writes them.
std::vector<std::string> KqtLines(const std::vector<std::string>& comments, const std::vector<Peak>& reflections,
                                  const RunKeywords& keywords);

}  // namespace orv::imp
