// A batch that looks for several grains: the grain columns of its summary, resumed and merged.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/batch_summary.hpp"
#include "support/grain_patterns.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

TEST(GrainBatch, TheSummaryGainsTheGrainColumnsAndAResumedOrMergedBatchKeepsThem) {
  const std::string dir = testing::MakeScratchDir("grain-batch");
  testing::WriteTwoGrainPattern(dir, 0.0);
  testing::WriteTextFile(dir + "/bad.kqt", "_NumberOfReflections\n3\n");
  testing::WriteTextFile(dir + "/list.txt", "two.kqt\nbad.kqt\n");
  testing::WriteTextFile(dir + "/phases.txt", "GaN 3.189 3.189 5.185 90 90 120 P\n");

  const std::vector<std::string> arguments = {"--grains", "2", "--phases", "phases.txt", "--batch", "list.txt"};
  EXPECT_EQ(testing::RunOrvanthel(arguments, dir).exitStatus, 1);
  std::vector<std::string> lines = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], SummaryHeaderOf(false, true));
  const auto two = ParseRow(lines[1]);
  ASSERT_TRUE(two);
  ASSERT_EQ(two->grainFields.size(), kGrainColumns);
  EXPECT_EQ(two->grainFields[0], "2");
  EXPECT_EQ(two->grainFields[1], "hP");
  EXPECT_NEAR(std::stod(two->grainFields[2]), 3.189, 0.01);  // brought to the volume of GaN
  EXPECT_EQ(two->grainFields[9], "GaN");
  EXPECT_EQ(two->grainFields[10], "0");  // every spot belongs to a grain
  // A failed pattern has the columns too, empty.
  const auto bad = ParseRow(lines[2]);
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->status, "failed");
  EXPECT_EQ(bad->grainFields, std::vector<std::string>(kGrainColumns));

  // Run again: the indexed pattern is complete and kept, its grain columns with it.
  const testing::ProcessResult again = testing::RunOrvanthel(arguments, dir);
  EXPECT_NE(again.output.find("1 complete before"), std::string::npos) << again.output;
  EXPECT_EQ(testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"))[1], lines[1]);

  // With the orientation as well, the grain columns follow the orientation columns.
  std::vector<std::string> oriented = arguments;
  oriented.insert(oriented.begin(), "--orientation");
  EXPECT_EQ(testing::RunOrvanthel(oriented, dir).exitStatus, 1);
  lines = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], SummaryHeaderOf(true, true));
  const auto both = ParseRow(lines[1]);
  ASSERT_TRUE(both);
  EXPECT_EQ(both->orientation.size(), 10u);
  EXPECT_FALSE(both->orientation[0].empty());  // phi1
  EXPECT_EQ(both->grainFields[1], "hP");

  // Shards of a grain batch merge into a summary with the grain columns.
  for (const char* shard : {"0/2", "1/2"}) {
    std::vector<std::string> sharded = arguments;
    sharded.insert(sharded.end(), {"--shard", shard});
    testing::RunOrvanthel(sharded, dir);
  }
  testing::RunOrvanthel({"--batch", "list.txt", "--merge"}, dir);
  lines = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], SummaryHeaderOf(false, true));
  EXPECT_EQ(ParseRow(lines[1])->grainFields[1], "hP");
}

}  // namespace
}  // namespace orv
