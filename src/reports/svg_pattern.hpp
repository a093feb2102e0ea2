// The picture of an indexed pattern: spots in a gnomonic projection, marked by their class under
// solution 1, with the h k l of the strongest spots and the main zones of solution 1, under a title
// with solution 1's lattice, cell and counts.
#pragma once

#include <string>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

// "<stem>_kqt.svg" beside the results file.
std::string PictureFileName(const std::string& inputFileName);

// The SVG document, line by line; it holds nothing that changes from run to run (no date).
std::vector<std::string> PatternPictureLines(const std::string& inputFileName, const RunParameters& parameters,
                                             const DirectionStore& directions, const SolutionStore& store,
                                             const SolutionLattices& lattices);

// Writes the picture to PictureFileName; throws OutputFileError when it cannot be written.
void WritePatternPicture(const std::string& inputFileName, const RunParameters& parameters,
                         const DirectionStore& directions, const SolutionStore& store, const SolutionLattices& lattices);

}  // namespace orv
