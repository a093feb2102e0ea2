// The reader of ".kqt" input files: keyword entries, values, checks and the parameter echo.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

#include "driver/run_parameters.hpp"

namespace orv {

class FreeFormatReader;

// Reads the named input file into the parameters and the direction store, echoing every value on
// the console. Any error ends the run through PauseAndStop (an exception of type ProgramStop),
// whose pause reads from `in`.
void ReadInputFile(const std::string& fileName, RunParameters& parameters, DirectionStore& directions,
                   std::ostream& console, std::istream& in);

// The same with a pause that does not wait (for callers without a console to read from).
void ReadInputFile(const std::string& fileName, RunParameters& parameters, DirectionStore& directions,
                   std::ostream& console);

// Handles the keyword entry whose keyword line is `keywordLine`: reads the keyword again, then its
// values from the lines after it, checks, stores and echoes them. Returns false when the keyword
// cannot be read or is not known, or a value cannot be read; a value out of range ends the run.
bool ReadKeywordEntry(FreeFormatReader& reader, std::size_t keywordLine, RunParameters& parameters,
                      DirectionStore& directions, std::ostream& console, std::istream& in);

}  // namespace orv
