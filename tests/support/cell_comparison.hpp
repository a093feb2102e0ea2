// Reading solutions back from a results file and comparing cells and bases with a known lattice.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/vector_matrix.hpp"

namespace orv::testing {

// Lengths a, b, c and angles alpha = (b, c), beta = (c, a), gamma = (a, b) in degrees.
struct Cell {
  std::array<double, 3> lengths{};
  std::array<double, 3> angles{};
};

// One solution block of a results file, as far as these tests read it.
struct ReportedSolution {
  Mat3 unitBasis{};  // the "Direct basis vectors" rows: the basis scaled to unit volume
  Cell cell;         // the "Primitive cell" lines
  int nh = -1;
  int nH = -1;
};

inline Cell CellOfBasis(const Mat3& basis) {
  const auto angle = [](const Vec3& u, const Vec3& v) {
    return std::acos(Dot(u, v) / (VectorNorm(u) * VectorNorm(v))) * kRadiansToDegrees;
  };
  Cell cell;
  for (int i = 0; i < 3; ++i) cell.lengths[i] = VectorNorm(basis[i]);
  cell.angles = {angle(basis[1], basis[2]), angle(basis[2], basis[0]), angle(basis[0], basis[1])};
  return cell;
}

inline Mat3 ScaledToUnitVolume(const Mat3& basis) {
  const double s = std::cbrt(1.0 / std::fabs(Determinant(basis)));
  return ScaleMatrix(basis, s);
}

inline bool ReadThreeNumbers(const std::string& line, std::array<double, 3>& values) {
  std::istringstream in(line);
  std::string rest;
  return static_cast<bool>(in >> values[0] >> values[1] >> values[2]) && !(in >> rest);
}

// Every solution block of a results file, in report order. A block whose lines do not have the
// expected form is returned with what could be read (unread parts stay zero or -1).
inline std::vector<ReportedSolution> ParseResultsFile(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<ReportedSolution> solutions;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    if (lines[n].rfind("  Solution nr ", 0) == 0) solutions.emplace_back();
    if (solutions.empty()) continue;
    ReportedSolution& s = solutions.back();
    if (lines[n].find("transforms RL vectors to Miller indices :") != std::string::npos && n + 3 < lines.size()) {
      for (int r = 0; r < 3; ++r) {
        std::array<double, 3> row{};
        if (ReadThreeNumbers(lines[n + 1 + static_cast<std::size_t>(r)], row)) s.unitBasis[r] = Vec3{row[0], row[1], row[2]};
      }
    }
    if (lines[n] == "  Primitive cell :" && n + 2 < lines.size()) {
      ReadThreeNumbers(lines[n + 1], s.cell.lengths);
      ReadThreeNumbers(lines[n + 2], s.cell.angles);
    }
    if (lines[n].find("vectors out of") != std::string::npos) {
      std::sscanf(lines[n].c_str(), " %dh and %dH", &s.nh, &s.nH);
    }
  }
  return solutions;
}

// True when the two cells describe the same lattice setting up to a renaming of the axes and a
// change of sign of some of them (which turns the two angles at that axis into their supplements).
inline bool SameCellUpToSetting(const Cell& found, const Cell& expected, double relativeLength = 0.002,
                                double angleDegrees = 0.1) {
  std::array<int, 3> perm{0, 1, 2};
  do {
    bool lengthsMatch = true;
    for (int i = 0; i < 3; ++i) {
      const double e = expected.lengths[static_cast<std::size_t>(perm[i])];
      lengthsMatch = lengthsMatch && std::fabs(found.lengths[static_cast<std::size_t>(i)] - e) <= relativeLength * e;
    }
    if (!lengthsMatch) continue;
    for (int signs = 0; signs < 8; ++signs) {
      bool anglesMatch = true;
      for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3, k = (i + 2) % 3;  // the found angle i lies between axes j and k
        const int opposite = 3 - perm[j] - perm[k];   // the expected axis not among their images
        double e = expected.angles[static_cast<std::size_t>(opposite)];
        if (((signs >> j) & 1) != ((signs >> k) & 1)) e = 180.0 - e;
        anglesMatch = anglesMatch && std::fabs(found.angles[static_cast<std::size_t>(i)] - e) <= angleDegrees;
      }
      if (anglesMatch) return true;
    }
  } while (std::next_permutation(perm.begin(), perm.end()));
  return false;
}

// The matrix T with found = T * expected (rows are basis vectors), and whether it is integral
// (every entry within `tolerance` of an integer) with |det T| = 1 within the same tolerance.
struct BasisRelation {
  Mat3 T{};
  bool unimodular = false;
};

inline BasisRelation RelateBases(const Mat3& found, const Mat3& expected, double tolerance = 1e-3) {
  BasisRelation relation;
  Mat3 inverse{};
  if (InvertMatrix(expected, inverse, 1e-300) != 0) return relation;
  relation.T = MultiplyMatrices(found, inverse);
  bool integral = true;
  for (const Vec3& row : relation.T)
    for (double x : row) integral = integral && std::fabs(x - std::round(x)) <= tolerance;
  relation.unimodular = integral && std::fabs(std::fabs(Determinant(relation.T)) - 1.0) <= tolerance;
  return relation;
}

}  // namespace orv::testing
