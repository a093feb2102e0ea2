// Which candidate phase a grain's lattice is: the shapes of the two lattices compared at equal volume.
#include "solutions/phase_match.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/constants.hpp"

namespace orv {

namespace {

// Rows of the phase lattice tried against the Niggli rows: combinations with coefficients up to
// this size of its own Niggli basis, enough for reduced bases, whose rows are the shortest.
constexpr int kCoefficientRange = 2;

double AngleDegrees(const Vec3& u, const Vec3& v) {
  const double c = Dot(u, v) / (VectorNorm(u) * VectorNorm(v));
  return std::acos(std::max(-1.0, std::min(1.0, c))) * kRadiansToDegrees;
}

Mat3 UnitVolume(const Mat3& basis) { return ScaleMatrix(basis, VolumeScaleFactor(basis, 1.0)); }

bool IsUsableBasis(const Mat3& basis) {
  const double volume = std::fabs(Determinant(basis));
  return std::isfinite(volume) && volume > 0.0;
}

struct Fit {
  bool found = false;
  double length = 0.0;
  double angle = 0.0;
  double score = 0.0;
};

// The best triple of rows of the lattice `phaseNiggli` (unit volume) with the lengths and angles of
// the rows of `target` (unit volume, Niggli-reduced).
Fit BestFit(const Mat3& phaseNiggli, const Mat3& target, const LatticeTolerance& tolerance) {
  std::vector<Vec3> rows;
  for (int i = -kCoefficientRange; i <= kCoefficientRange; ++i) {
    for (int j = -kCoefficientRange; j <= kCoefficientRange; ++j) {
      for (int k = -kCoefficientRange; k <= kCoefficientRange; ++k) {
        if (i == 0 && j == 0 && k == 0) continue;
        Vec3 v{};
        for (std::size_t x = 0; x < 3; ++x) v[x] = i * phaseNiggli[0][x] + j * phaseNiggli[1][x] + k * phaseNiggli[2][x];
        rows.push_back(v);
      }
    }
  }
  // For each target row, the phase rows of about its length.
  std::array<std::vector<std::size_t>, 3> fitting;
  std::array<double, 3> targetLength{};
  for (std::size_t t = 0; t < 3; ++t) {
    targetLength[t] = VectorNorm(target[t]);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (std::fabs(VectorNorm(rows[r]) - targetLength[t]) <= tolerance.relativeLength) fitting[t].push_back(r);
    }
  }
  const std::array<double, 3> targetAngle = {AngleDegrees(target[1], target[2]), AngleDegrees(target[2], target[0]),
                                             AngleDegrees(target[0], target[1])};
  Fit best;
  for (std::size_t p : fitting[0]) {
    for (std::size_t q : fitting[1]) {
      const double gamma = std::fabs(AngleDegrees(rows[p], rows[q]) - targetAngle[2]);
      if (gamma > tolerance.angleDegrees) continue;
      for (std::size_t r : fitting[2]) {
        const double alpha = std::fabs(AngleDegrees(rows[q], rows[r]) - targetAngle[0]);
        const double beta = std::fabs(AngleDegrees(rows[r], rows[p]) - targetAngle[1]);
        if (alpha > tolerance.angleDegrees || beta > tolerance.angleDegrees) continue;
        // The three rows must span the whole lattice (unit volume), not a sublattice of it.
        if (std::fabs(std::fabs(Determinant(Mat3{rows[p], rows[q], rows[r]})) - 1.0) > 0.5) continue;
        double length = 0.0;
        for (std::size_t t = 0; t < 3; ++t) {
          const std::size_t row = t == 0 ? p : t == 1 ? q : r;
          length = std::max(length, std::fabs(VectorNorm(rows[row]) - targetLength[t]) / targetLength[t]);
        }
        const double angle = std::max({alpha, beta, gamma});
        const double score = std::max(length / tolerance.relativeLength, angle / tolerance.angleDegrees);
        if (!best.found || score < best.score) best = Fit{true, length, angle, score};
      }
    }
  }
  return best;
}

}  // namespace

int LatticePointsOfCentring(char centring) {
  switch (centring) {
    case 'P':
      return 1;
    case 'A':
    case 'B':
    case 'C':
    case 'I':
      return 2;
    case 'R':
      return 3;
    case 'F':
      return 4;
    default:
      return 0;
  }
}

