// Whether the lattice of one solution contains the lattice of another: families of solutions.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

// The largest index tried: a cell up to 64 times larger than the other (4 x 4 x 4).
constexpr int kMaxFamilyIndex = 64;

// How one lattice relates to another. A Laue pattern fixes the shapes and orientations of the
// cells but not their sizes, so the two bases are compared at equal volume and the relation is
// stated up to that scale: the larger cell, brought to k times the volume of the smaller one,
// is `relation` times the smaller basis, with |det relation| = k.
struct LatticeRelation {
  bool related = false;
  int index = 0;                // k; 1 when both are the same lattice
  bool firstIsLarger = false;   // which of the two bases has the larger cell (false for k = 1)
  IntMat3 relation{};           // larger = relation * smaller, rows as basis vectors
  double residual = 0.0;        // the largest relative misfit of a row, see RelateLattices
};

// Relates the lattices spanned by the rows of `first` and `second` (same frame, any volumes). For
// k = 1, 2, ..., kMaxFamilyIndex in turn, and for each k first with `second` as the larger cell,
// the relation U = NINT(k^(1/3) L S^-1) of the unit-volume bases L (larger) and S (smaller) is
// accepted when |det U| = k and every row of L lies within relativeTolerance times its length of
// the same row of k^(-1/3) U S. The smallest such k is reported: since a lattice contains its own
// multiples, a relation of index k also holds, up to scale, with indices k n^3.
LatticeRelation RelateLattices(const Mat3& first, const Mat3& second, double relativeTolerance);

// The relation tolerance of a run whose angular tolerance is `angularCriterion` radians: three
// times that tolerance, but not below 1.5 degrees (2.6 %). Both bases carry errors of about the
// tolerance, and the rows of a large cell are long sums of rows of the small one, which adds their
// errors up: on simulated patterns with 0.02 degree noise, pairs of solutions of one crystal fit
// within 0.9 % at a 0.1 degree tolerance and within 5 % at 1 degree, while the same crystal turned
// by 3 degrees fits no solution at the 0.1 degree tolerance.
double FamilyToleranceForAngularCriterion(double angularCriterion);

// Relations between every pair of bases (entry [i][j] relates basis i to basis j, i != j; the
// diagonal stays unrelated), and the family of each basis: the number (from 0, in order of first
// appearance) of the group of bases connected through relations.
struct LatticeFamilies {
  std::vector<std::vector<LatticeRelation>> relations;
  std::vector<int> family;
};

LatticeFamilies FindLatticeFamilies(const std::vector<Mat3>& bases, double relativeTolerance);

}  // namespace orv
