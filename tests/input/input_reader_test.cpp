// Reading whole input files: parameters, echo lines, checks, messages and the order of keywords.
#include "input/input_reader.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "input/free_format_reader.hpp"
#include "input/line_source.hpp"
#include "run_data/run_errors.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

constexpr double kThirtyThird = 0.030303030303030304;
const std::string kFourReflections = "_NumberOfReflections\n4\n_Reflections\n1 0 0\n0 1 0\n0 0 1\n0 0.6 0.8\n";
const std::string kFourEcho = " Number of reflections :                                     4\n";

// The program entry shows an input error's lines, then the pause, and exits with status 1.
int ShowAsTheEntryDoes(const InputError& error, std::ostream& console) {
  for (const std::string& line : error.consoleLines) console << line << '\n';
  console << " Press Enter to continue.\n";
  return 1;
}

struct ReadOutcome {
  RunParameters parameters;
  std::unique_ptr<DirectionStore> directions = std::make_unique<DirectionStore>();
  std::string console;
  int stopStatus = -1;  // -1: the reader returned normally
  std::string fileName;
};

enum class Reading {
  WholeFile,    // as a run reads it, with the check of the reflections after the last entry
  EntriesOnly,  // the keyword entries alone, for files that test one keyword
};

// Reads a file of the given text from a fresh scratch folder.
ReadOutcome ReadText(const std::string& text, Reading reading = Reading::EntriesOnly) {
  ReadOutcome outcome;
  outcome.fileName = testing::MakeScratchDir("reader") + "/run.kqt";
  testing::WriteTextFile(outcome.fileName, text);
  SetDefaultParameters(outcome.parameters, *outcome.directions);
  std::ostringstream console;
  try {
    if (reading == Reading::WholeFile) {
      ReadInputFile(outcome.fileName, outcome.parameters, *outcome.directions, console);
    } else {
      FreeFormatReader reader(LineSource::FromText(text));
      ReadKeywordEntries(reader, outcome.fileName, outcome.parameters, *outcome.directions, console);
    }
  } catch (const InputError& error) {
    outcome.stopStatus = ShowAsTheEntryDoes(error, console);
  }
  outcome.console = console.str();
  return outcome;
}

// "Error reading", the line that says where and why, and the pause.
std::string ReadingError(const ReadOutcome& outcome, const std::string& detail) {
  return " Error reading " + outcome.fileName + ".\n " + detail + "\n Press Enter to continue.\n";
}

std::string CheckError(const std::string& message) {
  return "\n\n Error: " + message + "\n\n\n Press Enter to continue.\n";
}

// The error of a value outside its range: the message, then the line and keyword it was read at.
std::string RangeError(const std::string& message, int line, const std::string& keyword) {
  return "\n\n Error: " + message + "\n line " + std::to_string(line) + " (" + keyword +
         "): the value is outside its accepted range\n\n\n Press Enter to continue.\n";
}

TEST(InputReader, FileNameMustEndInKqtAndExist) {
  const std::string dir = testing::MakeScratchDir("names");
  testing::WriteTextFile(dir + "/a.kqt", kFourReflections);
  testing::RunCommand("mkdir d.kqt", dir);  // a folder cannot be read as an input file
  const std::string extension = "Error: Extention of filename is not .kqt.";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"  " + dir + "/a.kqt  ", ""},
      {".kqt", extension},
      {"  .kqt  ", extension},
      {"", extension},
      {dir + "/a.KQT", extension},
      {dir + "/a.kqt.txt", extension},
      {dir + "/missing.kqt", "Error: Cannot open " + dir + "/missing.kqt."},
      {" " + dir + "/d.kqt", "Error: Cannot open " + dir + "/d.kqt."},
  };
  RunParameters parameters;
  auto directions = std::make_unique<DirectionStore>();
  for (const auto& c : cases) {
    std::ostringstream console;
    int status = -1;
    try {
      ReadInputFile(c.first, parameters, *directions, console);
    } catch (const InputError& error) {
      status = ShowAsTheEntryDoes(error, console);
    }
    EXPECT_EQ(status, c.second.empty() ? -1 : 1) << c.first;
    EXPECT_EQ(console.str(), c.second.empty() ? kFourEcho : " " + c.second + "\n Press Enter to continue.\n")
        << c.first;
  }
  // A peak list in the input file's place keeps the classic line and names the importer.
  testing::WriteTextFile(dir + "/ge.cor", "2theta chi\n90 0\n");
  for (const std::string& name : {dir + "/ge.cor", dir + "/absent.COR", dir + "/a.kqt.txt"}) {
    std::ostringstream console;
    try {
      ReadInputFile(name, parameters, *directions, console);
    } catch (const InputError& error) {
      ShowAsTheEntryDoes(error, console);
    }
    if (name.find("absent") == std::string::npos) testing::WriteTextFile(dir + "/a.kqt.txt", "");
    EXPECT_EQ(console.str().rfind(" Error: Extention of filename is not .kqt.\n        A peak list (2theta chi [I], "
                                  "as in a .cor file) becomes an input file with: orvanthel-import " + name + "\n",
                                  0),
              0u)
        << console.str();
  }
}

