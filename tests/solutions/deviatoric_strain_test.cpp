// Deviatoric strain: the tensors of a cell strained by a known tensor, the whole measurement from
// the directions of a strained lattice, and the errors for a reference that does not match.
#include "solutions/deviatoric_strain.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

void ExpectMatrixNear(const Mat3& a, const Mat3& b, double tolerance) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(a[r][c], b[r][c], tolerance) << "entry " << r << "," << c;
}

const Mat3 kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
// A symmetric strain with a volume change, which the deviatoric part leaves out.
const Mat3 kStrain = {{{2e-3, 1e-3, 0.0}, {1e-3, -1e-3, 5e-4}, {0.0, 5e-4, 0.5e-3}}};

Mat3 Plus(const Mat3& a, const Mat3& b) {
  Mat3 s{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) s[r][c] = a[r][c] + b[r][c];
  return s;
}

// The deviatoric part of the strain of the stretch I + e at unit volume: (I + e)/det^(1/3) - I.
Mat3 ExpectedDeviatoric(const Mat3& e) {
  const Mat3 stretch = Plus(kIdentity, e);
  Mat3 d = ScaleMatrix(stretch, 1.0 / std::cbrt(Determinant(stretch)));
  for (int k = 0; k < 3; ++k) d[k][k] -= 1.0;
  const double mean = (d[0][0] + d[1][1] + d[2][2]) / 3.0;
  for (int k = 0; k < 3; ++k) d[k][k] -= mean;
  return d;
}

// Rows of the reference basis (crystal frame) strained by I + e and turned by u, at any scale.
Mat3 StrainedRows(const Mat3& reference, const Mat3& e, const Mat3& u, double scale) {
  return ScaleMatrix(MultiplyMatrices(reference, TransposeMatrix(MultiplyMatrices(u, Plus(kIdentity, e)))), scale);
}

Mat3 CrystalBasis(const Vec3& lengths, const Vec3& angles) {
  Mat3 b{};
  Mat3 rows{};
  EXPECT_TRUE(BusingLevyB(MetricOfCellParameters(lengths, angles), b));
  EXPECT_TRUE(DirectBasisInCrystalFrame(b, rows));
  return rows;
}

TEST(StrainOfBasis, RecoversAKnownStrainInBothFrames) {
  const Mat3 reference = CrystalBasis({4.1, 5.3, 7.2}, {90, 90, 90});
  const Mat3 u = RotationFromBungeEulerAngles({120.0, 33.0, 250.0});
  StrainTensors strain;
  ASSERT_TRUE(StrainOfBasis(StrainedRows(reference, kStrain, u, 1.37), reference, strain));
  const Mat3 expected = ExpectedDeviatoric(kStrain);
  ExpectMatrixNear(strain.crystal, expected, 1e-12);
  ExpectMatrixNear(strain.sample, MultiplyMatrices(u, MultiplyMatrices(expected, TransposeMatrix(u))), 1e-12);
  ExpectMatrixNear(strain.rotation, u, 1e-12);
  double square = 0.0;
  for (const Vec3& row : expected)
    for (double v : row) square += v * v;
  EXPECT_NEAR(strain.vonMises, std::sqrt(2.0 / 3.0 * square), 1e-12);
  // A pure change of size is no deviatoric strain.
  ASSERT_TRUE(StrainOfBasis(StrainedRows(reference, ScaleMatrix(kIdentity, 0.01), u, 1.0), reference, strain));
  ExpectMatrixNear(strain.crystal, Mat3{}, 1e-14);
  EXPECT_FALSE(StrainOfBasis(ScaleMatrix(reference, -1.0), reference, strain));
}

struct StrainedPattern {
  RunParameters parameters;
  DirectionStore directions;
  Mat3 unstrainedPrimitive{};  // the lattice as the search would have it, before refinement
  CrystalOrientation orientation;
  LatticeTolerance tolerance;
};

