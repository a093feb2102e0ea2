// The flaws of the data, the written input and truth files, and the command line.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/constants.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/pattern_flaws.hpp"
#include "simulator/simulation_error.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv::sim {
namespace {

double AngleDegrees(const Vec3& x, const Vec3& y) { return ClampedArcCos(Dot(x, y)) * kRadiansToDegrees; }

std::vector<std::string> Items(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> items;
  std::string item;
  while (in >> item) items.push_back(item);
  return items;
}

// A keyword file as the indexing program reads it: comment lines, keyword lines, value lines.
struct KeywordEntry {
  std::string keyword;
  std::vector<std::vector<std::string>> valueLines;
};

std::vector<KeywordEntry> ReadKeywordFile(const std::string& text) {
  std::vector<KeywordEntry> entries;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> items = Items(line);
    if (items.empty() || items[0][0] == '#') continue;
    if (items[0][0] == '_') {
      entries.push_back({items[0], {}});
      EXPECT_EQ(items.size(), 1u) << "a value on the keyword line is never read: " << line;
    } else {
      EXPECT_FALSE(entries.empty()) << "stray line " << line;
      if (!entries.empty()) entries.back().valueLines.push_back(items);
    }
  }
  return entries;
}

SimulationOptions BasicOptions() {
  SimulationOptions o;
  o.cell = CellParameters{7.2, 8.1, 9.5, 90.0, 101.0, 90.0};
  o.centring = Centring::C;
  o.seed = 99;
  o.flaws.spotsKept = 60;
  return o;
}

TEST(PatternFlaws, CountsKeepTheRequestedShareOfSpuriousSpots) {
  auto counts = [](int available, double spurious, int kept) {
    FlawSettings f;
    f.spuriousFraction = spurious;
    f.spotsKept = kept;
    int t = -1, s = -1;
    CountWrittenSpots(available, f, t, s);
    return std::make_pair(t, s);
  };
  EXPECT_EQ(counts(100, 0.2, 50), std::make_pair(40, 10));
  EXPECT_EQ(counts(20, 0.2, 50), std::make_pair(20, 5));  // too few true spots: fewer in all
  EXPECT_EQ(counts(2000, 0.0, 0), std::make_pair(999, 0));  // every spot, at most 999
  EXPECT_EQ(counts(100, 0.5, 0), std::make_pair(100, 100));
  EXPECT_EQ(counts(900, 0.5, 0), std::make_pair(499, 500));
  EXPECT_EQ(counts(0, 0.3, 50), std::make_pair(0, 0));
}

TEST(PatternFlaws, DropNoiseAndSpuriousSpotsBehaveAsAsked) {
  SimulationOptions o = BasicOptions();
  o.flaws = FlawSettings{0.0, 0.0, 0.0, 0};
  SimulatedPattern clean;
  std::string message;
  ASSERT_TRUE(SimulatePattern(o, clean, message)) << message;
  const std::vector<Spot>& all = clean.spots;
  ASSERT_GT(all.size(), 300u);

  FlawSettings flaws{0.5, 0.25, 0.2, 0};
  FlawSeeds seeds{RandomSource(1, kDropStream), RandomSource(1, kNoiseStream), RandomSource(1, kSpuriousStream)};
  const std::vector<Spot> flawed = ApplyFlaws(all, flaws, o.experiment.detector, seeds);
  int spurious = 0;
  std::size_t next = 0;  // the true spots keep their order: a subsequence of the clean list
  double angleSum = 0.0;
  int trueCount = 0;
  for (const Spot& s : flawed) {
    EXPECT_NEAR(VectorNorm(s.direction), 1.0, 1e-14);
    if (s.spurious) {
      ++spurious;
      EXPECT_TRUE(ScatteringVectorHitsDetector(o.experiment.detector, s.direction));
      continue;
    }
    while (next < all.size() && (all[next].h != s.h || all[next].k != s.k || all[next].l != s.l)) ++next;
    ASSERT_LT(next, all.size());
    angleSum += AngleDegrees(s.direction, all[next].direction);
    ++trueCount;
  }
  const int afterDrop = static_cast<int>(all.size()) - static_cast<int>(std::lround(0.2 * all.size()));
  EXPECT_EQ(trueCount, std::min(afterDrop, 999 - spurious));
  EXPECT_NEAR(static_cast<double>(spurious) / flawed.size(), 0.25, 0.002);
  // Two Gaussian angles of sigma 0.5 degrees: the mean total angle is sigma sqrt(pi/2).
  EXPECT_NEAR(angleSum / trueCount, 0.5 * std::sqrt(kPi / 2.0), 0.03);
  // The spurious spots are spread over the list rather than gathered at one end.
  EXPECT_TRUE(flawed.front().spurious == false || flawed.back().spurious == false);
}

