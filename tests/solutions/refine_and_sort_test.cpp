// Refinement of stored bases, the odd-index penalty and the stable sorts by quality.
#include "solutions/refine_and_sort.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "geometry/index_direction.hpp"
#include "reports/text_file.hpp"
#include "search/basis_quality.hpp"
#include "solutions/basis_refinement.hpp"
#include "solutions/solution_sorting.hpp"
#include "support/lattice_patterns.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

using orv::testing::BuildLatticePattern;
using orv::testing::LatticePattern;
using orv::testing::LoadPattern;
using orv::testing::RowDirection;
using orv::testing::TriclinicDirectBasis;

// The largest angular deviation of any reflection under the basis.
double WorstDeviation(const Mat3& basis, const RunParameters& parameters, const DirectionStore& directions) {
  Mat3 reciprocal{};
  InverseTranspose(basis, reciprocal, 1e-300);
  double worst = 0.0;
  for (int j = 1; j <= parameters.NumberOfReflections; ++j)
    worst = std::max(worst, IndexDirection(directions(j), reciprocal, basis, parameters.MaxAllowedMillerIndex).theta);
  return worst;
}

double RowAngle(const Vec3& a, const Vec3& b) {
  return ClampedArcCos(Dot(a, b) / (VectorNorm(a) * VectorNorm(b)));
}

// The basis with each entry changed by a fixed pattern of relative amounts up to `amount`.
Mat3 Perturbed(const Mat3& basis, double amount) {
  const double pattern[3][3] = {{1.0, -0.6, 0.3}, {-0.8, 0.5, 0.9}, {0.4, -1.0, -0.7}};
  Mat3 out = basis;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] += amount * pattern[r][c] * std::fabs(basis[r][c] + 1.0);
  return out;
}

void Store(SolutionStore& store, const Mat3& basis, const RunParameters& parameters,
           const DirectionStore& directions) {
  const ScoredBasis scored = BasisQuality(basis, parameters, directions);
  store.NumberOfSolutions += 1;
  SolutionRecord& record = store(store.NumberOfSolutions);
  record.SolutionBasis = basis;
  record.SolutionQuality = scored.quality;
  record.SolutionCounts = scored.counts;
}

TEST(BasisRefinement, NumberOfReflectionsNeeded) {
  const LatticePattern lattice = BuildLatticePattern(TriclinicDirectBasis(), 6, 40.0, 4);
  // A reflection along the row 1 0 20 is indexed exactly but beyond the index bound: never taken.
  const Vec3 beyondBound = RowDirection(lattice.reciprocal, 1, 0, 20);
  struct Case {
    int reflections;
    int withinTolerance;
    bool refines;
  };
  const Case cases[] = {{4, 4, false}, {17, 4, false}, {17, 5, true}, {18, 5, false}, {18, 6, true}};
  for (const Case& c : cases) {
    RunParameters parameters;
    DirectionStore directions;
    SetDefaultParameters(parameters, directions);
    parameters.NumberOfReflections = c.reflections;
    for (int j = 1; j <= c.reflections; ++j)
      directions(j) = j <= c.withinTolerance ? lattice.directions[static_cast<std::size_t>(j - 1)] : beyondBound;
    RefinementWorkspace work(c.reflections);
    Mat3 basis = lattice.direct;
    bool failed = false;
    RefineBasis(2.0 * parameters.TheMainCriterion, basis, failed, parameters, directions, work);
    EXPECT_EQ(failed, !c.refines) << c.reflections << " reflections, " << c.withinTolerance << " within";
    if (failed) {
      EXPECT_EQ(basis, lattice.direct);
    }
  }
}

