// The class of every spot under one solution, by the rule of the results file's reflection table.
#pragma once

#include <vector>

#include "geometry/index_direction.hpp"
#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"

namespace orv {

enum class SpotClass {
  WithinHalfTolerance,  // an "H" row: indexed within half the angular tolerance
  WithinTolerance,      // an "h" row that is not an "H" row
  NotIndexed,           // every other row
};

struct ClassifiedSpot {
  SpotClass spotClass = SpotClass::NotIndexed;
  MillerIndices hkl{};  // the nearest integers of the real indices; meaningful for indexed spots only
  double deviation = 0.0;  // radians between the spot and the lattice row it was indexed on (pi: none)
};

// Spot j of the direction store as element j - 1, classified under the direct basis `basis`.
std::vector<ClassifiedSpot> ClassifySpots(const Mat3& basis, const RunParameters& parameters,
                                          const DirectionStore& directions);

// The counts of the results file's summary line: nh (within the tolerance) and nH (within half of it).
struct SpotCounts {
  int nh = 0;
  int nH = 0;
};

SpotCounts CountSpots(const std::vector<ClassifiedSpot>& spots);

}  // namespace orv
