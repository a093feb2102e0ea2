// The library's one call against the program: the same solutions for the same spots and options,
// errors as one family, and a search that stops when asked.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <string>

#include "orvanthel/orvanthel.hpp"
#include "support/test_support.hpp"

namespace {

using orvanthel::ErrorCode;
using orv::testing::MakeScratchDir;
using orv::testing::ReadTextFile;
using orv::testing::RunOrvanthel;

const std::string kSource = ORVANTHEL_SOURCE_DIR;

// The program's JSON results for an example, with or without the lattice choice.
nlohmann::json ProgramResults(const std::string& example, bool chooseLattice) {
  const std::string dir = MakeScratchDir("library-vs-program");
  orv::testing::WriteTextFile(dir + "/" + example, ReadTextFile(kSource + "/examples/" + example));
  std::vector<std::string> arguments = {"--json"};
  if (chooseLattice) arguments.push_back("--choose-lattice");
  arguments.push_back(example);
  const orv::testing::ProcessResult run = RunOrvanthel(arguments, dir);
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  const std::string stem = example.substr(0, example.size() - 4);
  return nlohmann::json::parse(ReadTextFile(dir + "/" + stem + "_kqt.json"));
}

void ExpectSameSolutions(const orvanthel::IndexingResult& result, const nlohmann::json& program) {
  ASSERT_EQ(result.solutions.size(), program["solutions"].size());
  for (std::size_t i = 0; i < result.solutions.size(); ++i) {
    const orvanthel::Solution& mine = result.solutions[i];
    const nlohmann::json& theirs = program["solutions"][i];
    SCOPED_TRACE("solution " + std::to_string(i + 1));
    EXPECT_EQ(mine.withinTolerance, theirs["support"]["withinTolerance"].get<int>());
    EXPECT_EQ(mine.withinHalfTolerance, theirs["support"]["withinHalfTolerance"].get<int>());
    // The very same numbers, not merely the printed digits: the library runs the program's road.
    EXPECT_EQ(mine.primitiveCell.a, theirs["primitiveCell"]["a"].get<double>());
    EXPECT_EQ(mine.primitiveCell.gamma, theirs["primitiveCell"]["gamma"].get<double>());
    EXPECT_EQ(mine.quality, theirs["quality"].get<double>());
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) EXPECT_EQ(mine.directBasis[r][c], theirs["directBasis"][r][c].get<double>());
    // The JSON results give every solution's lattice, not solution 1's alone as the other reports.
    EXPECT_FALSE(theirs["lattice"].is_null());
    if (!theirs["lattice"].is_null()) {
      EXPECT_EQ(mine.bravaisType, theirs["lattice"]["bravaisType"].get<std::string>());
    }
    ASSERT_EQ(mine.spots.size(), theirs["reflections"].size());
    for (std::size_t j = 0; j < mine.spots.size(); ++j) {
      const nlohmann::json& row = theirs["reflections"][j];
      if (mine.spots[j].spotClass == orvanthel::SpotClass::NotIndexed) {
        EXPECT_EQ(row["class"], "notIndexed");
        continue;
      }
      EXPECT_EQ(mine.spots[j].hkl[0], row["hkl"][0].get<int>());
      EXPECT_EQ(mine.spots[j].hkl[2], row["hkl"][2].get<int>());
      EXPECT_DOUBLE_EQ(mine.spots[j].deviationDegrees, row["deviationDegrees"].get<double>());
    }
  }
}

TEST(LibraryIndex, GivesTheProgramsSolutionsForTheExamples) {
  for (const char* example : {"silicon.kqt", "azurite.kqt", "quartz.kqt"}) {
    SCOPED_TRACE(example);
    const orvanthel::KqtInput input = orvanthel::ReadKqtFile(kSource + "/examples/" + example);
    for (bool choose : {false, true}) {
      orvanthel::IndexingOptions options = input.options;
      options.chooseLattice = choose;
      options.threads = choose ? 2 : 1;
      ExpectSameSolutions(orvanthel::Index(input.pattern, options), ProgramResults(example, choose));
    }
  }
}

TEST(LibraryIndex, RefusesBadPatternsAndOptionsWithOneErrorFamily) {
  const orvanthel::KqtInput input = orvanthel::ReadKqtFile(kSource + "/examples/silicon.kqt");
  auto codeOf = [](const orvanthel::Pattern& pattern, const orvanthel::IndexingOptions& options, std::string& message) {
    try {
      orvanthel::Index(pattern, options);
    } catch (const orvanthel::Error& error) {
      message = error.what();
      return error.code();
    }
    return ErrorCode::Internal;
  };
  std::string message;
  orvanthel::Pattern three = input.pattern;
  three.directions.resize(3);
  EXPECT_EQ(codeOf(three, {}, message), ErrorCode::InvalidPattern);
  EXPECT_EQ(message, "The number of reflections is smaller than the limit of 4.");

  orvanthel::Pattern zero = input.pattern;
  zero.directions[6] = {0.0, 0.0, 0.0};
  EXPECT_EQ(codeOf(zero, {}, message), ErrorCode::InvalidPattern);
  EXPECT_NE(message.find("Reflection 7"), std::string::npos) << message;

  orvanthel::Pattern notFinite = input.pattern;
  notFinite.directions[1][2] = std::nan("");
  EXPECT_EQ(codeOf(notFinite, {}, message), ErrorCode::InvalidPattern);

  orvanthel::Pattern shortColumn = input.pattern;
  shortColumn.intensities = {1.0};
  EXPECT_EQ(codeOf(shortColumn, {}, message), ErrorCode::InvalidPattern);

  orvanthel::IndexingOptions wide;
  wide.toleranceDegrees = 5.0;
  EXPECT_EQ(codeOf(input.pattern, wide, message), ErrorCode::InvalidOptions);
  EXPECT_EQ(message, "AngularDeviationCriterion is too large.");
  orvanthel::IndexingOptions deep;
  deep.maxMillerIndex = 101;
  EXPECT_EQ(codeOf(input.pattern, deep, message), ErrorCode::InvalidOptions);

  try {
    orvanthel::ReadKqtFile(kSource + "/examples/no-such-file.kqt");
    ADD_FAILURE() << "a missing file was read";
  } catch (const orvanthel::Error& error) {
    EXPECT_EQ(error.code(), ErrorCode::ReadFailed);
    EXPECT_NE(std::string(error.what()).find("Cannot open"), std::string::npos) << error.what();
  }
  EXPECT_THROW(orvanthel::PatternFromScatteringAngles({60.0, 0.0}, {1.0, 2.0}), orvanthel::Error);
}

