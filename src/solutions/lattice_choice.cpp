// The optional lattice choice: among commensurate lattices, the one whose shortest rows are the ones seen.
#include "solutions/lattice_choice.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"
#include "solutions/basis_quality.hpp"
#include "solutions/covered_region.hpp"
#include "solutions/observed_row_share.hpp"
#include "solutions/support_keeping_refinement.hpp"

namespace orv {

namespace {

// Rounds of trying the relatives of a family's winner, so that lattices two or three steps away
// from every kept solution can still be reached.
constexpr int kClimbingRounds = 3;
// Lattices whose shortest edges differ by more than this share are not the same lattice.
constexpr double kShortestEdgeTolerance = 0.03;
// Rounding allowance of the bound that a lattice's support puts on its share.
constexpr double kShareTie = 1.0e-9;

struct Lattice {
  Mat3 basis{};           // reduced direct basis at the user's cell volume
  Mat3 inverse{};         // its inverse, for recognising the same lattice in another setting
  double shortest = 0.0;  // the length of its shortest edge
  int owner = 0;          // the kept solution that brought it in (1-based)
  int record = 0;         // the kept solution it is; 0 for a relative
  bool indexed = false;   // whether `rows` holds its indexing yet
  IndexedRows rows;
  int shareRows = 0;      // the rows counted for `share`; 0 until it is computed
  double share = 0.0;
};

// Families of kept solutions: a union-find over the records 1..n.
class Families {
 public:
  explicit Families(int n) : parent_(static_cast<std::size_t>(n) + 1) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }
  int Root(int i) {
    while (Parent(i) != i) {
      Parent(i) = Parent(Parent(i));
      i = Parent(i);
    }
    return i;
  }
  // The smaller record becomes the root, so that a family is named by its best-placed solution.
  void Join(int a, int b) {
    a = Root(a);
    b = Root(b);
    if (a == b) return;
    if (b < a) std::swap(a, b);
    Parent(b) = a;
  }

 private:
  int& Parent(int i) { return parent_[static_cast<std::size_t>(i)]; }
  std::vector<int> parent_;
};

// The same lattice in another setting: the relation matrix is integral with determinant +1 or -1,
// within the tolerances with which the store recognises a re-discovery.
bool IsSameLattice(const Mat3& basis, const Lattice& other) {
  const Mat3 relation = MultiplyMatrices(basis, other.inverse);
  if (!(std::fabs(std::fabs(Determinant(relation)) - 1.0) < 0.08)) return false;
  double offInteger = 0.0;
  for (const Vec3& row : relation)
    for (double entry : row) offInteger += std::fabs(entry - static_cast<double>(Nint(entry)));
  return offInteger < 0.24;
}

double ShortestEdge(const Mat3& basis) {
  Mat3 reduced = basis;
  ReduceBasisStepwise(reduced);
  return std::min({VectorNorm(reduced[0]), VectorNorm(reduced[1]), VectorNorm(reduced[2])});
}

void ScaleToVolume(Mat3& basis, double volume) {
  const double s = VolumeScaleFactor(basis, volume);
  if (std::isfinite(s)) basis = ScaleMatrix(basis, s);
}

// The reduced direct basis X B of a relative, at the user's cell volume.
Mat3 RelativeBasis(const Mat3& transform, const Mat3& basis, double volume) {
  Mat3 relative = MultiplyMatrices(transform, basis);
  ReduceBasisStepwise(relative);
  ScaleToVolume(relative, volume);
  return relative;
}

// Every lattice met so far, each once, with the families of the kept solutions that met it. A
// lattice is indexed and given its share only when the choice needs them.
class LatticeList {
 public:
  LatticeList(int solutions, const RunParameters& parameters, const DirectionStore& directions,
              const CoveredRegion& region)
      : families_(solutions), parameters_(parameters), directions_(directions), region_(region) {}

  // Lists a kept solution (record > 0), or a relative that kept solution `owner` brought in. A
  // relative already listed is not listed again, and a lattice met twice joins the families of the
  // two solutions that met it; a kept solution is listed even when it repeats another. Returns the
  // index of the lattice in the list, or -1 for a basis without an inverse.
  int Add(const Mat3& basis, int owner, int record) {
    Lattice lattice;
    lattice.basis = basis;
    if (InvertMatrix(basis, lattice.inverse, kBasisSingularity) != kStatusSuccess) return -1;
    lattice.shortest = ShortestEdge(basis);
    const int known = Find(basis, lattice.shortest);
    if (known >= 0) {
      families_.Join(owner, lattices_[static_cast<std::size_t>(known)].owner);
      if (record == 0) return known;
    }
    lattice.owner = owner;
    lattice.record = record;
    lattices_.push_back(lattice);
    return static_cast<int>(lattices_.size()) - 1;
  }

  Lattice& operator[](int k) { return lattices_[static_cast<std::size_t>(k)]; }
  int Size() const { return static_cast<int>(lattices_.size()); }
  int FamilyOf(int k) { return families_.Root((*this)[k].owner); }

