// The keyword table of the input file.
#include "input/keywords.hpp"

#include <array>
#include <utility>

namespace orv {

namespace {

const std::array<std::pair<Keyword, std::string>, 12>& KeywordTable() {
  static const std::array<std::pair<Keyword, std::string>, 12> table = {{
      {Keyword::NumberOfReflections, "_NumberOfReflections"},
      {Keyword::Reflections, "_Reflections"},
      {Keyword::VolumeOfPrimitiveCell, "_VolumeOfPrimitiveCell"},
      {Keyword::MaxAllowedMillerIndex, "_MaxAllowedMillerIndex"},
      {Keyword::ExtentOfTheSearch, "_ExtentOfTheSearch"},
      {Keyword::AngularDeviationCriterion, "_AngularDeviationCriterion"},
      {Keyword::TheMainCriterion, "_TheMainCriterion"},
      {Keyword::WeightsForSortingBases, "_WeightsForSortingBases"},
      {Keyword::MaxNumberOfSavedBases, "_MaxNumberOfSavedBases"},
      {Keyword::SortSolutionsByQualityType, "_SortSolutionsByQualityType"},
      {Keyword::SaveLePage, "_SaveLePage"},
      {Keyword::CreateLogFile, "_CreateLogFile"},
  }};
  return table;
}

}  // namespace

const std::string& KeywordText(Keyword keyword) {
  return KeywordTable()[static_cast<std::size_t>(keyword)].second;
}

std::optional<Keyword> FindKeyword(const std::string& text) {
  for (const auto& entry : KeywordTable()) {
    if (entry.second == text) return entry.first;
  }
  return std::nullopt;
}

}  // namespace orv
