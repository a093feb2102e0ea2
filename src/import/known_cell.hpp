// The primitive cell volume worked out from a known conventional cell and its centring.
#pragma once

#include <string>

namespace orv::imp {

// Lattice points in the conventional cell of a centring: P 1, I 2, F 4, C, A, B 2, R 3 (the
// hexagonal setting); 0 for any other letter.
int LatticePointsOfCentring(const std::string& centring);

// Reads a conventional cell written "a", "a,b,c" or "a,b,c,alpha,beta,gamma" (lengths in the unit
// of the volume wanted, angles in degrees; missing angles are 90 and a lone length is cubic) and
// gives its volume divided by the lattice points of `centring` in `volume`. Returns the problem in
// words, empty when the cell makes a cell.
std::string PrimitiveVolumeOfCell(const std::string& cell, const std::string& centring, double& volume);

}  // namespace orv::imp
