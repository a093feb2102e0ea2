// The spots of the grains of one pattern: set-aside, shared spots and the stop rule.
#include "solutions/grain_spots.hpp"

#include <algorithm>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"

namespace orv {

std::vector<bool> SpotsWithinTolerance(const Mat3& directBasis, const RunParameters& parameters,
                                       const DirectionStore& directions) {
  // The same R as the results file's block, so that a grain's spots are the ones its block shows.
  Mat3 r{};
  InverseTranspose(directBasis, r, kBasisSingularity);
  std::vector<bool> within(static_cast<std::size_t>(std::max(parameters.NumberOfReflections, 0)), false);
  for (int j = 1; j <= parameters.NumberOfReflections; ++j) {
    const IndexedDirection indexed = IndexDirection(directions(j), r, directBasis, parameters.MaxAllowedMillerIndex);
    within[static_cast<std::size_t>(j - 1)] = indexed.withinBound && indexed.theta < parameters.AngularDeviationCriterion;
  }
  return within;
}

std::vector<int> UnclaimedSpots(const std::vector<std::vector<bool>>& indexedBy, int numberOfSpots) {
  std::vector<int> free;
  for (int j = 1; j <= numberOfSpots; ++j) {
    const std::size_t k = static_cast<std::size_t>(j - 1);
    const bool claimed = std::any_of(indexedBy.begin(), indexedBy.end(),
                                     [k](const std::vector<bool>& grain) { return k < grain.size() && grain[k]; });
    if (!claimed) free.push_back(j);
  }
  return free;
}

void SelectSpots(const RunParameters& parameters, const DirectionStore& directions, const std::vector<int>& numbers,
                 RunParameters& selectedParameters, DirectionStore& selectedDirections) {
  selectedParameters = parameters;
  selectedDirections = DirectionStore{};
  int n = 0;
  for (int number : numbers) {
    if (number < 1 || number > parameters.NumberOfReflections || n >= kMaxReflections) continue;
    selectedDirections(++n) = directions(number);
  }
  selectedParameters.NumberOfReflections = n;
}

std::vector<std::vector<int>> GrainsOfSpots(const std::vector<std::vector<bool>>& indexedBy, int numberOfSpots) {
  std::vector<std::vector<int>> grains(static_cast<std::size_t>(std::max(numberOfSpots, 0)));
  for (std::size_t g = 0; g < indexedBy.size(); ++g) {
    for (std::size_t k = 0; k < grains.size() && k < indexedBy[g].size(); ++k) {
      if (indexedBy[g][k]) grains[k].push_back(static_cast<int>(g) + 1);
    }
  }
  return grains;
}

std::vector<int> SharedSpots(const std::vector<std::vector<int>>& grainsOfSpots) {
  std::vector<int> shared;
  for (std::size_t k = 0; k < grainsOfSpots.size(); ++k) {
    if (grainsOfSpots[k].size() >= 2) shared.push_back(static_cast<int>(k) + 1);
  }
  return shared;
}

int DefaultMinimumGrainSpots(int numberOfSpots) { return std::max(8, (std::max(numberOfSpots, 0) + 9) / 10); }

bool LookForAnotherGrain(int grainsFound, int grainsAsked, int spotsLeft, int minimumGrainSpots) {
  return grainsFound < grainsAsked && spotsLeft >= std::max(minimumGrainSpots, 4);
}

bool IsGrain(int spotsIndexedInRound, int minimumGrainSpots) { return spotsIndexedInRound >= minimumGrainSpots; }

}  // namespace orv