TEST(SimulatedFiles, InputFileHasTheKeywordStructureAndTruthReproducesEveryDirection) {
  const std::string dir = testing::MakeScratchDir("simulate");
  SimulationOptions o = BasicOptions();
  o.centring = Centring::F;
  o.flaws.spuriousFraction = 0.1;
  o.keywords.TheMainCriterion = 0.1;
  o.keywords.CreateLogFile = 1;
  o.keywords.WeightsForSortingBases = std::array<double, 2>{0.4, 0.6};
  o.outputFile = dir + "/cubic.kqt";
  SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(SimulatePattern(o, pattern, message)) << message;
  WritePatternFile(o.outputFile, o, pattern);
  WriteTruthFile(TruthFileName(o), o, pattern);
  EXPECT_EQ(TruthFileName(o), dir + "/cubic_truth.txt");

  const std::vector<KeywordEntry> entries = ReadKeywordFile(testing::ReadTextFile(o.outputFile));
  std::vector<std::string> keywords;
  for (const KeywordEntry& e : entries) keywords.push_back(e.keyword);
  // _TheMainCriterion after _AngularDeviationCriterion, which would otherwise replace it.
  const std::vector<std::string> expected = {"_NumberOfReflections", "_Reflections", "_VolumeOfPrimitiveCell",
                                             "_ExtentOfTheSearch", "_AngularDeviationCriterion", "_TheMainCriterion",
                                             "_WeightsForSortingBases", "_CreateLogFile"};
  ASSERT_EQ(keywords, expected);
  ASSERT_EQ(entries[0].valueLines.size(), 1u);
  const int count = std::stoi(entries[0].valueLines[0][0]);
  EXPECT_EQ(count, 60);
  ASSERT_EQ(entries[1].valueLines.size(), static_cast<std::size_t>(count));
  std::vector<Vec3> written;
  for (const auto& items : entries[1].valueLines) {
    ASSERT_EQ(items.size(), 3u);
    Vec3 v;
    for (int c = 0; c < 3; ++c) {
      EXPECT_GE(items[c].size() - items[c].find('.') - 1, 8u) << items[c];
      v[c] = std::stod(items[c]);
    }
    EXPECT_NEAR(VectorNorm(v), 1.0, 1e-9);
    written.push_back(v);
  }
  // F: four lattice points in the conventional cell.
  const double conventional = 7.2 * 8.1 * 9.5 * std::sin(101.0 * kDegreesToRadians);
  EXPECT_NEAR(std::stod(entries[2].valueLines[0][0]), conventional / 4.0, 1e-6);
  EXPECT_EQ(entries[3].valueLines[0][0], "0");
  EXPECT_DOUBLE_EQ(std::stod(entries[4].valueLines[0][0]), 1.0);
  EXPECT_DOUBLE_EQ(std::stod(entries[5].valueLines[0][0]), 0.1);
  EXPECT_EQ(entries[6].valueLines[0].size(), 2u);

  // The truth: the basis and the indices of every true entry give back the written direction.
  const std::vector<KeywordEntry> truth = ReadKeywordFile(testing::ReadTextFile(TruthFileName(o)));
  ASSERT_EQ(truth.size(), 10u);
  const KeywordEntry* basisEntry = &truth[5];
  const KeywordEntry* spotsEntry = &truth[9];
  ASSERT_EQ(basisEntry->keyword, "_DirectBasis");
  ASSERT_EQ(spotsEntry->keyword, "_Spots");
  Mat3 direct;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) direct[r][c] = std::stod(basisEntry->valueLines[r][c]);
  Mat3 reciprocal;
  ASSERT_EQ(InverseTranspose(direct, reciprocal, 1e-12), kStatusSuccess);
  ASSERT_EQ(spotsEntry->valueLines.size(), static_cast<std::size_t>(count) + 1);
  int spurious = 0;
  for (int i = 0; i < count; ++i) {
    const std::vector<std::string>& items = spotsEntry->valueLines[static_cast<std::size_t>(i) + 1];
    ASSERT_EQ(std::stoi(items[0]), i + 1);
    if (items[1] == "spurious") {
      ++spurious;
      continue;
    }
    ASSERT_EQ(items[1], "true");
    const int h = std::stoi(items[2]), k = std::stoi(items[3]), l = std::stoi(items[4]), n = std::stoi(items[5]);
    EXPECT_TRUE(IsAllowedReflection(Centring::F, n * h, n * k, n * l));
    Vec3 g;
    for (int c = 0; c < 3; ++c) g[c] = h * reciprocal[0][c] + k * reciprocal[1][c] + l * reciprocal[2][c];
    const double length = VectorNorm(g);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(written[static_cast<std::size_t>(i)][c], g[c] / length, 1e-9);
  }
  EXPECT_EQ(spurious, 6);
}

