// Post-processing and its report: the cut to the best solutions, the volume scaling, the results file sections.
#include "solutions/post_process.hpp"

#include "reports/results_file.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "text/text_file.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

const std::string kOrdered = "             Solutions ordered by quality                \n";

// Four reflections: too few for a refinement to change any stored basis.
struct SmallRun {
  RunParameters parameters;
  DirectionStore directions;
  SolutionStore store;
  std::string dir = testing::MakeScratchDir("post");
  std::ostringstream console;

  SmallRun() {
    parameters.NumberOfReflections = 4;
    directions(1) = {1, 0, 0};
    directions(2) = {0, 1, 0};
    directions(3) = {0, 0, 1};
    directions(4) = {0.6, 0.8, 0};
  }
  // A cell with edges (1, 1, |c|), volume c.
  void Add(double c, double quality) {
    SolutionRecord& record = store(++store.NumberOfSolutions);
    record.SolutionBasis = Mat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, c}}};
    record.SolutionQuality = quality;
  }
  std::string Run() {
    RunObserver quiet;
    PrepareSolutions(parameters, directions, store, quiet);
    RankSolutionsForReport(parameters, directions, store, quiet);
    WriteResultsFile(" " + dir + "/run.kqt ", parameters, directions, store, console);
    return testing::ReadTextFile(dir + "/run_kqt.res");
  }
};

TEST(PostProcess, KeepsTheBestScaledToTheCellVolumeWithTheirOrientation) {
  SmallRun run;
  run.parameters.MaxNumberOfSavedBases = 2;
  const double cs[] = {1.5, -2.5, 3.5, 4.5, 5.5};
  const double qualities[] = {1, 5, 3, 4, 2};
  for (int i = 0; i < 5; ++i) run.Add(cs[i], qualities[i]);
  const std::string text = run.Run();
  ASSERT_EQ(run.store.NumberOfSolutions, 2);
  std::set<long> kept;
  for (int i = 1; i <= 2; ++i) {
    const Mat3& b = run.store(i).SolutionBasis;
    kept.insert(std::lround(10 * b[2][2] / b[0][0]));
    EXPECT_NEAR(Determinant(b), b[2][2] < 0 ? -1000.0 : 1000.0, 1e-9);
  }
  EXPECT_EQ(kept, (std::set<long>{-25, 45}));
  EXPECT_NE(text.find("  Solution nr   2 out of   2.\n"), std::string::npos);
  EXPECT_EQ(text.find("  Solution nr   3"), std::string::npos);
  EXPECT_NE(text.find("  Volume of the cell  :     1000.00\n"), std::string::npos);
  EXPECT_EQ(text.find("Relationships"), std::string::npos);
}

TEST(PostProcess, ZeroVolumeBasisIsLeftUnscaled) {
  SmallRun run;
  run.Add(2.0, 2.0);
  run.Add(0.0, 1.0);
  const Mat3 flat = run.store(2).SolutionBasis;
  run.Run();
  ASSERT_EQ(run.store.NumberOfSolutions, 2);
  EXPECT_TRUE(run.store(1).SolutionBasis == flat || run.store(2).SolutionBasis == flat);
}

TEST(PostProcess, RelationshipsFollowTheLastBlockForSortTypeOne) {
  SmallRun run;
  run.parameters.SortSolutionsByQualityType = 1;
  run.Add(2.0, 2.0);
  run.Add(3.0, 1.0);
  const std::string text = run.Run();
  const std::string heading = "  Volume of the cell  :     1000.00\n\n\n\n " + std::string(56, '=') +
                              "\n                      Relationships\n " + std::string(56, '-') + "\n    1 <=>   2\n";
  EXPECT_NE(text.find(heading), std::string::npos);
}

TEST(PostProcess, EmptyStoreEndsAfterTheHeaderAndSaysSoOnTheConsole) {
  SmallRun run;
  const std::string text = run.Run();
  EXPECT_EQ(text.substr(text.size() - kOrdered.size()), kOrdered);
  EXPECT_EQ(run.console.str(), " Results saved in file : " + run.dir + "/run_kqt.res\n" + NoSolutionLine() + "\n");
}

}  // namespace
}  // namespace orv
