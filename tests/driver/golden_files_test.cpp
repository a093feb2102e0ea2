// The results file, the log file and "LePage.inp" of a fixed run, compared line for line with
// stored copies; and a run without the log that must differ in nothing else.
//
// To accept a deliberate change of the output, rewrite the stored copies with
//   ORVANTHEL_REGENERATE_GOLDEN=1 ./test_driver --gtest_filter='GoldenFiles.*'
// and review the difference in git before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace orv {
namespace {

const std::string kGoldenDir = std::string(ORVANTHEL_SOURCE_DIR) + "/tests/golden";

bool Regenerating() {
  const char* flag = std::getenv("ORVANTHEL_REGENERATE_GOLDEN");
  return flag != nullptr && std::string(flag) == "1";
}

// Replaces what changes from run to run, and only where the line has its exact layout, so that a
// fault in the layout of these lines still shows: the date and time line as a whole, and the
// value field of the timing lines (F13.2 in the log, F8.3 on the console) by as many "#".
std::string MaskRunDependentLines(const std::string& text) {
  static const std::regex date(R"(^ Date : \d{4}\.\d\d\.\d\d {20}Time : \d\d:\d\d:\d\d\.\d{3}$)");
  static const std::regex timing(R"(^( System time :| CPU time    :)( {15})([ 0-9.]+)( seconds)$)");
  std::string masked;
  for (const std::string& line : testing::SplitLines(text)) {
    std::smatch match;
    if (std::regex_match(line, date)) {
      masked += " Date : yyyy.mm.dd                    Time : hh:mm:ss.sss";
    } else if (std::regex_match(line, match, timing)) {
      masked += match[1].str() + match[2].str() + std::string(match[3].str().size(), '#') + match[4].str();
    } else {
      masked += line;
    }
    masked += '\n';
  }
  return masked;
}

// Compares line by line and reports the first difference and the number of differing lines.
void ExpectSameLines(const std::string& expected, const std::string& actual, const std::string& what) {
  const std::vector<std::string> e = testing::SplitLines(expected);
  const std::vector<std::string> a = testing::SplitLines(actual);
  std::size_t differing = 0;
  std::size_t first = 0;
  for (std::size_t n = 0; n < std::max(e.size(), a.size()); ++n) {
    const bool same = n < e.size() && n < a.size() && e[n] == a[n];
    if (!same && differing++ == 0) first = n;
  }
  EXPECT_EQ(e.size(), a.size()) << what << ": number of lines";
  if (differing > 0) {
    ADD_FAILURE() << what << ": " << differing << " differing lines, the first is line " << first + 1
                  << "\n  expected: \"" << (first < e.size() ? e[first] : "<none>") << "\""
                  << "\n  actual:   \"" << (first < a.size() ? a[first] : "<none>") << "\"";
  }
}

struct RunOutput {
  testing::ProcessResult process;
  std::string results;
  std::string log;
  std::string lePage;
  bool logExists = false;
};

RunOutput RunGoldenInput(const std::string& inputText, const std::string& label) {
  const std::string dir = testing::MakeScratchDir(label);
  testing::WriteTextFile(dir + "/triclinic.kqt", inputText);
  RunOutput run;
  run.process = testing::RunOrvanthel({"triclinic.kqt"}, dir);
  run.results = testing::ReadTextFile(dir + "/triclinic_kqt.res");
  run.logExists = testing::FileExists(dir + "/triclinic_kqt.log");
  run.log = testing::ReadTextFile(dir + "/triclinic_kqt.log");
  run.lePage = testing::ReadTextFile(dir + "/LePage.inp");
  return run;
}

std::string GoldenInput() { return testing::ReadTextFile(kGoldenDir + "/triclinic.kqt"); }

TEST(GoldenFiles, ResultsLogAndLePageFilesMatchTheStoredCopies) {
  const std::string input = GoldenInput();
  ASSERT_FALSE(input.empty()) << "missing " << kGoldenDir << "/triclinic.kqt";
  const RunOutput run = RunGoldenInput(input, "golden");
  ASSERT_EQ(run.process.exitStatus, 0) << run.process.output;

  const struct {
    const char* name;
    const std::string& text;
  } files[] = {{"triclinic_kqt.res", run.results}, {"triclinic_kqt.log", run.log}, {"LePage.inp", run.lePage}};
  for (const auto& file : files) {
    const std::string masked = MaskRunDependentLines(file.text);
    // Stored under the name of the output followed by ".expected", which no output file ever has.
    const std::string stored = kGoldenDir + "/" + file.name + ".expected";
    if (Regenerating()) testing::WriteTextFile(stored, masked);
    ExpectSameLines(testing::ReadTextFile(stored), masked, file.name);
  }
  // The masks must have found their lines, or the comparison would hide a missing date or timing.
  EXPECT_NE(MaskRunDependentLines(run.results).find(" Date : yyyy.mm.dd "), std::string::npos);
  EXPECT_NE(MaskRunDependentLines(run.log).find(" CPU time    :               #############"), std::string::npos);
}

TEST(GoldenFiles, WithoutTheLogNothingElseChanges) {
  const std::string withLog = GoldenInput();
  const std::string::size_type at = withLog.find("_CreateLogFile\n1\n");
  ASSERT_NE(at, std::string::npos);
  std::string withoutLog = withLog;
  withoutLog.replace(at, std::string("_CreateLogFile\n1\n").size(), "_CreateLogFile\n0\n");

  const RunOutput logged = RunGoldenInput(withLog, "logged");
  const RunOutput unlogged = RunGoldenInput(withoutLog, "unlogged");
  EXPECT_TRUE(logged.logExists);
  EXPECT_FALSE(unlogged.logExists);
  ExpectSameLines(MaskRunDependentLines(logged.results), MaskRunDependentLines(unlogged.results), "results file");
  ExpectSameLines(logged.lePage, unlogged.lePage, "LePage.inp");

  // On the console only the echo of the switch itself may differ.
  const std::string echoOn = " Log file :                                                  1\n";
  const std::string echoOff = " Log file :                                                  0\n";
  std::string consoleOn = logged.process.output;
  std::string consoleOff = unlogged.process.output;
  const std::string::size_type on = consoleOn.find(echoOn);
  const std::string::size_type off = consoleOff.find(echoOff);
  ASSERT_NE(on, std::string::npos) << consoleOn;
  ASSERT_NE(off, std::string::npos) << consoleOff;
  consoleOn.replace(on, echoOn.size(), "");
  consoleOff.replace(off, echoOff.size(), "");
  ExpectSameLines(MaskRunDependentLines(consoleOn), MaskRunDependentLines(consoleOff), "console");
}

}  // namespace
}  // namespace orv
