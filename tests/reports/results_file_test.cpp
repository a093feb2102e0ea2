// The results file: reflection rows and their counts, the "Odd [%]" line, a whole solution block,
// the console summary, the file name and the title.
#include "reports/results_file.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "driver/program_stop.hpp"
#include "reports/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

constexpr double kOneDegree = 0.017453292519943295;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

IndexedDirection Indexed(Vec3 x, double theta, bool withinBound) {
  IndexedDirection indexed;
  indexed.x = x;
  indexed.theta = theta;
  indexed.withinBound = withinBound;
  return indexed;
}

Vec3 Unit(double x, double y, double z) {
  const double n = std::sqrt(x * x + y * y + z * z);
  return {x / n, y / n, z / n};
}

TEST(ReflectionRows, SupportedRowsLineUpUnderTheHeading) {
  const ReflectionRow high = FormatReflectionRow(5, Indexed({1.02, -2.01, 3.0}, 0.4 * kOneDegree, true), kOneDegree);
  EXPECT_EQ(high.kind, ReflectionRowKind::WithinHalfTolerance);
  EXPECT_EQ(high.text, "   5  H- |   1  -2   3 |   1.02  -2.01   3.00  |  0.022");

  const ReflectionRow low = FormatReflectionRow(12, Indexed({-4.0, 0.1, 10.9}, 0.5 * kOneDegree, true), kOneDegree);
  EXPECT_EQ(low.kind, ReflectionRowKind::WithinTolerance);
  EXPECT_EQ(low.text, "  12  -h |  -4   0  11 |  -4.00   0.10  10.90  |  0.141");

  // The heading line of the block, as written: bars in columns 10, 24 and 48; h, k, l end in 14, 18, 22.
  const std::string heading = " " + std::string("        |   h   k   l |      Real (hkl)       |  Error");
  for (const std::string& line : {heading, high.text, low.text}) {
    EXPECT_EQ(line[9], '|');
    EXPECT_EQ(line[23], '|');
    EXPECT_EQ(line[47], '|');
  }
  EXPECT_EQ(heading.substr(13, 1) + heading.substr(17, 1) + heading.substr(21, 1), "hkl");
  EXPECT_EQ(high.text.substr(13, 1) + high.text.substr(17, 1) + high.text.substr(21, 1), "123");
}

TEST(ReflectionRows, RowsThatCountNowhere) {
  // Within the tolerance but beyond the index bound: no integer indices, counted in neither count.
  const ReflectionRow beyond = FormatReflectionRow(3, Indexed({1.0, 0.0, 13.0}, 0.0, false), kOneDegree);
  EXPECT_EQ(beyond.kind, ReflectionRowKind::WithoutIndices);
  EXPECT_EQ(beyond.text, "   3     |             |   1.00   0.00  13.00  |  0.000");

  // Between the tolerance and twice it.
  const ReflectionRow outside = FormatReflectionRow(4, Indexed({2.1, 1.0, 0.0}, 1.5 * kOneDegree, true), kOneDegree);
  EXPECT_EQ(outside.kind, ReflectionRowKind::WithoutIndices);
  EXPECT_EQ(outside.text, "   4     |             |   2.10   1.00   0.00  |  0.100");

  // At twice the tolerance and beyond, or with no deviation at all: the number alone.
  for (double theta : {2.0 * kOneDegree, 3.0, std::numeric_limits<double>::quiet_NaN()}) {
    const ReflectionRow far = FormatReflectionRow(7, Indexed({1.0, 2.0, 3.0}, theta, true), kOneDegree);
    EXPECT_EQ(far.kind, ReflectionRowKind::NumberOnly);
    EXPECT_EQ(far.text, "   7");
  }
  // Just below twice the tolerance the row is still shown.
  EXPECT_EQ(FormatReflectionRow(7, Indexed({1.0, 2.0, 3.0}, 1.99 * kOneDegree, true), kOneDegree).kind,
            ReflectionRowKind::WithoutIndices);
}