TEST(BasisRefinement, UndefinedInputsAreNotTaken) {
  EXPECT_EQ(MaxIndexDeviation({1.1, -2.25, 3.0}), 0.25);
  EXPECT_TRUE(std::isnan(MaxIndexDeviation({0.0, std::numeric_limits<double>::quiet_NaN(), 0.0})));
  EXPECT_GT(MaxIndexDeviation({0.0, 0.0, 1e300}), 1.0);

  // All-zero directions have no index direction and count for nothing.
  RunParameters parameters;
  DirectionStore directions;
  SetDefaultParameters(parameters, directions);
  parameters.NumberOfReflections = 10;
  const Mat3 basis = TriclinicDirectBasis();
  Mat3 refined = basis;
  RefinementWorkspace work(10);
  bool failed = false;
  RefineBasis(1.0, refined, failed, parameters, directions, work);
  EXPECT_TRUE(failed);
  // A singular basis cannot be refined.
  Mat3 flat = {basis[0], basis[0], basis[2]};
  RefineBasis(1.0, flat, failed, parameters, directions, work);
  EXPECT_TRUE(failed);
}

TEST(BasisRefinement, ImprovesAPerturbedBasisOfAKnownLattice) {
  const LatticePattern lattice = BuildLatticePattern(TriclinicDirectBasis(), 40, 40.0, 4);
  RunParameters parameters;
  DirectionStore directions;
  LoadPattern(lattice, parameters, directions);
  const Mat3 start = Perturbed(lattice.direct, 0.012);

  SolutionStore store;
  Store(store, start, parameters, directions);
  const SolutionRecord before = store(1);
  ASSERT_LT(before.SolutionCounts.nHalf, 40);
  TextFile closed;
  RefineAndSortSolutions(store, parameters, directions, closed);

  EXPECT_GT(store(1).SolutionQuality, before.SolutionQuality);
  EXPECT_EQ(store(1).SolutionCounts.nHalf, 40);
  EXPECT_EQ(store(1).SolutionCounts.nFull, 40);
  EXPECT_LT(WorstDeviation(store(1).SolutionBasis, parameters, directions),
            0.25 * WorstDeviation(start, parameters, directions));
  // The worst row points closer along its true direction than before.
  double startAngle = 0.0;
  double refinedAngle = 0.0;
  for (int r = 0; r < 3; ++r) {
    startAngle = std::max(startAngle, RowAngle(start[r], lattice.direct[r]));
    refinedAngle = std::max(refinedAngle, RowAngle(store(1).SolutionBasis[r], lattice.direct[r]));
  }
  EXPECT_LT(refinedAngle, 0.5 * startAngle);

  // Refined again and again, the basis converges to the true lattice.
  Mat3 basis = start;
  RefinementWorkspace work(40);
  for (int pass = 0; pass < 100; ++pass) {
    bool failed = true;
    RefineBasis(parameters.TheMainCriterion, basis, failed, parameters, directions, work);
    ASSERT_FALSE(failed);
  }
  // (An arc cosine resolves angles down to about 2e-8.)
  for (int r = 0; r < 3; ++r) EXPECT_LT(RowAngle(basis[r], lattice.direct[r]), 1e-7) << "row " << r;
}

TEST(BasisRefinement, RefinementOfEqualQualityDoesNotReplace) {
  const LatticePattern lattice = BuildLatticePattern(TriclinicDirectBasis(), 30, 40.0, 4);
  RunParameters parameters;
  DirectionStore directions;
  LoadPattern(lattice, parameters, directions);
  // Slightly off, but every reflection still within half the tolerance: refining changes the
  // basis without changing its quality.
  const Mat3 start = Perturbed(lattice.direct, 0.0005);
  Mat3 refined = start;
  RefinementWorkspace work(30);
  bool failed = true;
  RefineBasis(parameters.TheMainCriterion, refined, failed, parameters, directions, work);
  ASSERT_FALSE(failed);
  ASSERT_NE(refined, start);
  ASSERT_EQ(BasisQuality(refined, parameters, directions).quality,
            BasisQuality(start, parameters, directions).quality);

  SolutionStore store;
  Store(store, start, parameters, directions);
  TextFile closed;
  RefineAndSortSolutions(store, parameters, directions, closed);
  EXPECT_EQ(store(1).SolutionBasis, start);
}

