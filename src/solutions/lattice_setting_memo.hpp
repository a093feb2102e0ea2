// Conventional settings of the most symmetric lattices met in one run, kept for another grain of the
// same phase, whose analysis would otherwise cost as much again.
#pragma once

#include <array>
#include <vector>

#include "geometry/vector_matrix.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

// What spglib tells about a right-handed unit-volume Niggli basis: the Bravais type, the integer
// matrix from that basis to the conventional one (rows), and the lattice's symmetry operations on
// fractional coordinates, in spglib's order.
struct ConventionalSetting {
  BravaisType type = BravaisType::aP;
  IntMat3 toConventional{};
  std::vector<IntMat3> rotations;
};

// The metric averaged over the operations, in their order: the metric of the lattice's symmetric cell.
Mat3 AverageMetricOverRotations(const Mat3& metric, const std::vector<IntMat3>& rotations);

// A setting recalled for a new Niggli basis: the matrix from that basis to the conventional one and
// the conventional metric averaged over the remembered operations.
struct RecalledSetting {
  BravaisType type = BravaisType::aP;
  IntMat3 toConventional{};
  Mat3 conventionalMetric{};
};

// The settings of the cubic and primitive hexagonal lattices analysed in a run. Their holohedries
// are maximal, so a lattice of nearly the same Niggli metric that keeps all their operations well
// within the tolerance has that type and setting too: the memo relates its Niggli basis to a
// remembered one by a unimodular matrix of small entries, checks that the metric keeps every
// remembered operation within half the tolerance, and then reuses the setting. Lattices of lower
// symmetry are not remembered, as a nearby metric may have more symmetry than theirs.
class LatticeSettingMemo {
 public:
  // Remembers the three cubic lattices in their ideal form, for every tolerance: cP, cI and cF on
  // their reduced primitive bases, the conventional cube and the 48 operations of the cube. A cubic
  // lattice then needs no analysis by spglib at all (whose analysis of a cubic lattice costs as much
  // as a whole search).
  void RememberIdealCubicLattices();

  // Keeps the setting found for `niggliUnit` at `tolerance` when its type is cP, cI, cF or hP.
  void Remember(const Mat3& niggliUnit, const LatticeTolerance& tolerance, const ConventionalSetting& setting);

  // A remembered setting that holds for the unit-volume Niggli basis `niggliUnit` at the same
  // tolerance; false when none does.
  bool Recall(const Mat3& niggliUnit, const LatticeTolerance& tolerance, RecalledSetting& recalled) const;

  int Size() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    Mat3 metric{};
    LatticeTolerance tolerance;
    bool everyTolerance = false;
    ConventionalSetting setting;
  };
  std::vector<Entry> entries_;
};

}  // namespace orv