TEST(InputReader, CommentsStrayAndEmptyLinesLeaveTheDefaults) {
  const ReadOutcome outcome = ReadText("# title\n\n   \nstray text 1 2 3\n, starts with a comma\n/ slash\n 12\n");
  EXPECT_EQ(outcome.stopStatus, -1);
  EXPECT_EQ(outcome.console, "");
  const RunParameters defaults;
  EXPECT_EQ(outcome.parameters.NumberOfReflections, 0);
  EXPECT_EQ(outcome.parameters.VolumeOfPrimitiveCell, defaults.VolumeOfPrimitiveCell);
  EXPECT_EQ(outcome.parameters.AngularDeviationCriterion, defaults.AngularDeviationCriterion);
  EXPECT_EQ(outcome.parameters.TheMainCriterion, defaults.TheMainCriterion);
  EXPECT_EQ(outcome.parameters.MaxNumberOfSavedBases, 16);
}

TEST(InputReader, SmallValidFileSetsItsValuesAndEchoesThemInOrder) {
  const ReadOutcome outcome = ReadText(
      "# four reflections\n_NumberOfReflections\n4\n_Reflections\n0.0 0.6 0.8\n1 0 0\n0 1 0\n0 0 1\n"
      "_AngularDeviationCriterion\n1.5\n_CreateLogFile\n1\n",
      Reading::WholeFile);
  ASSERT_EQ(outcome.stopStatus, -1) << outcome.console;
  EXPECT_EQ(outcome.console,
            " Number of reflections :                                     4\n"
            " Angular deviation  [deg] :                              1.500\n"
            " Log file :                                                  1\n");
  EXPECT_EQ(outcome.parameters.NumberOfReflections, 4);
  EXPECT_EQ(outcome.parameters.CreateLogFile, 1);
  EXPECT_EQ(outcome.parameters.AngularDeviationCriterion, 1.5 * 0.017453292519943295);
  EXPECT_EQ(outcome.parameters.TheMainCriterion, (6.0 - 1.5) * 1.5 * kThirtyThird + kThirtyThird);
  EXPECT_EQ((*outcome.directions)(1), (Vec3{0.0, 0.6, 0.8}));
  EXPECT_EQ((*outcome.directions)(4), (Vec3{0.0, 0.0, 1.0}));
}

