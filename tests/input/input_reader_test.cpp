// Reading whole input files: parameters, echo lines, checks, messages and the order of keywords.
#include "input/input_reader.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "run_data/run_errors.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

constexpr double kThirtyThird = 0.030303030303030304;

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

// Reads a file of the given text from a fresh scratch folder.
ReadOutcome ReadText(const std::string& text) {
  ReadOutcome outcome;
  outcome.fileName = testing::MakeScratchDir("reader") + "/run.kqt";
  testing::WriteTextFile(outcome.fileName, text);
  SetDefaultParameters(outcome.parameters, *outcome.directions);
  std::ostringstream console;
  try {
    ReadInputFile(outcome.fileName, outcome.parameters, *outcome.directions, console);
  } catch (const InputError& error) {
    outcome.stopStatus = ShowAsTheEntryDoes(error, console);
  }
  outcome.console = console.str();
  return outcome;
}

std::string ReadingError(const ReadOutcome& outcome) {
  return " Error reading " + outcome.fileName + ".\n Press Enter to continue.\n";
}

std::string CheckError(const std::string& message) {
  return "\n\n Error: " + message + "\n\n\n Press Enter to continue.\n";
}

TEST(InputReader, FileNameMustEndInKqtAndExist) {
  const std::string dir = testing::MakeScratchDir("names");
  testing::WriteTextFile(dir + "/a.kqt", "# nothing\n");
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
    EXPECT_EQ(console.str(), c.second.empty() ? "" : " " + c.second + "\n Press Enter to continue.\n") << c.first;
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
      "_AngularDeviationCriterion\n1.5\n_CreateLogFile\n1\n");
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
      EXPECT_EQ(outcome.console, CheckError(c.message)) << c.entry;
    }
  }
}

TEST(InputReader, EarlierEchoesStayAndOnlyTheFirstFaultIsReported) {
  const ReadOutcome outcome =
      ReadText("_CreateLogFile\n1\n_SaveLePage\n200\n_ExtentOfTheSearch\n12\n_Bogus\n");
  EXPECT_EQ(outcome.stopStatus, 1);
  EXPECT_EQ(outcome.console, " Log file :                                                  1\n" +
                                 CheckError("Integer for Save_LePage is too large."));
}

TEST(InputReader, UnreadableEntriesStopWithErrorReading) {
  const std::vector<std::string> texts = {
      "_CreateLogFile 1\n_SaveLePage\n1\n",              // the value is taken from the next line
      "_createlogfile\n1\n",                             // keywords are case-sensitive
      "_Unknown\n1\n",                                   // not in the table
      "_CreateLogFile\n",                                // the value is missing
      "_CreateLogFile\n\n\n",                            // only empty lines follow
      "_CreateLogFile\nyes\n",                           // not a number
      "_CreateLogFile\n1.0\n",                           // a real where an integer is wanted
      "_NumberOfReflections\n2147483648\n",              // beyond 32 bits
      "_VolumeOfPrimitiveCell\nNaN\n",                   // not a finite number
      "_VolumeOfPrimitiveCell\n-Infinity\n",             // not a finite number
      "_CreateLogFile\n# comment\n1\n",                  // a comment where a value is expected
      "_WeightsForSortingBases\n0.5\n",                  // the second value is missing
      "_NumberOfReflections\n4\n_Reflections\n1 0 0\n0 1 0\n_CreateLogFile\n1\n",  // too few entries
      "_NumberOfReflections\n4\n_Reflections\n1 0 0\n0 1 0\n0 0 1\n# note\n1 1 1\n",
      "'_CreateLogFile\n1\n",                            // an unterminated quote
  };
  for (const std::string& text : texts) {
    const ReadOutcome outcome = ReadText(text);
    EXPECT_EQ(outcome.stopStatus, 1) << text;
    const std::string error = ReadingError(outcome);
    ASSERT_GE(outcome.console.size(), error.size()) << text;
    EXPECT_EQ(outcome.console.substr(outcome.console.size() - error.size()), error) << text;
    EXPECT_EQ(outcome.console.find("Log file"), std::string::npos) << text;
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
  EXPECT_EQ(tooMany.console, CheckError("The number of reflections exceeds the upper limit."));
}

}  // namespace
}  // namespace orv
