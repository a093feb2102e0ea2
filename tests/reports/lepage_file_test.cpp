// "LePage.inp": how many solutions it holds, the CELL layout, no file without a request.
#include "reports/lepage_file.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include "support/test_support.hpp"

namespace orv {
namespace {

// Orthogonal cells with edges (4 + i, 6, 7) for solution i = 1..n.
SolutionStore OrthogonalCells(int n) {
  SolutionStore store;
  store.NumberOfSolutions = n;
  for (int i = 1; i <= n; ++i) store(i).SolutionBasis = Mat3{{{4.0 + i, 0, 0}, {0, 6, 0}, {0, 0, 7}}};
  return store;
}

std::string Block(int a) {
  return "  NOSCREEN\n  METR      0.3\n  CELL      " + std::to_string(a) +
         ".000000    6.000000    7.000000      90.0000   90.0000   90.0000  P\n  CALC\n  QUIT\n";
}

TEST(LePageFile, TheFirstSaveLePageSolutionsInReportOrder) {
  const std::string dir = testing::MakeScratchDir("lepage");
  RunParameters parameters;
  parameters.SaveLePage = 3;
  WriteLePageFile(OrthogonalCells(5), parameters, dir + "/three.inp");
  EXPECT_EQ(testing::ReadTextFile(dir + "/three.inp"), Block(5) + Block(6) + Block(7));
  EXPECT_EQ(Block(5).find('\n', 30) - Block(5).find("  CELL"), 80u);

  parameters.SaveLePage = 10;
  WriteLePageFile(OrthogonalCells(2), parameters, dir + "/two.inp");
  EXPECT_EQ(testing::ReadTextFile(dir + "/two.inp"), Block(5) + Block(6));

  // A request and no solution: an empty file; the default name lands in the current directory.
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  WriteLePageFile(OrthogonalCells(0), parameters);
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_TRUE(testing::FileExists(dir + "/LePage.inp"));
  EXPECT_EQ(testing::ReadTextFile(dir + "/LePage.inp"), "");
}

TEST(LePageFile, NoRequestLeavesAnOlderFileAlone) {
  const std::string dir = testing::MakeScratchDir("lepage");
  RunParameters parameters;
  WriteLePageFile(OrthogonalCells(3), parameters, dir + "/LePage.inp");
  EXPECT_FALSE(testing::FileExists(dir + "/LePage.inp"));
  testing::WriteTextFile(dir + "/LePage.inp", "older\n");
  WriteLePageFile(OrthogonalCells(3), parameters, dir + "/LePage.inp");
  EXPECT_EQ(testing::ReadTextFile(dir + "/LePage.inp"), "older\n");
}

}  // namespace
}  // namespace orv
