// How well a lattice explains the reflections with its shortest rows: the share of them that is seen.
#pragma once

#include <functional>
#include <vector>

#include "geometry/index_direction.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"
#include "solutions/covered_region.hpp"

namespace orv {

// The reflections a direct basis indexes, counted as the quality counts them (within the index
// bound; within half the tolerance and within the tolerance), with the rows they lie on: the
// signed coprime Miller indices of each reflection within the tolerance, sorted, each row once.
struct IndexedRows {
  SupportCounts counts;
  std::vector<MillerIndices> rows;
};

IndexedRows IndexRows(const Mat3& direct, const RunParameters& parameters, const DirectionStore& directions);

// IndexRows that gives up, returning false, as soon as `reachable(most)` is false for the most
// reflections within the tolerance the basis could still come to (those counted so far and all the
// ones left); `reachable` must not be false for a number when it is true for a smaller one.
bool IndexRowsWhileReachable(const Mat3& direct, const RunParameters& parameters, const DirectionStore& directions,
                             const std::function<bool(int)>& reachable, IndexedRows& indexed);

// A Laue spot is strong when the first lattice vector along its row is short (a large d-spacing),
// so the spots of a pattern are the rows of the true lattice with the shortest vectors, within the
// region the detector covers. A lattice with a larger cell has extra short rows (along rows that
// the true lattice reaches only with a longer vector), one with a smaller cell pushes some of the
// true short rows out to longer vectors: in both, fewer of its shortest rows are seen.
//
// The share: of the `rowsCounted` rows of the lattice with the shortest reciprocal-lattice vectors
// that point into the covered region (an observed row always counts as inside), the fraction that
// are among `observedRows`. Rows of equal length at the end of the list count in proportion.
// 0 for a basis without a dual or for rowsCounted <= 0.
double ObservedRowShare(const Mat3& direct, const std::vector<MillerIndices>& observedRows,
                        const CoveredRegion& region, int rowsCounted);

}  // namespace orv
