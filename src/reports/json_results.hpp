// The machine-readable results: "<stem>_kqt.json" beside the results file, written on request.
#pragma once

#include <string>

#include "reports/parameter_header.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/grain_set.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

// Version of the layout of the JSON results; raised whenever a field changes its meaning or goes.
constexpr int kJsonResultsFormatVersion = 1;

// The input name without blanks around it and without its ".kqt", followed by "_kqt.json".
std::string JsonResultsFileName(const std::string& inputFileName);

// The whole document, indented by two blanks: the program version, the run parameters, the
// lattice tolerances, and per kept solution (in report order) what the results file shows of it,
// its orientation, Niggli cell, Bravais type, conventional cell, family relations and every
// reflection with its indices, deviation and class; `latticeChoice` tells whether the lattice choice
// among commensurate lattices ordered the solutions. A run that looked for several grains adds
// the "grains" array and "grainSearch" (the shared spots, the grains of every spot) at the end.
std::string JsonResultsText(const std::string& inputFileName, const RunParameters& parameters,
                            const DirectionStore& directions, const SolutionStore& store,
                            const SolutionLattices& lattices, const HeaderNotes& notes = {},
                            const GrainSet* grains = nullptr);

// Writes JsonResultsText to JsonResultsFileName through TextFile.
void WriteJsonResults(const std::string& inputFileName, const RunParameters& parameters,
                      const DirectionStore& directions, const SolutionStore& store, const SolutionLattices& lattices,
                      const HeaderNotes& notes = {}, const GrainSet* grains = nullptr);

}  // namespace orv
