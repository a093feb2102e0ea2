// The walk over triples: orientation, repeats kept by the two-zone search, the crossing slot,
// the log separators and the progress line.
#include "search/quadruple_enumeration.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "text/text_file.hpp"
#include "support/lattice_patterns.hpp"
#include "support/run_listeners.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

using testing::NarrowBasis;
using testing::ZoneStar;
using Quadruple = std::array<int, 4>;

class Recorder final : public QuadrupleVisitor {
 public:
  void Visit(const DirectionStore& directions, int i, int j, int k, int l) override {
    visits.push_back({i, j, k, l});
    fourth.push_back(directions(l));
  }
  std::vector<Quadruple> visits;
  std::vector<Vec3> fourth;  // the direction of l at the moment of the visit
};

struct SearchWalk : testing::RunListeners {
  RunParameters parameters;
  DirectionStore directions;
  EnumerationBuffers buffers;
  Recorder recorder;

  SearchWalk(const std::vector<Vec3>& list, int searchType) {
    SetDefaultParameters(parameters, directions);
    parameters.NumberOfReflections = static_cast<int>(list.size());
    parameters.ExtentOfTheSearch = searchType;
    for (std::size_t n = 0; n < list.size(); ++n) directions(static_cast<int>(n) + 1) = list[n];
  }
  void Enumerate() { EnumerateQuadruples(parameters, directions, buffers, recorder, events); }
  long CountOf(const Quadruple& q) const { return std::count(recorder.visits.begin(), recorder.visits.end(), q); }
};

TEST(QuadrupleEnumeration, TripleWithNegativeProductIsHandedOnAsIKJ) {
  std::vector<Vec3> star = ZoneStar(NarrowBasis());
  std::swap(star[1], star[2]);  // 1 = 100, 2 = 001, 3 = 010: [1, 2, 3] < 0
  std::swap(star[4], star[5]);  // keep 5 on the edge 2-3 and 6 on the edge 3-1 of the oriented triple
  for (const int type : {0, 8}) {
    SearchWalk run(star, type);
    ASSERT_LT(TripleProduct(run.directions, 1, 2, 3), -0.005);
    run.Enumerate();
    EXPECT_EQ(run.CountOf({1, 3, 2, 7}), 1) << type;
    for (const Quadruple& q : run.recorder.visits) EXPECT_FALSE(q[0] == 1 && q[1] == 2 && q[2] == 3) << type;
  }
}

TEST(QuadrupleEnumeration, TwoZoneSearchEvaluatesAReflectionOncePerPairOfZones) {
  const std::vector<Vec3> star = ZoneStar(NarrowBasis());
  SearchWalk threeZones(star, 0);
  threeZones.Enumerate();
  EXPECT_EQ(threeZones.CountOf({1, 2, 3, 7}), 1);
  for (const int type : {5, 6, 7}) {
    SearchWalk twoZones(star, type);
    twoZones.Enumerate();
    EXPECT_EQ(twoZones.CountOf({1, 2, 3, 7}), 3) << type;
  }
}

TEST(QuadrupleEnumeration, CrossingsGoToTheSlotAfterTheLastReflection) {
  // 999 reflections: the star at 993..999 (111 is reflection 999), the rest far outside its cone.
  std::vector<Vec3> list(992, Vec3{0.0, 0.0, -1.0});
  const std::vector<Vec3> star = ZoneStar(NarrowBasis());
  list.insert(list.end(), star.begin(), star.end());
  SearchWalk run(list, 4);
  const int n = run.parameters.NumberOfReflections;
  ASSERT_EQ(n, 999);
  run.buffers.arcs.Reset(n);
  VisitTripleQuadruples(4, n, 993, 994, 995, run.directions, run.buffers, run.recorder);

  std::vector<Vec3> crossings;
  ZoneCrossings(run.directions, 993, 994, 995, run.buffers.arcs, crossings);
  ASSERT_EQ(crossings.size(), 3u);
  ASSERT_EQ(run.recorder.visits.size(), 3u);
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    EXPECT_EQ(run.recorder.visits[s], (Quadruple{993, 994, 995, 1000}));
    EXPECT_EQ(run.recorder.fourth[s], crossings[s]);
  }
  EXPECT_EQ(run.directions(999), star[6]);  // reflection N untouched
  EXPECT_EQ(run.directions(1000), crossings.back());
}

TEST(QuadrupleEnumeration, LogSeparatorPerTripleAndOneProgressLine) {
  std::vector<Vec3> list = ZoneStar(NarrowBasis());
  list.push_back({0.0, 0.0, -1.0});  // 8: far from the others
  SearchWalk run(list, 0);
  const std::string folder = testing::MakeScratchDir("enumeration");
  run.log.Open(folder + "/search.log");
  run.Enumerate();
  run.log.Close();
  const std::string separator = " " + std::string(54, '=') + "\n";
  std::string expected;
  for (int t = 0; t < 8 * 7 * 6 / 6; ++t) expected += separator;
  EXPECT_EQ(testing::ReadTextFile(folder + "/search.log"), expected);

  std::string progress;
  for (int i = 1; i <= 6; ++i)
    progress += "\r Progress : " + std::string(26, ' ') + "     " + std::to_string(i) + " -->     8  ";
  progress += "\r" + std::string(61, ' ') + "\r";
  EXPECT_EQ(run.console.str(), progress);
}

}  // namespace
}  // namespace orv
