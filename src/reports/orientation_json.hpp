// The orientation fields of the JSON results, added to the document the JSON results write.
#pragma once

#include <optional>
#include <string>

#include "reports/parameter_header.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/solution_orientations.hpp"

namespace orv {

// The JSON results text with, per solution, an "orientation" object (crystal frame, conventional
// cell and basis, B, U, UB, Bunge Euler angles) and, per reflection, its "conventionalHkl" and
// "conventionalForm"; solution 1 also gets the "strain" when there is one. Every field the text
// had keeps its place and value.
std::string JsonWithOrientation(const std::string& jsonResultsText, const SolutionOrientations& orientations,
                                const std::optional<ReferenceCell>& reference);

// Writes the JSON results with the orientation fields to JsonResultsFileName through TextFile.
void WriteJsonResultsWithOrientation(const std::string& inputFileName, const RunParameters& parameters,
                                     const DirectionStore& directions, const SolutionStore& store,
                                     const SolutionLattices& lattices, const HeaderNotes& notes,
                                     const SolutionOrientations& orientations,
                                     const std::optional<ReferenceCell>& reference);

}  // namespace orv
