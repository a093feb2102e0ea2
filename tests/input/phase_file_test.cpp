// The file of candidate phases: what it accepts and how it says what is wrong.
#include <gtest/gtest.h>

#include <sstream>

#include "input/phase_file.hpp"
#include "run_data/run_errors.hpp"

namespace orv {
namespace {

TEST(PhaseFile, ReadsPhasesSkippingCommentsAndBlankLines) {
  std::istringstream in(
      "# name a b c alpha beta gamma centring\n"
      "\n"
      "Si 5.431 5.431 5.431 90 90 90 F\n"
      "  GaN\t3.189 3.189 5.185 90 90 120 P   \n");
  const PhaseList phases = ReadPhases(in, "phases.txt");
  ASSERT_EQ(phases.size(), 2u);
  EXPECT_EQ(phases[0].name, "Si");
  EXPECT_EQ(phases[0].centring, 'F');
  EXPECT_EQ(phases[1].name, "GaN");
  EXPECT_DOUBLE_EQ(phases[1].c, 5.185);
  EXPECT_DOUBLE_EQ(phases[1].gamma, 120.0);
}

std::string ErrorOf(const std::string& text) {
  std::istringstream in(text);
  try {
    ReadPhases(in, "phases.txt");
  } catch (const InputError& error) {
    std::string lines;
    for (const std::string& line : error.consoleLines) lines += line + "\n";
    return lines;
  }
  return "";
}

TEST(PhaseFile, RefusesWhatDescribesNoCellAndSaysWhere) {
  EXPECT_NE(ErrorOf("Si 5.431 5.431 90 90 90\n").find("line 1: expected a name, six numbers"), std::string::npos);
  EXPECT_NE(ErrorOf("Si 5.431 5.431 90 90 90 F\n").find("'F' is not a number"), std::string::npos);
  EXPECT_NE(ErrorOf("#\nSi 5.431 5.431 5.431 90 90 90 Q\n").find("line 2: the centring"), std::string::npos);
  EXPECT_NE(ErrorOf("Si 5.431 5.431 nan 90 90 90 F\n").find("'nan' is not a number"), std::string::npos);
  EXPECT_NE(ErrorOf("Si 5.431 -5.431 5.431 90 90 90 F\n").find("positive"), std::string::npos);
  EXPECT_NE(ErrorOf("X 5 5 5 10 10 170 P\n").find("span no cell"), std::string::npos);
  EXPECT_NE(ErrorOf("Si 5.431 5.431 5.431 90 90 90 F extra\n").find("unexpected 'extra'"), std::string::npos);
  EXPECT_NE(ErrorOf("# only a comment\n").find("no phase"), std::string::npos);
  EXPECT_NE(ErrorOf("Si 5 5 5 90 90 90 X\n").find("Error reading phases phases.txt."), std::string::npos);
  EXPECT_EQ(ErrorOf("Si 5 5 5 90 90 90 F\n"), "");
}

}  // namespace
}  // namespace orv
