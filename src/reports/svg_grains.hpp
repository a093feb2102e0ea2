// The picture of a pattern of several grains: each grain's spots and zones in its own colour.
#pragma once

#include <string>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "solutions/grain_set.hpp"

namespace orv {

// The SVG document, line by line: the projection of the single-grain picture, every spot in the
// colour of the first grain that indexes it (a shared spot with a ring in the second grain's
// colour, a spot of no grain as a grey cross), up to three main zones of every grain in its colour,
// and a legend with each grain's lattice, conventional cell, spots and phase.
std::vector<std::string> GrainPictureLines(const std::string& inputFileName, const RunParameters& parameters,
                                           const DirectionStore& directions, const GrainSet& grains);

// Writes the picture to PictureFileName; throws OutputFileError when it cannot be written.
void WriteGrainPicture(const std::string& inputFileName, const RunParameters& parameters,
                       const DirectionStore& directions, const GrainSet& grains);

}  // namespace orv
