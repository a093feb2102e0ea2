// Whether the lattice of one solution contains the lattice of another: families of solutions.
#include "solutions/lattice_family.hpp"

#include <cmath>
#include <cstdlib>
#include <numeric>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

// Entries beyond this cannot belong to a relation of index kMaxFamilyIndex between cells that are
// anywhere near reduced; it also keeps NINT far from the range of int.
constexpr double kLargestRelationEntry = 1000.0;

bool ToUnitVolume(const Mat3& basis, Mat3& unit) {
  const double s = VolumeScaleFactor(basis, 1.0);
  if (!std::isfinite(s) || !(s > 0.0)) return false;
  unit = ScaleMatrix(basis, s);
  return true;
}

// Tests larger = U smaller with index k on unit-volume bases; fills U and the misfit on success.
bool HoldsWithIndex(const Mat3& larger, const Mat3& smaller, const Mat3& smallerInverse, int k,
                    double relativeTolerance, IntMat3& u, double& residual) {
  const double edge = std::cbrt(static_cast<double>(k));
  const Mat3 t = ScaleMatrix(MultiplyMatrices(larger, smallerInverse), edge);
  IntMat3 rounded{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      if (!(std::fabs(t[r][c]) < kLargestRelationEntry)) return false;
      rounded[r][c] = Nint(t[r][c]);
    }
  if (std::abs(IntegerDeterminant(rounded)) != k) return false;
  const Mat3 predicted = ScaleMatrix(ApplyIntegerMatrix(rounded, smaller), 1.0 / edge);
  double worst = 0.0;
  for (int r = 0; r < 3; ++r) {
    const Vec3 misfit{larger[r][0] - predicted[r][0], larger[r][1] - predicted[r][1], larger[r][2] - predicted[r][2]};
    worst = std::fmax(worst, VectorNorm(misfit) / VectorNorm(larger[r]));
  }
  if (!(worst <= relativeTolerance)) return false;
  u = rounded;
  residual = worst;
  return true;
}

int FindRoot(std::vector<int>& parent, int i) {
  while (parent[static_cast<std::size_t>(i)] != i) i = parent[static_cast<std::size_t>(i)];
  return i;
}

}  // namespace

LatticeRelation RelateLattices(const Mat3& first, const Mat3& second, double relativeTolerance) {
  LatticeRelation relation;
  Mat3 a{}, b{}, aInverse{}, bInverse{};
  if (!ToUnitVolume(first, a) || !ToUnitVolume(second, b)) return relation;
  if (InvertMatrix(a, aInverse, kBasisSingularity) != kStatusSuccess ||
      InvertMatrix(b, bInverse, kBasisSingularity) != kStatusSuccess)
    return relation;
  for (int k = 1; k <= kMaxFamilyIndex; ++k) {
    if (HoldsWithIndex(b, a, aInverse, k, relativeTolerance, relation.relation, relation.residual)) {
      relation.related = true;
      relation.index = k;
      relation.firstIsLarger = false;
      return relation;
    }
    if (k > 1 && HoldsWithIndex(a, b, bInverse, k, relativeTolerance, relation.relation, relation.residual)) {
      relation.related = true;
      relation.index = k;
      relation.firstIsLarger = true;
      return relation;
    }
  }
  return relation;
}

double FamilyToleranceForAngularCriterion(double angularCriterion) {
  return 3.0 * std::fmax(angularCriterion, 0.5 * kDegreesToRadians);
}

LatticeFamilies FindLatticeFamilies(const std::vector<Mat3>& bases, double relativeTolerance) {
  const int n = static_cast<int>(bases.size());
  const auto at = [](int i) { return static_cast<std::size_t>(i); };
  LatticeFamilies families;
  families.relations.assign(at(n), std::vector<LatticeRelation>(at(n)));
  std::vector<int> parent(at(n));
  std::iota(parent.begin(), parent.end(), 0);
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const LatticeRelation relation = RelateLattices(bases[at(i)], bases[at(j)], relativeTolerance);
      families.relations[at(i)][at(j)] = relation;
      LatticeRelation mirrored = relation;
      mirrored.firstIsLarger = relation.related && relation.index > 1 && !relation.firstIsLarger;
      families.relations[at(j)][at(i)] = mirrored;
      if (relation.related) {
        // The earlier basis stays the root, so that families are numbered in order of appearance.
        const int ri = FindRoot(parent, i), rj = FindRoot(parent, j);
        if (ri < rj) parent[at(rj)] = ri;
        if (rj < ri) parent[at(ri)] = rj;
      }
    }
  }
  families.family.assign(at(n), 0);
  std::vector<int> numberOfRoot(at(n), -1);
  int next = 0;
  for (int i = 0; i < n; ++i) {
    const int root = FindRoot(parent, i);
    if (numberOfRoot[at(root)] < 0) numberOfRoot[at(root)] = next++;
    families.family[at(i)] = numberOfRoot[at(root)];
  }
  return families;
}

}  // namespace orv
