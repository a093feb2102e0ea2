// Test patterns: directions of low-index reciprocal-lattice rows of a known lattice inside a cone.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "geometry/constants.hpp"
#include "geometry/vector_matrix.hpp"

namespace orv::testing {

struct LatticePattern {
  Mat3 direct{};      // the true direct basis, rows a, b, c
  Mat3 reciprocal{};  // its dual
  std::vector<Vec3> directions;                 // unit vectors, lowest indices first
  std::vector<std::array<int, 3>> indices;      // the Miller indices of each direction
};

// Rotation by `degrees` about a unit axis (Rodrigues), as a matrix acting on row vectors from the left.
inline Mat3 RotationAbout(const Vec3& axis, double degrees) {
  const double t = degrees * kDegreesToRadians;
  const double c = std::cos(t);
  const double s = std::sin(t);
  const double x = axis[0], y = axis[1], z = axis[2];
  return Mat3{Vec3{c + x * x * (1 - c), x * y * (1 - c) - z * s, x * z * (1 - c) + y * s},
              Vec3{y * x * (1 - c) + z * s, c + y * y * (1 - c), y * z * (1 - c) - x * s},
              Vec3{z * x * (1 - c) - y * s, z * y * (1 - c) + x * s, c + z * z * (1 - c)}};
}

// Applies the rotation to every row of the basis.
inline Mat3 RotateRows(const Mat3& basis, const Mat3& rotation) {
  Mat3 out{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      out[r][c] = rotation[c][0] * basis[r][0] + rotation[c][1] * basis[r][1] + rotation[c][2] * basis[r][2];
  return out;
}

// A generic orientation, so that no lattice row lies along a laboratory axis.
inline Mat3 GenericOrientation() {
  const double n = std::sqrt(1.0 + 4.0 + 9.0);
  return RotationAbout(Vec3{1.0 / n, 2.0 / n, 3.0 / n}, 37.0);
}

// a = 4.1, b = 5.3, c = 7.2, all angles 90 degrees.
inline Mat3 OrthorhombicDirectBasis() {
  return RotateRows(Mat3{Vec3{4.1, 0.0, 0.0}, Vec3{0.0, 5.3, 0.0}, Vec3{0.0, 0.0, 7.2}}, GenericOrientation());
}

// a = 5.0, b = 6.1, c = 7.3, alpha = 78, beta = 84, gamma = 71 degrees.
inline Mat3 TriclinicDirectBasis() {
  const double a = 5.0, b = 6.1, c = 7.3;
  const double al = 78.0 * kDegreesToRadians, be = 84.0 * kDegreesToRadians, ga = 71.0 * kDegreesToRadians;
  const double cx = c * std::cos(be);
  const double cy = c * (std::cos(al) - std::cos(be) * std::cos(ga)) / std::sin(ga);
  const double cz = std::sqrt(c * c - cx * cx - cy * cy);
  return RotateRows(Mat3{Vec3{a, 0.0, 0.0}, Vec3{b * std::cos(ga), b * std::sin(ga), 0.0}, Vec3{cx, cy, cz}},
                    GenericOrientation());
}

// a = b = c = 5.0, all angles 90 degrees.
inline Mat3 CubicDirectBasis() {
  return RotateRows(Mat3{Vec3{5.0, 0.0, 0.0}, Vec3{0.0, 5.0, 0.0}, Vec3{0.0, 0.0, 5.0}}, GenericOrientation());
}

// a = 5.2, b = 6.4, c = 7.5, beta = 103 degrees (alpha = gamma = 90), the unique axis b.
inline Mat3 MonoclinicDirectBasis() {
  const double beta = 103.0 * kDegreesToRadians;
  return RotateRows(Mat3{Vec3{5.2, 0.0, 0.0}, Vec3{0.0, 6.4, 0.0}, Vec3{7.5 * std::cos(beta), 0.0, 7.5 * std::sin(beta)}},
                    GenericOrientation());
}

// The `count` lattice rows of lowest index (by h^2 + k^2 + l^2, then by enumeration order) whose
// reciprocal-lattice directions lie within `coneDegrees` of the detector axis +z.
inline LatticePattern BuildLatticePattern(const Mat3& direct, int count, double coneDegrees = 30.0,
                                          int maxIndex = 6) {
  LatticePattern pattern;
  pattern.direct = direct;
  InverseTranspose(direct, pattern.reciprocal, 1e-300);
  const Mat3& r = pattern.reciprocal;
  struct Row {
    int size;
    std::array<int, 3> h;
    Vec3 u;
  };
  std::vector<Row> rows;
  const double minCos = std::cos(coneDegrees * kDegreesToRadians);
  for (int h = -maxIndex; h <= maxIndex; ++h)
    for (int k = -maxIndex; k <= maxIndex; ++k)
      for (int l = -maxIndex; l <= maxIndex; ++l) {
        if (std::gcd(std::gcd(std::abs(h), std::abs(k)), std::abs(l)) != 1) continue;
        Vec3 g{};
        for (int c = 0; c < 3; ++c) g[c] = h * r[0][c] + k * r[1][c] + l * r[2][c];
        const double norm = VectorNorm(g);
        const Vec3 u{g[0] / norm, g[1] / norm, g[2] / norm};
        if (u[2] < minCos) continue;
        rows.push_back({h * h + k * k + l * l, {h, k, l}, u});
      }
  std::stable_sort(rows.begin(), rows.end(), [](const Row& x, const Row& y) { return x.size < y.size; });
  for (int n = 0; n < count && n < static_cast<int>(rows.size()); ++n) {
    pattern.directions.push_back(rows[static_cast<std::size_t>(n)].u);
    pattern.indices.push_back(rows[static_cast<std::size_t>(n)].h);
  }
  return pattern;
}

// A narrow reciprocal basis around +z: three rows about 14 degrees off the axis, 120 degrees apart
// in azimuth, with positive triple product (about 0.15 for the unit directions).
inline Mat3 NarrowBasis() {
  return Mat3{Vec3{0.25, 0.0, 1.0}, Vec3{-0.125, 0.21650635094610965, 1.0}, Vec3{-0.125, -0.21650635094610965, 1.0}};
}

// The unit direction of h e1 + k e2 + l e3 for the rows e of `basis`.
inline Vec3 RowDirection(const Mat3& basis, int h, int k, int l) {
  Vec3 g{};
  for (int c = 0; c < 3; ++c) g[c] = h * basis[0][c] + k * basis[1][c] + l * basis[2][c];
  const double norm = VectorNorm(g);
  return {g[0] / norm, g[1] / norm, g[2] / norm};
}

// The zone star of a basis: the directions of 100, 010, 001, 110, 011, 101 and 111, in this order.
// The zones from each edge midpoint to the opposite vertex meet in 111.
inline std::vector<Vec3> ZoneStar(const Mat3& basis) {
  return {RowDirection(basis, 1, 0, 0), RowDirection(basis, 0, 1, 0), RowDirection(basis, 0, 0, 1),
          RowDirection(basis, 1, 1, 0), RowDirection(basis, 0, 1, 1), RowDirection(basis, 1, 0, 1),
          RowDirection(basis, 1, 1, 1)};
}

// True when the stored direct basis spans the lattice of `trueDirect` brought to unit volume.
inline bool IsBasisOfLattice(const Mat3& stored, const Mat3& trueDirect) {
  const Mat3 unit = ScaleMatrix(trueDirect, std::pow(1.0 / std::fabs(Determinant(trueDirect)), kOneThird));
  Mat3 inverse{};
  if (InvertMatrix(unit, inverse, 1e-300) != kStatusSuccess) return false;
  const Mat3 relation = MultiplyMatrices(stored, inverse);
  double offInteger = 0.0;
  for (const Vec3& row : relation)
    for (const double v : row) offInteger += std::fabs(v - std::round(v));
  return offInteger < 1e-6 && std::fabs(std::fabs(Determinant(relation)) - 1.0) < 1e-6;
}

// Puts the pattern into a fresh run: default parameters, the directions as reflections 1..N.
inline void LoadPattern(const LatticePattern& pattern, RunParameters& parameters, DirectionStore& directions) {
  SetDefaultParameters(parameters, directions);
  parameters.NumberOfReflections = static_cast<int>(pattern.directions.size());
  for (int n = 1; n <= parameters.NumberOfReflections; ++n)
    directions(n) = pattern.directions[static_cast<std::size_t>(n - 1)];
}

}  // namespace orv::testing
