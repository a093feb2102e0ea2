// The run keywords the importer may write after the reflections.
#pragma once

#include <optional>

// The ranges the indexer accepts for these keywords.
#include "input/accepted_ranges.hpp"

namespace orv::imp {

// Each keyword is written only when asked for; the indexer uses its default otherwise.
struct RunKeywords {
  std::optional<double> volume;     // _VolumeOfPrimitiveCell
  std::optional<int> maxIndex;      // _MaxAllowedMillerIndex
  std::optional<int> extent;        // _ExtentOfTheSearch
  std::optional<double> tolerance;  // _AngularDeviationCriterion, degrees
  bool log = false;                 // _CreateLogFile 1
};

}  // namespace orv::imp
