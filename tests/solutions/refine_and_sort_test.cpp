// Refinement of stored bases, the odd-index penalty and the stable sorts by quality.
#include "solutions/refine_and_sort.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "reports/log_events.hpp"
#include "text/text_file.hpp"
#include "solutions/basis_quality.hpp"
#include "solutions/basis_refinement.hpp"
#include "solutions/solution_sorting.hpp"
#include "support/lattice_patterns.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

using orv::testing::RowDirection;

// A run over the lowest-index rows of a triclinic lattice.
struct LatticeRun {
  explicit LatticeRun(int reflections) {
    lattice = orv::testing::BuildLatticePattern(orv::testing::TriclinicDirectBasis(), reflections, 40.0, 4);
    orv::testing::LoadPattern(lattice, parameters, directions);
  }
  orv::testing::LatticePattern lattice;
  RunParameters parameters;
  DirectionStore directions;
};

// The basis with its entries changed by a fixed pattern of relative amounts up to `amount`.
Mat3 Perturbed(const Mat3& basis, double amount) {
  const double pattern[3][3] = {{1.0, -0.6, 0.3}, {-0.8, 0.5, 0.9}, {0.4, -1.0, -0.7}};
  Mat3 out = basis;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] += amount * pattern[r][c] * std::fabs(basis[r][c] + 1.0);
  return out;
}

// The largest angle between a row of `basis` and the same row of `truth`.
double WorstRowAngle(const Mat3& basis, const Mat3& truth) {
  double worst = 0.0;
  for (int r = 0; r < 3; ++r)
    worst = std::max(worst, ClampedArcCos(Dot(basis[r], truth[r]) / (VectorNorm(basis[r]) * VectorNorm(truth[r]))));
  return worst;
}

SolutionStore StoreOf(const Mat3& basis, const LatticeRun& run) {
  SolutionStore store;
  const ScoredBasis scored = BasisQuality(basis, run.parameters, run.directions);
  store.NumberOfSolutions = 1;
  store(1) = {basis, scored.quality, scored.counts};
  return store;
}

TEST(BasisRefinement, NumberOfReflectionsNeeded) {
  LatticeRun run(6);
  // Along the row 1 0 20 a reflection is indexed exactly, but beyond the index bound: never taken.
  const Vec3 beyondBound = RowDirection(run.lattice.reciprocal, 1, 0, 20);
  const struct {
    int reflections, withinTolerance;
    bool refines;
  } cases[] = {{4, 4, false}, {17, 4, false}, {17, 5, true}, {18, 5, false}, {18, 6, true}};
  for (const auto& c : cases) {
    run.parameters.NumberOfReflections = c.reflections;
    for (int j = 1; j <= c.reflections; ++j) {
      const std::size_t row = static_cast<std::size_t>(j - 1);
      run.directions(j) = j <= c.withinTolerance ? run.lattice.directions[row] : beyondBound;
    }
    RefinementWorkspace work(c.reflections);
    Mat3 basis = run.lattice.direct;
    bool failed = false;
    RefineBasis(2.0 * run.parameters.TheMainCriterion, basis, failed, run.parameters, run.directions, work);
    EXPECT_EQ(failed, !c.refines) << c.reflections << " reflections, " << c.withinTolerance << " within";
  }
  // Zero directions have no index direction and do not count; a singular basis cannot be refined.
  for (int j = 1; j <= 18; ++j) run.directions(j) = {0.0, 0.0, 0.0};
  RefinementWorkspace work(18);
  Mat3 basis = run.lattice.direct;
  bool failed = false;
  RefineBasis(1.0, basis, failed, run.parameters, run.directions, work);
  EXPECT_TRUE(failed);
  basis[1] = basis[0];
  RefineBasis(1.0, basis, failed, run.parameters, run.directions, work);
  EXPECT_TRUE(failed);
  EXPECT_TRUE(std::isnan(MaxIndexDeviation({0.0, std::numeric_limits<double>::quiet_NaN(), 0.0})));
}

