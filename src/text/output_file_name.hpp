// The names of the files a run writes beside its input file.
#pragma once

#include <string>

namespace orv {

// The input name without blanks around it and without its ".kqt", followed by the suffix.
std::string OutputFileName(const std::string& inputFileName, const std::string& suffix);

}  // namespace orv
