// The program entry: command-line paths, the file-name prompt, the pause, error endings, timings.
#include "driver/program_entry.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <new>
#include <regex>
#include <stdexcept>
#include <streambuf>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run_timing.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

struct Outcome {
  int status = -1;
  std::string console;
};

Outcome RunWith(const std::vector<std::string>& arguments, const std::string& stdinText = "") {
  std::istringstream in(stdinText);
  std::ostringstream out;
  Outcome outcome;
  outcome.status = RunProgram(arguments, in, out);
  outcome.console = out.str();
  return outcome;
}

const char* const kPause = " Press Enter to continue.\n";
const std::string kExtension = std::string(" Error: Extention of filename is not .kqt.\n") + kPause;

const std::string kFourDirections =
    "# four directions\n_NumberOfReflections\n4\n_Reflections\n1 0 0\n0 1 0\n0 0 1\n"
    "0.5773502691896258 0.5773502691896258 0.5773502691896258\n";

std::string ValidFile(const std::string& dir, const std::string& extra = "", const std::string& name = "run.kqt") {
  const std::string path = dir + "/" + name;
  testing::WriteTextFile(path, kFourDirections + extra);
  return path;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(ProgramEntry, OptionsComeBeforeTheFileNameAndLeaveTheClassicFormsAlone) {
  EXPECT_EQ(RunWith({"--version"}).console, " Orvanthel 1.1.0\n");
  EXPECT_EQ(RunWith({"--version"}).status, 0);

  const std::string dir = testing::MakeScratchDir("options");
  const Outcome threaded = RunWith({"--threads", "2", ValidFile(dir)});
  EXPECT_EQ(threaded.status, 0) << threaded.console;
  EXPECT_TRUE(testing::FileExists(dir + "/run_kqt.res"));

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--threads", "0", "run.kqt"}, {"--threads", "two", "run.kqt"}, {"--threads"}}) {
    const Outcome outcome = RunWith(bad);
    EXPECT_EQ(outcome.status, 1) << bad[0];
    EXPECT_EQ(outcome.console.rfind(" Error: --threads", 0), 0u) << outcome.console;
    EXPECT_TRUE(EndsWith(outcome.console, kPause));
  }
  // Options may follow the file name; a slip of the keyboard is named with the option it resembles.
  const Outcome after = RunWith({ValidFile(dir), "--threads", "2"});
  EXPECT_EQ(after.status, 0) << after.console;
  EXPECT_EQ(after.console.find("Error"), std::string::npos) << after.console;
  const std::vector<std::pair<std::vector<std::string>, std::string>> slips = {
      {{"--choose-latice", "run.kqt"}, " Error: unknown option --choose-latice. Did you mean --choose-lattice?\n"},
      {{"run.kqt", "--jsn"}, " Error: unknown option --jsn. Did you mean --json?\n"},
      {{"--thread=2", "run.kqt"}, " Error: unknown option --thread. Did you mean --threads?\n"},
      {{"--colour", "run.kqt"}, " Error: unknown option --colour.\n"},
      {{"run.kqt", "--batch", "list"}, " Error: --batch: it takes the patterns from LIST"},
  };
  for (const auto& [arguments, message] : slips) {
    const Outcome outcome = RunWith(arguments);
    EXPECT_EQ(outcome.status, 1) << message;
    EXPECT_EQ(outcome.console.rfind(message, 0), 0u) << outcome.console;
  }
}

TEST(ProgramEntry, HelpWordsPrintTheHelpAndEndWithStatusZero) {
  // The classic line, then a manual that exists, then every option of the program on a line of its own.
  const std::string help = std::string("\n This is a program for indexing of single crystal data.\n") +
                           " For a description see README.md and the docs folder beside the program's sources.\n\n";
  for (const char* word : {"-h", "--help", "-help", "help", "h", "  -h  ", " help"}) {
    const Outcome outcome = RunWith({word});
    EXPECT_EQ(outcome.status, 0) << word;
    EXPECT_EQ(outcome.console.rfind(help, 0), 0u) << word;
    EXPECT_TRUE(EndsWith(outcome.console, kPause)) << word;
    for (const char* option : {"--version", "--threads N ", "--choose-lattice", "--json", "--svg", "--batch LIST",
                               "--force", "--shard I/N", "--merge", "--workers N"})
      EXPECT_NE(outcome.console.find("\n   " + std::string(option)), std::string::npos) << option;
  }
  EXPECT_TRUE(testing::FileExists(std::string(ORVANTHEL_SOURCE_DIR) + "/README.md"));
  EXPECT_TRUE(std::filesystem::is_directory(std::string(ORVANTHEL_SOURCE_DIR) + "/docs"));
  // Other letter cases are file names and fail the extension check.
  for (const char* word : {"HELP", "-H", "Help"}) {
    const Outcome outcome = RunWith({word});
    EXPECT_EQ(outcome.status, 1) << word;
    EXPECT_EQ(outcome.console, kExtension) << word;
  }
}

