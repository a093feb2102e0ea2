// The parameter header shared by the results file and the log file, character for character.
#include "reports/parameter_header.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "reports/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

const LocalDateTime kNow = {"20261208", "081646.123"};

std::string HeaderText(HeaderTarget target, const RunParameters& parameters, int numberOfSolutions) {
  const std::string path = orv::testing::MakeScratchDir("header") + "/header.txt";
  TextFile out;
  out.Open(path);
  WriteParameterHeader(out, target, parameters, numberOfSolutions, kNow);
  out.Close();
  return orv::testing::ReadTextFile(path);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

RunParameters DefaultsFor25Reflections() {
  RunParameters parameters;
  parameters.NumberOfReflections = 25;
  return parameters;
}

const char* const kValueLines =
    " Number of reflections :                               25\n"
    " Max. allowed Miller index :                           12\n"
    " Volume of primitive cell :                       1000.00\n"
    " Allowed deviation from integer index :             0.182\n"
    " Angular deviation [deg] :                          1.000\n"
    " Weights for sorting solutions :               0.30  0.70\n"
    " Extent of the search :                                 0\n"
    " Max. number of saved solutions :                      16\n";

const char* const kDashes = " --------------------------------------------------------\n";

TEST(ParameterHeader, ResultsCopyWithDefaults) {
  EXPECT_EQ(HeaderText(HeaderTarget::ResultsFile, DefaultsFor25Reflections(), 7),
            std::string(" Date : 2026.12.08                    Time : 08:16:46.123\n") + kDashes + kValueLines +
                " Number of solutions:                                   7\n" + kDashes + "\n");
}

TEST(ParameterHeader, LogCopyHasNoNumberOfSolutions) {
  EXPECT_EQ(HeaderText(HeaderTarget::LogFile, DefaultsFor25Reflections(), 7),
            std::string(" Date : 2026.12.08                    Time : 08:16:46.123\n") + kDashes + kValueLines +
                kDashes + "\n");
}

TEST(ParameterHeader, ValueFieldsEndInColumn57WhateverTheirValues) {
  RunParameters parameters;
  parameters.NumberOfReflections = 999;
  parameters.MaxAllowedMillerIndex = 100;
  parameters.VolumeOfPrimitiveCell = 99999999.5;
  parameters.TheMainCriterion = 0.5;
  parameters.AngularDeviationCriterion = 0.15;
  parameters.WeightsForSortingBases_1 = 100.0;
  parameters.WeightsForSortingBases_2 = 0.0;
  parameters.ExtentOfTheSearch = 9;
  parameters.MaxNumberOfSavedBases = 128;
  const std::vector<std::string> lines = SplitLines(HeaderText(HeaderTarget::ResultsFile, parameters, 128));
  ASSERT_EQ(lines.size(), 13u);
  for (std::size_t i = 2; i <= 10; ++i) {
    EXPECT_EQ(lines[i].size(), 57u) << lines[i];
    EXPECT_NE(lines[i].back(), ' ') << lines[i];
  }
  EXPECT_EQ(lines[4].substr(45), " 99999999.50");
  EXPECT_EQ(lines[6].substr(52), "8.594");
  EXPECT_EQ(lines[7].substr(45), "100.00  0.00");
}

TEST(ParameterHeader, OverwideVolumeIsAsterisks) {
  RunParameters parameters = DefaultsFor25Reflections();
  parameters.VolumeOfPrimitiveCell = 1e9;
  const std::vector<std::string> lines = SplitLines(HeaderText(HeaderTarget::LogFile, parameters, 0));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[4], " Volume of primitive cell :                  ************");
}

}  // namespace
}  // namespace orv