TEST(BasisRefinement, ImprovesAPerturbedBasisOfAKnownLattice) {
  LatticeRun run(40);
  const Mat3 start = Perturbed(run.lattice.direct, 0.012);
  SolutionStore store = StoreOf(start, run);
  ASSERT_LT(store(1).SolutionCounts.nHalf, 40);
  const double startQuality = store(1).SolutionQuality;
  RunObserver quiet;
  RefineAndSortSolutions(store, run.parameters, run.directions, quiet);
  EXPECT_GT(store(1).SolutionQuality, startQuality);
  EXPECT_EQ(store(1).SolutionCounts.nHalf, 40);
  EXPECT_LT(WorstRowAngle(store(1).SolutionBasis, run.lattice.direct), 0.5 * WorstRowAngle(start, run.lattice.direct));

  // Refined again and again, the basis converges to the true lattice (an arc cosine resolves
  // angles down to about 2e-8).
  Mat3 basis = start;
  RefinementWorkspace work(40);
  for (int pass = 0; pass < 100; ++pass) {
    bool failed = true;
    RefineBasis(run.parameters.TheMainCriterion, basis, failed, run.parameters, run.directions, work);
    ASSERT_FALSE(failed);
  }
  EXPECT_LT(WorstRowAngle(basis, run.lattice.direct), 1e-7);
}

// The post-processing indexes a basis once for all eight tolerances: the rows made once give at
// every tolerance the basis (or the failure) that a refinement indexing afresh gives, bit for bit.
TEST(BasisRefinement, RowsIndexedOnceRefineAsAFreshIndexingDoes) {
  LatticeRun run(40);
  run.directions(7) = {0.0, 0.0, 0.0};  // no index direction
  const Mat3 start = Perturbed(run.lattice.direct, 0.03);
  RefinementWorkspace work(40);
  RefinementRows rows;
  IndexForRefinement(start, run.parameters, run.directions, 40, rows);
  int takenBefore = 41;
  for (int t = 12; t >= 1; --t) {
    const double tolerance = t * run.parameters.TheMainCriterion * 0.25;
    Mat3 fresh = start;
    Mat3 fromRows = start;
    bool freshFailed = false;
    bool rowsFailed = false;
    RefineBasis(tolerance, fresh, freshFailed, run.parameters, run.directions, work);
    RefineBasisFromRows(tolerance, rows, fromRows, rowsFailed, run.parameters, work);
    EXPECT_EQ(rowsFailed, freshFailed) << t;
    EXPECT_EQ(fromRows, fresh) << t;
    EXPECT_LE(rows.Within(tolerance), takenBefore);
    takenBefore = rows.Within(tolerance);
  }
  EXPECT_LT(rows.Within(0.25 * run.parameters.TheMainCriterion), rows.Within(3.0 * run.parameters.TheMainCriterion));
  Mat3 singular = start;
  singular[2] = singular[0];
  IndexForRefinement(singular, run.parameters, run.directions, 40, rows);
  bool failed = false;
  RefineBasisFromRows(1.0, rows, singular, failed, run.parameters, work);
  EXPECT_TRUE(failed);
}

TEST(BasisRefinement, RefinementOfEqualQualityDoesNotReplace) {
  LatticeRun run(30);
  // Slightly off, every reflection still within half the tolerance: refining moves the basis
  // without changing its quality.
  const Mat3 start = Perturbed(run.lattice.direct, 0.0005);
  Mat3 refined = start;
  RefinementWorkspace work(30);
  bool failed = true;
  RefineBasis(run.parameters.TheMainCriterion, refined, failed, run.parameters, run.directions, work);
  ASSERT_FALSE(failed);
  ASSERT_NE(refined, start);
  ASSERT_EQ(BasisQuality(refined, run.parameters, run.directions).quality,
            BasisQuality(start, run.parameters, run.directions).quality);
  SolutionStore store = StoreOf(start, run);
  RunObserver quiet;
  RefineAndSortSolutions(store, run.parameters, run.directions, quiet);
  EXPECT_EQ(store(1).SolutionBasis, start);
}

// Records whose nHalf tags their original position.
SolutionStore TaggedStore(std::initializer_list<double> qualities) {
  SolutionStore store;
  for (double q : qualities) {
    store.NumberOfSolutions += 1;
    store(store.NumberOfSolutions).SolutionQuality = q;
    store(store.NumberOfSolutions).SolutionCounts = {store.NumberOfSolutions, 0};
  }
  return store;
}

