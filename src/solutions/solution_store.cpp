// The store of accepted direct bases: append, recognise re-discoveries, replace the worst.
#include "solutions/solution_store.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

constexpr double kLargestDouble = 1.7976931348623157e308;

// Two bases describe the same lattice when S B^-1 is an integer matrix of determinant +1 or -1,
// within the tolerances that rounding errors of the search leave.
bool IsSimilarRelation(const Mat3& relation) {
  if (!(std::fabs(std::fabs(Determinant(relation)) - 1.0) < 0.08)) return false;
  double offInteger = 0.0;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      const double entry = relation[r][c];
      offInteger += std::fabs(entry - static_cast<double>(Nint(entry)));
    }
  return offInteger < 0.24;
}

void WriteRecord(SolutionRecord& record, const Mat3& basis, SupportCounts counts, double quality) {
  record.SolutionBasis = basis;
  record.SolutionCounts = counts;
  record.SolutionQuality = quality;
}

}  // namespace

void FindWorstSolution(SolutionStore& store) {
  double worst = kLargestDouble;
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    if (store(i).SolutionQuality <= worst) {
      store.WorstSolutionIndex = i;
      worst = store(i).SolutionQuality;
    }
  }
}

double OfferFloor(const SolutionStore& store) {
  if (store.NumberOfSolutions < MaxStoredSolutions) return -std::numeric_limits<double>::infinity();
  double worst = std::numeric_limits<double>::infinity();
  for (int j = 1; j <= store.NumberOfSolutions; ++j) {
    const double quality = store(j).SolutionQuality;
    if (!std::isfinite(quality)) return -std::numeric_limits<double>::infinity();
    worst = std::min(worst, quality);
  }
  return worst;
}

bool MergeIfSimilar(SolutionStore& store, const Mat3& basis, SupportCounts counts, double quality, RunObserver& events) {
  if (store.NumberOfSolutions <= 0) return false;
  // A basis that cannot be inverted relates to no stored solution: the zero relation matrix has
  // determinant 0 and fails the test, instead of comparing against undefined values.
  Mat3 inverse{};
  InvertMatrix(basis, inverse, kBasisSingularity);
  for (int j = 1; j <= store.NumberOfSolutions; ++j) {
    SolutionRecord& stored = store(j);
    if (!IsSimilarRelation(MultiplyMatrices(stored.SolutionBasis, inverse))) continue;
    events.SimilarToSolution(j);
    if (quality >= stored.SolutionQuality) {
      events.ReplacedSolution(j);
      WriteRecord(stored, basis, counts, quality);
    }
    return true;
  }
  return false;
}

void SaveBasis(SolutionStore& store, const Mat3& basis, SupportCounts counts, double quality, RunObserver& events) {
  int recordNumber = 0;
  if (store.NumberOfSolutions < MaxStoredSolutions) {
    if (MergeIfSimilar(store, basis, counts, quality, events)) return;
    store.NumberOfSolutions += 1;
    recordNumber = store.NumberOfSolutions;
  } else {
    FindWorstSolution(store);
    // Only a store of NaN qualities leaves no worst record; nothing can be overwritten then.
    if (store.WorstSolutionIndex < 1 || store.WorstSolutionIndex > store.NumberOfSolutions) return;
    if (quality < store(store.WorstSolutionIndex).SolutionQuality) return;
    if (MergeIfSimilar(store, basis, counts, quality, events)) return;
    recordNumber = store.WorstSolutionIndex;
  }
  WriteRecord(store(recordNumber), basis, counts, quality);
  events.BasisSaved(recordNumber, counts, quality);
}

}  // namespace orv
