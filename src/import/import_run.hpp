// One import: read the peak list, choose the reflections, write the input file.
#pragma once

#include <ostream>

#include "import/import_options.hpp"

namespace orv::imp {

// Writes a summary line to `out` and returns 0, or writes the error to `err` (the peak list's name,
// the line and the reason for a malformed line) and returns 1; nothing is written then.
int RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace orv::imp
