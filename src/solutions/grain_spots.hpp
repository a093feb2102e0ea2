// The spots of the grains of one pattern: which spots a grain indexes, which are still free for the
// next grain, which two grains share, and when to stop looking for another grain.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"

namespace orv {

// Spot j of the direction store as element j - 1: true when the direct basis indexes it within the
// angular tolerance and the index bound, the rule of an "h" row of the results file.
std::vector<bool> SpotsWithinTolerance(const Mat3& directBasis, const RunParameters& parameters,
                                       const DirectionStore& directions);

// The spots of the pattern, numbered from 1, that none of the grains found so far indexes
// (`indexedBy[g][j - 1]` tells whether grain g + 1 indexes spot j), in pattern order.
std::vector<int> UnclaimedSpots(const std::vector<std::vector<bool>>& indexedBy, int numberOfSpots);

// The parameters and directions of a pattern cut down to the spots `numbers` (numbered from 1 in
// `directions`, in the order given): the same run parameters, fewer reflections.
void SelectSpots(const RunParameters& parameters, const DirectionStore& directions, const std::vector<int>& numbers,
                 RunParameters& selectedParameters, DirectionStore& selectedDirections);

// For every spot, the grains (numbered from 1) that index it; a spot of two grains or more is shared
// and counts for each of them.
std::vector<std::vector<int>> GrainsOfSpots(const std::vector<std::vector<bool>>& indexedBy, int numberOfSpots);

// The spots, numbered from 1, that two grains or more index.
std::vector<int> SharedSpots(const std::vector<std::vector<int>>& grainsOfSpots);

// The spots a grain must index among those left to it when no number is asked for: 8, or a tenth
// of the pattern (rounded up) when that is more.
int DefaultMinimumGrainSpots(int numberOfSpots);

// Whether to look for another grain: fewer grains than asked for were found, and enough spots are
// left for a grain of the minimum size (and for a search, which needs four).
bool LookForAnotherGrain(int grainsFound, int grainsAsked, int spotsLeft, int minimumGrainSpots);

// Whether the best solution of a round is a grain: it indexes at least the minimum number of the
// spots the round was given.
bool IsGrain(int spotsIndexedInRound, int minimumGrainSpots);

}  // namespace orv
