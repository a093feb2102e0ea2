// The parameter header shared by the results file and the log file, character for character.
#include "reports/parameter_header.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "text/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

std::string HeaderText(HeaderTarget target, const RunParameters& parameters, int numberOfSolutions,
                       const HeaderNotes& notes = {}) {
  const std::string path = orv::testing::MakeScratchDir("header") + "/header.txt";
  TextFile out;
  out.Open(path);
  WriteParameterHeader(out, target, parameters, numberOfSolutions, {"20261208", "081646.123"}, notes);
  out.Close();
  return orv::testing::ReadTextFile(path);
}

TEST(ParameterHeader, ResultsAndLogCopiesWithDefaults) {
  RunParameters parameters;
  parameters.NumberOfReflections = 25;
  const std::string dashes = " --------------------------------------------------------\n";
  const std::string head = " Date : 2026.12.08                    Time : 08:16:46.123\n" + dashes +
                           " Number of reflections :                               25\n"
                           " Max. allowed Miller index :                           12\n"
                           " Volume of primitive cell :                       1000.00\n"
                           " Allowed deviation from integer index :             0.182\n"
                           " Angular deviation [deg] :                          1.000\n"
                           " Weights for sorting solutions :               0.30  0.70\n"
                           " Extent of the search :                                 0\n"
                           " Max. number of saved solutions :                      16\n";
  EXPECT_EQ(HeaderText(HeaderTarget::ResultsFile, parameters, 7),
            head + " Number of solutions:                                   7\n" + dashes + "\n");
  EXPECT_EQ(HeaderText(HeaderTarget::LogFile, parameters, 7), head + dashes + "\n");
}

TEST(ParameterHeader, ValueFieldsEndInColumn57OrAreAsterisks) {
  RunParameters parameters;
  parameters.NumberOfReflections = 999;
  parameters.MaxAllowedMillerIndex = 100;
  parameters.VolumeOfPrimitiveCell = 99999999.5;
  parameters.AngularDeviationCriterion = 0.15;
  parameters.WeightsForSortingBases_1 = 100.0;
  parameters.ExtentOfTheSearch = 9;
  parameters.MaxNumberOfSavedBases = 128;
  std::istringstream text(HeaderText(HeaderTarget::ResultsFile, parameters, 128));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 13u);
  for (std::size_t n = 2; n <= 10; ++n) {
    EXPECT_EQ(lines[n].size(), 57u) << lines[n];
    EXPECT_NE(lines[n].back(), ' ') << lines[n];
  }
  EXPECT_EQ(lines[4].substr(45), " 99999999.50");
  EXPECT_EQ(lines[6].substr(52), "8.594");
  parameters.VolumeOfPrimitiveCell = 1e9;
  EXPECT_NE(HeaderText(HeaderTarget::LogFile, parameters, 0)
                .find(" Volume of primitive cell :                  ************\n"),
            std::string::npos);
}

// The lattice choice adds one line after the parameters, its value ending in column 57 as theirs do.
TEST(ParameterHeader, TheLatticeChoiceIsSaidAfterTheParameters) {
  RunParameters parameters;
  const std::string plain = HeaderText(HeaderTarget::ResultsFile, parameters, 3);
  const std::string noted = HeaderText(HeaderTarget::ResultsFile, parameters, 3, HeaderNotes{true, ""});
  const std::string solutions = " Number of solutions:                                   3\n";
  const std::string line = " Choice among commensurate lattices :                  on\n";
  ASSERT_NE(plain.find(solutions), std::string::npos);
  std::string expected = plain;
  expected.insert(plain.find(solutions) + solutions.size(), line);
  EXPECT_EQ(noted, expected);
  EXPECT_EQ(line.size(), 58u);
}

}  // namespace
}  // namespace orv
