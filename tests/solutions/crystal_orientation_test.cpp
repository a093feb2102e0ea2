// The orientation of a solution: U, B and UB of hand-made lattices in known orientations, the rule
// that picks one of the symmetry-equivalent orientations, and the conventional indices of a row.
#include "solutions/crystal_orientation.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/nearest_integer.hpp"
#include "geometry/rotation.hpp"

namespace orv {
namespace {

void ExpectMatrixNear(const Mat3& a, const Mat3& b, double tolerance) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(a[r][c], b[r][c], tolerance) << "entry " << r << "," << c;
}

// Rows of `crystalRows` (crystal frame) turned by U into the frame of the directions.
Mat3 Turned(const Mat3& crystalRows, const Mat3& u) { return MultiplyMatrices(crystalRows, TransposeMatrix(u)); }

// A face-centred cubic lattice of edge a in orientation u, given by a primitive basis in an odd setting.
Mat3 FaceCentredBasis(double a, const Mat3& u) {
  const Mat3 primitive = {{{0, a / 2, a / 2}, {a / 2, 0, a / 2}, {a / 2, a / 2, 0}}};
  const Mat3 odd = {{{1, 1, 0}, {0, 1, 0}, {1, 0, 1}}};  // determinant 1
  return MultiplyMatrices(odd, Turned(primitive, u));
}

CrystalOrientation Orient(const Mat3& basis) {
  LatticeSymmetry symmetry;
  EXPECT_TRUE(AnalyseLatticeSymmetry(basis, LatticeToleranceForAngularCriterion(0.2 * kDegreesToRadians), symmetry));
  CrystalOrientation orientation;
  EXPECT_TRUE(OrientSolution(basis, symmetry, orientation));
  return orientation;
}

TEST(OrientSolution, GivesUBAndUBOfACubicFLatticeInAKnownOrientation) {
  const Mat3 u0 = RotationFromBungeEulerAngles({10.0, 5.0, 3.0});
  const CrystalOrientation o = Orient(FaceCentredBasis(5.43, u0));
  EXPECT_EQ(o.type, BravaisType::cF);
  ExpectMatrixNear(o.u, u0, 1e-10);
  EXPECT_NEAR(o.eulerDegrees[0], 10.0, 1e-8);
  EXPECT_NEAR(o.eulerDegrees[1], 5.0, 1e-8);
  EXPECT_NEAR(o.eulerDegrees[2], 3.0, 1e-8);
  ExpectMatrixNear(o.b, Mat3{{{1 / 5.43, 0, 0}, {0, 1 / 5.43, 0}, {0, 0, 1 / 5.43}}}, 1e-12);
  ExpectMatrixNear(o.ub, MultiplyMatrices(u0, o.b), 1e-12);
  ExpectMatrixNear(o.conventionalBasis, Turned(ScaleMatrix(Mat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 5.43), u0), 1e-10);
  EXPECT_EQ(o.latticeRotations.size(), 24u);
  EXPECT_EQ(std::abs(Determinant(Mat3{{{1.0 * o.fromDirectBasis[0][0], 1.0 * o.fromDirectBasis[0][1], 1.0 * o.fromDirectBasis[0][2]},
                                       {1.0 * o.fromDirectBasis[1][0], 1.0 * o.fromDirectBasis[1][1], 1.0 * o.fromDirectBasis[1][2]},
                                       {1.0 * o.fromDirectBasis[2][0], 1.0 * o.fromDirectBasis[2][1], 1.0 * o.fromDirectBasis[2][2]}}})),
            4.0);
}

TEST(OrientSolution, GivesTheHexagonalAndMonoclinicCellsInTheirStandardSettings) {
  const Mat3 u0 = RotationFromBungeEulerAngles({5.0, 10.0, 8.0});
  Mat3 b{};
  Mat3 hexagonal{};
  ASSERT_TRUE(BusingLevyB(MetricOfCellParameters({4.913, 4.913, 5.405}, {90, 90, 120}), b));
  ASSERT_TRUE(DirectBasisInCrystalFrame(b, hexagonal));
  const CrystalOrientation h = Orient(Turned(hexagonal, u0));
  EXPECT_EQ(h.type, BravaisType::hP);
  EXPECT_EQ(h.latticeRotations.size(), 12u);
  EXPECT_NEAR(h.cell.anglesInDegrees[2], 120.0, 1e-9);
  ExpectMatrixNear(h.u, u0, 1e-10);
  ExpectMatrixNear(h.b, b, 1e-12);

  // Monoclinic C: whatever cell spglib takes as standard, UB is U B for an unstrained lattice, U
  // is a rotation, and the conventional cell holds two lattice points with b the unique axis.
  Mat3 mono{};
  ASSERT_TRUE(BusingLevyB(MetricOfCellParameters({9.0, 5.2, 6.1}, {90, 104, 90}), b));
  ASSERT_TRUE(DirectBasisInCrystalFrame(b, mono));
  const Mat3 primitive = {{{0.5 * mono[0][0] + 0.5 * mono[1][0], 0.5 * mono[0][1] + 0.5 * mono[1][1], 0.5 * mono[0][2] + 0.5 * mono[1][2]},
                           {-0.5 * mono[0][0] + 0.5 * mono[1][0], -0.5 * mono[0][1] + 0.5 * mono[1][1], -0.5 * mono[0][2] + 0.5 * mono[1][2]},
                           mono[2]}};
  const CrystalOrientation m = Orient(Turned(primitive, RotationFromBungeEulerAngles({150.0, 70.0, 230.0})));
  EXPECT_EQ(m.type, BravaisType::mC);
  EXPECT_EQ(m.latticeRotations.size(), 2u);
  EXPECT_NEAR(m.cell.anglesInDegrees[0], 90.0, 1e-9);
  EXPECT_NEAR(m.cell.anglesInDegrees[2], 90.0, 1e-9);
  ExpectMatrixNear(m.ub, MultiplyMatrices(m.u, m.b), 1e-12);
  ExpectMatrixNear(MultiplyMatrices(m.u, TransposeMatrix(m.u)), Mat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1e-12);
}

TEST(OrientSolution, KeepsOnlyTheRotationsOfARhombohedralLatticeOnItsHexagonalCell) {
  Mat3 b{};
  Mat3 hexagonal{};
  ASSERT_TRUE(BusingLevyB(MetricOfCellParameters({4.99, 4.99, 17.06}, {90, 90, 120}), b));
  ASSERT_TRUE(DirectBasisInCrystalFrame(b, hexagonal));
  // Obverse setting: the primitive vectors (2/3, 1/3, 1/3), (-1/3, 1/3, 1/3), (-1/3, -2/3, 1/3).
  const Mat3 toPrimitive = {{{2.0 / 3, 1.0 / 3, 1.0 / 3}, {-1.0 / 3, 1.0 / 3, 1.0 / 3}, {-1.0 / 3, -2.0 / 3, 1.0 / 3}}};
  const Mat3 u0 = RotationFromBungeEulerAngles({4.0, 3.0, 2.0});
  const CrystalOrientation r = Orient(Turned(MultiplyMatrices(toPrimitive, hexagonal), u0));
  EXPECT_EQ(r.type, BravaisType::hR);
  EXPECT_EQ(r.latticeRotations.size(), 6u);
  ExpectMatrixNear(r.u, u0, 1e-9);
}

TEST(OrientSolution, PicksTheEquivalentOrientationOfSmallestAngleTheSameForNeighbours) {
  const Mat3 u1 = RotationFromBungeEulerAngles({200.0, 100.0, 300.0});
  const CrystalOrientation o = Orient(FaceCentredBasis(5.6575, u1));
  // The same crystal orientation, up to the cubic rotations.
  EXPECT_NEAR(MisorientationDegrees(o.u, u1, o.crystalRotations), 0.0, 1e-6);
  // None of the equivalent orientations turns less.
  const double angle = RotationAngleDegrees(o.u);
  for (const Mat3& s : o.crystalRotations) EXPECT_LE(angle, RotationAngleDegrees(MultiplyMatrices(o.u, s)) + 1e-9);
  EXPECT_LT(angle, 62.81);  // the largest smallest angle of a cubic crystal
  // A neighbouring pattern of the grain, turned by 0.01 degree, gets the same setting.
  const Mat3 nudge = RotationFromBungeEulerAngles({0.01, 0.0, 0.0});
  const CrystalOrientation n = Orient(FaceCentredBasis(5.6575, MultiplyMatrices(nudge, u1)));
  EXPECT_NEAR(RotationAngleDegrees(MultiplyMatrices(TransposeMatrix(o.u), n.u)), 0.01, 1e-8);
}

TEST(ConventionalIndicesOfRow, GivesTheShortestLatticeVectorAndTheUsualRepresentative) {
  const Mat3 u0 = RotationFromBungeEulerAngles({10.0, 5.0, 3.0});
  const Mat3 basis = FaceCentredBasis(5.43, u0);
  const CrystalOrientation o = Orient(basis);
  // The primitive indices of the row along the conventional reciprocal vector g are those of
  // basis * g (g . a_i), reduced to coprime integers.
  const auto primitiveOf = [&](const Vec3& conventional) {
    Vec3 g{};
    for (int c = 0; c < 3; ++c)
      g[c] = (conventional[0] * o.ub[c][0] + conventional[1] * o.ub[c][1] + conventional[2] * o.ub[c][2]) * 2.0;
    IndexTriple h{};
    for (int i = 0; i < 3; ++i) h[i] = Nint(Dot(basis[i], g));
    return h;
  };
  const ConventionalIndices a = ConventionalIndicesOfRow(primitiveOf({2, 1, 1}), o);
  EXPECT_EQ(a.hkl, (IndexTriple{4, 2, 2}));
  EXPECT_EQ(a.representative, (IndexTriple{4, 2, 2}));
  const ConventionalIndices b = ConventionalIndicesOfRow(primitiveOf({-2, -4, 2}), o);
  EXPECT_EQ(b.hkl, (IndexTriple{-2, -4, 2}));
  EXPECT_EQ(b.representative, (IndexTriple{4, 2, 2}));
  EXPECT_EQ(ConventionalIndicesOfRow(primitiveOf({1, 0, 0}), o).hkl, (IndexTriple{2, 0, 0}));
  EXPECT_EQ(ConventionalIndicesOfRow(primitiveOf({-1, 1, 1}), o).representative, (IndexTriple{1, 1, 1}));
  EXPECT_EQ(ConventionalIndicesOfRow(IndexTriple{0, 0, 0}, o).hkl, (IndexTriple{0, 0, 0}));
}

}  // namespace
}  // namespace orv
