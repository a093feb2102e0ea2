// What an indexing run found: the ranked solutions, each with its cells, lattice and spot indices.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "orvanthel/options.hpp"
#include "orvanthel/pattern.hpp"

namespace orvanthel {

// Rows are basis vectors: a direct basis has a, b, c as rows, a reciprocal basis a*, b*, c*, in
// the frame of the pattern's directions.
using Matrix3 = std::array<Vector3, 3>;
using IntMatrix3 = std::array<std::array<int, 3>, 3>;
using Indices = std::array<int, 3>;

// Edges in the unit of length fixed by the volume, angles alpha = (b, c), beta = (c, a),
// gamma = (a, b) in degrees.
struct Cell {
  double a = 0, b = 0, c = 0;
  double alpha = 0, beta = 0, gamma = 0;
  double volume = 0;
};

enum class SpotClass {
  WithinHalfTolerance,  // indexed within half the angular tolerance
  WithinTolerance,      // indexed within the tolerance, but not within half of it
  NotIndexed,
};

// One spot under one solution, as the results file shows it.
struct SpotIndexing {
  Indices hkl{};                 // on the solution's (reduced primitive) basis; meaningful when indexed
  double deviationDegrees = 0;   // angle between the spot and its lattice row
  SpotClass spotClass = SpotClass::NotIndexed;
};

struct Solution {
  int rank = 0;                    // 1 is the best
  Matrix3 directBasis{};           // the reduced primitive basis, scaled to the volume
  Matrix3 reciprocalBasis{};       // its dual
  Cell primitiveCell;
  double quality = 0;              // the quality figure relative to its largest value (1: every spot)
  int withinTolerance = 0;         // spots indexed within the tolerance
  int withinHalfTolerance = 0;     // ... within half of it
  // The lattice: Bravais type ("aP" ... "cF"; empty when it could not be analysed), the
  // conventional cell averaged over the symmetry found, the conventional basis as measured and the
  // integer matrix that makes it from the direct basis.
  std::string bravaisType;
  Cell conventionalCell;
  Matrix3 conventionalBasis{};
  IntMatrix3 toConventional{};
  std::vector<SpotIndexing> spots;  // one per spot of the pattern, in its order
};

struct IndexingResult {
  IndexingOptions options;        // as used
  int numberOfSpots = 0;
  std::vector<Solution> solutions;  // best first; empty when nothing was found
};

}  // namespace orvanthel