std::string Tags(const SolutionStore& store) {
  std::string tags;
  for (int i = 1; i <= store.NumberOfSolutions; ++i) tags += std::to_string(store(i).SolutionCounts.nHalf);
  return tags;
}

TEST(SolutionSorting, BothSortsAreStableAndLogged) {
  const std::string path = orv::testing::MakeScratchDir("sort") + "/sort_kqt.log";
  TextFile log;
  log.Open(path);
  LogEventWriter logLines(log);
  RunParameters parameters;
  DirectionStore directions;
  SetDefaultParameters(parameters, directions);  // no reflections: nothing is refined

  SolutionStore store = TaggedStore({1.0, 3.0, 2.0, 3.0, 0.5, 3.0});
  RefineAndSortSolutions(store, parameters, directions, logLines);
  EXPECT_EQ(Tags(store), "246315");
  store(1).SolutionQuality = 2.0;  // tags 2 and 4 fall to the quality of tag 3 and stay ahead of it
  store(2).SolutionQuality = 2.0;
  ResortSolutions(store, logLines);
  EXPECT_EQ(Tags(store), "624315");
  SolutionStore empty;
  ResortSolutions(empty, logLines);

  SolutionStore withNaN = TaggedStore({1.0, std::numeric_limits<double>::quiet_NaN(), 2.0});
  SortSolutionsByQuality(withNaN);
  EXPECT_EQ(Tags(withNaN), "123");
  log.Close();
  EXPECT_EQ(orv::testing::ReadTextFile(path),
            " Sorting solutions by quality\n"
            " Trivial sorting of solutions by quality\n"
            " Trivial sorting of solutions by quality\n");
}

TEST(ParityPenalty, FactorsForOddIndexCounts) {
  EXPECT_EQ(OddIndexBalanceFactor({10, 20, 20}), 1.0);
  EXPECT_EQ(OddIndexBalanceFactor({5, 20, 20}), 0.75);
  EXPECT_EQ(OddIndexBalanceFactor({20, 20, 0}), 0.0);
  EXPECT_EQ(OddIndexBalanceFactor({0, 0, 0}), 0.0);
  EXPECT_EQ(OddIndexFlags(-3, 4, 0), (std::array<int, 3>{1, 0, 0}));
}

TEST(ParityPenalty, EvenIndicesAndNoSupportGiveZero) {
  LatticeRun run(0);
  // Rows with every l even, then one row with all three indices odd.
  const int rows[][3] = {{1, 0, 2}, {0, 1, 2}, {1, 1, 0}, {1, -1, 2}, {3, 1, 2}, {1, 2, 4}, {1, 1, 1}};
  for (int j = 1; j <= 7; ++j) {
    const int* h = rows[j - 1];
    run.directions(j) = RowDirection(run.lattice.reciprocal, h[0], h[1], h[2]);
  }
  SolutionStore store = TaggedStore({9.0});
  store(1).SolutionBasis = run.lattice.direct;
  run.parameters.NumberOfReflections = 6;
  ApplyParityPenalty(store, run.parameters, run.directions);
  EXPECT_EQ(store(1).SolutionQuality, 0.0);

  // Odd counts (6, 5, 1): r = 1/6, factor 4 r (1 - r) = 5/9.
  run.parameters.NumberOfReflections = 7;
  store(1).SolutionQuality = 9.0;
  ApplyParityPenalty(store, run.parameters, run.directions);
  EXPECT_DOUBLE_EQ(store(1).SolutionQuality, 5.0);

  // A basis without a dual supports nothing either.
  store(1).SolutionQuality = 9.0;
  store(1).SolutionBasis[2] = store(1).SolutionBasis[0];
  ApplyParityPenalty(store, run.parameters, run.directions);
  EXPECT_EQ(store(1).SolutionQuality, 0.0);

  for (int j = 1; j <= 7; ++j) run.directions(j) = RowDirection(run.lattice.reciprocal, 1, 0, 20);
  store(1) = {run.lattice.direct, 9.0, {}};
  ApplyParityPenalty(store, run.parameters, run.directions);
  EXPECT_EQ(store(1).SolutionQuality, 0.0);
}

}  // namespace
}  // namespace orv
