// The limits of every value read from the input file, their messages, and the error ending.
#pragma once

#include <optional>
#include <string>

#include "run_data/run_parameters.hpp"
#include "input/accepted_ranges.hpp"
#include "input/keywords.hpp"

namespace orv {

// One entry per failed check, in the order of the message table.
enum class InputMessage {
  ReflectionsAboveLimit,
  ReflectionsBelowLimit,
  VolumeTooLarge,
  VolumeTooSmall,
  MillerIndexOutOfBounds,
  ExtentTooLarge,
  ExtentTooSmall,
  AngularDeviationTooSmall,
  AngularDeviationTooLarge,
  MainCriterionTooLarge,
  MainCriterionTooSmall,
  FirstWeightNegative,
  SecondWeightNegative,
  WeightsTooSmall,
  SavedBasesTooLarge,
  SavedBasesTooSmall,
  SortTypeTooLarge,
  SortTypeTooSmall,
  LePageTooLarge,
  LePageTooSmall,
  LogFileTooLarge,
  LogFileTooSmall,
};

const std::string& InputMessageText(InputMessage message);

// The first failed check of the keyword's value just stored in the parameters, checks taken in
// their fixed order; nothing when every check passes. While `_AngularDeviationCriterion` is checked
// the parameter AngularDeviationCriterion holds the value in degrees, as read.
std::optional<InputMessage> FirstFailedCheck(Keyword keyword, const RunParameters& parameters);

// Throws the InputError whose console lines are two empty lines, "Error: " with the message and two
// empty lines.
[[noreturn]] void ThrowInputError(InputMessage message);
// The same block with a line after the message that says where the value was read, such as
// "line 4 (_VolumeOfPrimitiveCell): the value is outside its accepted range".
[[noreturn]] void ThrowInputError(InputMessage message, const std::string& where);
// The same block for a message of the checks made after the last entry.
[[noreturn]] void ThrowInputError(const std::string& message);

}  // namespace orv
