// From the library's pattern and options to the parameters and direction store of a run.
#pragma once

#include <string>

#include "orvanthel/options.hpp"
#include "orvanthel/pattern.hpp"
#include "indexing/pattern_indexing.hpp"
#include "run_data/run_parameters.hpp"
#include "solutions/deviatoric_strain.hpp"

namespace orv {

struct InputError;

// The text of an input error on one line: its console lines without the blank ones and without
// their leading blank.
std::string MessageOfInputError(const InputError& error);

// The parameters of a run with these options and as many reflections as the pattern has, checked
// against the ranges of the input file in its keyword order. Throws orvanthel::Error(InvalidOptions)
// or, for the number of spots, Error(InvalidPattern), with the input file's message.
RunParameters ParametersOfOptions(const orvanthel::IndexingOptions& options, int numberOfSpots);

// The directions of the pattern in the store, each normalised as the reader normalises a
// reflection. Throws Error(InvalidPattern) for a zero or non-finite direction, or optional columns
// whose length is not the number of spots.
void FillDirectionStore(const orvanthel::Pattern& pattern, const RunParameters& parameters,
                        DirectionStore& directions);

// The reference cell of the options, checked as the command line checks it. Throws
// Error(InvalidOptions) when the six numbers describe no cell.
ReferenceCell ReferenceCellOfOptions(const std::array<double, 6>& cell);

// What a library run does beyond its parameters: every solution oriented; the automatic search,
// grains, phases and reference cell as the options ask. Throws Error(InvalidOptions) for grains or
// phases out of range.
IndexingChoices ChoicesOfOptions(const orvanthel::IndexingOptions& options);

// The options that the parameters of a ".kqt" file stand for (chooseLattice off, as the program runs).
orvanthel::IndexingOptions OptionsOfParameters(const RunParameters& parameters);

}  // namespace orv