// The exact directions of the 60 lowest rows of a face-centred cubic lattice (a = 5.43) strained by
// kStrain and turned by a small rotation.
void MakeStrainedCubicPattern(StrainedPattern& p) {
  const Mat3 u = RotationFromBungeEulerAngles({10.0, 5.0, 3.0});
  const Mat3 conventional = CrystalBasis({5.43, 5.43, 5.43}, {90, 90, 90});
  const Mat3 toPrimitive = {{{0, 0.5, 0.5}, {0.5, 0, 0.5}, {0.5, 0.5, 0}}};
  const Mat3 strained = MultiplyMatrices(toPrimitive, StrainedRows(conventional, kStrain, u, 1.0));
  p.unstrainedPrimitive = MultiplyMatrices(toPrimitive, StrainedRows(conventional, Mat3{}, u, 1.0));
  const testing::LatticePattern pattern = testing::BuildLatticePattern(strained, 60, 60.0);
  SetDefaultParameters(p.parameters, p.directions);
  p.parameters.NumberOfReflections = static_cast<int>(pattern.directions.size());
  p.parameters.AngularDeviationCriterion = 0.3 * kDegreesToRadians;
  for (std::size_t j = 0; j < pattern.directions.size(); ++j) p.directions(static_cast<int>(j) + 1) = pattern.directions[j];
  p.tolerance = LatticeToleranceForAngularCriterion(p.parameters.AngularDeviationCriterion);
  LatticeSymmetry symmetry;
  ASSERT_TRUE(AnalyseLatticeSymmetry(p.unstrainedPrimitive, p.tolerance, symmetry));
  ASSERT_TRUE(OrientSolution(p.unstrainedPrimitive, symmetry, p.orientation));
}

TEST(MeasureDeviatoricStrain, FindsTheStrainOfALatticeFromItsDirections) {
  StrainedPattern p;
  MakeStrainedCubicPattern(p);
  const DeviatoricStrain strain = MeasureDeviatoricStrain(p.unstrainedPrimitive, p.orientation,
                                                          ReferenceCell{{5.43, 5.43, 5.43}, {90, 90, 90}},
                                                          p.tolerance, p.parameters, p.directions);
  EXPECT_GE(strain.reflections, 50);  // a few exact misfits lie beyond four times the median, itself near zero
  ExpectMatrixNear(strain.tensors.crystal, ExpectedDeviatoric(kStrain), 1e-9);
  // Exact directions: the fit leaves no misfit, so nothing is uncertain.
  EXPECT_LT(strain.crystalUncertainty[0][1], 1e-9);
  // Any other edge gives the same shape.
  const DeviatoricStrain scaled = MeasureDeviatoricStrain(p.unstrainedPrimitive, p.orientation,
                                                          ReferenceCell{{5.0, 5.0, 5.0}, {90, 90, 90}},
                                                          p.tolerance, p.parameters, p.directions);
  ExpectMatrixNear(scaled.tensors.sample, strain.tensors.sample, 1e-12);
}

TEST(MeasureDeviatoricStrain, UncertaintiesFollowTheMisfitOfTheDirections) {
  StrainedPattern p;
  MakeStrainedCubicPattern(p);
  // Each direction turned by 0.005 degree about an axis of its own.
  for (int j = 1; j <= p.parameters.NumberOfReflections; ++j) {
    Vec3 axis = CrossProduct(p.directions(j), Vec3{std::sin(j * 1.7), std::cos(j * 2.3), std::sin(j * 0.7)});
    double norm = 0.0;
    ASSERT_EQ(NormalizeVector(axis, axis, norm), kStatusSuccess);
    p.directions(j) = testing::RotateRows(Mat3{p.directions(j), Vec3{}, Vec3{}}, testing::RotationAbout(axis, 0.005))[0];
  }
  const DeviatoricStrain strain = MeasureDeviatoricStrain(p.unstrainedPrimitive, p.orientation,
                                                          ReferenceCell{{5.43, 5.43, 5.43}, {90, 90, 90}},
                                                          p.tolerance, p.parameters, p.directions);
  const Mat3 expected = ExpectedDeviatoric(kStrain);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      EXPECT_GT(strain.crystalUncertainty[r][c], 1e-6);
      EXPECT_LT(strain.crystalUncertainty[r][c], 1e-4);
      EXPECT_LT(std::fabs(strain.tensors.crystal[r][c] - expected[r][c]), 4.0 * strain.crystalUncertainty[r][c] + 1e-6);
    }
}

