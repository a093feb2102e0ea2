// The command-line conventions the importer and the simulator share with the indexer.
#include "programs/tool_command_line.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "programs/option_suggestion.hpp"
#include "programs/version_line.hpp"
#include "run_data/program_version.hpp"

namespace orv {
namespace {

struct Tool {
  CLI::App app{"a tool", "tool"};
  std::string file;
  double tolerance = 1.0;
  Tool() {
    SetUpToolCommandLine(app, 20);
    app.add_option("FILE", file);
    app.add_option("--tolerance", tolerance);
    app.footer(kManualLine);
  }
  ToolRequest Read(const std::vector<std::string>& arguments, std::string& text) {
    return ReadToolCommandLine(app, arguments, "tool", text);
  }
};

TEST(ToolCommandLine, UnknownOptionsAreNamedWithTheClosestKnownOne) {
  std::string text;
  EXPECT_EQ(Tool().Read({"list.txt", "--tolerence", "2"}, text), ToolRequest::Fault);
  EXPECT_EQ(text, "unknown option --tolerence (see --help). Did you mean --tolerance?");
  EXPECT_EQ(Tool().Read({"--tolerence=2", "list.txt"}, text), ToolRequest::Fault);
  EXPECT_EQ(text, "unknown option --tolerence (see --help). Did you mean --tolerance?");
  EXPECT_EQ(Tool().Read({"--frobnicate", "list.txt"}, text), ToolRequest::Fault);
  EXPECT_EQ(text, "unknown option --frobnicate (see --help)");
  // After a lone "--" every item is a plain item, however it is written.
  Tool plain;
  EXPECT_EQ(plain.Read({"--tolerance=2", "--", "--list.txt"}, text), ToolRequest::Run);
  EXPECT_EQ(plain.file, "--list.txt");
  EXPECT_EQ(plain.tolerance, 2.0);
  // A repeated option takes its last value; a fault of a value is CLI11's message naming it.
  Tool repeated;
  EXPECT_EQ(repeated.Read({"a", "--tolerance", "2", "--tolerance", "3"}, text), ToolRequest::Run);
  EXPECT_EQ(repeated.tolerance, 3.0);
  EXPECT_EQ(Tool().Read({"a", "--tolerance", "x"}, text), ToolRequest::Fault);
  EXPECT_NE(text.find("--tolerance"), std::string::npos) << text;
  Tool thrown;
  EXPECT_THROW(ParseToolCommandLine<std::invalid_argument>(thrown.app, {"--tolerence"}, "tool", text),
               std::invalid_argument);
}

TEST(ToolCommandLine, HelpAndVersionAreTextToShow) {
  std::string text;
  EXPECT_EQ(Tool().Read({"a", "--version"}, text), ToolRequest::ShowVersion);
  EXPECT_EQ(text, std::string("tool ") + kProgramVersion + "\n");
  EXPECT_EQ(VersionLine("Orvanthel"), std::string("Orvanthel ") + kProgramVersion);
  EXPECT_EQ(Tool().Read({"--tolerance", "2", "-h"}, text), ToolRequest::ShowHelp);
  EXPECT_NE(text.find("--tolerance"), std::string::npos);
  EXPECT_NE(text.find("this text"), std::string::npos);
  EXPECT_NE(text.find(kManualLine), std::string::npos);
}

TEST(OptionSuggestion, OnlyASlipOfTheKeyboardIsSuggested) {
  EXPECT_EQ(EditDistance("kitten", "sitting"), 3u);
  EXPECT_EQ(EditDistance("", "abc"), 3u);
  EXPECT_EQ(ClosestName("--jsn", {"--json", "--svg"}), std::optional<std::string>("--json"));
  EXPECT_EQ(ClosestName("--colour", {"--json", "--svg"}), std::nullopt);
}

}  // namespace
}  // namespace orv
