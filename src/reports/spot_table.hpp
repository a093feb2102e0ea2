// The spot table of solution 1: "<stem>_kqt_spots.csv", one CSV row per reflection for other tools.
#pragma once

#include <string>

#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/solution_orientations.hpp"

namespace orv {

// The input name without blanks around it and without its ".kqt", followed by "_kqt_spots.csv".
std::string SpotTableFileName(const std::string& inputFileName);

// The header and one row per reflection in input order: spot number; the direction x, y, z;
// 2theta and chi of that direction in the frame of peak lists (x along the beam, z towards the
// detector; the importer's frame); solution 1's indices on its direct basis (h_p k_p l_p), the
// conventional indices (h k l, the shortest reciprocal-lattice vector along the row) and their
// symmetry-equivalent form (form_h form_k form_l); the angular residual in degrees; the class
// (H within half the tolerance, h within the tolerance, - not indexed). Without an oriented
// solution 1 the conventional columns are empty.
std::string SpotTableText(const RunParameters& parameters, const DirectionStore& directions, const SolutionStore& store,
                          const SolutionOrientations& orientations);

// Writes SpotTableText to SpotTableFileName through TextFile; nothing when there is no solution.
void WriteSpotTable(const std::string& inputFileName, const RunParameters& parameters, const DirectionStore& directions,
                    const SolutionStore& store, const SolutionOrientations& orientations);

}  // namespace orv