bool ConventionalBasisOfPhase(const Phase& phase, Mat3& basis) {
  const double d = kDegreesToRadians;
  const double ca = std::cos(phase.alpha * d), cb = std::cos(phase.beta * d), cg = std::cos(phase.gamma * d);
  const double sg = std::sin(phase.gamma * d);
  if (!(phase.a > 0.0 && phase.b > 0.0 && phase.c > 0.0) || !std::isfinite(phase.a * phase.b * phase.c)) return false;
  if (!(std::fabs(sg) > 1e-9)) return false;
  const double cx = cb, cy = (ca - cb * cg) / sg;
  const double cz2 = 1.0 - cx * cx - cy * cy;
  if (!(cz2 > 1e-12)) return false;
  basis = Mat3{Vec3{phase.a, 0.0, 0.0}, Vec3{phase.b * cg, phase.b * sg, 0.0},
               Vec3{phase.c * cx, phase.c * cy, phase.c * std::sqrt(cz2)}};
  return true;
}

bool PrimitiveBasisOfPhase(const Phase& phase, Mat3& basis) {
  Mat3 conventional{};
  if (LatticePointsOfCentring(phase.centring) == 0 || !ConventionalBasisOfPhase(phase, conventional)) return false;
  // The primitive rows on the conventional ones.
  Mat3 p{};
  switch (phase.centring) {
    case 'I':
      p = Mat3{Vec3{-0.5, 0.5, 0.5}, Vec3{0.5, -0.5, 0.5}, Vec3{0.5, 0.5, -0.5}};
      break;
    case 'F':
      p = Mat3{Vec3{0.0, 0.5, 0.5}, Vec3{0.5, 0.0, 0.5}, Vec3{0.5, 0.5, 0.0}};
      break;
    case 'C':
      p = Mat3{Vec3{0.5, 0.5, 0.0}, Vec3{-0.5, 0.5, 0.0}, Vec3{0.0, 0.0, 1.0}};
      break;
    case 'A':
      p = Mat3{Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 0.5, 0.5}, Vec3{0.0, -0.5, 0.5}};
      break;
    case 'B':
      p = Mat3{Vec3{0.5, 0.0, 0.5}, Vec3{0.0, 1.0, 0.0}, Vec3{-0.5, 0.0, 0.5}};
      break;
    case 'R':
      p = Mat3{Vec3{2.0 / 3.0, 1.0 / 3.0, 1.0 / 3.0}, Vec3{-1.0 / 3.0, 1.0 / 3.0, 1.0 / 3.0},
               Vec3{-1.0 / 3.0, -2.0 / 3.0, 1.0 / 3.0}};
      break;
    default:
      p = Mat3{Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 1.0, 0.0}, Vec3{0.0, 0.0, 1.0}};
  }
  Mat3 out{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t x = 0; x < 3; ++x) {
      out[r][x] = p[r][0] * conventional[0][x] + p[r][1] * conventional[1][x] + p[r][2] * conventional[2][x];
    }
  }
  basis = out;
  return true;
}

double PrimitiveVolumeOfPhase(const Phase& phase) {
  Mat3 basis{};
  return PrimitiveBasisOfPhase(phase, basis) ? std::fabs(Determinant(basis)) : 0.0;
}

PhaseMatch MatchPhase(const Mat3& basis, const PhaseList& phases, const LatticeTolerance& tolerance) {
  PhaseMatch match;
  // Shapes are compared on Niggli cells: the reduction alone, without the symmetry analysis.
  Mat3 grainNiggli{};
  if (!IsUsableBasis(basis) || !NiggliBasisOf(UnitVolume(basis), grainNiggli)) return match;
  double bestScore = 0.0;
  for (std::size_t i = 0; i < phases.size(); ++i) {
    Mat3 primitive{};
    Mat3 phaseNiggli{};
    if (!PrimitiveBasisOfPhase(phases[i], primitive)) continue;
    if (!NiggliBasisOf(UnitVolume(primitive), phaseNiggli)) continue;
    const Fit fit = BestFit(UnitVolume(phaseNiggli), UnitVolume(grainNiggli), tolerance);
    if (!fit.found || (match.matched && fit.score >= bestScore)) continue;
    match = PhaseMatch{true, static_cast<int>(i), fit.length, fit.angle};
    bestScore = fit.score;
  }
  return match;
}

}  // namespace orv
