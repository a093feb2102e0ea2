// The keywords of the input file, in the order in which a keyword line is matched against them.
#pragma once

#include <optional>
#include <string>

namespace orv {

enum class Keyword {
  NumberOfReflections,
  Reflections,
  VolumeOfPrimitiveCell,
  MaxAllowedMillerIndex,
  ExtentOfTheSearch,
  AngularDeviationCriterion,
  TheMainCriterion,
  WeightsForSortingBases,
  MaxNumberOfSavedBases,
  SortSolutionsByQualityType,
  SaveLePage,
  CreateLogFile,
};

// The keyword text as written in the file, leading underscore included.
const std::string& KeywordText(Keyword keyword);

// The keyword whose text equals the given one exactly (case-sensitive), if any.
std::optional<Keyword> FindKeyword(const std::string& text);

}  // namespace orv