TEST(MeasureDeviatoricStrain, RefusesAReferenceOfAnotherTypeOrShapeAndSaysHow) {
  StrainedPattern p;
  MakeStrainedCubicPattern(p);
  const auto message = [&](const ReferenceCell& reference) {
    try {
      MeasureDeviatoricStrain(p.unstrainedPrimitive, p.orientation, reference, p.tolerance, p.parameters, p.directions);
    } catch (const ReferenceCellMismatch& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  // Close in shape, but tetragonal.
  EXPECT_NE(message(ReferenceCell{{5.43, 5.43, 5.50}, {90, 90, 90}}).find("tI lattice; the pattern's lattice is cF"),
            std::string::npos);
  // An angle far from the found one.
  const std::string angle = message(ReferenceCell{{5.43, 5.43, 5.43}, {90, 90, 100}});
  EXPECT_NE(angle.find("does not match the pattern's cF cell"), std::string::npos) << angle;
  EXPECT_NE(angle.find("differs by"), std::string::npos) << angle;
}

TEST(OrientationOfReference, KeepsAShearedMonoclinicCellFromTurningTheFrame) {
  // A monoclinic lattice (b unique) strained with a shear in the a-c plane, whose beta changes.
  const Mat3 u = RotationFromBungeEulerAngles({10.0, 20.0, 30.0});
  const Mat3 reference = CrystalBasis({5.2, 6.4, 7.5}, {90, 103, 90});
  const Mat3 shear = {{{1e-3, 0.0, 3e-3}, {0.0, -1e-3, 0.0}, {3e-3, 0.0, 0.0}}};
  const Mat3 strained = StrainedRows(reference, shear, u, 1.0);
  const testing::LatticePattern pattern = testing::BuildLatticePattern(strained, 60, 60.0);
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(pattern, parameters, directions);
  parameters.AngularDeviationCriterion = 0.3 * kDegreesToRadians;
  const LatticeTolerance tolerance = LatticeToleranceForAngularCriterion(parameters.AngularDeviationCriterion);
  LatticeSymmetry symmetry;
  CrystalOrientation measured;
  ASSERT_TRUE(AnalyseLatticeSymmetry(strained, tolerance, symmetry));
  ASSERT_EQ(symmetry.type, BravaisType::mP);
  ASSERT_TRUE(OrientSolution(strained, symmetry, measured));
  const ReferenceCell cell{{5.2, 6.4, 7.5}, {90, 103, 90}};
  const DeviatoricStrain strain = MeasureDeviatoricStrain(strained, measured, cell, tolerance, parameters, directions);
  const CrystalOrientation oriented = OrientationOfReference(measured, strain, cell);
  // The two monoclinic settings differ by the two-fold rotation about b.
  const std::vector<Mat3> twofold = {Mat3{{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}};
  EXPECT_LT(MisorientationDegrees(oriented.u, u, twofold), 1e-7);
  EXPECT_GT(MisorientationDegrees(measured.u, u, twofold), 0.05);  // B of the sheared cell turns U
  ExpectMatrixNear(strain.tensors.crystal, ExpectedDeviatoric(shear), 1e-9);
  EXPECT_NEAR(oriented.cell.anglesInDegrees[1], 103.0, 1e-9);
}

TEST(ParseReferenceCell, ReadsSixNumbersAndSaysWhatIsWrong) {
  std::string why;
  const auto cell = ParseReferenceCell("5.6575,5.6575, 5.6575,90,90,90", why);
  ASSERT_TRUE(cell.has_value());
  EXPECT_EQ(cell->lengths[1], 5.6575);
  EXPECT_FALSE(ParseReferenceCell("5,5,5,90,90", why));
  EXPECT_NE(why.find("six numbers"), std::string::npos);
  EXPECT_FALSE(ParseReferenceCell("5,5,x,90,90,90", why));
  EXPECT_NE(why.find("\"x\""), std::string::npos);
  EXPECT_FALSE(ParseReferenceCell("5,-5,5,90,90,90", why));
  EXPECT_FALSE(ParseReferenceCell("5,5,5,90,90,200", why));
  EXPECT_FALSE(ParseReferenceCell("5,5,5,10,10,150", why));
  EXPECT_FALSE(ParseReferenceCell("5,5,5,90,90,nan", why));
}

}  // namespace
}  // namespace orv
