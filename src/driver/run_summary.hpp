// What one run found, in brief: solution 1's cell, its counts and its quality, for tables of runs.
#pragma once

#include <array>
#include <string>

#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

struct RunSummary {
  int numberOfReflections = 0;
  int numberOfSolutions = 0;  // 0: nothing below is meaningful
  Vec3 lengths{};             // |a|, |b|, |c| of solution 1, as in the results file
  Vec3 anglesInDegrees{};     // alpha, beta, gamma
  double volume = 0.0;
  std::string bravaisType;    // "aP" ... "cF"; empty when the lattice was not analysed
  Vec3 conventionalLengths{};  // the conventional cell of that type
  Vec3 conventionalAngles{};
  int nh = 0;                 // spots within the tolerance
  int nH = 0;                 // spots within half of it
  double quality = 0.0;       // the results file's quality figure, relative to N
  // With --orientation the batch summary has orientation columns (empty where nothing is known).
  bool orientationColumns = false;
  bool oriented = false;       // solution 1's orientation is known
  Vec3 eulerDegrees{};         // its Bunge Euler angles
  bool strained = false;       // its strain against the reference cell is known
  std::array<double, 7> strain{};  // deviatoric xx yy zz yz xz xy in the frame of the directions, von Mises
};

// The summary of a run whose solutions are ranked as the results file shows them.
RunSummary SummarizeRun(const RunParameters& parameters, const DirectionStore& directions, const SolutionStore& store,
                        const SolutionLattices& lattices);

}  // namespace orv
