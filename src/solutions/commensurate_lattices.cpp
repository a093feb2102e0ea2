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
  const Mat3 relation = MultiplyMatrices(basis, other.inverse);
  if (!(std::fabs(std::fabs(Determinant(relation)) - 1.0) < 0.08)) return false;
  double offInteger = 0.0;
  for (const Vec3& row : relation)
    for (double entry : row) offInteger += std::fabs(entry - static_cast<double>(Nint(entry)));
  return offInteger < 0.24;
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
  return static_cast<double>(Rows(k).counts.nFull) / rowsCounted >= share - kShareTie;
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
