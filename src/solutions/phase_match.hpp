// Which candidate phase a grain's lattice is: the shapes of the two lattices compared at equal volume.
#pragma once

#include "geometry/vector_matrix.hpp"
#include "run_data/phase_list.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

// The conventional direct basis of a phase (rows a, b, c; a along x, b in the xy plane), and its
// primitive basis, the conventional one times the centring's primitive vectors. Both fail (basis
// untouched, false) for edges that are not positive and finite or angles that span no cell.
bool ConventionalBasisOfPhase(const Phase& phase, Mat3& basis);
bool PrimitiveBasisOfPhase(const Phase& phase, Mat3& basis);

// Lattice points per conventional cell of a centring letter: P 1, A B C I 2, R 3, F 4; 0 for
// another letter.
int LatticePointsOfCentring(char centring);

// The volume of the phase's primitive cell; 0 when it has no cell.
double PrimitiveVolumeOfPhase(const Phase& phase);

// How one lattice fits a phase: the largest relative misfit of a Niggli edge (at equal volume) and
// the largest misfit of a Niggli angle, for the best pairing of the phase's lattice rows with them.
struct PhaseMatch {
  bool matched = false;
  int phase = -1;                  // index into the phase list of the best fitting phase
  double lengthMisfit = 0.0;       // relative
  double angleMisfitDegrees = 0.0;
};

// Compares the lattice of `basis` (any frame, any volume) with every phase by shape: both lattices
// are brought to unit volume, and a phase fits when three of its lattice rows, of determinant +-1,
// have the lengths and mutual angles of the Niggli cell of `basis` within the tolerance (lengths
// within relativeLength, angles within angleDegrees). The orientation plays no part. Of several
// fitting phases the one with the smallest misfit, each misfit relative to its tolerance, wins.
PhaseMatch MatchPhase(const Mat3& basis, const PhaseList& phases, const LatticeTolerance& tolerance);

}  // namespace orv
