// Map mode through the real executable on a simulated map of two grains: the orientations and
// grains against the truth, the same files whatever the workers and shards, the pictures render,
// and the faults of the positions that end the map before it starts.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/rotation.hpp"
#include "maps/grain_setting.hpp"
#include "simulator/map_simulation.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

const char* kReference = "5.658,5.658,5.658,90,90,90";

std::vector<std::vector<std::string>> CsvRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(testing::ReadTextFile(path));
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string field; std::getline(cells, field, ',');) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

// A 30 x 10 map of germanium-like cF grains (two tiles of the map), written once for every test.
class MapRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new std::string(testing::MakeScratchDir("map-run"));
    sim::MapSimulationOptions options;
    options.columns = 30;
    options.rows = 10;
    options.grains = 2;
    options.seed = 3;
    options.rotationPerStep = 0.02;
    options.pattern.cell = sim::CellParameters{5.658, 5.658, 5.658, 90.0, 90.0, 90.0};
    options.pattern.centring = sim::Centring::F;
    options.pattern.flaws = sim::FlawSettings{0.01, 0.05, 0.0, 60};
    options.pattern.keywords.AngularDeviationCriterion = 0.2;
    std::string message;
    ASSERT_TRUE(sim::WriteSimulatedMap(options, *root_ + "/m", message)) << message;
  }
  static void TearDownTestSuite() { delete root_; }
  static std::string* root_;
};
std::string* MapRun::root_ = nullptr;

TEST_F(MapRun, FindsTheTrueOrientationsAndGrainsTheSameWhateverTheWorkersAndShards) {
  const std::string m = *root_ + "/m";
  const std::string one = testing::MakeScratchDir("map-one");
  const std::string two = testing::MakeScratchDir("map-two");
  const std::string shards = testing::MakeScratchDir("map-shards");
  const std::vector<std::string> common = {"--batch", m + "/list.txt", "--map", m + "/positions.csv",
                                           "--reference-cell", kReference};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> all = common;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
  };
  const testing::ProcessResult first = testing::RunOrvanthel(with({"--workers", "1"}), one);
  ASSERT_EQ(first.exitStatus, 0) << first.output;
  EXPECT_NE(first.output.find("0 failed"), std::string::npos) << first.output;
  ASSERT_EQ(testing::RunOrvanthel(with({"--workers", "2"}), two).exitStatus, 0);
  ASSERT_EQ(testing::RunOrvanthel(with({"--shard", "1/2"}), shards).exitStatus, 0);
  ASSERT_EQ(testing::RunOrvanthel(with({"--shard", "0/2"}), shards).exitStatus, 0);
  EXPECT_FALSE(testing::FileExists(shards + "/map_summary.csv"));
  const testing::ProcessResult merged = testing::RunOrvanthel(with({"--merge"}), shards);
  ASSERT_EQ(merged.exitStatus, 0) << merged.output;
  for (const char* name : {"map_points.csv", "map_summary.csv", "map_grains.csv", "map_orientation.svg", "map_strain.svg"}) {
    const std::string expected = testing::ReadTextFile(one + "/" + name);
    ASSERT_FALSE(expected.empty()) << name;
    EXPECT_EQ(testing::ReadTextFile(two + "/" + name), expected) << name << " at 2 workers";
    EXPECT_EQ(testing::ReadTextFile(shards + "/" + name), expected) << name << " from 2 shards";
  }

  // An interrupted map resumes from the pass it was in: with the points of the last pass (column
  // 23, the last of the first tile) lost, a run again computes only those and writes the same files.
  {
    std::istringstream points(testing::ReadTextFile(one + "/map_points.csv"));
    std::string kept;
    std::string line;
    while (std::getline(points, line))
      if (line.find("_0023.kqt,") == std::string::npos) kept += line + "\n";
    testing::WriteTextFile(one + "/map_points.csv", kept);
    const std::string summary = testing::ReadTextFile(one + "/map_summary.csv");
    const testing::ProcessResult resumed = testing::RunOrvanthel(with({"--workers", "2"}), one);
    ASSERT_EQ(resumed.exitStatus, 0) << resumed.output;
    EXPECT_NE(resumed.output.find("were finished before"), std::string::npos) << resumed.output;
    EXPECT_NE(resumed.output.find("Passes 0 to 6 were finished before"), std::string::npos) << resumed.output;
    EXPECT_EQ(resumed.output.find("Pass 6:"), std::string::npos) << resumed.output;
    EXPECT_NE(resumed.output.find("Pass 7: 10 points"), std::string::npos) << resumed.output;
    EXPECT_EQ(testing::ReadTextFile(one + "/map_summary.csv"), summary);
    EXPECT_EQ(testing::ReadTextFile(one + "/map_points.csv"), testing::ReadTextFile(two + "/map_points.csv"));
  }

  // Against the truth: the lattice and the orientation (within 0.05 degree under the cubic
  // rotations) of every point that holds one grain's spots, and the two grains.
  std::map<std::string, std::vector<std::string>> truth;
  for (const auto& row : CsvRows(m + "/map_truth.csv")) truth[row[0]] = row;
  const std::vector<Mat3> cubic = CrystalRotationsOfCell(LatticeCell{Vec3{1, 1, 1}, Vec3{90, 90, 90}}, IntMat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
  int single = 0;
  int right = 0;
  int seeded = 0;
  for (const auto& row : CsvRows(one + "/map_summary.csv")) {
    const std::string name = row[0].substr(row[0].rfind('/') + 1);
    const auto& t = truth.at(name);
    if (row[7] == "seeded") ++seeded;
    if (t[4] != "0") continue;
    ++single;
    const Mat3 found = RotationFromBungeEulerAngles({std::stod(row[16]), std::stod(row[17]), std::stod(row[18])});
    const Mat3 expected = RotationFromBungeEulerAngles({std::stod(t[5]), std::stod(t[6]), std::stod(t[7])});
    if (row[9] == "cF" && MisorientationDegrees(expected, found, cubic) < 0.05) ++right;
  }
  EXPECT_GE(right, single * 99 / 100) << right << " of " << single;
  EXPECT_GT(seeded, 250);
  EXPECT_EQ(CsvRows(one + "/map_grains.csv").size(), 2u);

  if (testing::RunCommand("command -v rsvg-convert", ".").exitStatus != 0) GTEST_SKIP() << "no rsvg-convert";
  for (const char* name : {"map_orientation.svg", "map_strain.svg"}) {
    const testing::ProcessResult render = testing::RunCommand(std::string("rsvg-convert ") + name + " -o picture.png", one);
    EXPECT_EQ(render.exitStatus, 0) << name << ": " << render.output;
    EXPECT_TRUE(testing::FileExists(one + "/picture.png"));
  }
}

