// The log file: its name, its title block and header, written when CreateLogFile is 1.
#pragma once

#include <string>

#include "run_data/run_parameters.hpp"
#include "text/output_file_name.hpp"

namespace orv {

class TextFile;

// Creates "<stem>_kqt.log" and writes the title block and the parameter header.
void OpenLogFile(TextFile& log, const std::string& inputFileName, const RunParameters& parameters);

}  // namespace orv