TEST(InputReader, EchoLinesEndInColumnSixtyTwo) {
  struct Case {
    const char* entry;
    const char* label;
    const char* field;
  };
  const std::vector<Case> cases = {
      {"_NumberOfReflections\n999", " Number of reflections : ", "   999"},
      {"_VolumeOfPrimitiveCell\n250.5", " User provided volume : ", "     250.500"},
      {"_VolumeOfPrimitiveCell\n99999999.9994", " User provided volume : ", "99999999.999"},
      {"_VolumeOfPrimitiveCell\n1e8", " User provided volume : ", "************"},
      {"_MaxAllowedMillerIndex\n100", " The largest allowed Miller index : ", "100"},
      {"_ExtentOfTheSearch\n9", " Extent of search : ", " 9"},
      {"_AngularDeviationCriterion\n0.1", " Angular deviation  [deg] : ", "0.100"},
      {"_TheMainCriterion\n0.03", " Limit on deviation from integer Miller indices : ", "0.030"},
      {"_WeightsForSortingBases\n0.25 1", " Weights for sorting the bases : ", "  0.250,  1.000"},
      {"_MaxNumberOfSavedBases\n128", " Number of solutions to be saved  : ", "128"},
      {"_SortSolutionsByQualityType\n1", " The way of sorting solutions in output file : ", "1"},
      {"_SaveLePage\n0", " Save in LePage.inp : ", "  0"},
      {"_CreateLogFile\n0", " Log file : ", "  0"},
  };
  for (const Case& c : cases) {
    const ReadOutcome outcome = ReadText(std::string(c.entry) + "\n");
    const std::string label = c.label;
    const std::string field = c.field;
    const std::string expected = label + std::string(62 - label.size() - field.size(), ' ') + field + "\n";
    EXPECT_EQ(outcome.console, expected) << c.entry;
    EXPECT_EQ(outcome.stopStatus, -1) << c.entry;
  }
}

TEST(InputReader, EveryFailedCheckStopsWithItsMessageAndNoEcho) {
  struct Case {
    const char* entry;
    const char* message;  // empty: accepted
  };
  const std::vector<Case> cases = {
      {"_NumberOfReflections\n4", ""},
      {"_NumberOfReflections\n999", ""},
      {"_NumberOfReflections\n1000", "The number of reflections exceeds the upper limit."},
      {"_NumberOfReflections\n3", "The number of reflections is smaller than the limit of 4."},
      {"_VolumeOfPrimitiveCell\n1.1920928955078125e-5", ""},
      {"_VolumeOfPrimitiveCell\n3.4028234663852885e36", ""},
      {"_VolumeOfPrimitiveCell\n1e37", "VolumeOfPrimitiveCell is too large."},
      {"_VolumeOfPrimitiveCell\n0.00001", "VolumeOfPrimitiveCell is too small."},
      {"_VolumeOfPrimitiveCell\n-5", "VolumeOfPrimitiveCell is too small."},
      {"_MaxAllowedMillerIndex\n4", ""},
      {"_MaxAllowedMillerIndex\n100", ""},
      {"_MaxAllowedMillerIndex\n3", "The largest allowed Miller index out of the bounds [4,100]."},
      {"_MaxAllowedMillerIndex\n101", "The largest allowed Miller index out of the bounds [4,100]."},
      {"_ExtentOfTheSearch\n0", ""},
      {"_ExtentOfTheSearch\n10", "Integer for ExtentOfTheSearch is too large."},
      {"_ExtentOfTheSearch\n-1", "Integer for ExtentOfTheSearch is too small."},
      {"_AngularDeviationCriterion\n3.0", ""},
      {"_AngularDeviationCriterion\n0.09", "AngularDeviationCriterion is too small."},
      {"_AngularDeviationCriterion\n3.01", "AngularDeviationCriterion is too large."},
      {"_TheMainCriterion\n0.3", ""},
      {"_TheMainCriterion\n0.31", "TheMainCriterion is too large."},
      {"_TheMainCriterion\n0.029", "TheMainCriterion is too small."},
      {"_WeightsForSortingBases\n0 1", ""},
      {"_WeightsForSortingBases\n0 0", "WeightsForSortingBases are too small."},
      {"_WeightsForSortingBases\n-1 2", "WeightsForSortingBases_1 is negative."},
      {"_WeightsForSortingBases\n1 -1", "WeightsForSortingBases_2 is negative."},
      {"_WeightsForSortingBases\n-1 -1", "WeightsForSortingBases_1 is negative."},
      {"_MaxNumberOfSavedBases\n1", ""},
      {"_MaxNumberOfSavedBases\n129", "Integer for MaxNumberOfSavedBases is too large."},
      {"_MaxNumberOfSavedBases\n0", "Integer for MaxNumberOfSavedBases is too small."},
      {"_SortSolutionsByQualityType\n0", ""},
      {"_SortSolutionsByQualityType\n2", "Integer for SortSolutionsByQualityType is too large."},
      {"_SortSolutionsByQualityType\n-1", "Integer for SortSolutionsByQualityType is too small."},
      {"_SaveLePage\n128", ""},
      {"_SaveLePage\n129", "Integer for Save_LePage is too large."},
      {"_SaveLePage\n-1", "Integer for Save_LePage is too small."},
      {"_CreateLogFile\n1", ""},
      {"_CreateLogFile\n2", "Integer for CreateLogFile is too large."},
      {"_CreateLogFile\n-1", "Integer for CreateLogFile is too small."},
  };
  for (const Case& c : cases) {
    const ReadOutcome outcome = ReadText(std::string(c.entry) + "\n");
    if (*c.message == '\0') {
      EXPECT_EQ(outcome.stopStatus, -1) << c.entry;
      EXPECT_EQ(outcome.console.size(), 63u) << c.entry;
    } else {
      EXPECT_EQ(outcome.stopStatus, 1) << c.entry;
      const std::string entry = c.entry;
      EXPECT_EQ(outcome.console, RangeError(c.message, 1, entry.substr(0, entry.find('\n')))) << c.entry;
    }
  }
}