  const IndexedRows& Rows(int k) {
    Lattice& lattice = (*this)[k];
    if (!lattice.indexed) {
      lattice.rows = IndexRows(lattice.basis, parameters_, directions_);
      lattice.indexed = true;
    }
    return lattice.rows;
  }

  double Share(int k, int rowsCounted) {
    Lattice& lattice = (*this)[k];
    if (lattice.shareRows != rowsCounted) {
      lattice.share = ObservedRowShare(lattice.basis, Rows(k).rows, region_, rowsCounted);
      lattice.shareRows = rowsCounted;
    }
    return lattice.share;
  }

  // The weighted support, as the search weighs it, without the term of the largest index.
  double Support(int k) {
    const SupportCounts& counts = Rows(k).counts;
    return parameters_.WeightsForSortingBases_2 * counts.nFull + parameters_.WeightsForSortingBases_1 * counts.nHalf;
  }

  // Whether lattice a is preferred to lattice b of a family that counts `rowsCounted` rows: the
  // larger share, then the larger support, then a kept solution before a relative, then the earlier
  // listed.
  bool IsPreferred(int a, int b, int rowsCounted) {
    const double shareA = Share(a, rowsCounted);
    const double shareB = Share(b, rowsCounted);
    if (shareA != shareB) return shareA > shareB;
    const double supportA = Support(a);
    const double supportB = Support(b);
    if (supportA != supportB) return supportA > supportB;
    if (((*this)[a].record > 0) != ((*this)[b].record > 0)) return (*this)[a].record > 0;
    return a < b;
  }

  // The share bounds itself: at most the reflections a lattice supports can be among its rows.
  bool CanReach(int k, int rowsCounted, double share) {
    return static_cast<double>(Rows(k).counts.nFull) / rowsCounted >= share - kShareTie;
  }

 private:
  // The lattice already listed that is `basis` in another setting, or -1.
  int Find(const Mat3& basis, double shortest) const {
    for (std::size_t k = 0; k < lattices_.size(); ++k) {
      const Lattice& other = lattices_[k];
      if (std::fabs(other.shortest - shortest) > kShortestEdgeTolerance * std::max(other.shortest, shortest)) continue;
      if (IsSameLattice(basis, other)) return static_cast<int>(k);
    }
    return -1;
  }

  std::vector<Lattice> lattices_;
  Families families_;
  const RunParameters& parameters_;
  const DirectionStore& directions_;
  const CoveredRegion& region_;
};

struct Family {
  int root = 0;
  std::vector<int> kept;  // the kept solutions in it, as indices into the lattice list, in store order
  int rowsCounted = 0;    // the largest number of reflections one of them supports
  double support = 0.0;   // the best support of one of them
  int winner = -1;
};

// Families of the kept solutions, ranked as the search ranks unrelated lattices: by their best
// support; equal support keeps the order of the kept solutions.
std::vector<Family> GroupIntoFamilies(LatticeList& list) {
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

// The kept solutions of a family, the preferred first.
void RankKeptSolutions(Family& family, LatticeList& list) {
  std::stable_sort(family.kept.begin(), family.kept.end(),
                   [&list, &family](int a, int b) { return list.IsPreferred(a, b, family.rowsCounted); });
  if (!family.kept.empty()) family.winner = family.kept.front();
}

// From the winner, tries its relatives and moves to the preferred one while there is one.
void ClimbFromWinner(Family& family, LatticeList& list, const std::vector<Mat3>& transforms, double volume) {
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
std::vector<Mat3> ReportOrder(const std::vector<Family>& families, LatticeList& list, int places) {
  std::vector<Mat3> report;
  std::vector<int> listed;
  auto alreadyListed = [&list, &listed](int k) {
    for (int other : listed)
      if (IsSameLattice(list[k].basis, list[other])) return true;
    return false;
  };
  for (const Family& family : families) {
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
                    const std::vector<Mat3>& relativeTransforms, SolutionStore& store) {
  const int n = std::min(store.NumberOfSolutions, MaxStoredSolutions);
  if (n <= 0) return;
  const double volume = parameters.VolumeOfPrimitiveCell;
  const CoveredRegion region = CoveredRegion::FromDirections(parameters, directions);

  // The relatives are listed, not yet indexed: two kept solutions that share one are one family.
  LatticeList list(n, parameters, directions, region);
  for (int i = 1; i <= n; ++i) list.Add(store(i).SolutionBasis, i, i);
  for (int i = 1; i <= n; ++i)
    for (const Mat3& transform : relativeTransforms) list.Add(RelativeBasis(transform, store(i).SolutionBasis, volume), i, 0);

  std::vector<Family> families = GroupIntoFamilies(list);
  for (Family& family : families) RankKeptSolutions(family, list);
  if (!families.empty()) ClimbFromWinner(families.front(), list, relativeTransforms, volume);

  const int places = std::min(parameters.MaxNumberOfSavedBases, MaxStoredSolutions);
  const std::vector<Mat3> report = ReportOrder(families, list, places);
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
