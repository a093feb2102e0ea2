// Cell parameters to a basis, lattice centrings and their extinctions.
#include "simulator/crystal_lattice.hpp"

#include <cmath>
#include <cstdlib>

#include "geometry/constants.hpp"

namespace orv::sim {

namespace {

bool IsEven(int x) { return x % 2 == 0; }

}  // namespace

bool ParseCentring(const std::string& text, Centring& centring) {
  if (text == "P") centring = Centring::P;
  else if (text == "I") centring = Centring::I;
  else if (text == "F") centring = Centring::F;
  else if (text == "C") centring = Centring::C;
  else if (text == "R") centring = Centring::R;
  else return false;
  return true;
}

char CentringLetter(Centring centring) {
  switch (centring) {
    case Centring::P: return 'P';
    case Centring::I: return 'I';
    case Centring::F: return 'F';
    case Centring::C: return 'C';
    case Centring::R: return 'R';
  }
  return 'P';
}

int LatticePointsPerCell(Centring centring) {
  switch (centring) {
    case Centring::P: return 1;
    case Centring::I: return 2;
    case Centring::F: return 4;
    case Centring::C: return 2;
    case Centring::R: return 3;
  }
  return 1;
}

bool IsAllowedReflection(Centring centring, int h, int k, int l) {
  switch (centring) {
    case Centring::P: return true;
    case Centring::I: return IsEven(h + k + l);
    case Centring::F: return IsEven(h) == IsEven(k) && IsEven(k) == IsEven(l);
    case Centring::C: return IsEven(h + k);
    case Centring::R: return (-h + k + l) % 3 == 0;
  }
  return true;
}

int FirstAllowedHarmonic(Centring centring, int h, int k, int l) {
  // The allowed vectors form a sublattice whose index divides the number of lattice points, so
  // n = points per cell always qualifies; the loop ends there at the latest.
  const int points = LatticePointsPerCell(centring);
  for (int n = 1; n < points; ++n)
    if (IsAllowedReflection(centring, n * h, n * k, n * l)) return n;
  return points;
}

int DirectBasisFromCell(const CellParameters& cell, Mat3& basis) {
  const bool edgesValid = cell.a > 0.0 && cell.b > 0.0 && cell.c > 0.0 && std::isfinite(cell.a) &&
                          std::isfinite(cell.b) && std::isfinite(cell.c);
  const bool anglesValid = cell.alpha > 0.0 && cell.alpha < 180.0 && cell.beta > 0.0 &&
                           cell.beta < 180.0 && cell.gamma > 0.0 && cell.gamma < 180.0;
  if (!edgesValid || !anglesValid) return kStatusFailure;
  const double cosAlpha = std::cos(cell.alpha * kDegreesToRadians);
  const double cosBeta = std::cos(cell.beta * kDegreesToRadians);
  const double cosGamma = std::cos(cell.gamma * kDegreesToRadians);
  const double sinGamma = std::sin(cell.gamma * kDegreesToRadians);
  const double cy = (cosAlpha - cosBeta * cosGamma) / sinGamma;
  const double czSquared = 1.0 - cosBeta * cosBeta - cy * cy;
  // Three angles whose sum or differences break the triangle inequality on the sphere give none.
  if (!(czSquared > 1e-12)) return kStatusFailure;
  basis[0] = {cell.a, 0.0, 0.0};
  basis[1] = {cell.b * cosGamma, cell.b * sinGamma, 0.0};
  basis[2] = {cell.c * cosBeta, cell.c * cy, cell.c * std::sqrt(czSquared)};
  return kStatusSuccess;
}

double CellVolume(const Mat3& basis) { return std::fabs(Determinant(basis)); }

}  // namespace orv::sim
