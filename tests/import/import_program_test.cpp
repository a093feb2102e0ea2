// The importer as a program: simulated peak lists come back as the simulator's directions, the
// indexer reads what it writes, and every fault ends with status 1 and nothing written.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "import/known_cell.hpp"
#include "import/run_keywords.hpp"
#include "input/input_checks.hpp"
#include "simulator/experiment_geometry.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/peak_list_file.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv::imp {
namespace {

testing::ProcessResult Import(const std::string& arguments, const std::string& dir) {
  return testing::RunCommand(testing::ShellQuote(ORVANTHEL_IMPORT_EXE) + " " + arguments, dir);
}

// The directions listed after _Reflections.
std::vector<Vec3> ReflectionsOf(const std::string& kqtText) {
  std::istringstream lines(kqtText);
  std::string line;
  while (std::getline(lines, line) && line != "_NumberOfReflections") {
  }
  std::size_t count = 0;
  lines >> count;
  while (std::getline(lines, line) && line != "_Reflections") {
  }
  std::vector<Vec3> directions(count);
  for (Vec3& d : directions) lines >> d[0] >> d[1] >> d[2];
  return lines ? directions : std::vector<Vec3>{};
}

// A simulated pattern written as the simulator's input file and as its peak list.
void Simulate(const std::string& dir, sim::Detector detector, std::uint64_t seed) {
  sim::SimulationOptions o;
  o.cell = sim::CellParameters{5.6575, 5.6575, 5.6575, 90.0, 90.0, 90.0};
  o.centring = sim::Centring::F;
  o.seed = seed;
  o.experiment.detector = detector;
  o.flaws = sim::FlawSettings{0.02, 0.1, 0.0, 60};
  o.outputFile = dir + "/simulated.kqt";
  o.peakListFile = dir + "/simulated.cor";
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(o, pattern, message)) << message;
  sim::WritePatternFile(o.outputFile, o, pattern);
  sim::WritePeakListFile(o.peakListFile, o, pattern);
}

TEST(ImportProgram, SimulatedPeakListsComeBackAsTheSimulatorsDirections) {
  for (const sim::Detector& detector : {sim::SideDetector(), sim::BackReflectionDetector()}) {
    SCOPED_TRACE(detector.name);
    const std::string dir = testing::MakeScratchDir("import-round-trip");
    Simulate(dir, detector, 31);
    const testing::ProcessResult all = Import("simulated.cor -o imported.kqt", dir);
    ASSERT_EQ(all.exitStatus, 0) << all.output;
    const std::vector<Vec3> simulated = ReflectionsOf(testing::ReadTextFile(dir + "/simulated.kqt"));
    const std::vector<Vec3> imported = ReflectionsOf(testing::ReadTextFile(dir + "/imported.kqt"));
    ASSERT_EQ(simulated.size(), 60u);
    ASSERT_EQ(imported.size(), simulated.size());
    for (std::size_t i = 0; i < simulated.size(); ++i) {
      const Vec3 expected = sim::InPeakListFrame(simulated[i]);
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(imported[i][c], expected[c], 1e-9) << "reflection " << i + 1;
    }
    // The simulated intensities fall with the position: the 20 strongest are the first 20.
    ASSERT_EQ(Import("simulated.cor --top 20 --output top.kqt", dir).exitStatus, 0);
    const std::vector<Vec3> top = ReflectionsOf(testing::ReadTextFile(dir + "/top.kqt"));
    ASSERT_EQ(top.size(), 20u);
    for (std::size_t i = 0; i < top.size(); ++i) EXPECT_EQ(top[i], imported[i]);
  }
}

