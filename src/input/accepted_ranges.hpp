// The values the indexer accepts for the run keywords of the input file, limits included: the
// reader's checks and the tools that write input files take them from here.
#pragma once

#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

// _NumberOfReflections: from 4 up to the store's kMaxReflections.
constexpr int kFewestReflections = 4;
// _VolumeOfPrimitiveCell: from 100 float epsilons to a hundredth of the largest float.
constexpr double kSmallestVolume = 1.1920928955078125e-5;
constexpr double kLargestVolume = 3.4028234663852885e36;
// _MaxAllowedMillerIndex; the message names the bounds [4,100].
constexpr int kSmallestMaxIndex = 4;
constexpr int kLargestMaxIndex = 100;
// _ExtentOfTheSearch.
constexpr int kSmallestExtent = 0;
constexpr int kLargestExtent = 9;
// _AngularDeviationCriterion, in degrees as read.
constexpr double kSmallestTolerance = 0.1;
constexpr double kLargestTolerance = 3.0;
// _TheMainCriterion.
constexpr double kSmallestMainCriterion = 0.03;
constexpr double kLargestMainCriterion = 0.3;
// _WeightsForSortingBases: neither negative, and their sum at least a double epsilon.
constexpr double kSmallestWeightSum = 2.220446049250313e-16;
// _MaxNumberOfSavedBases from 1 and _SaveLePage from 0, both up to the store's MaxStoredSolutions.

}  // namespace orv
