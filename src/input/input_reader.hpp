// The reader of ".kqt" input files: keyword entries, values, checks and the parameter echo.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "run_data/run_parameters.hpp"

namespace orv {

class FreeFormatReader;

// Reads the named input file into the parameters and the direction store, echoing every value on
// the console. Any error throws an InputError with the console lines that say why.
void ReadInputFile(const std::string& fileName, RunParameters& parameters, DirectionStore& directions,
                   std::ostream& console);

// Handles the keyword entry whose keyword line is `keywordLine`: reads the keyword again, then its
// values from the lines after it, checks, stores and echoes them. Returns false when the keyword
// cannot be read or is not known, or a value cannot be read; a value out of range throws InputError.
bool ReadKeywordEntry(FreeFormatReader& reader, std::size_t keywordLine, RunParameters& parameters,
                      DirectionStore& directions, std::ostream& console);

}  // namespace orv
