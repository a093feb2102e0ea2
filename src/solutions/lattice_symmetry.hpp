// The symmetry of a solution's lattice: Niggli cell, Bravais type and conventional cell.
#pragma once

#include <array>

#include "geometry/vector_matrix.hpp"
#include "solutions/integer_matrix.hpp"

namespace orv {

// The fourteen Bravais types of lattices, by crystal family and centring.
enum class BravaisType { aP, mP, mC, oP, oC, oI, oF, tP, tI, hP, hR, cP, cI, cF };

// The two-letter symbol of the type ("aP", ..., "cF").
const char* BravaisSymbol(BravaisType type);

// Lattice points in the conventional cell of the type: P 1, C and I 2, R 3 (hexagonal axes), F 4.
int LatticePointsPerConventionalCell(BravaisType type);


// Lengths |a|, |b|, |c| and angles alpha = (b, c), beta = (c, a), gamma = (a, b) in degrees.
struct LatticeCell {
  Vec3 lengths{};
  Vec3 anglesInDegrees{};
};

// The metric tensor G = B B^T of a basis of rows B.
Mat3 MetricOfBasis(const Mat3& basis);

// The cell of a metric tensor G (G(i, j) = a_i . a_j).
LatticeCell CellOfMetric(const Mat3& metric);

// How far a measured metric may depart from a more symmetric one and still be taken for it: a
// difference of lengths up to relativeLength times the cube root of the cell volume, and a
// difference of angles up to angleDegrees.
struct LatticeTolerance {
  double relativeLength = 0.0;
  double angleDegrees = 0.0;
};

// The tolerance for a run whose angular tolerance is `angularCriterion` radians: an angle of 1.5
// times that tolerance, but not below 1.5 degrees; angles may differ by this angle and lengths by
// this angle in radians (2.6 % of the cube root of the volume for tolerances up to 1 degree). A
// cell strained by a relative amount e turns lattice rows by up to about e radians, so the two
// limits are of one size. The cell of a solution comes from a few reflections and is good to a
// few tenths of a percent and degree, somewhat worse at coarse tolerances: on simulated patterns
// with 0.02 degree noise the true lattice came out with edges up to 0.5 % and angles up to 0.7
// degree off at a 0.1 degree tolerance, 1.2 % and 1.25 degrees at 1 degree. The factor 1.5 leaves
// room for spglib's tests on sums of basis vectors, whose errors add up.
LatticeTolerance LatticeToleranceForAngularCriterion(double angularCriterion);

// What the lattice of a basis is. Every basis is primitive for the lattice it spans, so the
// matrices to the Niggli and conventional cells are integral. Bases are rows in the frame and the
// length unit of the given basis.
struct LatticeSymmetry {
  Mat3 niggliBasis{};  // = toNiggli * basis, right-handed
  IntMat3 toNiggli{};
  LatticeCell niggliCell;
  BravaisType type = BravaisType::aP;
  Mat3 conventionalBasis{};  // = toConventional * basis, as measured, right-handed
  IntMat3 toConventional{};  // determinant: the lattice points per conventional cell
  // The conventional cell of the metric averaged over the lattice's symmetry operations, so that
  // edges and angles that the symmetry makes equal are equal (and right angles are 90 exactly).
  LatticeCell conventionalCell;
};

// Analyses the lattice spanned by the rows of `basis`. Returns false, and leaves `symmetry`
// untouched, when the basis has no finite, non-zero volume. When no symmetry can be established
// at the tolerance, the lattice is reported as aP with the Niggli cell as conventional cell.
bool AnalyseLatticeSymmetry(const Mat3& basis, const LatticeTolerance& tolerance, LatticeSymmetry& symmetry);

// The Niggli basis of the analysis (its niggliBasis) alone; false for a basis without volume.
bool NiggliBasisOf(const Mat3& basis, Mat3& niggliBasis);

class LatticeSettingMemo;
// What an analysis does with a memo: only remember what spglib finds (the analysis then gives what
// the one without a memo gives), or first recall a setting that holds.
enum class MemoUse { Remember, RecallOrRemember };

// The analysis above with a memo of the settings of a run's most symmetric lattices.
bool AnalyseLatticeSymmetry(const Mat3& basis, const LatticeTolerance& tolerance, LatticeSymmetry& symmetry,
                            LatticeSettingMemo& memo, MemoUse use);

}  // namespace orv
