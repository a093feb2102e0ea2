// The run keywords the importer may write after the reflections, and the values the indexer accepts.
#pragma once

#include <optional>

namespace orv::imp {

// Each keyword is written only when asked for; the indexer uses its default otherwise.
struct RunKeywords {
  std::optional<double> volume;     // _VolumeOfPrimitiveCell
  std::optional<int> maxIndex;      // _MaxAllowedMillerIndex
  std::optional<int> extent;        // _ExtentOfTheSearch
  std::optional<double> tolerance;  // _AngularDeviationCriterion, degrees
  bool log = false;                 // _CreateLogFile 1
};

// The ranges the indexer accepts when it reads these keywords, limits included.
constexpr double kSmallestVolume = 1.1920928955078125e-5;
constexpr double kLargestVolume = 3.4028234663852885e36;
constexpr int kSmallestMaxIndex = 4;
constexpr int kLargestMaxIndex = 100;
constexpr int kSmallestExtent = 0;
constexpr int kLargestExtent = 9;
constexpr double kSmallestTolerance = 0.1;
constexpr double kLargestTolerance = 3.0;

// The numbers of reflections an input file may hold.
constexpr int kFewestReflections = 4;
constexpr int kMostReflections = 999;

}  // namespace orv::imp
