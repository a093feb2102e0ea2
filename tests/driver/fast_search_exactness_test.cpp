// The fast search against the search as it reads: simulated patterns of every search type, with
// noise, spurious spots, small and large tolerances and index bounds, indexed by the program at 1,
// 2 and 3 threads and by the literal search; results file, log, "LePage.inp" and console must
// agree byte for byte, apart from the date and the timings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run_indexing.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

struct ExactnessCase {
  const char* name;
  int type;
  const char* cell;  // a, b, c, alpha, beta, gamma
  std::uint64_t seed;
  int spots;
  double noise;     // degrees
  double spurious;  // share of the spots
  double tolerance;  // degrees
  int maxIndex;
  std::array<double, 2> weights = {0.3, 0.7};
  int sortType = 0;
  int savedBases = 16;
  int lePage = 3;
};

std::ostream& operator<<(std::ostream& out, const ExactnessCase& c) { return out << c.name; }

// The input file of a case, written by the simulator into `folder` as "pattern.kqt".
void WritePattern(const ExactnessCase& c, const std::string& folder) {
  sim::SimulationOptions options;
  options.outputFile = folder + "/pattern.kqt";
  std::istringstream cell(c.cell);
  char comma;
  cell >> options.cell.a >> comma >> options.cell.b >> comma >> options.cell.c >> comma >> options.cell.alpha >>
      comma >> options.cell.beta >> comma >> options.cell.gamma;
  options.seed = c.seed;
  options.flaws = sim::FlawSettings{c.noise, c.spurious, 0.0, c.spots};
  options.keywords.ExtentOfTheSearch = c.type;
  options.keywords.AngularDeviationCriterion = c.tolerance;
  options.keywords.MaxAllowedMillerIndex = c.maxIndex;
  options.keywords.WeightsForSortingBases = c.weights;
  options.keywords.SortSolutionsByQualityType = c.sortType;
  options.keywords.MaxNumberOfSavedBases = c.savedBases;
  options.keywords.SaveLePage = c.lePage;
  options.keywords.CreateLogFile = 1;
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);
}

struct RunFiles {
  std::string results;
  std::string log;
  std::string lePage;
  std::string console;
};

RunFiles ReadRunFiles(const std::string& folder, const std::string& console) {
  return {testing::ReadTextFile(folder + "/pattern_kqt.res"), testing::ReadTextFile(folder + "/pattern_kqt.log"),
          testing::ReadTextFile(folder + "/LePage.inp"), console};
}

// The whole run in this process, as the program makes it, but with the literal search.
RunFiles RunLiteral(const std::string& folder) {
  std::vector<char> previous(4096);
  EXPECT_NE(getcwd(previous.data(), previous.size()), nullptr);
  EXPECT_EQ(chdir(folder.c_str()), 0);
  std::ostringstream console;
  RunIndexing("pattern.kqt", RunOptions{}, console, SearchStrategy::Literal);
  EXPECT_EQ(chdir(previous.data()), 0);
  return ReadRunFiles(folder, console.str());
}

RunFiles RunProgram(const std::string& folder, int threads) {
  // At two threads the run asks for one grain, which must be the run without the option.
  std::vector<std::string> arguments = {"--threads", std::to_string(threads), "pattern.kqt"};
  if (threads == 2) arguments.insert(arguments.begin(), {"--grains", "1"});
  const testing::ProcessResult run = testing::RunOrvanthel(arguments, folder);
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  return ReadRunFiles(folder, run.output);
}

// The date line and the values of the timing lines, which differ from run to run.
std::string MaskRunDependentLines(const std::string& text) {
  static const std::regex date(R"(^ Date : \d{4}\.\d\d\.\d\d {20}Time : \d\d:\d\d:\d\d\.\d{3}$)");
  static const std::regex timing(R"(^( System time :| CPU time    :) +[0-9.]+ seconds$)");
  std::istringstream in(text);
  std::string masked;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_match(line, date))
      masked += "<date>";
    else if (std::regex_match(line, timing))
      masked += line.substr(0, 14) + " <time>";
    else
      masked += line;
    masked += '\n';
  }
  return masked;
}

// Names the first differing line, which a plain string comparison would not show.
void ExpectSameText(const std::string& expected, const std::string& actual, const std::string& what) {
  if (expected == actual) return;
  std::istringstream e(expected), a(actual);
  std::string le, la;
  int line = 1;
  while (std::getline(e, le) && std::getline(a, la) && le == la) ++line;
  ADD_FAILURE() << what << " differs from line " << line << ":\n  literal: \"" << le << "\"\n  fast:    \"" << la
                << "\"";
}

class FastSearchExactness : public ::testing::TestWithParam<ExactnessCase> {};

TEST_P(FastSearchExactness, EveryThreadCountWritesWhatTheLiteralSearchWrites) {
  const ExactnessCase& c = GetParam();
  const std::string folder = testing::MakeScratchDir("exactness");
  ASSERT_NO_FATAL_FAILURE(WritePattern(c, folder));
  const std::string pattern = testing::ReadTextFile(folder + "/pattern.kqt");
  const std::string literalFolder = folder + "/literal";
  ASSERT_EQ(testing::RunCommand("mkdir literal", folder).exitStatus, 0);
  testing::WriteTextFile(literalFolder + "/pattern.kqt", pattern);
  const RunFiles literal = RunLiteral(literalFolder);
  // A case that stores nothing would compare little: each must reach the store.
  EXPECT_NE(literal.log.find("--> Basis saved as no   1"), std::string::npos) << c;

  for (const int threads : {1, 2, 3}) {
    const std::string runFolder = folder + "/threads" + std::to_string(threads);
    ASSERT_EQ(testing::RunCommand("mkdir threads" + std::to_string(threads), folder).exitStatus, 0);
    testing::WriteTextFile(runFolder + "/pattern.kqt", pattern);
    const RunFiles fast = RunProgram(runFolder, threads);
    const std::string label = std::string(c.name) + " at " + std::to_string(threads) + " threads: ";
    ExpectSameText(MaskRunDependentLines(literal.results), MaskRunDependentLines(fast.results), label + "results");
    ExpectSameText(MaskRunDependentLines(literal.log), MaskRunDependentLines(fast.log), label + "log");
    ExpectSameText(literal.lePage, fast.lePage, label + "LePage.inp");
    ExpectSameText(MaskRunDependentLines(literal.console), MaskRunDependentLines(fast.console), label + "console");
  }
}

