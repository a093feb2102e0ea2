// The inverse-pole-figure colour key.
#include "maps/ipf_colour.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"

namespace orv {

namespace {

using Corners = std::array<std::array<int, 3>, 3>;

enum class KeyFamily { Cubic, Hexagonal, Tetragonal, Lower };

KeyFamily FamilyOf(BravaisType type) {
  switch (type) {
    case BravaisType::cP:
    case BravaisType::cI:
    case BravaisType::cF:
      return KeyFamily::Cubic;
    case BravaisType::hP:
    case BravaisType::hR:
      return KeyFamily::Hexagonal;
    case BravaisType::tP:
    case BravaisType::tI:
      return KeyFamily::Tetragonal;
    default:
      return KeyFamily::Lower;
  }
}

Vec3 Unit(const Vec3& v) {
  const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(length > 0.0)) return {0.0, 0.0, 1.0};
  return {v[0] / length, v[1] / length, v[2] / length};
}

Vec3 Apply(const Mat3& m, const Vec3& v) {
  Vec3 out{};
  for (int r = 0; r < 3; ++r) out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
  return out;
}

// The weights of d on the corners, given the inverse transpose of the matrix whose rows are the corners.
Vec3 Weights(const Mat3& inverseTransposeOfCorners, const Vec3& d) { return Apply(inverseTransposeOfCorners, d); }

}  // namespace

Corners KeyCorners(BravaisType type) {
  switch (FamilyOf(type)) {
    case KeyFamily::Cubic:
      return {{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}}};
    case KeyFamily::Hexagonal:
      return {{{0, 0, 1}, {1, 0, 0}, {2, 1, 0}}};
    case KeyFamily::Tetragonal:
      return {{{0, 0, 1}, {1, 0, 0}, {1, 1, 0}}};
    case KeyFamily::Lower:
      break;
  }
  return {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}};
}

std::array<std::string, 3> KeyCornerNames(BravaisType type) {
  const Corners corners = KeyCorners(type);
  std::array<std::string, 3> names;
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < 3; ++c) names[i] += std::to_string(corners[i][c]);
  return names;
}

std::array<Vec3, 3> KeyCornerDirections(BravaisType type, const LatticeCell& cell) {
  const Mat3 metric = MetricOfCellParameters(cell.lengths, cell.anglesInDegrees);
  Mat3 b{};
  Mat3 rows{};
  std::array<Vec3, 3> directions{};
  if (!BusingLevyB(metric, b) || !DirectBasisInCrystalFrame(b, rows)) {
    directions = {Vec3{0.0, 0.0, 1.0}, Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 1.0, 0.0}};
    return directions;
  }
  const Corners corners = KeyCorners(type);
  for (int i = 0; i < 3; ++i) {
    Vec3 v{};
    for (int c = 0; c < 3; ++c) v[c] = corners[i][0] * rows[0][c] + corners[i][1] * rows[1][c] + corners[i][2] * rows[2][c];
    directions[i] = Unit(v);
  }
  return directions;
}

Rgb KeyColour(const Vec3& crystalDirection, const std::array<Vec3, 3>& corners, const std::vector<Mat3>& rotations) {
  // With the corners as rows of C, d = C^T w, so w = (C^-1)^T d: the inverse transpose of C applied to d.
  Mat3 cornerRows{};
  for (int i = 0; i < 3; ++i) cornerRows[i] = corners[i];
  Mat3 dual{};
  if (InverseTranspose(cornerRows, dual, 1e-300) != kStatusSuccess) return Rgb{};
  const Vec3 d = Unit(crystalDirection);
  std::vector<Mat3> operations = rotations;
  if (operations.empty()) operations.push_back(Mat3{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}});
  Vec3 best{};
  double bestLeast = -1e300;
  for (const Mat3& s : operations) {
    for (double sign : {1.0, -1.0}) {
      Vec3 turned = Apply(s, d);
      for (double& v : turned) v *= sign;
      const Vec3 w = Weights(dual, turned);
      const double least = std::min({w[0], w[1], w[2]});
      if (least > bestLeast + 1e-12) {
        bestLeast = least;
        best = w;
      }
    }
  }
  for (double& v : best) v = std::max(0.0, v);
  const double largest = std::max({best[0], best[1], best[2]});
  if (!(largest > 0.0)) return Rgb{};
  return Rgb{best[0] / largest, best[1] / largest, best[2] / largest};
}

Rgb OrientationColour(const Mat3& u, const Vec3& sampleDirection, const std::array<Vec3, 3>& corners,
                      const std::vector<Mat3>& rotations) {
  return KeyColour(Apply(TransposeMatrix(u), sampleDirection), corners, rotations);
}

std::string HexColour(const Rgb& colour) {
  auto byte = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(colour.red), byte(colour.green), byte(colour.blue));
  return text;
}

}  // namespace orv
