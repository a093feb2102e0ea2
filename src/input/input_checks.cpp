// Limits of the input values, checked the moment each value is read.
#include "input/input_checks.hpp"

#include <array>

#include "run_data/run_errors.hpp"
#include "text/line_format.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

namespace {


std::optional<InputMessage> IntegerRange(int value, int low, int high, InputMessage tooLarge,
                                         InputMessage tooSmall) {
  if (value > high) return tooLarge;
  if (value < low) return tooSmall;
  return std::nullopt;
}

}  // namespace

const std::string& InputMessageText(InputMessage message) {
  static const std::array<std::string, 22> texts = {
      "The number of reflections exceeds the upper limit.",
      "The number of reflections is smaller than the limit of 4.",
      "VolumeOfPrimitiveCell is too large.",
      "VolumeOfPrimitiveCell is too small.",
      "The largest allowed Miller index out of the bounds [4,100].",
      "Integer for ExtentOfTheSearch is too large.",
      "Integer for ExtentOfTheSearch is too small.",
      "AngularDeviationCriterion is too small.",
      "AngularDeviationCriterion is too large.",
      "TheMainCriterion is too large.",
      "TheMainCriterion is too small.",
      "WeightsForSortingBases_1 is negative.",
      "WeightsForSortingBases_2 is negative.",
      "WeightsForSortingBases are too small.",
      "Integer for MaxNumberOfSavedBases is too large.",
      "Integer for MaxNumberOfSavedBases is too small.",
      "Integer for SortSolutionsByQualityType is too large.",
      "Integer for SortSolutionsByQualityType is too small.",
      "Integer for Save_LePage is too large.",
      "Integer for Save_LePage is too small.",
      "Integer for CreateLogFile is too large.",
      "Integer for CreateLogFile is too small.",
  };
  return texts[static_cast<std::size_t>(message)];
}

std::optional<InputMessage> FirstFailedCheck(Keyword keyword, const RunParameters& p) {
  switch (keyword) {
    case Keyword::NumberOfReflections:
      return IntegerRange(p.NumberOfReflections, kFewestReflections, kMaxReflections, InputMessage::ReflectionsAboveLimit,
                          InputMessage::ReflectionsBelowLimit);
    case Keyword::Reflections:
      return std::nullopt;
    case Keyword::VolumeOfPrimitiveCell:
      if (p.VolumeOfPrimitiveCell > kLargestVolume) return InputMessage::VolumeTooLarge;
      if (p.VolumeOfPrimitiveCell < kSmallestVolume) return InputMessage::VolumeTooSmall;
      return std::nullopt;
    case Keyword::MaxAllowedMillerIndex:
      if (p.MaxAllowedMillerIndex < kSmallestMaxIndex || p.MaxAllowedMillerIndex > kLargestMaxIndex) {
        return InputMessage::MillerIndexOutOfBounds;
      }
      return std::nullopt;
    case Keyword::ExtentOfTheSearch:
      return IntegerRange(p.ExtentOfTheSearch, kSmallestExtent, kLargestExtent, InputMessage::ExtentTooLarge, InputMessage::ExtentTooSmall);
    case Keyword::AngularDeviationCriterion:
      if (p.AngularDeviationCriterion < kSmallestTolerance) return InputMessage::AngularDeviationTooSmall;
      if (p.AngularDeviationCriterion > kLargestTolerance) return InputMessage::AngularDeviationTooLarge;
      return std::nullopt;
    case Keyword::TheMainCriterion:
      if (p.TheMainCriterion > kLargestMainCriterion) return InputMessage::MainCriterionTooLarge;
      if (p.TheMainCriterion < kSmallestMainCriterion) return InputMessage::MainCriterionTooSmall;
      return std::nullopt;
    case Keyword::WeightsForSortingBases:
      if (p.WeightsForSortingBases_1 < 0.0) return InputMessage::FirstWeightNegative;
      if (p.WeightsForSortingBases_2 < 0.0) return InputMessage::SecondWeightNegative;
      if (p.WeightsForSortingBases_1 + p.WeightsForSortingBases_2 < kSmallestWeightSum) {
        return InputMessage::WeightsTooSmall;
      }
      return std::nullopt;
    case Keyword::MaxNumberOfSavedBases:
      return IntegerRange(p.MaxNumberOfSavedBases, 1, MaxStoredSolutions, InputMessage::SavedBasesTooLarge,
                          InputMessage::SavedBasesTooSmall);
    case Keyword::SortSolutionsByQualityType:
      return IntegerRange(p.SortSolutionsByQualityType, 0, 1, InputMessage::SortTypeTooLarge,
                          InputMessage::SortTypeTooSmall);
    case Keyword::SaveLePage:
      return IntegerRange(p.SaveLePage, 0, MaxStoredSolutions, InputMessage::LePageTooLarge,
                          InputMessage::LePageTooSmall);
    case Keyword::CreateLogFile:
      return IntegerRange(p.CreateLogFile, 0, 1, InputMessage::LogFileTooLarge, InputMessage::LogFileTooSmall);
  }
  return std::nullopt;
}

void ThrowInputError(InputMessage message) { ThrowInputError(InputMessageText(message)); }

void ThrowInputError(InputMessage message, const std::string& where) {
  throw InputError({FreeLine(""), FreeLine(""), FreeLine("Error: " + InputMessageText(message)),
                    FreeLine(where + ": the value is outside its accepted range"), FreeLine(""), FreeLine("")});
}

void ThrowInputError(const std::string& message) {
  throw InputError({FreeLine(""), FreeLine(""), FreeLine("Error: " + message), FreeLine(""), FreeLine("")});
}

}  // namespace orv
