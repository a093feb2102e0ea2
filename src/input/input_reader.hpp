// The reader of ".kqt" input files: keyword entries, values, checks and the parameter echo.
#pragma once

#include <ostream>
#include <string>

#include "run_data/run_parameters.hpp"

namespace orv {

class FreeFormatReader;

// A direction written with a clearly wrong length (more than 1e-6 from 1) is brought to unit
// length, as the reader does with every reflection; zero and non-finite entries stay as they are.
void NormaliseEntry(Vec3& entry);

// Reads the named input file into the parameters and the direction store, echoing every value on
// the console, and checks that every reflection the search will use was given. Any error throws an
// InputError with the console lines that say why.
void ReadInputFile(const std::string& fileName, RunParameters& parameters, DirectionStore& directions,
                   std::ostream& console);

// What a walk over the keyword entries saw besides the values it stored.
struct EntriesRead {
  int reflectionRowsGiven = 0;  // the highest row of the direction store that a `_Reflections` read
};

// Walks the keyword entries of an input text to its end: reads, checks, stores and echoes every
// value. `name` is the file name the messages show. Any error throws an InputError.
EntriesRead ReadKeywordEntries(FreeFormatReader& reader, const std::string& name, RunParameters& parameters,
                               DirectionStore& directions, std::ostream& console);

// The check after the last entry: there is a `_NumberOfReflections`, and each of its reflections
// was given as a finite direction that is not zero. Throws an InputError that names the first
// reflection at fault.
void CheckReflectionsGiven(const RunParameters& parameters, const DirectionStore& directions,
                           const EntriesRead& entries);

}  // namespace orv
