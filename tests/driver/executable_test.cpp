// The real executable: exit statuses of its endings and a complete run of the shipped example.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.hpp"

namespace orv {
namespace {

TEST(Executable, ExitStatusesOfTheEndings) {
  const std::string dir = testing::MakeScratchDir("exe");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* text;
  };
  const std::vector<Case> cases = {
      {{"--help"}, 0, " This is a program for indexing of single crystal data."},
      {{"a.kqt", "b.kqt"}, 1, " Error: Too many command line arguments."},
      {{}, 1, " Error: No file name was given."},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult result = testing::RunOrvanthel(c.arguments, dir);
    EXPECT_EQ(result.exitStatus, c.status) << c.text;
    EXPECT_NE(result.output.find(c.text), std::string::npos) << result.output;
    EXPECT_NE(result.output.find(" Press Enter to continue."), std::string::npos) << c.text;
  }
}

TEST(Executable, TheMinimalExampleRunsToItsTimings) {
  const std::string dir = testing::MakeScratchDir("example");
  testing::WriteTextFile(dir + "/minimal.kqt",
                         testing::ReadTextFile(std::string(ORVANTHEL_SOURCE_DIR) + "/examples/minimal.kqt"));
  const testing::ProcessResult result = testing::RunOrvanthel({"minimal.kqt"}, dir);
  EXPECT_EQ(result.exitStatus, 0) << result.output;
  EXPECT_EQ(result.output.find(" Angular deviation  [deg] :                              1.500\n"
                               " Log file :                                                  1\n"),
            result.output.find(" Angular deviation"));
  EXPECT_NE(result.output.find(" CPU time    :"), std::string::npos) << result.output;
  EXPECT_TRUE(testing::FileExists(dir + "/minimal_kqt.log"));
}

}  // namespace
}  // namespace orv