TEST(ImportProgram, TheIndexerReadsTheWrittenFileAndItsKeywords) {
  const std::string dir = testing::MakeScratchDir("import-index");
  Simulate(dir, sim::SideDetector(), 8);
  const testing::ProcessResult imported =
      Import("simulated.cor --volume 45.2657 --tolerance 0.25 --extent 5 --max-index 8 --log", dir);
  ASSERT_EQ(imported.exitStatus, 0) << imported.output;
  const testing::ProcessResult run = testing::RunOrvanthel({"simulated.kqt"}, dir);
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(run.output.find("Error"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" User provided volume :                                 45.266"), std::string::npos);
  EXPECT_NE(run.output.find(" Angular deviation  [deg] :                              0.250"), std::string::npos);
  EXPECT_NE(run.output.find(" Extent of search :                                          5"), std::string::npos);
  EXPECT_NE(run.output.find(" The largest allowed Miller index :                          8"), std::string::npos);
  EXPECT_TRUE(testing::FileExists(dir + "/simulated_kqt.log"));
  // 54 true spots and 6 spurious ones: the first solution indexes at least the true ones.
  const std::size_t support = run.output.find("Supporting reflections : h - ");
  ASSERT_NE(support, std::string::npos) << run.output;
  const std::size_t full = run.output.find("H - ", support);
  ASSERT_NE(full, std::string::npos);
  EXPECT_GE(std::stoi(run.output.substr(full + 4, 4)), 54);
}

TEST(ImportProgram, EveryFaultEndsWithStatusOneAndWritesNothing) {
  const std::string dir = testing::MakeScratchDir("import-faults");
  testing::WriteTextFile(dir + "/bad.cor", "2theta chi X Y I\n90 0 1 1 5\n91 1 1 1 4\n92 x 1 1 3\n93 3 1 1 2\n");
  testing::WriteTextFile(dir + "/few.txt", "90 0\n91 1\n92 2\n");
  testing::WriteTextFile(dir + "/ok.txt", "90 0\n91 1\n92 2\n93 3\n");
  testing::WriteTextFile(dir + "/list.kqt", "90 0\n91 1\n92 2\n93 3\n");
  struct Case {
    std::string arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"bad.cor", "orvanthel-import: bad.cor: line 4: \"x\" in column chi is not a number"},
      {"few.txt", "few.txt: 3 peaks; the indexer needs at least 4"},
      {"missing.cor", "cannot open missing.cor"},
      {"ok.txt --tolerance 3.5", "option --tolerance expects a real from 0.1 to 3, got \"3.5\""},
      {"ok.txt --max-index 101", "option --max-index expects an integer from 4 to 100"},
      {"ok.txt --top 3", "option --top expects an integer from 4 to 999"},
      {"ok.txt --output ok.KQT", "option --output expects a file name ending in .kqt"},
      {"ok.txt --columns 2theta,I", "option --columns finds the columns \"2theta I\" give neither"},
      {"list.kqt", "list.kqt: the input file would replace the peak list; name another with --output"},
      {"ok.txt surplus.txt", "not expected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const testing::ProcessResult result = Import(c.arguments, dir);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
  }
  for (const char* name : {"bad.kqt", "few.kqt", "ok.kqt", "ok.KQT"}) EXPECT_FALSE(testing::FileExists(dir + "/" + name));
  EXPECT_EQ(testing::ReadTextFile(dir + "/list.kqt"), "90 0\n91 1\n92 2\n93 3\n");
  const testing::ProcessResult version = Import("--version", dir);
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_NE(version.output.find("orvanthel-import 1."), std::string::npos);
}