TEST(ReflectionRows, ResidualNormMeasuresTheDistanceFromIntegers) {
  EXPECT_NEAR(IndexResidualNorm({1.02, -2.01, 3.0}), std::sqrt(0.0005), 1e-12);
  EXPECT_DOUBLE_EQ(IndexResidualNorm({0.5, -0.5, 7.0}), std::sqrt(0.5));
  EXPECT_EQ(IndexResidualNorm({-4.0, 0.0, 12.0}), 0.0);
}

TEST(OddPercentages, DividedByBothCountsAndAsterisksWithoutSupport) {
  // 10 h reflections of which 4 are H: the divisor is 14.
  EXPECT_EQ(OddPercentageLine({5, 7, 3}, 10, 4), " Odd [%] |  36  50  21 |");
  EXPECT_EQ(OddPercentageLine({0, 0, 0}, 0, 0), " Odd [%] |************ |");
  EXPECT_EQ(OddPercentageLine({1, 0, 1}, 1, 1), " Odd [%] |  50   0  50 |");
}

TEST(CellParameters, LengthsAndAnglesOfTheRows) {
  const CellParameters cell = CellOfBasis(Mat3{{{2, 0, 0}, {0, 3, 0}, {0, 4, 4}}});
  EXPECT_DOUBLE_EQ(cell.lengths[0], 2.0);
  EXPECT_DOUBLE_EQ(cell.lengths[1], 3.0);
  EXPECT_DOUBLE_EQ(cell.lengths[2], std::sqrt(32.0));
  EXPECT_NEAR(cell.anglesInDegrees[0], 45.0, 1e-12);  // alpha = (b, c)
  EXPECT_NEAR(cell.anglesInDegrees[1], 90.0, 1e-12);  // beta = (c, a)
  EXPECT_NEAR(cell.anglesInDegrees[2], 90.0, 1e-12);  // gamma = (a, b)
}

// A cubic cell of volume 1000 and four reflections: (1,0,0) and (1,2,3) exactly, (3,5,8) about
// 0.34 degrees off, and (1,0,13) exactly but beyond the index bound 12.
struct CubicRun {
  RunParameters parameters;
  DirectionStore directions;
  SolutionStore store;

  CubicRun() {
    parameters.NumberOfReflections = 4;
    parameters.AngularDeviationCriterion = 0.5 * kOneDegree;
    directions(1) = Unit(1, 0, 0);
    directions(2) = Unit(1, 2, 3);
    directions(3) = Unit(0.3, 0.5, 0.81);
    directions(4) = Unit(1, 0, 13);
    store.NumberOfSolutions = 1;
    store(1).SolutionBasis = Mat3{{{10, 0, 0}, {0, 10, 0}, {0, 0, 10}}};
    store(1).SolutionQuality = 3.5;
  }
};

TEST(SolutionReports, BlockOfACubicCellAndTheConsoleSummary) {
  CubicRun run;
  const std::string dir = testing::MakeScratchDir("results");
  TextFile results;
  results.Open(dir + "/block.res");
  std::ostringstream console;
  WriteSolutionReports(results, run.store, run.parameters, run.directions, true, console);
  results.Close();

  const std::string dashes = " " + std::string(56, '-');
  const std::vector<std::string> expected = {
      dashes,
      "  Solution nr   1 out of   1.",
      "",
      "   Direct basis vectors (in rows) = inverse of UB matrix;",
      "   transforms RL vectors to Miller indices :",
      "              1.00000000    0.00000000    0.00000000",
      "              0.00000000    1.00000000    0.00000000",
      "              0.00000000    0.00000000    1.00000000",
      "",
      "         |   h   k   l |      Real (hkl)       |  Error",
      dashes,
      "   1  H- |   1   0   0 |   1.00   0.00   0.00  |  0.000",
      "   2  H- |   1   2   3 |   1.00   2.00   3.00  |  0.000",
      "   3  -h |   3   5   8 |   2.98   4.96   8.03  |  0.058",
      "   4     |             |   1.00   0.00  13.00  |  0.000",
      dashes,
      " Odd [%] |  60  20  20 |",
      dashes,
      "    3h and   2H vectors out of   4.    Quality : 0.875",
      "",
      "  Primitive cell :",
      "                          10.000   10.000   10.000",
      "                          90.00    90.00    90.00",
      "",
      "  Volume of the cell  :     1000.00",
      "",
  };
  EXPECT_EQ(SplitLines(testing::ReadTextFile(dir + "/block.res")), expected);
  EXPECT_EQ(console.str(), " The first solution :\n"
                           "    Cell volume :" + std::string(16, ' ') + "     1000.00\n"
                           "    Supporting reflections : h -   3, H -   2\n"
                           "\n");
}

