// "LePage.inp": which solutions it holds, its fixed command lines, the CELL layout, where it goes.
#include "reports/lepage_file.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace orv {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A store of orthogonal cells with edges (5 + i, 6, 7) for solution i = 1..n.
SolutionStore OrthogonalCells(int n) {
  SolutionStore store;
  store.NumberOfSolutions = n;
  for (int i = 1; i <= n; ++i) store(i).SolutionBasis = Mat3{{{5.0 + (i - 1), 0, 0}, {0, 6, 0}, {0, 0, 7}}};
  return store;
}

std::string CellLineOf(double a) {
  std::ostringstream line;
  line << "  CELL      " << a << ".000000    6.000000    7.000000      90.0000   90.0000   90.0000  P";
  return line.str();
}

TEST(LePageFile, OrthogonalCellGivesTheEightyCharacterCellLine) {
  const std::string dir = testing::MakeScratchDir("lepage");
  RunParameters parameters;
  parameters.SaveLePage = 1;
  WriteLePageFile(OrthogonalCells(1), parameters, dir + "/LePage.inp");
  const std::vector<std::string> lines = SplitLines(testing::ReadTextFile(dir + "/LePage.inp"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "  NOSCREEN");
  EXPECT_EQ(lines[1], "  METR      0.3");
  EXPECT_EQ(lines[2], "  CELL      5.000000    6.000000    7.000000      90.0000   90.0000   90.0000  P");
  EXPECT_EQ(lines[2].size(), 80u);
  EXPECT_EQ(lines[3], "  CALC");
  EXPECT_EQ(lines[4], "  QUIT");
}

TEST(LePageFile, AnglesFollowTheRowsOfTheBasis) {
  // a along x, b in the xy plane at 60 degrees to a, c along z: gamma 60, alpha = beta = 90.
  SolutionStore store;
  store.NumberOfSolutions = 1;
  store(1).SolutionBasis = Mat3{{{2, 0, 0}, {1.5, 2.598076211353316, 0}, {0, 0, 4}}};
  RunParameters parameters;
  parameters.SaveLePage = 1;
  const std::string dir = testing::MakeScratchDir("lepage");
  WriteLePageFile(store, parameters, dir + "/LePage.inp");
  const std::vector<std::string> lines = SplitLines(testing::ReadTextFile(dir + "/LePage.inp"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], "  CELL      2.000000    3.000000    4.000000      90.0000   90.0000   60.0000  P");
}

TEST(LePageFile, WritesTheFirstSaveLePageSolutionsInReportOrder) {
  const std::string dir = testing::MakeScratchDir("lepage");
  RunParameters parameters;

  parameters.SaveLePage = 3;
  WriteLePageFile(OrthogonalCells(5), parameters, dir + "/three.inp");
  std::vector<std::string> lines = SplitLines(testing::ReadTextFile(dir + "/three.inp"));
  ASSERT_EQ(lines.size(), 15u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[static_cast<std::size_t>(5 * i)], "  NOSCREEN");
    EXPECT_EQ(lines[static_cast<std::size_t>(5 * i + 2)], CellLineOf(5 + i));
    EXPECT_EQ(lines[static_cast<std::size_t>(5 * i + 4)], "  QUIT");
  }

  // More requested than kept: only the kept ones.
  parameters.SaveLePage = 10;
  WriteLePageFile(OrthogonalCells(2), parameters, dir + "/two.inp");
  lines = SplitLines(testing::ReadTextFile(dir + "/two.inp"));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[7], CellLineOf(6));

  // A request and no solution at all: the file exists and is empty.
  WriteLePageFile(OrthogonalCells(0), parameters, dir + "/none.inp");
  EXPECT_TRUE(testing::FileExists(dir + "/none.inp"));
  EXPECT_EQ(testing::ReadTextFile(dir + "/none.inp"), "");
}

TEST(LePageFile, NoRequestCreatesNothingAndLeavesAnOlderFileAlone) {
  const std::string dir = testing::MakeScratchDir("lepage");
  RunParameters parameters;
  parameters.SaveLePage = 0;
  WriteLePageFile(OrthogonalCells(3), parameters, dir + "/LePage.inp");
  EXPECT_FALSE(testing::FileExists(dir + "/LePage.inp"));

  testing::WriteTextFile(dir + "/LePage.inp", "older content\n");
  WriteLePageFile(OrthogonalCells(3), parameters, dir + "/LePage.inp");
  EXPECT_EQ(testing::ReadTextFile(dir + "/LePage.inp"), "older content\n");
}

TEST(LePageFile, DefaultNameLandsInTheCurrentDirectory) {
  const std::string dir = testing::MakeScratchDir("lepage");
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  RunParameters parameters;
  parameters.SaveLePage = 1;
  WriteLePageFile(OrthogonalCells(1), parameters);
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(SplitLines(testing::ReadTextFile(dir + "/LePage.inp")).size(), 5u);
}

}  // namespace
}  // namespace orv
