// The input file written from the selected peaks: comments, the reflections, the run keywords.
#pragma once

#include <string>
#include <vector>

#include "import/peak_list.hpp"
#include "import/run_keywords.hpp"

namespace orv::imp {

// Decimals of every written direction component.
constexpr int kDirectionDecimals = 10;

// The lines of the file: each comment prefixed by "# ", _NumberOfReflections, _Reflections (one
// unit vector a line), then the keywords asked for in the order the indexer lists them, each value
// on the line after its keyword, reals written so that they read back exactly.
std::vector<std::string> KqtLines(const std::vector<std::string>& comments, const std::vector<Peak>& reflections,
                                  const RunKeywords& keywords);

// Writes the lines through the programs' one output file writer, so that an existing file is
// replaced whole or not at all and a failed write leaves no partial input file behind.
// Throws OutputFileError naming the target.
void WriteWholeFile(const std::string& fileName, const std::vector<std::string>& lines);

}  // namespace orv::imp