TEST(SolutionReports, SummaryOnlyForTheFirstOfSeveralAndOnlyOnRequest) {
  CubicRun run;
  run.store.NumberOfSolutions = 2;
  run.store(2).SolutionBasis = Mat3{{{-10, 0, 0}, {0, 10, 0}, {0, 0, 10}}};
  const std::string dir = testing::MakeScratchDir("results");
  TextFile results;
  results.Open(dir + "/two.res");
  std::ostringstream console;
  WriteSolutionReports(results, run.store, run.parameters, run.directions, true, console);
  results.Close();
  const std::string text = testing::ReadTextFile(dir + "/two.res");
  EXPECT_NE(text.find("  Solution nr   2 out of   2."), std::string::npos);
  // The negative determinant is shown by its absolute value.
  const std::string volumeLine = "  Volume of the cell  :     1000.00\n";
  const std::size_t first = text.find(volumeLine);
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(text.find(volumeLine, first + 1), std::string::npos);
  EXPECT_EQ(SplitLines(console.str()).size(), 4u);

  std::ostringstream quiet;
  TextFile again;
  again.Open(dir + "/quiet.res");
  WriteSolutionReports(again, run.store, run.parameters, run.directions, false, quiet);
  again.Close();
  EXPECT_EQ(quiet.str(), "");

  // No kept solution: nothing in the file, nothing on the console.
  run.store.NumberOfSolutions = 0;
  std::ostringstream none;
  TextFile empty;
  empty.Open(dir + "/none.res");
  WriteSolutionReports(empty, run.store, run.parameters, run.directions, true, none);
  empty.Close();
  EXPECT_EQ(testing::ReadTextFile(dir + "/none.res"), "");
  EXPECT_EQ(none.str(), "");
}

TEST(ResultsFileOpening, NameFromTheInputNameAndTitleBlock) {
  EXPECT_EQ(ResultsFileName("  data/run1.kqt  "), "data/run1_kqt.res");

  const std::string dir = testing::MakeScratchDir("results");
  ASSERT_EQ(system(("mkdir " + testing::ShellQuote(dir + "/data")).c_str()), 0);
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  RunParameters parameters;
  std::ostringstream console;
  TextFile results;
  OpenResultsFile(results, "   data/run1.kqt ", parameters, 3, console);
  results.Close();
  ASSERT_EQ(chdir(previous), 0);

  EXPECT_EQ(console.str(), " Results saved in file : data/run1_kqt.res\n");
  const std::vector<std::string> lines = SplitLines(testing::ReadTextFile(dir + "/data/run1_kqt.res"));
  ASSERT_GE(lines.size(), 7u);
  const std::string equals = " " + std::string(56, '=');
  const std::string dashes = " " + std::string(56, '-');
  const std::vector<std::string> title(lines.begin(), lines.begin() + 7);
  EXPECT_EQ(title, (std::vector<std::string>{equals, dashes, "", " Orvanthel (v. 1.0): Solutions for data/run1.kqt", "",
                                             dashes, equals}));
}

TEST(ResultsFileOpening, AFileThatCannotBeCreatedEndsTheRun) {
  const std::string dir = testing::MakeScratchDir("results");
  RunParameters parameters;
  std::ostringstream console;
  TextFile results;
  EXPECT_THROW(OpenResultsFile(results, dir + "/missing/run.kqt", parameters, 0, console), OutputFileError);
}

}  // namespace
}  // namespace orv
