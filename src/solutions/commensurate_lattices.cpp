// Every lattice the lattice choice meets, each once: kept solutions and their commensurate relatives.
#include "solutions/commensurate_lattices.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

// Lattices whose shortest edges differ by more than this share are not the same lattice.
constexpr double kShortestEdgeTolerance = 0.03;
// Rounding allowance of the bound that a lattice's support puts on its share.
constexpr double kShareTie = 1.0e-9;

double ShortestEdge(const Mat3& basis) {
  Mat3 reduced = basis;
  ReduceBasisStepwise(reduced);
  return std::min({VectorNorm(reduced[0]), VectorNorm(reduced[1]), VectorNorm(reduced[2])});
}

}  // namespace

bool IsSameLattice(const Mat3& basis, const Lattice& other) {
  // The relation basis * inverse row by row, as MultiplyMatrices forms it. Its distance from
  // integers only grows from row to row, so a row that already reaches the limit decides; most
  // lattices compared differ, and are told apart by the first row.
  Mat3 relation{};
  double offInteger = 0.0;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      relation[r][c] = basis[r][0] * other.inverse[0][c] + basis[r][1] * other.inverse[1][c] +
                       basis[r][2] * other.inverse[2][c];
    }
    for (double entry : relation[r]) offInteger += std::fabs(entry - static_cast<double>(Nint(entry)));
    if (!(offInteger < 0.24)) return false;
  }
  return std::fabs(std::fabs(Determinant(relation)) - 1.0) < 0.08;
}

void ScaleToVolume(Mat3& basis, double volume) {
  const double s = VolumeScaleFactor(basis, volume);
  if (std::isfinite(s)) basis = ScaleMatrix(basis, s);
}

Mat3 RelativeBasis(const Mat3& transform, const Mat3& basis, double volume) {
  Mat3 relative = MultiplyMatrices(transform, basis);
  ReduceBasisStepwise(relative);
  ScaleToVolume(relative, volume);
  return relative;
}

Families::Families(int n) : parent_(static_cast<std::size_t>(n) + 1) { std::iota(parent_.begin(), parent_.end(), 0); }

int Families::Root(int i) {
  while (Parent(i) != i) {
    Parent(i) = Parent(Parent(i));
    i = Parent(i);
  }
  return i;
}

void Families::Join(int a, int b) {
  a = Root(a);
  b = Root(b);
  if (a == b) return;
  if (b < a) std::swap(a, b);
  Parent(b) = a;
}

CommensurateLattices::CommensurateLattices(int solutions, const RunParameters& parameters,
                                           const DirectionStore& directions, const CoveredRegion& region)
    : families_(solutions), parameters_(parameters), directions_(directions), region_(region) {}

int CommensurateLattices::Add(const Mat3& basis, int owner, int record) {
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

const IndexedRows& CommensurateLattices::Rows(int k) {
  Lattice& lattice = (*this)[k];
  if (!lattice.indexed) {
    lattice.rows = IndexRows(lattice.basis, parameters_, directions_);
    lattice.indexed = true;
  }
  return lattice.rows;
}

double CommensurateLattices::Share(int k, int rowsCounted) {
  Lattice& lattice = (*this)[k];
  if (lattice.shareRows != rowsCounted) {
    lattice.share = ObservedRowShare(lattice.basis, Rows(k).rows, region_, rowsCounted);
    lattice.shareRows = rowsCounted;
  }
  return lattice.share;
}

double CommensurateLattices::Support(int k) {
  const SupportCounts& counts = Rows(k).counts;
  return parameters_.WeightsForSortingBases_2 * counts.nFull + parameters_.WeightsForSortingBases_1 * counts.nHalf;
}

bool CommensurateLattices::IsPreferred(int a, int b, int rowsCounted) {
  const double shareA = Share(a, rowsCounted);
  const double shareB = Share(b, rowsCounted);
  if (shareA != shareB) return shareA > shareB;
  const double supportA = Support(a);
  const double supportB = Support(b);
  if (supportA != supportB) return supportA > supportB;
  if (((*this)[a].record > 0) != ((*this)[b].record > 0)) return (*this)[a].record > 0;
  return a < b;
}

bool CommensurateLattices::CanReach(int k, int rowsCounted, double share) {
  if (rowsCounted <= 0) return true;
  const auto reaches = [rowsCounted, share](int full) {
    return static_cast<double>(full) / rowsCounted >= share - kShareTie;
  };
  Lattice& lattice = (*this)[k];
  if (!lattice.indexed) {
    // Most relatives tried fall short; their indexing stops once they cannot reach the share, and
    // they stay unindexed.
    IndexedRows rows;
    if (!IndexRowsWhileReachable(lattice.basis, parameters_, directions_, reaches, rows)) return false;
    lattice.rows = std::move(rows);
    lattice.indexed = true;
  }
  return reaches(lattice.rows.counts.nFull);
}

int CommensurateLattices::Find(const Mat3& basis, double shortest) const {
  for (std::size_t k = 0; k < lattices_.size(); ++k) {
    const Lattice& other = lattices_[k];
    if (std::fabs(other.shortest - shortest) > kShortestEdgeTolerance * std::max(other.shortest, shortest)) continue;
    if (IsSameLattice(basis, other)) return static_cast<int>(k);
  }
  return -1;
}

}  // namespace orv
