// The log file: its name beside the input file, its title block and its header.
#include "reports/log_file.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "text/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

TEST(LogFile, NameDropsBlanksAndExtensionAndKeepsTheDirectory) {
  EXPECT_EQ(OutputFileName("sample.kqt", "_kqt.log"), "sample_kqt.log");
  EXPECT_EQ(OutputFileName("   sample.kqt  ", "_kqt.log"), "sample_kqt.log");
  EXPECT_EQ(OutputFileName(" data/run 1/sample.kqt", "_kqt.res"), "data/run 1/sample_kqt.res");
  EXPECT_EQ(OutputFileName("a.b", "_kqt.log"), "_kqt.log");
  EXPECT_EQ(OutputFileName("   ", "_kqt.log"), "_kqt.log");
}

TEST(LogFile, TitleBlockAndHeaderWithoutNumberOfSolutions) {
  const std::string dir = orv::testing::MakeScratchDir("log");
  RunParameters parameters;
  parameters.NumberOfReflections = 8;
  TextFile log;
  OpenLogFile(log, "  " + dir + "/sample.kqt ", parameters);
  EXPECT_TRUE(log.IsOpen());
  log.Close();
  const std::string text = orv::testing::ReadTextFile(dir + "/sample_kqt.log");
  const std::string equals = " ========================================================\n";
  const std::string dashes = " --------------------------------------------------------\n";
  const std::string title = equals + dashes + "\n" + "          Report created by Orvanthel.exe (v. 1.0)\n" +
                            "          for " + dir + "/sample.kqt\n" + "\n" + dashes + equals;
  ASSERT_EQ(text.substr(0, title.size()), title);
  const std::string rest = text.substr(title.size());
  EXPECT_TRUE(std::regex_match(rest.substr(0, rest.find('\n')),
                               std::regex(" Date : \\d{4}\\.\\d\\d\\.\\d\\d {20}Time : \\d\\d:\\d\\d:\\d\\d\\.\\d{3}")))
      << rest;
  const std::string tail = " Max. number of saved solutions :                      16\n" + dashes + "\n";
  ASSERT_GE(rest.size(), tail.size());
  EXPECT_EQ(rest.substr(rest.size() - tail.size()), tail);
  EXPECT_EQ(rest.find("Number of solutions"), std::string::npos);
  EXPECT_NE(rest.find(" Number of reflections :                                8\n"), std::string::npos);
}

}  // namespace
}  // namespace orv