TEST_F(MapRun, FaultsOfThePositionsEndTheMapBeforeItStarts) {
  const std::string m = *root_ + "/m";
  const std::string dir = testing::MakeScratchDir("map-faults");
  testing::WriteTextFile(dir + "/bad.csv", "file,x,y\n" + m + "/point_0000_0000.kqt,0,0\n" + m +
                                               "/point_0000_0001.kqt,one,0\n");
  const testing::ProcessResult bad = testing::RunOrvanthel({"--batch", m + "/list.txt", "--map", "bad.csv"}, dir);
  EXPECT_EQ(bad.exitStatus, 2);
  EXPECT_NE(bad.output.find("bad.csv, line 3: x \"one\" is not a finite number."), std::string::npos) << bad.output;
  const testing::ProcessResult grid = testing::RunOrvanthel({"--batch", m + "/list.txt", "--grid", "30x11"}, dir);
  EXPECT_EQ(grid.exitStatus, 2);
  EXPECT_NE(grid.output.find("The grid 30x11 has 330 points, but the list has 300 patterns."), std::string::npos)
      << grid.output;
  EXPECT_EQ(testing::RunOrvanthel({"--map", "bad.csv", "x.kqt"}, dir).exitStatus, 1);
  EXPECT_EQ(testing::RunOrvanthel({"--batch", m + "/list.txt", "--grid", "30x10", "--json"}, dir).exitStatus, 1);
  EXPECT_FALSE(testing::FileExists(dir + "/map_points.csv"));

  // A merge where no shard reported: every point is missing, and the exit status says so.
  const testing::ProcessResult merge = testing::RunOrvanthel({"--batch", m + "/list.txt", "--grid", "30x10", "--merge"}, dir);
  EXPECT_EQ(merge.exitStatus, 1) << merge.output;
  EXPECT_NE(merge.output.find("300 points, 300 missing"), std::string::npos) << merge.output;
  EXPECT_NE(testing::ReadTextFile(dir + "/map_summary.csv").find(",failed,"), std::string::npos);
}

}  // namespace
}  // namespace orv