TEST(ProgramEntry, TwoOrMoreArgumentsAreRefusedWithoutOpeningAFile) {
  const std::string dir = testing::MakeScratchDir("arguments");
  const std::string file = ValidFile(dir);
  const std::string usage = std::string(" Error: Too many command line arguments.\n") +
                            "        use    Orvanthel\n" + "        or     Orvanthel -h\n" +
                            "        or     Orvanthel filename.kqt\n" + kPause;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{file, file}, {"-h", "x"}, {"a", "b", "c"}}) {
    const Outcome outcome = RunWith(arguments);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.console, usage);
  }
  EXPECT_FALSE(testing::FileExists(dir + "/run_kqt.res"));
}

TEST(ProgramEntry, PromptTakesTheFirstItemOfTheFirstNonEmptyLine) {
  const std::string dir = testing::MakeScratchDir("prompt");
  struct Case {
    std::string typed;
    std::string ending;  // the console after the prompt
  };
  const std::vector<Case> cases = {
      {"\n   \ndir/run.kqt\n", std::string(" Error: Cannot open dir/run.kqt.\n") + kPause},
      {"a b.kqt\n", kExtension},
      {"x.kqt,y.kqt\n", std::string(" Error: Cannot open x.kqt.\n") + kPause},
      {"\t'q r.kqt' more\n", std::string(" Error: Cannot open q r.kqt.\n") + kPause},
      {"\"it's.kqt\"\n", std::string(" Error: Cannot open it's.kqt.\n") + kPause},
      {", run.kqt\n", kExtension},
      {"", std::string("\n Error: No file name was given.\n") + kPause},
      {"\n  \n", std::string("\n Error: No file name was given.\n") + kPause},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunWith({}, c.typed);
    EXPECT_EQ(outcome.status, 1) << c.typed;
    const std::string prompt = " Enter filename : ";
    const std::size_t at = outcome.console.find(prompt);
    ASSERT_NE(at, std::string::npos) << c.typed;
    EXPECT_EQ(outcome.console.substr(at + prompt.size()), c.ending) << c.typed;
    // The banner comes first: eleven empty lines, the lettering, the subtitle.
    EXPECT_EQ(outcome.console.substr(0, 11), std::string(11, '\n'));
    EXPECT_NE(outcome.console.find("v. 0.1\n\n              Ab initio indexing of Laue diffraction patterns\n\n"),
              std::string::npos);
  }

  // A quoted name with blanks reaches a real file and the run completes.
  const std::string spaced = dir + "/my run.kqt";
  testing::WriteTextFile(spaced, kFourDirections);
  const Outcome outcome = RunWith({}, "\n'" + spaced + "'\n");
  EXPECT_EQ(outcome.status, 0) << outcome.console;
  EXPECT_NE(outcome.console.find(" Enter filename : "), std::string::npos);
}

TEST(ProgramEntry, CommandLineNamesAreTrimmedByTheReader) {
  const std::string dir = testing::MakeScratchDir("names");
  const Outcome blanks = RunWith({"  " + dir + "/none.kqt  "});
  EXPECT_EQ(blanks.status, 1);
  EXPECT_EQ(blanks.console, " Error: Cannot open " + dir + "/none.kqt.\n" + kPause);
  // No banner with a name on the command line.
  EXPECT_EQ(blanks.console.find("Ab initio"), std::string::npos);
}

// A name is taken whole up to the longest the system allows; a longer one is called too long.
TEST(ProgramEntry, LongNamesAreTakenWholeUpToTheSystemLimit) {
  std::string deep = testing::MakeScratchDir("long");
  while (deep.size() < 1900) {
    deep += "/" + std::string(200, 'd');
    ASSERT_EQ(testing::RunCommand("mkdir " + testing::ShellQuote(deep), "/").exitStatus, 0);
  }
  const std::string file = ValidFile(deep);
  ASSERT_GT(file.size(), 1024u);
  const Outcome whole = RunWith({file});
  EXPECT_EQ(whole.status, 0) << whole.console.substr(0, 300);
  EXPECT_TRUE(testing::FileExists(deep + "/run_kqt.res"));

  for (const std::size_t length : {std::size_t{PATH_MAX}, std::size_t{5000}}) {
    const std::string name = std::string(length - 4, 'a') + ".kqt";
    const Outcome tooLong = RunWith({" " + name + " "});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_EQ(tooLong.console, " Error: The file name is too long: it has " + std::to_string(length) +
                                   " characters, the system takes at most " + std::to_string(PATH_MAX - 1) + ".\n" +
                                   kPause);
  }
}

TEST(ProgramEntry, ThePauseReadsOneLineOnly) {
  std::istringstream in("first answer\nleft over\n");
  std::ostringstream out;
  EXPECT_EQ(RunProgram({"-h"}, in, out), 0);
  std::string rest;
  std::getline(in, rest);
  EXPECT_EQ(rest, "left over");
}

