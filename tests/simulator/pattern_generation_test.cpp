// The true spots: every written condition holds, none is missing, directions are exact.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "geometry/constants.hpp"
#include "simulator/crystal_lattice.hpp"
#include "simulator/experiment_geometry.hpp"
#include "simulator/orientation.hpp"
#include "simulator/pattern_generation.hpp"
#include "simulator/random_source.hpp"

namespace orv::sim {
namespace {

using Triple = std::tuple<int, int, int>;

Mat3 OrientedBasis(const CellParameters& cell, std::uint64_t seed) {
  Mat3 basis;
  EXPECT_EQ(DirectBasisFromCell(cell, basis), kStatusSuccess);
  RandomSource random(seed, kOrientationStream);
  return RotateBasis(basis, RandomRotation(random));
}

// The reciprocal basis from cross products, independent of the program's matrix inversion.
Mat3 ReciprocalByCrossProducts(const Mat3& d) {
  const double volume = Dot(d[0], CrossProduct(d[1], d[2]));
  Mat3 r;
  const Vec3 rows[3] = {CrossProduct(d[1], d[2]), CrossProduct(d[2], d[0]), CrossProduct(d[0], d[1])};
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < 3; ++c) r[i][c] = rows[i][c] / volume;
  return r;
}

// Brute force over every lattice vector n(h,k,l): the coprime triples that some allowed vector
// makes diffract onto the detector, each with the lowest such n.
std::map<Triple, int> DiffractingByBruteForce(const Mat3& direct, Centring centring, const ExperimentSettings& e) {
  const Mat3 r = ReciprocalByCrossProducts(direct);
  std::map<Triple, int> found;
  int range[3];
  for (int i = 0; i < 3; ++i) range[i] = static_cast<int>(VectorNorm(direct[i]) / e.minDSpacing) + 2;
  for (int H = -range[0]; H <= range[0]; ++H)
    for (int K = -range[1]; K <= range[1]; ++K)
      for (int L = -range[2]; L <= range[2]; ++L) {
        if ((H == 0 && K == 0 && L == 0) || !IsAllowedReflection(centring, H, K, L)) continue;
        Vec3 g;
        for (int c = 0; c < 3; ++c) g[c] = H * r[0][c] + K * r[1][c] + L * r[2][c];
        const double length = VectorNorm(g);
        const Vec3 unit{g[0] / length, g[1] / length, g[2] / length};
        const double wavelength = 2.0 / length * -unit[2];
        if (1.0 / length < e.minDSpacing || wavelength < e.minWavelength || wavelength > e.maxWavelength) continue;
        if (!ScatteringVectorHitsDetector(e.detector, unit)) continue;
        const int n = GreatestCommonDivisor(H, K, L);
        auto entry = found.emplace(Triple{H / n, K / n, L / n}, n).first;
        entry->second = std::min(entry->second, n);
      }
  return found;
}

void ExpectPatternIsTheTrueOne(const CellParameters& cell, Centring centring, const ExperimentSettings& e,
                               std::uint64_t seed) {
  const Mat3 direct = OrientedBasis(cell, seed);
  std::vector<Spot> spots;
  ASSERT_EQ(GenerateTrueSpots(direct, centring, e, spots), kStatusSuccess);
  ASSERT_GT(spots.size(), 20u);
  const Mat3 reciprocal = ReciprocalByCrossProducts(direct);
  std::map<Triple, int> generated;
  for (const Spot& s : spots) {
    SCOPED_TRACE(std::to_string(s.h) + " " + std::to_string(s.k) + " " + std::to_string(s.l));
    EXPECT_FALSE(s.spurious);
    EXPECT_NEAR(VectorNorm(s.direction), 1.0, 1e-15);
    // The direction is that of h a* + k b* + l c* under the true basis.
    Vec3 g;
    for (int c = 0; c < 3; ++c) g[c] = s.h * reciprocal[0][c] + s.k * reciprocal[1][c] + s.l * reciprocal[2][c];
    const double length = VectorNorm(g);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(s.direction[c], g[c] / length, 1e-9);
    // Band, d-spacing, detector and the allowed harmonic.
    EXPECT_EQ(GreatestCommonDivisor(s.h, s.k, s.l), 1);
    EXPECT_TRUE(IsAllowedReflection(centring, s.harmonic * s.h, s.harmonic * s.k, s.harmonic * s.l));
    EXPECT_EQ(s.harmonic % FirstAllowedHarmonic(centring, s.h, s.k, s.l), 0);
    EXPECT_NEAR(s.dSpacing, 1.0 / (length * s.harmonic), 1e-10);
    EXPECT_GE(s.dSpacing, e.minDSpacing);
    const double wavelength = 2.0 * s.dSpacing * -s.direction[2];
    EXPECT_NEAR(s.wavelength, wavelength, 1e-12);
    EXPECT_GE(wavelength, e.minWavelength);
    EXPECT_LE(wavelength, e.maxWavelength);
    const Vec3 beam = DiffractedDirection(s.direction);
    EXPECT_TRUE(BeamHitsDetector(e.detector, beam));
    EXPECT_NEAR(std::cos(s.twoTheta * kDegreesToRadians), beam[2], 1e-9);
    generated.emplace(Triple{s.h, s.k, s.l}, s.harmonic);
  }
  EXPECT_EQ(generated.size(), spots.size());  // no spot twice
  EXPECT_EQ(generated, DiffractingByBruteForce(direct, centring, e));
}

TEST(TrueSpots, TriclinicPatternOnTheSideDetectorIsCompleteAndExact) {
  ExperimentSettings e;
  e.minDSpacing = 0.6;
  ExpectPatternIsTheTrueOne(CellParameters{6.1, 7.4, 8.9, 78.0, 95.0, 103.0}, Centring::P, e, 5);
}

TEST(TrueSpots, CentredLatticesOnTheBackDetectorShowOnlyAllowedHarmonics) {
  ExperimentSettings e;
  e.detector = BackReflectionDetector();
  e.minDSpacing = 0.5;
  e.minWavelength = 0.3;
  e.maxWavelength = 1.2;
  for (Centring centring : {Centring::I, Centring::F, Centring::C, Centring::R}) {
    SCOPED_TRACE(std::string(1, CentringLetter(centring)));
    const CellParameters cell = centring == Centring::R ? CellParameters{7.0, 7.0, 11.0, 90.0, 90.0, 120.0}
                                                        : CellParameters{7.5, 8.2, 9.1, 90.0, 90.0, 90.0};
    ExpectPatternIsTheTrueOne(cell, centring, e, 17);
  }
}

TEST(TrueSpots, StrengthOrderIsLargestFirstOrderSpacingThenLowestHarmonicThenIndices) {
  std::vector<Spot> spots(5);
  spots[0].harmonic = 2, spots[0].firstAllowedDSpacing = 3.0;
  spots[1].harmonic = 1, spots[1].firstAllowedDSpacing = 1.0, spots[1].h = 2;
  spots[2].harmonic = 1, spots[2].firstAllowedDSpacing = 1.0 + 1e-9, spots[2].h = 1;  // equal to 1e-6 Angstrom
  spots[3].harmonic = 1, spots[3].firstAllowedDSpacing = 2.0;
  spots[4].harmonic = 3, spots[4].firstAllowedDSpacing = 2.0;
  SortByStrength(spots);
  EXPECT_EQ(spots[0].firstAllowedDSpacing, 3.0);
  EXPECT_EQ(spots[1].harmonic, 1);
  EXPECT_EQ(spots[2].harmonic, 3);
  EXPECT_EQ(spots[3].h, 1);
  EXPECT_EQ(spots[4].h, 2);
}

TEST(TrueSpots, HugeIndexRangesAndSingularBasesAreRefused) {
  ExperimentSettings e;
  e.minDSpacing = 0.5;
  std::vector<Spot> spots;
  const Mat3 large{Vec3{150.0, 0, 0}, Vec3{0, 10.0, 0}, Vec3{0, 0, 10.0}};
  EXPECT_EQ(GenerateTrueSpots(large, Centring::P, e, spots), kStatusFailure);
  const Mat3 flat{Vec3{5.0, 0, 0}, Vec3{0, 5.0, 0}, Vec3{5.0, 5.0, 0}};
  EXPECT_EQ(GenerateTrueSpots(flat, Centring::P, e, spots), kStatusFailure);
}

TEST(Detectors, CoverTheirScatteringAngles) {
  const Detector side = SideDetector();
  const Detector back = BackReflectionDetector();
  auto beamAt = [](double twoThetaDegrees, double azimuthDegrees) {
    const double t = twoThetaDegrees * kDegreesToRadians;
    const double p = azimuthDegrees * kDegreesToRadians;
    return Vec3{std::sin(t) * std::cos(p), std::sin(t) * std::sin(p), std::cos(t)};
  };
  EXPECT_TRUE(BeamHitsDetector(side, beamAt(41.0, 0.0)));
  EXPECT_TRUE(BeamHitsDetector(side, beamAt(139.0, 0.0)));
  EXPECT_FALSE(BeamHitsDetector(side, beamAt(39.0, 0.0)));
  EXPECT_FALSE(BeamHitsDetector(side, beamAt(141.0, 0.0)));
  EXPECT_FALSE(BeamHitsDetector(side, beamAt(90.0, 180.0)));  // the other side of the beam
  for (double azimuth : {0.0, 45.0, 130.0, 270.0}) {
    EXPECT_TRUE(BeamHitsDetector(back, beamAt(111.0, azimuth)));
    EXPECT_TRUE(BeamHitsDetector(back, beamAt(169.0, azimuth)));
    EXPECT_FALSE(BeamHitsDetector(back, beamAt(109.0, azimuth)));
    EXPECT_FALSE(BeamHitsDetector(back, beamAt(171.0, azimuth)));  // the hole for the beam
  }
  // A scattering vector along the beam cannot diffract: sin(theta) would be negative.
  EXPECT_FALSE(ScatteringVectorHitsDetector(back, Vec3{0.0, 0.0, 1.0}));
  EXPECT_TRUE(ScatteringVectorHitsDetector(back, Vec3{0.1, 0.0, -std::sqrt(0.99)}));
}

}  // namespace
}  // namespace orv::sim
