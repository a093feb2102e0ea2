// The optional lattice choice: among commensurate lattices, the one whose shortest rows are the ones seen.
#include "solutions/lattice_choice.hpp"

#include <algorithm>
#include <vector>

#include "solutions/basis_quality.hpp"
#include "solutions/commensurate_lattices.hpp"
#include "solutions/covered_region.hpp"
#include "solutions/support_keeping_refinement.hpp"

namespace orv {

namespace {

// Rounds of trying the relatives of a family's winner, so that lattices two or three steps away
// from every kept solution can still be reached.
constexpr int kClimbingRounds = 3;

struct Family {
  int root = 0;
  std::vector<int> kept;  // the kept solutions in it, as indices into the lattice list, in store order
  int rowsCounted = 0;    // the largest number of reflections one of them supports
  double support = 0.0;   // the best support of one of them
  int winner = -1;
  bool ranked = false;
};

// Families of the kept solutions, ranked as the search ranks unrelated lattices: by their best
// support; equal support keeps the order of the kept solutions.
std::vector<Family> GroupIntoFamilies(CommensurateLattices& list) {
  std::vector<Family> families;
  for (int k = 0; k < list.Size(); ++k) {
    if (list[k].record == 0) continue;
    const int root = list.FamilyOf(k);
    auto found = std::find_if(families.begin(), families.end(), [root](const Family& f) { return f.root == root; });
    if (found == families.end()) {
      families.push_back(Family{});
      families.back().root = root;
      found = families.end() - 1;
    }
    found->kept.push_back(k);
    found->rowsCounted = std::max(found->rowsCounted, list.Rows(k).counts.nFull);
    found->support = std::max(found->support, list.Support(k));
  }
  std::stable_sort(families.begin(), families.end(), [](const Family& a, const Family& b) {
    if (a.support != b.support) return a.support > b.support;
    return a.root < b.root;
  });
  return families;
}

// The kept solutions of a family, the preferred first. Each family is ranked once, when the
// choice first needs it: a report of a few places never weighs the families after them.
void RankKeptSolutions(Family& family, CommensurateLattices& list) {
  if (family.ranked) return;
  family.ranked = true;
  std::stable_sort(family.kept.begin(), family.kept.end(),
                   [&list, &family](int a, int b) { return list.IsPreferred(a, b, family.rowsCounted); });
  if (!family.kept.empty()) family.winner = family.kept.front();
}

// From the winner, tries its relatives and moves to the preferred one while there is one.
void ClimbFromWinner(Family& family, CommensurateLattices& list, const std::vector<Mat3>& transforms, double volume) {
  for (int round = 0; round < kClimbingRounds && family.winner >= 0; ++round) {
    const Mat3 from = list[family.winner].basis;
    const int owner = list[family.winner].owner;
    int best = family.winner;
    for (const Mat3& transform : transforms) {
      const int k = list.Add(RelativeBasis(transform, from, volume), owner, 0);
      if (k < 0 || k == best) continue;
      if (!list.CanReach(k, family.rowsCounted, list.Share(best, family.rowsCounted))) continue;
      if (list.IsPreferred(k, best, family.rowsCounted)) best = k;
    }
    if (best == family.winner) return;
    family.winner = best;
  }
}

// The report order: each family's winner, then its other kept solutions, families in order; a
// lattice already listed is not listed again.
std::vector<Mat3> ReportOrder(std::vector<Family>& families, CommensurateLattices& list, int places) {
  std::vector<Mat3> report;
  std::vector<int> listed;
  auto alreadyListed = [&list, &listed](int k) {
    for (int other : listed)
      if (IsSameLattice(list[k].basis, list[other])) return true;
    return false;
  };
  for (Family& family : families) {
    if (static_cast<int>(report.size()) >= places) return report;
    RankKeptSolutions(family, list);
    std::vector<int> order;
    if (family.winner >= 0) order.push_back(family.winner);
    for (int k : family.kept)
      if (k != family.winner) order.push_back(k);
    for (int k : order) {
      if (static_cast<int>(report.size()) >= places) return report;
      if (alreadyListed(k)) continue;
      listed.push_back(k);
      report.push_back(list[k].basis);
    }
  }
  return report;
}

}  // namespace

void ChooseLattices(const RunParameters& parameters, const DirectionStore& directions,
                    const std::vector<Mat3>& relativeTransforms, SolutionStore& store, int places) {
  const int n = std::min(store.NumberOfSolutions, MaxStoredSolutions);
  if (n <= 0) return;
  const double volume = parameters.VolumeOfPrimitiveCell;
  const CoveredRegion region = CoveredRegion::FromDirections(parameters, directions);

  // The relatives are listed, not yet indexed: two kept solutions that share one are one family.
  CommensurateLattices list(n, parameters, directions, region);
  for (int i = 1; i <= n; ++i) list.Add(store(i).SolutionBasis, i, i);
  for (int i = 1; i <= n; ++i)
    for (const Mat3& transform : relativeTransforms) list.Add(RelativeBasis(transform, store(i).SolutionBasis, volume), i, 0);

  std::vector<Family> families = GroupIntoFamilies(list);
  if (!families.empty()) {
    RankKeptSolutions(families.front(), list);
    ClimbFromWinner(families.front(), list, relativeTransforms, volume);
  }

  const std::vector<Mat3> report =
      ReportOrder(families, list, std::min({parameters.MaxNumberOfSavedBases, MaxStoredSolutions, places}));
  store.NumberOfSolutions = static_cast<int>(report.size());
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    Mat3 basis = report[static_cast<std::size_t>(i - 1)];
    RefineKeepingSupport(basis, parameters, directions);
    ScaleToVolume(basis, volume);
    const ScoredBasis scored = BasisQuality(basis, parameters, directions);
    SolutionRecord& record = store(i);
    record.SolutionBasis = basis;
    record.SolutionQuality = scored.quality;
    record.SolutionCounts = scored.counts;
  }
}

}  // namespace orv
