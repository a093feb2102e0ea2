// Reading of the input file: the name check, the walk over its lines and the keyword entries.
#include "input/input_reader.hpp"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <cmath>
#include <optional>

#include "geometry/constants.hpp"
#include "input/free_format_reader.hpp"
#include "input/input_checks.hpp"
#include "input/input_file.hpp"
#include "input/keywords.hpp"
#include "input/parameter_echo.hpp"
#include "text/line_format.hpp"
#include "text/printable_text.hpp"
#include "text/trim_blanks.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

constexpr std::size_t kKeywordLength = 128;
// Entries this close to unit length are kept exactly as written.
constexpr double kUnitLengthTolerance = 1e-6;
// The longest file name the system takes (PATH_MAX counts the terminating null).
constexpr std::size_t kLongestFileName = PATH_MAX - 1;

[[noreturn]] void StopWithMessage(const std::string& message) { throw InputError({FreeLine(message)}); }

// "Error reading" with the file name, then the line that says where and why.
[[noreturn]] void StopReading(const std::string& name, std::size_t line, const std::string& keyword,
                              const std::string& reason) {
  std::string where = " line " + std::to_string(line);
  if (!keyword.empty()) where += " (" + keyword + ")";
  throw InputError({FreeLine("Error reading " + name + "."), FreeLine(where + ": " + reason)});
}

bool ReadInteger(FreeFormatReader& reader, int& target) { return reader.ReadIntegers(&target, 1) == ReadStatus::Ok; }
bool ReadReal(FreeFormatReader& reader, double& target) { return reader.ReadReals(&target, 1) == ReadStatus::Ok; }

