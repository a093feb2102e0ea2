// One import: read the peak list, choose the reflections, write the input file.
#pragma once

#include <ostream>

#include "import/import_options.hpp"

namespace orv::imp {

// Writes the input file and a summary line to `out` (and to `err` a warning when the angles look
// like radians). A fault throws ImportError (for a malformed line: the peak list's name, the line and
// the reason) and a file that cannot be written OutputFileError; nothing is written then.
void RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace orv::imp
