// The results file: reflection rows and what they count, the "Odd [%]" line, a solution block with
// the console summary, the file name and the title.
#include "reports/results_file.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "text/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

constexpr double kDegree = 0.017453292519943295;

IndexedDirection Indexed(Vec3 x, double theta, bool withinBound) { return IndexedDirection{x, theta, withinBound}; }

TEST(ReflectionRows, LayoutAndCounting) {
  const ReflectionRow high = FormatReflectionRow(5, Indexed({1.02, -2.01, 3.0}, 0.4 * kDegree, true), kDegree);
  EXPECT_EQ(high.kind, ReflectionRowKind::WithinHalfTolerance);
  EXPECT_EQ(high.text, "   5  H- |   1  -2   3 |   1.02  -2.01   3.00  |  0.022");
  EXPECT_EQ(FormatReflectionRow(12, Indexed({-4, 0.1, 10.9}, 0.5 * kDegree, true), kDegree).text,
            "  12  -h |  -4   0  11 |  -4.00   0.10  10.90  |  0.141");
  // Bars in columns 10, 24 and 48 as in the heading; h, k, l end in columns 14, 18 and 22.
  const std::string heading = "         |   h   k   l |      Real (hkl)       |  Error";
  for (const std::string& line : {heading, high.text}) {
    EXPECT_EQ(std::string() + line[9] + line[23] + line[47], "|||");
  }
  EXPECT_EQ(std::string() + high.text[13] + high.text[17] + high.text[21], "123");

  // Within the tolerance but beyond the index bound: no integer indices, counted nowhere.
  const ReflectionRow beyond = FormatReflectionRow(3, Indexed({1, 0, 13}, 0.0, false), kDegree);
  EXPECT_EQ(beyond.kind, ReflectionRowKind::WithoutIndices);
  EXPECT_EQ(beyond.text, "   3     |             |   1.00   0.00  13.00  |  0.000");
  EXPECT_EQ(FormatReflectionRow(4, Indexed({1, 2, 3}, 1.99 * kDegree, true), kDegree).kind,
            ReflectionRowKind::WithoutIndices);
  // From twice the tolerance on, and for a deviation that is not a number: the number alone.
  for (double theta : {2.0 * kDegree, 3.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(FormatReflectionRow(7, Indexed({1, 2, 3}, theta, true), kDegree).text, "   7");
  }
}

TEST(ReflectionRows, OddPercentagesAndCellAngles) {
  EXPECT_EQ(OddPercentageLine({5, 7, 3}, 10, 4), " Odd [%] |  36  50  21 |");
  EXPECT_EQ(OddPercentageLine({0, 0, 0}, 0, 0), " Odd [%] |************ |");
  const CellParameters cell = CellOfBasis(Mat3{{{2, 0, 0}, {0, 3, 0}, {0, 4, 4}}});
  EXPECT_NEAR(cell.anglesInDegrees[0], 45.0, 1e-12);  // alpha, between b and c
  EXPECT_NEAR(cell.anglesInDegrees[1], 90.0, 1e-12);
  EXPECT_DOUBLE_EQ(cell.lengths[2], std::sqrt(32.0));
}

Vec3 Unit(double x, double y, double z) {
  const double n = std::sqrt(x * x + y * y + z * z);
  return {x / n, y / n, z / n};
}

TEST(SolutionReports, CubicCellBlockAndConsoleSummary) {
  // (1,0,0) and (1,2,3) exactly, (3,5,8) 0.34 degrees off, (1,0,13) exactly but beyond the bound;
  // the cell has a negative determinant, so l changes sign.
  RunParameters parameters;
  parameters.NumberOfReflections = 4;
  parameters.AngularDeviationCriterion = 0.5 * kDegree;
  DirectionStore directions;
  directions(1) = Unit(1, 0, 0);
  directions(2) = Unit(1, 2, 3);
  directions(3) = Unit(0.3, 0.5, 0.81);
  directions(4) = Unit(1, 0, 13);
  SolutionStore store;
  store.NumberOfSolutions = 1;
  store(1).SolutionBasis = Mat3{{{10, 0, 0}, {0, 10, 0}, {0, 0, -10}}};
  store(1).SolutionQuality = 3.5;
  const std::string path = testing::MakeScratchDir("results") + "/block.res";
  TextFile results;
  results.Open(path);
  std::ostringstream console;
  WriteSolutionReports(results, store, parameters, directions, true, console);
  results.Close();

  const std::string text = testing::ReadTextFile(path);
  for (const char* expected : {"  Solution nr   1 out of   1.\n",
                               "              1.00000000    0.00000000    0.00000000\n",
                               "   3  -h |   3   5  -8 |   2.98   4.96  -8.03  |  0.058\n",
                               "   4     |             |   1.00   0.00 -13.00  |  0.000\n",
                               " Odd [%] |  60  20  20 |\n",
                               "    3h and   2H vectors out of   4.    Quality : 0.875\n",
                               "                          10.000   10.000   10.000\n",
                               "  Volume of the cell  :     1000.00\n"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(console.str(), " The first solution :\n    Cell volume :                     1000.00\n"
                           "    Supporting reflections : h -   3, H -   2\n\n");
}

TEST(ResultsFileOpening, NameKeepsTheDirectoryAndDropsTheBlanks) {
  const std::string dir = testing::MakeScratchDir("results");
  ASSERT_EQ(testing::RunCommand("mkdir data", dir).exitStatus, 0);
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  TextFile results;
  OpenResultsFile(results, "   data/run1.kqt ", RunParameters{}, 3);
  results.Close();
  ASSERT_EQ(chdir(previous), 0);

  EXPECT_EQ(ResultsFileName("   data/run1.kqt "), "data/run1_kqt.res");
  const std::string text = testing::ReadTextFile(dir + "/data/run1_kqt.res");
  EXPECT_EQ(text.find(" Orvanthel (v. 1.0): Solutions for data/run1.kqt\n"), 2 * 58 + 1u);
}

}  // namespace
}  // namespace orv