// Stops at the first progress report it sees, and counts what it saw.
class StopAtOnce : public orvanthel::IndexingObserver {
 public:
  void Progress(int, int) override { ++reports; }
  bool StopRequested() override { return true; }
  int reports = 0;
};

TEST(LibraryIndex, StopsTheSearchWhenTheObserverAsksOnEveryThreadCount) {
  const orvanthel::KqtInput input = orvanthel::ReadKqtFile(kSource + "/examples/kyanite.kqt");
  for (int threads : {1, 2}) {
    orvanthel::IndexingOptions options = input.options;
    options.searchType = 3;
    options.threads = threads;
    StopAtOnce observer;
    try {
      orvanthel::Index(input.pattern, options, &observer);
      ADD_FAILURE() << "the search was not stopped";
    } catch (const orvanthel::Error& error) {
      EXPECT_EQ(error.code(), ErrorCode::Cancelled);
    }
    EXPECT_EQ(observer.reports, 1);
  }
}

TEST(LibraryIndex, TurnsDetectorAnglesIntoTheDirectionsOfPeakLists) {
  // 2theta = 90, chi = 0: q along (-sin 45, 0, cos 45); chi = 90 turns it towards +y.
  const orvanthel::Pattern pattern = orvanthel::PatternFromScatteringAngles({90.0, 90.0}, {0.0, 90.0});
  EXPECT_NEAR(pattern.directions[0][0], -std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(pattern.directions[0][2], std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(pattern.directions[1][1], std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(pattern.directions[1][2], 0.0, 1e-15);
  EXPECT_EQ(pattern.chiDegrees[1], 90.0);
}

}  // namespace

namespace {

TEST(LibraryIndex, OrientsSolutionsAndMeasuresStrainAgainstAReference) {
  const orvanthel::KqtInput input = orvanthel::ReadKqtFile(kSource + "/examples/silicon.kqt");
  orvanthel::IndexingOptions options = input.options;
  options.referenceCell = std::array<double, 6>{5.431, 5.431, 5.431, 90, 90, 90};
  const orvanthel::IndexingResult result = orvanthel::Index(input.pattern, options);
  const orvanthel::Solution& best = result.solutions.at(0);
  ASSERT_EQ(best.bravaisType, "cF");
  ASSERT_TRUE(best.oriented);
  // U is a rotation, and UB is U B up to the shape of the measured cell.
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      double uut = 0.0, ub = 0.0;
      for (int k = 0; k < 3; ++k) {
        uut += best.orientation.u[r][k] * best.orientation.u[c][k];
        ub += best.orientation.u[r][k] * best.orientation.b[k][c];
      }
      EXPECT_NEAR(uut, r == c ? 1.0 : 0.0, 1e-12);
      EXPECT_NEAR(ub, best.orientation.ub[r][c], 2e-4);  // up to the strain of the measured cell
    }
  // Face-centred: every indexed row is all odd or all even on the conventional cell.
  for (const orvanthel::SpotIndexing& spot : best.spots) {
    if (spot.spotClass == orvanthel::SpotClass::NotIndexed) continue;
    const int odd = (spot.conventionalHkl[0] & 1) + (spot.conventionalHkl[1] & 1) + (spot.conventionalHkl[2] & 1);
    EXPECT_TRUE(odd == 0 || odd == 3) << spot.conventionalHkl[0] << spot.conventionalHkl[1] << spot.conventionalHkl[2];
  }
  ASSERT_TRUE(best.strained);
  EXPECT_LT(best.strain.vonMises, 5e-4);
  for (std::size_t i = 1; i < result.solutions.size(); ++i) EXPECT_FALSE(result.solutions[i].strained);

  options.referenceCell = std::array<double, 6>{5.431, 5.431, 5.6, 90, 90, 90};
  try {
    orvanthel::Index(input.pattern, options);
    ADD_FAILURE() << "a tetragonal reference was taken for a cubic lattice";
  } catch (const orvanthel::Error& error) {
    EXPECT_EQ(error.code(), ErrorCode::ReferenceMismatch) << error.what();
  }
  options.referenceCell = std::array<double, 6>{5.431, 5.431, -1.0, 90, 90, 90};
  EXPECT_THROW(orvanthel::Index(input.pattern, options), orvanthel::Error);
}

}  // namespace