TEST(InputReader, EarlierEchoesStayAndOnlyTheFirstFaultIsReported) {
  const ReadOutcome outcome =
      ReadText("_CreateLogFile\n1\n_SaveLePage\n200\n_ExtentOfTheSearch\n12\n_Bogus\n");
  EXPECT_EQ(outcome.stopStatus, 1);
  EXPECT_EQ(outcome.console, " Log file :                                                  1\n" +
                                 RangeError("Integer for Save_LePage is too large.", 3, "_SaveLePage"));
}

// "Error reading" stays as it was and is followed by the line number, the keyword and the reason.
TEST(InputReader, UnreadableEntriesSayWhereAndWhy) {
  const std::string reflections = "_NumberOfReflections\n4\n_Reflections\n1 0 0\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"_CreateLogFile 1\n_SaveLePage\n1\n", " line 2 (_CreateLogFile): expected an integer, found _SaveLePage"},
      {"_createlogfile\n1\n", " line 1: unknown keyword _createlogfile"},
      {"# x\n  _Reflection\n", " line 2: unknown keyword _Reflection"},
      {"_CreateLogFile\n", " line 1 (_CreateLogFile): expected an integer before the end of the file"},
      {"_CreateLogFile\n\n\n", " line 3 (_CreateLogFile): expected an integer before the end of the file"},
      {"_CreateLogFile\nyes\n", " line 2 (_CreateLogFile): expected an integer, found yes"},
      {"_CreateLogFile\n1.0\n", " line 2 (_CreateLogFile): expected an integer, found 1.0"},
      {"_CreateLogFile\n'1'\n", " line 2 (_CreateLogFile): expected an integer, found '1'"},
      {"_NumberOfReflections\n2147483648\n", " line 2 (_NumberOfReflections): value 2147483648 is out of range"},
      {"_VolumeOfPrimitiveCell\n\n1e400\n", " line 3 (_VolumeOfPrimitiveCell): value 1e400 is out of range"},
      {"_VolumeOfPrimitiveCell\nNaN\n", " line 2 (_VolumeOfPrimitiveCell): expected a number, found NaN"},
      {"_CreateLogFile\n# comment\n1\n", " line 2 (_CreateLogFile): expected an integer, found #"},
      {"_WeightsForSortingBases\n0.5\n",
       " line 2 (_WeightsForSortingBases): expected 2 numbers, found 1 before the end of the file"},
      {"_MaxNumberOfSavedBases\n0*5\n", " line 2 (_MaxNumberOfSavedBases): the repeat count of 0*5 is not valid"},
      {reflections + "0 1\n_CreateLogFile\n1\n",
       " line 6 (_Reflections): reflection 2 of 4: expected 3 numbers, found 2 and then _CreateLogFile"},
      {reflections + "0 1 0\n0 0 1\n# note\n1 1 1\n",
       " line 7 (_Reflections): reflection 4 of 4: expected 3 numbers, found #"},
      {reflections + "0 1\n", " line 5 (_Reflections): reflection 2 of 4: expected 3 numbers, found 2 before the end of the file"},
      {"'_CreateLogFile\n1\n", " line 1: a quoted text is not closed"},
      // What the file holds is shown without control characters and cut when long.
      {"_Bad\x1b[31m\n", " line 1: unknown keyword _Bad?[31m"},
      {"_" + std::string(60, 'x') + "\n", " line 1: unknown keyword _" + std::string(39, 'x') + "..."},
  };
  for (const auto& c : cases) {
    const ReadOutcome outcome = ReadText(c.first);
    EXPECT_EQ(outcome.stopStatus, 1) << c.first;
    EXPECT_EQ(outcome.console.substr(outcome.console.find(" Error reading")), ReadingError(outcome, c.second))
        << c.first;
    EXPECT_EQ(outcome.console.find("Log file"), std::string::npos) << c.first;
  }
}

