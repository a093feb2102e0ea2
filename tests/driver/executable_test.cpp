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

// Through a pipe a single run writes no progress records, so its console reads as plain lines;
// --progress shows them as a terminal does.
TEST(Executable, ThroughAPipeTheProgressLineIsLeftOut) {
  const std::string dir = testing::MakeScratchDir("pipe");
  testing::WriteTextFile(dir + "/silicon.kqt",
                         testing::ReadTextFile(std::string(ORVANTHEL_SOURCE_DIR) + "/examples/silicon.kqt"));
  const testing::ProcessResult piped = testing::RunOrvanthel({"silicon.kqt"}, dir);
  EXPECT_EQ(piped.exitStatus, 0) << piped.output;
  EXPECT_EQ(piped.output.find('\r'), std::string::npos);
  EXPECT_EQ(piped.output.find("Progress"), std::string::npos);
  EXPECT_NE(piped.output.find(" Results saved in file : silicon_kqt.res\n"), std::string::npos) << piped.output;
  const testing::ProcessResult forced = testing::RunOrvanthel({"silicon.kqt", "--progress"}, dir);
  EXPECT_EQ(forced.exitStatus, 0);
  EXPECT_NE(forced.output.find("\r Progress : "), std::string::npos);
  const auto results = [](const std::string& text) {
    const std::size_t start = text.find(" Results saved");
    return text.substr(start, text.find(" System time") - start);
  };
  EXPECT_EQ(results(forced.output), results(piped.output))
      << "only the progress records differ";
}

// A file name with an escape sequence and a byte that is not UTF-8: the picture stays well-formed
// XML: no control byte but the line ends, and no stray byte.
TEST(Executable, ControlBytesInAFileNameLeaveThePictureWellFormed) {
  const std::string dir = testing::MakeScratchDir("control-bytes");
  const std::string name = "si\x1b[2J\xff.kqt";
  testing::WriteTextFile(dir + "/" + name,
                         testing::ReadTextFile(std::string(ORVANTHEL_SOURCE_DIR) + "/examples/silicon.kqt"));
  const testing::ProcessResult run = testing::RunOrvanthel({"--svg", name}, dir);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const std::string svg = testing::ReadTextFile(dir + "/si\x1b[2J\xff_kqt.svg");
  ASSERT_FALSE(svg.empty());
  for (const char c : svg) {
    const unsigned char byte = static_cast<unsigned char>(c);
    EXPECT_TRUE(byte == '\n' || (byte >= 0x20 && byte != 0x7f && byte != 0xff)) << int(byte);
  }
  EXPECT_NE(svg.find("si?[2J?.kqt: solution 1"), std::string::npos);
}

}  // namespace
}  // namespace orv