// Reads the value or values of a keyword other than `_Reflections` into its parameter. The angular
// tolerance is left in degrees; it is converted after its check and echo.
bool ReadKeywordValue(FreeFormatReader& reader, Keyword keyword, RunParameters& p) {
  switch (keyword) {
    case Keyword::NumberOfReflections:
      return ReadInteger(reader, p.NumberOfReflections);
    case Keyword::Reflections:
      return false;
    case Keyword::VolumeOfPrimitiveCell:
      p.VolumeOfPrimitiveCellGiven = true;
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

// One walk over the entries of a file.
struct EntryWalk {
  FreeFormatReader& reader;
  const std::string& name;
  RunParameters& parameters;
  DirectionStore& directions;
  std::ostream& console;
  EntriesRead entries;

  [[noreturn]] void StopAtProblem(const std::string& keyword, const std::string& context = std::string()) {
    StopReading(name, reader.Problem().line, keyword, context + reader.Problem().reason);
  }

  void ReadReflections(const std::string& keyword) {
    const int rows = std::min(parameters.NumberOfReflections, kMaxReflections);
    for (int i = 1; i <= rows; ++i) {
      Vec3& entry = directions(i);
      if (reader.ReadReals(entry.data(), 3) != ReadStatus::Ok) {
        StopAtProblem(keyword, "reflection " + std::to_string(i) + " of " + std::to_string(rows) + ": ");
      }
      NormaliseEntry(entry);
      entries.reflectionRowsGiven = std::max(entries.reflectionRowsGiven, i);
    }
  }

  // Handles the keyword entry whose keyword line is `keywordLine`: reads the keyword again, then
  // its values from the lines after it, checks, stores and echoes them.
  void ReadKeywordEntry(std::size_t keywordLine) {
    reader.GoToLine(keywordLine);
    std::string text;
    std::size_t line = 0;
    if (reader.ReadFirstItem(text, line) != ReadStatus::Ok) StopAtProblem(std::string());
    if (text.size() > kKeywordLength) text.resize(kKeywordLength);
    const std::string keywordText = TrimBlanks(text);
    const std::optional<Keyword> keyword = FindKeyword(keywordText);
    if (!keyword) StopReading(name, keywordLine + 1, std::string(), "unknown keyword " + ShownInMessage(keywordText));
    if (*keyword == Keyword::Reflections) {
      ReadReflections(keywordText);
      return;
    }
    if (!ReadKeywordValue(reader, *keyword, parameters)) StopAtProblem(keywordText);
    if (const std::optional<InputMessage> failed = FirstFailedCheck(*keyword, parameters)) {
      ThrowInputError(*failed, "line " + std::to_string(keywordLine + 1) + " (" + keywordText + ")");
    }
    console << EchoLine(*keyword, parameters) << '\n';
    if (*keyword == Keyword::AngularDeviationCriterion) {
      ApplyAngularDeviationCriterion(parameters, parameters.AngularDeviationCriterion);
    }
  }
};

bool EndsWithPeakListExtension(const std::string& name) {
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == "cor";
}

}  // namespace

// A direction written with a clearly wrong length is brought to unit length; every later step
// takes the stored directions as unit vectors. Zero and non-finite entries stay as they are and are
// refused after the last entry.
void NormaliseEntry(Vec3& entry) {
  Vec3 unit{};
  double norm = 0.0;
  if (NormalizeVectorScaled(entry, unit, norm) == kStatusSuccess && std::abs(norm - 1.0) > kUnitLengthTolerance) {
    entry = unit;
  }
}

EntriesRead ReadKeywordEntries(FreeFormatReader& reader, const std::string& name, RunParameters& parameters,
                               DirectionStore& directions, std::ostream& console) {
  EntryWalk walk{reader, name, parameters, directions, console, EntriesRead{}};
  for (;;) {
    std::string item;
    std::size_t itemLine = 0;
    const ReadStatus status = reader.ReadFirstItem(item, itemLine);
    if (status == ReadStatus::EndOfFile) return walk.entries;
    if (status == ReadStatus::Error) walk.StopAtProblem(std::string());
    // Comment lines, stray lines and lines that start with an empty item are passed over.
    if (item.empty() || item[0] != '_') continue;
    walk.ReadKeywordEntry(itemLine);
  }
}

void CheckReflectionsGiven(const RunParameters& parameters, const DirectionStore& directions,
                           const EntriesRead& entries) {
  const int count = parameters.NumberOfReflections;
  if (count <= 0) ThrowInputError("The file gives no _NumberOfReflections, so there is nothing to index.");
  for (int i = 1; i <= count; ++i) {
    const std::string reflection = "Reflection " + std::to_string(i);
    if (i > entries.reflectionRowsGiven) {
      if (entries.reflectionRowsGiven == 0) {
        ThrowInputError(reflection + " is missing: no _Reflections follows _NumberOfReflections.");
      }
      ThrowInputError(reflection + " is missing: _Reflections gives only " +
                      std::to_string(entries.reflectionRowsGiven) + " of the " + std::to_string(count) +
                      " reflections.");
    }
    const Vec3& v = directions(i);
    if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2])) {
      ThrowInputError(reflection + " is not a finite vector.");
    }
    if (v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0) ThrowInputError(reflection + " is a zero vector.");
  }
}

void ReadInputFile(const std::string& fileName, RunParameters& parameters, DirectionStore& directions,
                   std::ostream& console) {
  const std::string name = TrimBlanks(fileName);
  if (name.size() > kLongestFileName) {
    StopWithMessage("Error: The file name is too long: it has " + std::to_string(name.size()) +
                    " characters, the system takes at most " + std::to_string(kLongestFileName) + ".");
  }
  if (name.size() < 5 || name.compare(name.size() - 4, 4, ".kqt") != 0) {
    // A peak list given in the input file's place: say which program turns it into one.
    std::error_code error;
    if (EndsWithPeakListExtension(name) || std::filesystem::is_regular_file(name, error)) {
      throw InputError({FreeLine("Error: Extention of filename is not .kqt."),
                        FreeLine("       A peak list (2theta chi [I], as in a .cor file) becomes an input file with: "
                                 "orvanthel-import " + PrintableText(name))});
    }
    StopWithMessage("Error: Extention of filename is not .kqt.");
  }
  InputFile file;
  if (!file.Open(name)) StopWithMessage("Error: Cannot open " + name + ".");
  FreeFormatReader reader(file.Lines());
  const EntriesRead entries = ReadKeywordEntries(reader, name, parameters, directions, console);
  CheckReflectionsGiven(parameters, directions, entries);
}

}  // namespace orv