TEST(SimulatedFiles, TheSameSeedGivesTheSameFilesAndAnotherSeedOthers) {
  auto simulate = [](std::uint64_t seed, const std::string& dir) {
    SimulationOptions o = BasicOptions();
    o.seed = seed;
    o.flaws = FlawSettings{0.2, 0.1, 0.1, 80};
    o.outputFile = dir + "/same.kqt";
    SimulatedPattern pattern;
    std::string message;
    EXPECT_TRUE(SimulatePattern(o, pattern, message)) << message;
    WritePatternFile(o.outputFile, o, pattern);
    WriteTruthFile(TruthFileName(o), o, pattern);
    return testing::ReadTextFile(o.outputFile) + testing::ReadTextFile(TruthFileName(o));
  };
  // Each run in its own folder with the same file names, so that only the seed can differ.
  const std::string first = simulate(5, testing::MakeScratchDir("seed"));
  const std::string second = simulate(5, testing::MakeScratchDir("seed"));
  const std::string third = simulate(6, testing::MakeScratchDir("seed"));
  EXPECT_GT(first.size(), 5000u);
  EXPECT_TRUE(first == second);
  EXPECT_FALSE(first == third);
}

TEST(SimulatorCommandLine, OptionsAreCheckedBeforeAnythingIsWritten) {
  SimulationOptions o;
  std::string message;
  EXPECT_EQ(ParseCommandLine({"--cell", "5,6,7,90,95,90", "--centring", "R", "--band", "0.3,1.1", "--euler",
                              "10,20,30", "--spots", "all", "--weights", "0,1"},
                             o, message),
            CommandLineAction::Simulate);
  EXPECT_EQ(o.cell.b, 6.0);
  EXPECT_EQ(o.centring, Centring::R);
  EXPECT_EQ(o.experiment.maxWavelength, 1.1);
  ASSERT_TRUE(o.eulerAngles.has_value());
  EXPECT_EQ((*o.eulerAngles)[2], 30.0);
  EXPECT_EQ(o.flaws.spotsKept, 0);
  const std::vector<std::vector<std::string>> faults = {
      {"--cell", "5,6,7,90,95"},     {"--cell", "5,5,5,60,60,150"}, {"--centring", "p"},
      {"--band", "1.5,0.2"},         {"--spots", "3"},              {"--spots", "1000"},
      {"--angular-deviation", "3.01"}, {"--max-index", "31"},       {"--main-criterion", "0.31"},
      {"--weights", "0,0"},          {"--volume", "1e37"},          {"--seed", "-1"},
      {"--output", "x.KQT"},         {"--noise", "nan"},            {"--extent"},
      {"--frobnicate", "1"},         {"--spurious", "1"},           {"--peak-list", "simulated.kqt"},
  };
  for (const auto& arguments : faults) {
    SimulationOptions unused;
    std::string fault;
    try {
      ParseCommandLine(arguments, unused, message);
    } catch (const SimulationOptionError& error) {
      fault = error.what();
    }
    EXPECT_NE(fault.find(arguments[0]), std::string::npos) << arguments[0] << ": " << fault;
  }
  EXPECT_EQ(ParseCommandLine({"--seed", "3", "--help"}, o, message), CommandLineAction::ShowHelp);
}

TEST(SimulatorCommandLine, ExecutableWritesFilesOrNothing) {
  const std::string exe = testing::ShellQuote(ORVANTHEL_SIMULATE_EXE);
  const std::string dir = testing::MakeScratchDir("simulate-cli");
  const testing::ProcessResult help = testing::RunCommand(exe + " --help", dir);
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.output.find("--spurious"), std::string::npos);
  const testing::ProcessResult version = testing::RunCommand(exe + " --version", dir);
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.output.rfind("orvanthel-simulate 1.", 0), 0u) << version.output;

  const testing::ProcessResult bad = testing::RunCommand(exe + " --output bad.kqt --drop 2", dir);
  EXPECT_EQ(bad.exitStatus, 2);
  EXPECT_FALSE(testing::FileExists(dir + "/bad.kqt"));

  // A tiny cell with a large smallest d-spacing gives fewer than 4 spots: no file at all.
  const testing::ProcessResult few =
      testing::RunCommand(exe + " --output few.kqt --cell 2,2,2,90,90,90 --dmin 1.4", dir);
  EXPECT_EQ(few.exitStatus, 1) << few.output;
  EXPECT_FALSE(testing::FileExists(dir + "/few.kqt"));

  const testing::ProcessResult good =
      testing::RunCommand(exe + " --output good.kqt --detector back --centring I --noise 0.05 --seed 12", dir);
  EXPECT_EQ(good.exitStatus, 0) << good.output;
  EXPECT_TRUE(testing::FileExists(dir + "/good.kqt"));
  EXPECT_TRUE(testing::FileExists(dir + "/good_truth.txt"));
}

}  // namespace
}  // namespace orv::sim