TEST(ImportProgram, KeywordRangesAreTheIndexersOwn) {
  // Each limit is accepted by the indexer's check, and the next value outside it is refused.
  auto fails = [](Keyword keyword, auto set) {
    RunParameters p;
    set(p);
    return FirstFailedCheck(keyword, p).has_value();
  };
  EXPECT_FALSE(fails(Keyword::VolumeOfPrimitiveCell, [](RunParameters& p) { p.VolumeOfPrimitiveCell = kSmallestVolume; }));
  EXPECT_TRUE(fails(Keyword::VolumeOfPrimitiveCell,
                    [](RunParameters& p) { p.VolumeOfPrimitiveCell = std::nextafter(kSmallestVolume, 0.0); }));
  EXPECT_FALSE(fails(Keyword::VolumeOfPrimitiveCell, [](RunParameters& p) { p.VolumeOfPrimitiveCell = kLargestVolume; }));
  EXPECT_TRUE(fails(Keyword::VolumeOfPrimitiveCell,
                    [](RunParameters& p) { p.VolumeOfPrimitiveCell = std::nextafter(kLargestVolume, 1e40); }));
  for (int v : {kSmallestMaxIndex - 1, kSmallestMaxIndex, kLargestMaxIndex, kLargestMaxIndex + 1})
    EXPECT_EQ(fails(Keyword::MaxAllowedMillerIndex, [v](RunParameters& p) { p.MaxAllowedMillerIndex = v; }),
              v < kSmallestMaxIndex || v > kLargestMaxIndex);
  for (int v : {kSmallestExtent - 1, kSmallestExtent, kLargestExtent, kLargestExtent + 1})
    EXPECT_EQ(fails(Keyword::ExtentOfTheSearch, [v](RunParameters& p) { p.ExtentOfTheSearch = v; }),
              v < kSmallestExtent || v > kLargestExtent);
  // The tolerance is checked in degrees, as read.
  for (double v : {std::nextafter(kSmallestTolerance, 0.0), kSmallestTolerance, kLargestTolerance,
                   std::nextafter(kLargestTolerance, 9.0)})
    EXPECT_EQ(fails(Keyword::AngularDeviationCriterion, [v](RunParameters& p) { p.AngularDeviationCriterion = v; }),
              v < kSmallestTolerance || v > kLargestTolerance);
  for (int v : {kFewestReflections - 1, kFewestReflections, kMaxReflections, kMaxReflections + 1})
    EXPECT_EQ(fails(Keyword::NumberOfReflections, [v](RunParameters& p) { p.NumberOfReflections = v; }),
              v < kFewestReflections || v > kMaxReflections);
}

// The importer's input and output as an attacker or an accident may shape them: a link planted at
// a temporary name, a line without end, a pipe in the peak list's place, escape sequences in a
// value, and a value too large for a double.
TEST(ImportProgram, HostileInputsAndPlantedLinksAreRefused) {
  const std::string dir = testing::MakeScratchDir("import-hostile");
  const std::string peaks = "2theta chi\n90 0\n91 1\n92 2\n93 3\n";
  testing::WriteTextFile(dir + "/ok.txt", peaks);
  testing::WriteTextFile(dir + "/victim.txt", "unrelated\n");
  ASSERT_EQ(testing::RunCommand("ln -s victim.txt ok.kqt.partial && mkfifo pipe.cor", dir).exitStatus, 0);
  const testing::ProcessResult linked = Import("ok.txt", dir);
  EXPECT_EQ(linked.exitStatus, 0) << linked.output;
  EXPECT_EQ(testing::ReadTextFile(dir + "/victim.txt"), "unrelated\n");
  EXPECT_NE(testing::ReadTextFile(dir + "/ok.kqt").find("_Reflections"), std::string::npos);

  // A pipe is refused at once instead of waiting for a writer.
  const testing::ProcessResult pipe = testing::RunCommand(
      "timeout 20 " + testing::ShellQuote(ORVANTHEL_IMPORT_EXE) + " pipe.cor -o pipe.kqt", dir);
  EXPECT_EQ(pipe.exitStatus, 1);
  EXPECT_NE(pipe.output.find("cannot open pipe.cor: it is not a regular file"), std::string::npos) << pipe.output;

  testing::WriteTextFile(dir + "/long.txt", "2theta chi\n90 " + std::string(3 << 20, '1') + "\n");
  testing::WriteTextFile(dir + "/escape.txt", "2theta chi\n90 0\n91 \x1b]0;title\x07\x1b[31m\xff\n");
  testing::WriteTextFile(dir + "/huge.txt", "2theta chi\n90 0\n91 1e400\n");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"long.txt", "long.txt: line 2: the line is longer than 1048576 characters"},
      {"escape.txt", "escape.txt: line 3: \"?]0;title??[31m?\" in column chi is not a number"},
      {"huge.txt", "huge.txt: line 3: \"1e400\" in column chi is out of range"},
  };
  for (const auto& [file, message] : cases) {
    const testing::ProcessResult result = Import(file, dir);
    EXPECT_EQ(result.exitStatus, 1) << file;
    EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find('\x1b'), std::string::npos) << file;
  }
}