TEST(InputReader, KeywordsAreFoundInAnyLayout) {
  const ReadOutcome outcome = ReadText(
      "   _CreateLogFile   anything here\n  \n 1 trailing words\n"
      "'_SaveLePage'\n3\n"
      "_MaxAllowedMillerIndex\n,\n"      // an empty value keeps the default
      "_ExtentOfTheSearch\n/\n"          // so does a slash
      "_MaxNumberOfSavedBases\n2*5\n");  // a repeat
  ASSERT_EQ(outcome.stopStatus, -1) << outcome.console;
  EXPECT_EQ(outcome.parameters.CreateLogFile, 1);
  EXPECT_EQ(outcome.parameters.SaveLePage, 3);
  EXPECT_EQ(outcome.parameters.MaxAllowedMillerIndex, 12);
  EXPECT_EQ(outcome.parameters.ExtentOfTheSearch, 0);
  EXPECT_EQ(outcome.parameters.MaxNumberOfSavedBases, 5);
}

TEST(InputReader, KeywordOrderDecidesTheMainCriterion) {
  struct Case {
    const char* text;
    double mainCriterion;
    double radians;
  };
  const double c = kThirtyThird;
  const std::vector<Case> cases = {
      {"_AngularDeviationCriterion\n2.0\n", (6.0 - 2.0) * 2.0 * c + c, 2.0 * 0.017453292519943295},
      {"_AngularDeviationCriterion\n2.0\n_TheMainCriterion\n0.1\n", 0.1, 2.0 * 0.017453292519943295},
      {"_TheMainCriterion\n0.1\n_AngularDeviationCriterion\n2.0\n", (6.0 - 2.0) * 2.0 * c + c,
       2.0 * 0.017453292519943295},
      // 10/33 lies above the explicit limit 0.3 and is used unchanged.
      {"_AngularDeviationCriterion\n3.0\n", (6.0 - 3.0) * 3.0 * c + c, 3.0 * 0.017453292519943295},
      {"_AngularDeviationCriterion\n0.1\n", (6.0 - 0.1) * 0.1 * c + c, 0.1 * 0.017453292519943295},
  };
  for (const Case& k : cases) {
    const ReadOutcome outcome = ReadText(k.text);
    ASSERT_EQ(outcome.stopStatus, -1) << k.text;
    EXPECT_EQ(outcome.parameters.TheMainCriterion, k.mainCriterion) << k.text;
    EXPECT_EQ(outcome.parameters.AngularDeviationCriterion, k.radians) << k.text;
  }
  EXPECT_NEAR((6.0 - 3.0) * 3.0 * c + c, 10.0 / 33.0, 1e-15);
}

TEST(InputReader, RepeatedKeywordsAreCheckedAndEchoedAgainTheLastWins) {
  const ReadOutcome outcome = ReadText("_SaveLePage\n5\n_SaveLePage\n7\n");
  ASSERT_EQ(outcome.stopStatus, -1);
  EXPECT_EQ(outcome.parameters.SaveLePage, 7);
  EXPECT_EQ(outcome.console,
            " Save in LePage.inp :                                        5\n"
            " Save in LePage.inp :                                        7\n");
}

