// Reading of the input file: the name check, the walk over its lines and the keyword entries.
#include "input/input_reader.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "geometry/constants.hpp"
#include "input/free_format_reader.hpp"
#include "input/input_checks.hpp"
#include "input/keywords.hpp"
#include "input/parameter_echo.hpp"
#include "reports/line_format.hpp"
#include "reports/trim_blanks.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

constexpr std::size_t kKeywordLength = 128;
// Entries this close to unit length are kept exactly as written.
constexpr double kUnitLengthTolerance = 1e-6;


[[noreturn]] void StopWithMessage(const std::string& message) { throw InputError({FreeLine(message)}); }

bool ReadInteger(FreeFormatReader& reader, int& target) { return reader.ReadIntegers(&target, 1) == ReadStatus::Ok; }
bool ReadReal(FreeFormatReader& reader, double& target) { return reader.ReadReals(&target, 1) == ReadStatus::Ok; }

// A direction written with a clearly wrong length is brought to unit length; every later step
// takes the stored directions as unit vectors.
void NormaliseEntry(Vec3& entry) {
  Vec3 unit{};
  double norm = 0.0;
  if (NormalizeVector(entry, unit, norm) == kStatusSuccess && std::abs(norm - 1.0) > kUnitLengthTolerance) {
    entry = unit;
  }
}

bool ReadReflections(FreeFormatReader& reader, int count, DirectionStore& directions) {
  const int rows = std::min(count, kMaxReflections);
  for (int i = 1; i <= rows; ++i) {
    Vec3& entry = directions(i);
    if (reader.ReadReals(entry.data(), 3) != ReadStatus::Ok) return false;
    NormaliseEntry(entry);
  }
  return true;
}

// Reads the value or values of a keyword other than `_Reflections` into its parameter. The angular
// tolerance is left in degrees; it is converted after its check and echo.
bool ReadKeywordValue(FreeFormatReader& reader, Keyword keyword, RunParameters& p) {
  switch (keyword) {
    case Keyword::NumberOfReflections:
      return ReadInteger(reader, p.NumberOfReflections);
    case Keyword::Reflections:
      return false;
    case Keyword::VolumeOfPrimitiveCell:
      return ReadReal(reader, p.VolumeOfPrimitiveCell);
    case Keyword::MaxAllowedMillerIndex:
      return ReadInteger(reader, p.MaxAllowedMillerIndex);
    case Keyword::ExtentOfTheSearch:
      return ReadInteger(reader, p.ExtentOfTheSearch);
    case Keyword::AngularDeviationCriterion: {
      double degrees = p.AngularDeviationCriterion * kRadiansToDegrees;
      if (!ReadReal(reader, degrees)) return false;
      p.AngularDeviationCriterion = degrees;
      return true;
    }
    case Keyword::TheMainCriterion:
      return ReadReal(reader, p.TheMainCriterion);
    case Keyword::WeightsForSortingBases: {
      double weights[2] = {p.WeightsForSortingBases_1, p.WeightsForSortingBases_2};
      if (reader.ReadReals(weights, 2) != ReadStatus::Ok) return false;
      p.WeightsForSortingBases_1 = weights[0];
      p.WeightsForSortingBases_2 = weights[1];
      return true;
    }
    case Keyword::MaxNumberOfSavedBases:
      return ReadInteger(reader, p.MaxNumberOfSavedBases);
    case Keyword::SortSolutionsByQualityType:
      return ReadInteger(reader, p.SortSolutionsByQualityType);
    case Keyword::SaveLePage:
      return ReadInteger(reader, p.SaveLePage);
    case Keyword::CreateLogFile:
      return ReadInteger(reader, p.CreateLogFile);
  }
  return false;
}

}  // namespace

bool ReadKeywordEntry(FreeFormatReader& reader, std::size_t keywordLine, RunParameters& parameters,
                      DirectionStore& directions, std::ostream& console) {
  reader.GoToLine(keywordLine);
  std::string text;
  std::size_t line = 0;
  if (reader.ReadFirstItem(text, line) != ReadStatus::Ok) return false;
  if (text.size() > kKeywordLength) text.resize(kKeywordLength);
  const std::optional<Keyword> keyword = FindKeyword(TrimBlanks(text));
  if (!keyword) return false;
  if (*keyword == Keyword::Reflections) return ReadReflections(reader, parameters.NumberOfReflections, directions);

  if (!ReadKeywordValue(reader, *keyword, parameters)) return false;
  if (const std::optional<InputMessage> failed = FirstFailedCheck(*keyword, parameters)) {
    ThrowInputError(*failed);
  }
  console << EchoLine(*keyword, parameters) << '\n';
  if (*keyword == Keyword::AngularDeviationCriterion) {
    ApplyAngularDeviationCriterion(parameters, parameters.AngularDeviationCriterion);
  }
  return true;
}

void ReadInputFile(const std::string& fileName, RunParameters& parameters, DirectionStore& directions,
                   std::ostream& console) {
  const std::string name = TrimBlanks(fileName);
  if (name.size() < 5 || name.compare(name.size() - 4, 4, ".kqt") != 0) {
    StopWithMessage("Error: Extention of filename is not .kqt.");
  }
  std::error_code ignored;
  std::ifstream file;
  if (!std::filesystem::is_directory(name, ignored)) file.open(name);
  if (!file.is_open()) StopWithMessage("Error: Cannot open " + name + ".");

  FreeFormatReader reader = FreeFormatReader::FromStream(file);
  const bool readFailed = file.bad();
  file.close();
  const std::string readError = "Error reading " + name + ".";
  if (readFailed) StopWithMessage(readError);

  for (;;) {
    std::string item;
    std::size_t itemLine = 0;
    const ReadStatus status = reader.ReadFirstItem(item, itemLine);
    if (status == ReadStatus::EndOfFile) return;
    if (status == ReadStatus::Error) StopWithMessage(readError);
    // Comment lines, stray lines and lines that start with an empty item are passed over.
    if (item.empty() || item[0] != '_') continue;
    if (!ReadKeywordEntry(reader, itemLine, parameters, directions, console)) {
      StopWithMessage(readError);
    }
  }
}

}  // namespace orv
