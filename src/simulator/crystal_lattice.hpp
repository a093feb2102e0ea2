// The simulated crystal: cell parameters, the centring of its lattice and the extinctions it causes.
#pragma once

#include <string>

#include "geometry/index_direction.hpp"  // GreatestCommonDivisor of index triples
#include "geometry/vector_matrix.hpp"

namespace orv::sim {

// Conventional cell: edges in Angstrom, angles in degrees.
struct CellParameters {
  double a = 10.0;
  double b = 10.0;
  double c = 10.0;
  double alpha = 90.0;
  double beta = 90.0;
  double gamma = 90.0;
};

// Lattice centrings of the conventional cell; R is the rhombohedral lattice in its obverse
// hexagonal setting.
enum class Centring { P, I, F, C, R };

// Reads one of the letters P, I, F, C, R (upper case only).
bool ParseCentring(const std::string& text, Centring& centring);
char CentringLetter(Centring centring);

// Lattice points per conventional cell: P 1, I 2, F 4, C 2, R 3.
int LatticePointsPerCell(Centring centring);

// Whether the reciprocal-lattice vector (h, k, l) of the conventional cell survives the centring:
// I h+k+l even, F h, k, l all even or all odd, C h+k even, R -h+k+l divisible by 3.
bool IsAllowedReflection(Centring centring, int h, int k, int l);

// The smallest n >= 1 for which n(h, k, l) is allowed; (h, k, l) is a coprime triple.
int FirstAllowedHarmonic(Centring centring, int h, int k, int l);

// Direct basis of the conventional cell in the crystal frame, rows a, b, c: a along x, b in the
// xy plane. Fails (basis untouched) when the edges are not positive or the angles give no cell.
int DirectBasisFromCell(const CellParameters& cell, Mat3& basis);

// Volume of the conventional cell spanned by the rows of the basis.
double CellVolume(const Mat3& basis);

}  // namespace orv::sim
