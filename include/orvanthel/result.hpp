// What an indexing run found: the ranked solutions, each with its cells, lattice and spot indices.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "orvanthel/options.hpp"
#include "orvanthel/pattern.hpp"

namespace orvanthel {

// Rows are basis vectors: a direct basis has a, b, c as rows, a reciprocal basis a*, b*, c*, in
// the frame of the pattern's directions.
using Matrix3 = std::array<Vector3, 3>;
using IntMatrix3 = std::array<std::array<int, 3>, 3>;
using Indices = std::array<int, 3>;

// Edges in the unit of length fixed by the volume, angles alpha = (b, c), beta = (c, a),
// gamma = (a, b) in degrees.
struct Cell {
  double a = 0, b = 0, c = 0;
  double alpha = 0, beta = 0, gamma = 0;
  double volume = 0;
};

enum class SpotClass {
  WithinHalfTolerance,  // indexed within half the angular tolerance
  WithinTolerance,      // indexed within the tolerance, but not within half of it
  NotIndexed,
};

// One spot under one solution, as the results file shows it.
struct SpotIndexing {
  Indices hkl{};                 // on the solution's (reduced primitive) basis; meaningful when indexed
  double deviationDegrees = 0;   // angle between the spot and its lattice row
  SpotClass spotClass = SpotClass::NotIndexed;
  // On the conventional cell of the orientation, when the solution is oriented: the shortest
  // reciprocal-lattice vector along the spot's row (4 2 2 for a face-centred lattice, not 2 1 1),
  // and the form users write for its symmetry-equivalent family (4 2 2 rather than -2 -4 2).
  Indices conventionalHkl{};
  Indices conventionalForm{};
};

// The orientation of a solution. The crystal frame is that of Busing and Levy: a* along x, b* in
// the x-y plane. U turns it into the frame of the pattern's directions; B holds the conventional
// reciprocal basis of the cell in the crystal frame as columns, UB the measured one in the frame of
// the directions. Among the settings that the lattice's symmetry makes equivalent, the one whose U
// turns least is reported, so that neighbouring patterns of one grain give the same numbers.
struct Orientation {
  Matrix3 u{};                 // [row][column]
  Matrix3 b{};
  Matrix3 ub{};
  Vector3 eulerDegrees{};      // Bunge (phi1, Phi, phi2) of U
  Matrix3 conventionalBasis{};  // rows a, b, c of that setting, as measured
  IntMatrix3 toConventional{};  // conventionalBasis = toConventional * directBasis
  Cell cell;                   // the conventional cell averaged over the lattice's symmetry
};

// The deviatoric strain of a solution against the reference cell: F maps the reference basis onto
// the least-squares basis of the directions, scaled to determinant 1; F = R S; the strain is
// (S + S^T)/2 - I without its trace, in the crystal frame and turned by R into the frame of the
// directions; with standard uncertainties from the fit.
struct Strain {
  Matrix3 crystal{};
  Matrix3 sample{};
  Matrix3 crystalUncertainty{};
  Matrix3 sampleUncertainty{};
  double vonMises = 0;
  double vonMisesUncertainty = 0;
  int reflections = 0;  // spots in the least-squares fit
};

struct Solution {
  int rank = 0;                    // 1 is the best
  Matrix3 directBasis{};           // the reduced primitive basis, scaled to the volume
  Matrix3 reciprocalBasis{};       // its dual
  Cell primitiveCell;
  double quality = 0;              // the quality figure relative to its largest value (1: every spot)
  int withinTolerance = 0;         // spots indexed within the tolerance
  int withinHalfTolerance = 0;     // ... within half of it
  // The lattice: Bravais type ("aP" ... "cF"; empty when it could not be analysed), the
  // conventional cell averaged over the symmetry found, the conventional basis as measured and the
  // integer matrix that makes it from the direct basis.
  std::string bravaisType;
  Cell conventionalCell;
  Matrix3 conventionalBasis{};
  IntMatrix3 toConventional{};
  std::vector<SpotIndexing> spots;  // one per spot of the pattern, in its order
  bool oriented = false;            // false where the lattice could not be put in the crystal frame
  Orientation orientation;
  bool strained = false;            // solution 1 with a reference cell
  Strain strain;
};

// One grain of a pattern of several: the best solution of its round.
struct Grain {
  Matrix3 directBasis{};         // at the volume of the options, or of the phase it matched
  std::string bravaisType;       // empty when its lattice could not be analysed
  Cell conventionalCell;
  std::vector<int> spots;        // the spots it indexes within the tolerance, numbered from 1
  std::string phase;             // the phase it matched; empty when none
  bool oriented = false;
  Matrix3 u{};                   // fitted with the cell held to its lattice's symmetric cell
  Vector3 eulerDegrees{};
  double misorientationToFirstDegrees = -1;  // negative when not of grain 1's type
  bool strained = false;         // against its phase's cell
  Strain strain;
};

struct IndexingResult {
  IndexingOptions options;        // as used
  int numberOfSpots = 0;
  std::vector<Solution> solutions;  // best first; empty when nothing was found
  // With the automatic search: the search type and index bound of the step whose solutions these are.
  int searchTypeUsed = 0;
  int maxMillerIndexUsed = 0;
  // With grains > 1 or phases: the grains found (grain 1 first), the spots two grains share and the
  // spots no grain indexes (numbered from 1).
  std::vector<Grain> grains;
  std::vector<int> sharedSpots;
  std::vector<int> spotsOfNoGrain;
};

}  // namespace orvanthel