// A known cell and centring give the primitive volume (germanium: a^3/4), and a list whose angles
// all look like radians is imported with a warning.
TEST(ImportProgram, AKnownCellGivesThePrimitiveVolumeAndRadiansAreWarnedOf) {
  double volume = 0.0;
  EXPECT_EQ(PrimitiveVolumeOfCell("5.6575", "F", volume), "");
  EXPECT_NEAR(volume, 5.6575 * 5.6575 * 5.6575 / 4.0, 1e-9);
  EXPECT_EQ(PrimitiveVolumeOfCell("4.9134,4.9134,5.4052,90,90,120", "R", volume), "");
  EXPECT_NEAR(volume, 4.9134 * 4.9134 * 5.4052 * std::sqrt(3.0) / 2.0 / 3.0, 1e-9);
  EXPECT_EQ(PrimitiveVolumeOfCell("5.01,5.85,10.35", "C", volume), "");
  EXPECT_NEAR(volume, 5.01 * 5.85 * 10.35 / 2.0, 1e-9);
  EXPECT_EQ(PrimitiveVolumeOfCell("5,5", "P", volume), "expects a, a,b,c or a,b,c,alpha,beta,gamma");
  EXPECT_EQ(PrimitiveVolumeOfCell("5,5,5,90,90,180", "P", volume), "expects angles between 0 and 180 degrees");
  EXPECT_EQ(PrimitiveVolumeOfCell("5,5,5,120,120,120", "P", volume), "expects angles that make a cell");
  EXPECT_EQ(PrimitiveVolumeOfCell("-5", "P", volume), "expects lengths above 0");

  const std::string dir = testing::MakeScratchDir("import-cell");
  testing::WriteTextFile(dir + "/ge.cor", "2theta chi I\n90 0 5\n91 1 4\n70 -12 3\n120 30 2\n");
  const testing::ProcessResult cell = Import("ge.cor --cell 5.6575 --centring F", dir);
  ASSERT_EQ(cell.exitStatus, 0) << cell.output;
  EXPECT_EQ(cell.output.find("warning"), std::string::npos);
  const std::string written = testing::ReadTextFile(dir + "/ge.kqt");
  EXPECT_NE(written.find("_VolumeOfPrimitiveCell\n  45.27033377734374"), std::string::npos) << written;
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"ge.cor --cell 5.6575", "options --cell and --centring go together"},
      {"ge.cor --centring F", "options --cell and --centring go together"},
      {"ge.cor --cell 5.6575 --centring F --volume 45", "not both"},
      {"ge.cor --cell 5.6575 --centring X", "option --centring expects one of P, I, F, C, A, B or R"},
      {"ge.cor --cell 1e-3 --centring P", "option --cell gives a primitive volume of 1e-09, outside"},
  };
  for (const auto& [arguments, message] : refused) {
    const testing::ProcessResult result = Import(arguments, dir);
    EXPECT_EQ(result.exitStatus, 1) << arguments;
    EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
  }

  testing::WriteTextFile(dir + "/radians.cor", "2theta chi\n1.57 0\n1.6 0.02\n1.2 -0.2\n2.1 0.5\n");
  const testing::ProcessResult radians = Import("radians.cor", dir);
  EXPECT_EQ(radians.exitStatus, 0);
  EXPECT_NE(radians.output.find("orvanthel-import: warning: every 2theta and chi of radians.cor is within 2 pi: "
                                "the angles look like radians"),
            std::string::npos)
      << radians.output;
}

// Every option in the README's option tables is one that a program lists in its help.
TEST(ImportProgram, EveryOptionOfTheReadmeTablesIsInAProgramsHelp) {
  const std::string dir = testing::MakeScratchDir("readme-options");
  const std::string help = testing::RunOrvanthel({"-h"}, dir).output + Import("--help", dir).output;
  std::istringstream readme(testing::ReadTextFile(std::string(ORVANTHEL_SOURCE_DIR) + "/README.md"));
  int options = 0;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("| `-", 0) != 0) continue;
    const std::size_t end = line.find_first_of(" `", 3);
    const std::string option = line.substr(3, end - 3);
    ++options;
    EXPECT_NE(help.find(" " + option), std::string::npos) << option << " is in the README but in no help";
  }
  EXPECT_GE(options, 20);
}

}  // namespace
}  // namespace orv::imp