TEST(InputReader, ReflectionEntriesInTheirLayouts) {
  const ReadOutcome outcome = ReadText(
      "_Reflections\n9 9 9\n"  // before the count: nothing is read, the line is a stray line
      "_NumberOfReflections\n5\n_Reflections\n"
      "0 0.6\n0.8\n"           // one entry over two lines
      "1 0 0 7\n"              // a fourth number is ignored
      "0,1,0\n"                // commas
      "\n"                     // an empty line is skipped
      "2 0 0\n"                // a clearly wrong length is brought to unit length
      "0 0 0\n");              // a zero entry stays zero
  ASSERT_EQ(outcome.stopStatus, -1) << outcome.console;
  const DirectionStore& d = *outcome.directions;
  EXPECT_EQ(d(1), (Vec3{0.0, 0.6, 0.8}));
  EXPECT_EQ(d(2), (Vec3{1.0, 0.0, 0.0}));
  EXPECT_EQ(d(3), (Vec3{0.0, 1.0, 0.0}));
  EXPECT_EQ(d(4), (Vec3{1.0, 0.0, 0.0}));
  EXPECT_EQ(d(5), (Vec3{0.0, 0.0, 0.0}));
  EXPECT_EQ(d(6), (Vec3{0.0, 0.0, 0.0}));

  // Near-unit entries are kept exactly as written; far ones are scaled by the reciprocal norm.
  const ReadOutcome near = ReadText("_NumberOfReflections\n4\n_Reflections\n1.0000009 0 0\n0 0.9999991 0\n"
                                    "0 0 1.0000011\n3 4 0\n");
  ASSERT_EQ(near.stopStatus, -1);
  EXPECT_EQ((*near.directions)(1), (Vec3{1.0000009, 0.0, 0.0}));
  EXPECT_EQ((*near.directions)(2), (Vec3{0.0, 0.9999991, 0.0}));
  EXPECT_EQ((*near.directions)(3), (Vec3{0.0, 0.0, 1.0000011 * (1.0 / 1.0000011)}));
  EXPECT_EQ((*near.directions)(4), (Vec3{3.0 * (1.0 / 5.0), 4.0 * (1.0 / 5.0), 0.0}));

  // Before any count, _Reflections reads nothing and the run keeps all-zero directions.
  const ReadOutcome late = ReadText("_Reflections\n1 0 0\n0 1 0\n_NumberOfReflections\n4\n");
  ASSERT_EQ(late.stopStatus, -1);
  EXPECT_EQ(late.parameters.NumberOfReflections, 4);
  EXPECT_EQ((*late.directions)(1), (Vec3{0.0, 0.0, 0.0}));
}

TEST(InputReader, LargestReflectionListIsReadAndOneMoreIsRefused) {
  std::string text = "_NumberOfReflections\n999\n_Reflections\n";
  for (int i = 1; i <= 999; ++i) text += (i % 2 == 0 ? "0 0.6 0.8\n" : "0.6, 0.8, 0\n");
  const ReadOutcome outcome = ReadText(text);
  ASSERT_EQ(outcome.stopStatus, -1);
  EXPECT_EQ((*outcome.directions)(998), (Vec3{0.0, 0.6, 0.8}));
  EXPECT_EQ((*outcome.directions)(999), (Vec3{0.6, 0.8, 0.0}));
  EXPECT_EQ((*outcome.directions)(1000), (Vec3{0.0, 0.0, 0.0}));

  const ReadOutcome tooMany = ReadText("_NumberOfReflections\n1000\n");
  EXPECT_EQ(tooMany.stopStatus, 1);
  EXPECT_EQ(tooMany.console, RangeError("The number of reflections exceeds the upper limit.", 1, "_NumberOfReflections"));
}