TEST(ProgramEntry, InputErrorsEndWithStatusOneAfterTheEarlierEchoes) {
  const std::string dir = testing::MakeScratchDir("errors");
  const std::string file = ValidFile(dir, "_CreateLogFile\n1\n_MaxNumberOfSavedBases\n0\n_SaveLePage\n500\n");
  const Outcome outcome = RunWith({file});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.console,
            " Number of reflections :                                     4\n"
            " Log file :                                                  1\n"
            "\n\n Error: Integer for MaxNumberOfSavedBases is too small.\n"
            " line 11 (_MaxNumberOfSavedBases): the value is outside its accepted range\n\n\n" +
                std::string(kPause));
  EXPECT_FALSE(testing::FileExists(dir + "/run_kqt.log"));
  EXPECT_FALSE(testing::FileExists(dir + "/run_kqt.res"));

  testing::WriteTextFile(file, "_NumberOfReflections\n4\n_Reflection\n");
  const Outcome unknown = RunWith({file});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_TRUE(EndsWith(unknown.console, " Error reading " + file + ".\n  line 3: unknown keyword _Reflection\n" + kPause))
      << unknown.console;
}

TEST(ProgramEntry, CompleteRunEndsWithTheTimingLines) {
  const std::string dir = testing::MakeScratchDir("complete");
  const std::string file = ValidFile(dir, "_CreateLogFile\n1\n");
  const Outcome outcome = RunWith({file});
  EXPECT_EQ(outcome.status, 0) << outcome.console;
  EXPECT_EQ(outcome.console.find("Press Enter"), std::string::npos);
  EXPECT_TRUE(std::regex_search(
      outcome.console, std::regex(" System time :               [ 0-9]{3}[0-9]\\.[0-9]{3} seconds\n"
                                  " CPU time    :               [ 0-9]{3}[0-9]\\.[0-9]{3} seconds\n\n$")))
      << outcome.console;
  const std::string log = testing::ReadTextFile(dir + "/run_kqt.log");
  EXPECT_TRUE(std::regex_search(log, std::regex("\n\n =================================================\n"
                                                " System time :               [ 0-9]{9}[0-9]\\.[0-9]{2} seconds\n"
                                                " CPU time    :               [ 0-9]{9}[0-9]\\.[0-9]{2} seconds\n$")))
      << log;
}

TEST(ProgramEntry, AnOutputFileThatCannotBeWrittenEndsWithStatusOne) {
  const std::string dir = testing::MakeScratchDir("unwritable");
  const std::string file = ValidFile(dir, "_CreateLogFile\n1\n");
  // A folder in the place of the log file.
  testing::RunCommand("mkdir run_kqt.log", dir);
  const Outcome outcome = RunWith({file});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_TRUE(EndsWith(outcome.console, " Error: Cannot write " + dir + "/run_kqt.log.\n" + kPause))
      << outcome.console;
}

// A stream whose reads fail with the given exception, as a broken standard input might.
template <typename Failure>
class FailingBuffer : public std::streambuf {
 protected:
  int_type underflow() override { throw Failure(); }
};

struct InputFailure : std::runtime_error {
  InputFailure() : std::runtime_error("standard input failed") {}
};

// Whatever fails, the program ends with a message and status 1; nothing escapes it.
TEST(ProgramEntry, NoFailureEscapesTheProgram) {
  FailingBuffer<InputFailure> failing;
  std::istream in(&failing);
  in.exceptions(std::ios::badbit);
  std::ostringstream out;
  EXPECT_EQ(RunProgram({}, in, out), 1);
  // The pause fails as well; the program ends without it.
  EXPECT_TRUE(EndsWith(out.str(), " Enter filename :  Error: standard input failed\n" + std::string(kPause)))
      << out.str();

  FailingBuffer<std::bad_alloc> exhausted;
  std::istream noMemory(&exhausted);
  noMemory.exceptions(std::ios::badbit);
  std::ostringstream said;
  EXPECT_EQ(RunProgram({}, noMemory, said), 1);
  EXPECT_TRUE(EndsWith(said.str(), " Error: Not enough memory for this run.\n" + std::string(kPause))) << said.str();
}

TEST(RunTiming, ElapsedTimesAndTheirFields) {
  EXPECT_EQ(ElapsedWallSeconds(86399.0, 5.0), 6.0);  // the run passed midnight
  EXPECT_EQ(ElapsedWallSeconds(10.0, 12.5), 2.5);
  EXPECT_EQ(ElapsedWallSeconds(7.0, 7.0), 0.0);
  EXPECT_EQ(SystemTimeLine(1.5, 8, 3), " System time :                  1.500 seconds");
  EXPECT_EQ(CpuTimeLine(0.25, 8, 3), " CPU time    :                  0.250 seconds");
  EXPECT_EQ(SystemTimeLine(10000.0, 8, 3), " System time :               ******** seconds");
  EXPECT_EQ(SystemTimeLine(10000.0, 13, 2), " System time :                    10000.00 seconds");
}

}  // namespace
}  // namespace orv
