// Post-processing: the cut to the best solutions, the volume scaling, the sections of the results
// file by sort type, the empty store and the log heading.
#include "solutions/post_process.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "reports/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Vec3 Unit(double x, double y, double z) {
  const double n = std::sqrt(x * x + y * y + z * z);
  return {x / n, y / n, z / n};
}

// Four reflections, too few for any refinement to change a stored basis.
struct SmallRun {
  RunParameters parameters;
  DirectionStore directions;
  SolutionStore store;
  std::string dir = testing::MakeScratchDir("post");
  std::string input = dir + "/run.kqt";
  std::ostringstream console;

  SmallRun() {
    parameters.NumberOfReflections = 4;
    directions(1) = Unit(1, 0, 0);
    directions(2) = Unit(0, 1, 0);
    directions(3) = Unit(0, 0, 1);
    directions(4) = Unit(1, 1, 1);
  }

  // Solution i: edges (1, 1, ratio) in a cell of volume `ratio` with the given sign.
  void Add(double ratio, double quality, double sign = 1.0) {
    const int i = ++store.NumberOfSolutions;
    store(i).SolutionBasis = Mat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, sign * ratio}}};
    store(i).SolutionQuality = quality;
  }

  std::string Run() {
    TextFile log;
    PostProcessSolutions("  " + input + " ", parameters, directions, store, log, console);
    return testing::ReadTextFile(dir + "/run_kqt.res");
  }
};

double Ratio(const Mat3& basis) { return std::fabs(basis[2][2] / basis[0][0]); }

TEST(PostProcess, KeepsTheBestAndScalesThemToTheCellVolume) {
  SmallRun run;
  run.parameters.MaxNumberOfSavedBases = 2;
  run.Add(1.5, 1.0);
  run.Add(2.5, 5.0);
  run.Add(3.5, 3.0);
  run.Add(4.5, 4.0);
  run.Add(5.5, 2.0);
  const std::string text = run.Run();

  ASSERT_EQ(run.store.NumberOfSolutions, 2);
  std::set<double> ratios;
  for (int i = 1; i <= 2; ++i) {
    const Mat3& basis = run.store(i).SolutionBasis;
    EXPECT_NEAR(Determinant(basis), 1000.0, 1e-9);
    ratios.insert(std::round(Ratio(basis) * 10.0) / 10.0);
  }
  EXPECT_EQ(ratios, (std::set<double>{2.5, 4.5}));
  EXPECT_NE(text.find("  Solution nr   2 out of   2."), std::string::npos);
  EXPECT_EQ(text.find("  Solution nr   3"), std::string::npos);
  EXPECT_NE(run.console.str().find(" Results saved in file : " + run.dir + "/run_kqt.res\n"), std::string::npos);
  EXPECT_NE(text.find(" Orvanthel (v. 1.0): Solutions for " + run.input + "\n"), std::string::npos);
}

TEST(PostProcess, NegativeDeterminantKeepsItsSign) {
  SmallRun run;
  run.Add(2.0, 1.0, -1.0);
  const std::string text = run.Run();
  EXPECT_NEAR(Determinant(run.store(1).SolutionBasis), -1000.0, 1e-9);
  EXPECT_NE(text.find("  Volume of the cell  :     1000.00\n"), std::string::npos);
  EXPECT_NE(run.console.str().find(" The first solution :\n"), std::string::npos);
}

TEST(PostProcess, BasisWithoutVolumeIsLeftUnscaled) {
  SmallRun run;
  run.Add(2.0, 2.0);
  run.Add(0.0, 1.0);
  const Mat3 flat = run.store(2).SolutionBasis;
  run.Run();
  ASSERT_EQ(run.store.NumberOfSolutions, 2);
  int flatCount = 0;
  for (int i = 1; i <= 2; ++i) {
    const Mat3& basis = run.store(i).SolutionBasis;
    if (basis == flat) {
      ++flatCount;
    } else {
      EXPECT_NEAR(Determinant(basis), 1000.0, 1e-9);
    }
  }
  EXPECT_EQ(flatCount, 1);
}

TEST(PostProcess, RelationshipsOnlyForSortTypeOne) {
  SmallRun run;
  run.Add(2.0, 2.0);
  run.Add(3.0, 1.0);
  const std::string ordered = " " + std::string("            Solutions ordered by quality                ");
  const std::string withoutRelationships = run.Run();
  EXPECT_NE(withoutRelationships.find(ordered + "\n"), std::string::npos);
  EXPECT_EQ(withoutRelationships.find("Relationships"), std::string::npos);
  EXPECT_EQ(withoutRelationships.find("<=>"), std::string::npos);

  SmallRun typeOne;
  typeOne.parameters.SortSolutionsByQualityType = 1;
  typeOne.Add(2.0, 2.0);
  typeOne.Add(3.0, 1.0);
  const std::vector<std::string> lines = SplitLines(typeOne.Run());
  const std::string dashes = " " + std::string(56, '-');
  std::size_t heading = 0;
  while (heading < lines.size() && lines[heading] != "                      Relationships") ++heading;
  ASSERT_LT(heading, lines.size());
  ASSERT_GE(heading, 3u);
  EXPECT_EQ(lines[heading - 1], " " + std::string(56, '='));
  EXPECT_EQ(lines[heading - 2], "");
  EXPECT_EQ(lines[heading - 3], "");
  // After the last solution block, before the pair and its closing line.
  EXPECT_EQ(lines[heading - 5], "  Volume of the cell  :     1000.00");
  ASSERT_EQ(lines.size(), heading + 11);
  EXPECT_EQ(lines[heading + 2], "    1 <=>   2");
  EXPECT_EQ(lines.back(), dashes);
}

TEST(PostProcess, EmptyStoreEndsAfterTheHeaderWithoutSummary) {
  SmallRun run;
  const std::vector<std::string> lines = SplitLines(run.Run());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), " " + std::string("            Solutions ordered by quality                "));
  EXPECT_EQ(run.console.str(), " Results saved in file : " + run.dir + "/run_kqt.res\n");

  SmallRun typeOne;
  typeOne.parameters.SortSolutionsByQualityType = 1;
  const std::vector<std::string> withHeading = SplitLines(typeOne.Run());
  ASSERT_GE(withHeading.size(), 2u);
  EXPECT_EQ(withHeading[withHeading.size() - 2], "                      Relationships");
  EXPECT_EQ(withHeading.back(), " " + std::string(56, '-'));
}

TEST(PostProcess, LogHeadingOpensThePostProcessingRecord) {
  SmallRun run;
  run.parameters.CreateLogFile = 1;
  run.Add(2.0, 1.0);
  TextFile log;
  log.Open(run.dir + "/run_kqt.log");
  PostProcessSolutions(run.input, run.parameters, run.directions, run.store, log, run.console);
  log.Close();
  const std::vector<std::string> lines = SplitLines(testing::ReadTextFile(run.dir + "/run_kqt.log"));
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            (std::vector<std::string>{"", " " + std::string(50, '='), " Saving results", ""}));
}

}  // namespace
}  // namespace orv