// Records whose nHalf field tags their original position.
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
  RunParameters parameters;
  DirectionStore directions;
  SetDefaultParameters(parameters, directions);  // no reflections: nothing can be refined

  SolutionStore first = TaggedStore({1.0, 3.0, 2.0, 3.0, 0.5, 3.0});
  RefineAndSortSolutions(first, parameters, directions, log);
  EXPECT_EQ(Tags(first), "246315");
  // Two of the best fall to the quality of tag 3 and stay ahead of it.
  first(1).SolutionQuality = 2.0;
  first(2).SolutionQuality = 2.0;
  ResortSolutions(first, log);
  EXPECT_EQ(Tags(first), "624315");

  SolutionStore empty;
  ResortSolutions(empty, log);
  EXPECT_EQ(empty.NumberOfSolutions, 0);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  SolutionStore withNaN = TaggedStore({1.0, nan, 2.0});
  SortSolutionsByQuality(withNaN);
  EXPECT_EQ(Tags(withNaN), "123");

  log.Close();
  EXPECT_EQ(orv::testing::ReadTextFile(path),
            " Sorting solutions by quality\n"
            " Trivial sorting of solutions by quality\n"
            " Trivial sorting of solutions by quality\n");
}

TEST(ParityPenalty, FactorsAndFlags) {
  EXPECT_EQ(OddIndexBalanceFactor({10, 20, 20}), 1.0);
  EXPECT_EQ(OddIndexBalanceFactor({5, 20, 20}), 0.75);
  EXPECT_EQ(OddIndexBalanceFactor({20, 5, 30}), 4.0 * (1.0 / 6.0) * (5.0 / 6.0));
  EXPECT_EQ(OddIndexBalanceFactor({20, 20, 0}), 0.0);
  EXPECT_EQ(OddIndexBalanceFactor({0, 0, 0}), 0.0);
  EXPECT_EQ(OddIndexFlags(-3, 4, 0), (std::array<int, 3>{1, 0, 0}));
  EXPECT_EQ(OddIndexFlags(2, -1, 7), (std::array<int, 3>{0, 1, 1}));
}

TEST(ParityPenalty, EvenIndicesAndNoSupportGiveZero) {
  const Mat3 basis = TriclinicDirectBasis();
  Mat3 reciprocal{};
  InverseTranspose(basis, reciprocal, 1e-300);
  RunParameters parameters;
  DirectionStore directions;
  SetDefaultParameters(parameters, directions);
  // Rows with every l even, and one row with all three indices odd.
  const int rows[][3] = {{1, 0, 2}, {0, 1, 2}, {1, 1, 0}, {1, -1, 2}, {3, 1, 2}, {1, 2, 4}, {1, 1, 1}};
  parameters.NumberOfReflections = 6;
  for (int j = 1; j <= 7; ++j) {
    const int* h = rows[j - 1];
    directions(j) = RowDirection(reciprocal, h[0], h[1], h[2]);
  }

  SolutionStore store;
  store.NumberOfSolutions = 1;
  store(1).SolutionBasis = basis;
  store(1).SolutionQuality = 5.0;
  ApplyParityPenalty(store, parameters, directions);
  EXPECT_EQ(store(1).SolutionQuality, 0.0);

  // With the seventh reflection l is odd once among seven: r = 1/6, 4 r (1 - r) = 5/9.
  parameters.NumberOfReflections = 7;
  store(1).SolutionQuality = 9.0;
  ApplyParityPenalty(store, parameters, directions);
  EXPECT_DOUBLE_EQ(store(1).SolutionQuality, 5.0);

  // Only reflections beyond the index bound: nothing is supported.
  for (int j = 1; j <= 7; ++j) directions(j) = RowDirection(reciprocal, 1, 0, 20);
  store(1).SolutionQuality = 9.0;
  ApplyParityPenalty(store, parameters, directions);
  EXPECT_EQ(store(1).SolutionQuality, 0.0);
}

}  // namespace
}  // namespace orv