// Before the search every reflection must be there, finite and not zero; a file without any
// reflections is refused with its own message.
TEST(InputReader, ZeroOrMissingDirectionsAreRefusedBeforeTheSearch) {
  const std::string count = "_NumberOfReflections\n8\n_Reflections\n";
  const std::string six = "1 0 0\n0 1 0\n0 0 1\n0 0.6 0.8\n0.6 0 0.8\n0.8 0.6 0\n";
  const std::string eightEcho = " Number of reflections :                                     8\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {count + six + "0 0 0\n0 0 0\n", eightEcho + CheckError("Reflection 7 is a zero vector.")},
      {count + six + "1e-400 0 0\n0 0 1\n", eightEcho + CheckError("Reflection 7 is a zero vector.")},
      {"_Reflections\n" + six + "1 1 1\n1 1 0\n_NumberOfReflections\n8\n",
       eightEcho + CheckError("Reflection 1 is missing: no _Reflections follows _NumberOfReflections.")},
      {kFourReflections + "_NumberOfReflections\n6\n",
       kFourEcho + " Number of reflections :                                     6\n" +
           CheckError("Reflection 5 is missing: _Reflections gives only 4 of the 6 reflections.")},
      {"# only a comment\n_CreateLogFile\n0\n",
       " Log file :                                                  0\n" +
           CheckError("The file gives no _NumberOfReflections, so there is nothing to index.")},
      {"", CheckError("The file gives no _NumberOfReflections, so there is nothing to index.")},
  };
  for (const auto& c : cases) {
    const ReadOutcome outcome = ReadText(c.first, Reading::WholeFile);
    EXPECT_EQ(outcome.stopStatus, 1) << c.first;
    EXPECT_EQ(outcome.console, c.second) << c.first;
  }
  const ReadOutcome complete = ReadText(count + six + "1 1 1\n1 1 0\n", Reading::WholeFile);
  EXPECT_EQ(complete.stopStatus, -1) << complete.console;
}

// A row of any finite size keeps its direction as a unit vector: no overflow to zero for huge
// components, no row left unnormalised for tiny ones.
TEST(InputReader, RowsOfExtremeSizeKeepTheirDirection) {
  const Vec3 row = {0.6917002973, 0.3877337095, -0.6092727380};  // silicon's first reflection
  const double length = std::sqrt(row[0] * row[0] + row[1] * row[1] + row[2] * row[2]);
  for (const char* factor : {"e200", "e300", "e-30", "e-200", "e-310"}) {
    const std::string text = "_NumberOfReflections\n4\n_Reflections\n0.6917002973" + std::string(factor) +
                             " 0.3877337095" + factor + " -0.6092727380" + factor + "\n0 1 0\n0 0 1\n1 0 0\n";
    const ReadOutcome outcome = ReadText(text, Reading::WholeFile);
    ASSERT_EQ(outcome.stopStatus, -1) << factor << outcome.console;
    const Vec3& unit = (*outcome.directions)(1);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(unit[k], row[k] / length, 1e-12) << factor;
    EXPECT_NEAR(Dot(unit, unit), 1.0, 1e-15) << factor;
  }
}

TEST(InputReader, AByteOrderMarkBeforeTheFirstKeywordIsIgnored) {
  const ReadOutcome outcome = ReadText("\xEF\xBB\xBF" + kFourReflections + "_CreateLogFile\n1\n", Reading::WholeFile);
  EXPECT_EQ(outcome.stopStatus, -1) << outcome.console;
  EXPECT_EQ(outcome.console, kFourEcho + " Log file :                                                  1\n");
  // Only at the very start: elsewhere the mark belongs to the line it stands on.
  const ReadOutcome later = ReadText("# x\n\xEF\xBB\xBF_CreateLogFile\n1\n");
  EXPECT_EQ(later.console, "");
}

// The file is read line by line, never whole; a line longer than any keyword file needs is a read
// error at its line number, found without holding the rest of the file.
TEST(InputReader, OverlongLinesAreRefusedWithTheirNumber) {
  const std::string longLine(kMaxInputLineLength + 1, ' ');
  const ReadOutcome blanks = ReadText("# x\n\n" + longLine + "\n_CreateLogFile\n1\n");
  EXPECT_EQ(blanks.stopStatus, 1);
  EXPECT_EQ(blanks.console, ReadingError(blanks, " line 3: the line is longer than 1048576 characters"));
  const ReadOutcome value = ReadText("_CreateLogFile\n" + std::string(kMaxInputLineLength + 7, '1'));
  EXPECT_EQ(value.console, ReadingError(value, " line 2 (_CreateLogFile): the line is longer than 1048576 characters"));
  // The longest line allowed, line end "\r\n" included, is read.
  const ReadOutcome longest = ReadText("_CreateLogFile\r\n1" + std::string(kMaxInputLineLength - 1, ' ') + "\r\n");
  EXPECT_EQ(longest.stopStatus, -1) << longest.console.substr(0, 200);
}

}  // namespace
}  // namespace orv