constexpr const char* kTriclinic = "7,9,11,80,95,105";
constexpr const char* kMonoclinic = "6.2,7.9,10.3,90,104,90";
constexpr const char* kOrthorhombic = "5.1,7.3,9.6,90,90,90";
constexpr const char* kHexagonal = "4.9,4.9,5.4,90,90,120";
constexpr const char* kCubic = "5.43,5.43,5.43,90,90,90";

// Under the sanitizers every run is many times slower: one smaller case per search type.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
const std::vector<ExactnessCase> kCases = {
    {"type0", 0, kTriclinic, 2, 30, 0.003, 0.1, 1.0, 10},
    {"type1", 1, kTriclinic, 2, 30, 0.003, 0.1, 2.0, 6},
    {"type2", 2, kCubic, 2, 20, 0.003, 0.0, 1.0, 8},
    {"type3", 3, kCubic, 2, 20, 0.003, 0.0, 1.0, 6},
    {"type4", 4, kTriclinic, 3, 16, 0.05, 0.1, 1.5, 12},
    {"type5", 5, kTriclinic, 3, 24, 0.02, 0.1, 1.0, 12, {0.0, 1.0}},
    {"type6", 6, kHexagonal, 4, 18, 0.01, 0.1, 3.0, 4},
    {"type7", 7, kOrthorhombic, 5, 18, 0.02, 0.0, 1.0, 8},
    {"type8", 8, kMonoclinic, 6, 16, 0.1, 0.2, 0.5, 20, {0.3, 0.7}, 1, 128, 128},
    {"type9", 9, kTriclinic, 7, 10, 0.05, 0.1, 1.0, 12},
};
#else
const std::vector<ExactnessCase> kCases = {
    {"type0_triclinic", 0, kTriclinic, 2, 70, 0.003, 0.1, 1.0, 10},
    {"type0_monoclinic_wide", 0, kMonoclinic, 2, 70, 0.01, 0.1, 3.0, 30, {0.5, 0.5}, 1, 128, 128},
    {"type0_cubic_narrow", 0, kCubic, 1, 80, 0.002, 0.2, 0.1, 4},
    {"type0_hexagonal", 0, kHexagonal, 2, 70, 0.003, 0.1, 1.0, 10},
    {"type1_monoclinic", 1, kMonoclinic, 2, 40, 0.003, 0.1, 2.0, 6},
    {"type1_triclinic", 1, kTriclinic, 2, 40, 0.01, 0.0, 1.0, 16, {1.0, 0.0}},
    {"type2_triclinic", 2, kTriclinic, 2, 30, 0.003, 0.1, 1.0, 10},
    {"type2_cubic", 2, kCubic, 2, 26, 0.003, 0.05, 0.7, 24, {0.3, 0.7}, 1},
    {"type3_monoclinic", 3, kMonoclinic, 2, 30, 0.003, 0.1, 1.0, 10},
    {"type3_cubic", 3, kCubic, 2, 26, 0.002, 0.0, 0.3, 5},
    {"type4_triclinic", 4, kTriclinic, 3, 30, 0.05, 0.1, 1.5, 12},
    {"type4_orthorhombic", 4, kOrthorhombic, 1, 24, 0.1, 0.3, 2.5, 7, {0.3, 0.7}, 1, 128, 0},
    {"type5_triclinic", 5, kTriclinic, 3, 40, 0.02, 0.1, 1.0, 12, {0.0, 1.0}},
    {"type5_hexagonal", 5, kHexagonal, 2, 40, 0.05, 0.2, 0.2, 30},
    {"type6_hexagonal", 6, kHexagonal, 4, 32, 0.01, 0.1, 3.0, 4},
    {"type6_cubic", 6, kCubic, 3, 30, 0.03, 0.1, 1.0, 9, {0.3, 0.7}, 1, 40},
    {"type7_orthorhombic", 7, kOrthorhombic, 5, 24, 0.02, 0.0, 1.0, 8},
    {"type7_triclinic", 7, kTriclinic, 3, 22, 0.05, 0.1, 0.5, 14},
    {"type8_monoclinic", 8, kMonoclinic, 6, 26, 0.1, 0.2, 0.5, 20, {0.3, 0.7}, 1, 128, 128},
    {"type8_triclinic", 8, kTriclinic, 1, 30, 0.02, 0.05, 1.0, 12},
    {"type9_triclinic", 9, kTriclinic, 7, 20, 0.05, 0.1, 1.0, 12},
    {"type9_cubic", 9, kCubic, 2, 18, 0.2, 0.1, 2.0, 25, {0.5, 0.5}, 1},
};
#endif

INSTANTIATE_TEST_SUITE_P(SimulatedPatterns, FastSearchExactness, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ExactnessCase>& info) { return info.param.name; });

}  // namespace
}  // namespace orv
