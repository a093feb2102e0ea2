// The grains found in one pattern, each the best solution of one round, for the reports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geometry/vector_matrix.hpp"
#include "solutions/deviatoric_strain.hpp"
#include "solutions/grain_orientation.hpp"
#include "solutions/lattice_symmetry.hpp"
#include "solutions/phase_match.hpp"

namespace orv {

struct Grain {
  // Its direct basis: the round's solution 1 at VolumeOfPrimitiveCell, or at the volume of the phase
  // it matched.
  Mat3 basis{};
  bool analysed = false;  // the lattice symmetry below is known
  LatticeSymmetry symmetry;
  std::vector<int> spots;     // the spots of the whole pattern it indexes within the tolerance, from 1
  int spotsGiven = 0;         // the spots its round searched (those no earlier grain indexes)
  int spotsIndexedInRound = 0;  // how many of them it indexes within the tolerance
  int solutionsInRound = 0;   // the solutions its round kept after the post-processing
  PhaseMatch phase;           // the candidate phase it matched, if any
  std::string phaseName;      // empty when no phase was given or none matched
  GrainOrientation orientation;  // with the cell held to its lattice's symmetric cell
  // The smallest turn from grain 1 under the lattice's rotations, for a grain of grain 1's Bravais
  // type (grain 1 itself: 0); negative when not known.
  double misorientationToFirstDegrees = -1.0;
  // Against the cell of the phase it matched, when the strain was asked for.
  std::optional<DeviatoricStrain> strain;
};

struct GrainSet {
  int grainsAsked = 1;
  int minimumGrainSpots = 0;
  bool phasesGiven = false;
  bool strainAsked = false;
  std::vector<Grain> grains;
  std::vector<std::vector<int>> grainsOfSpots;  // per spot (element j - 1), the grains that index it
  std::vector<int> sharedSpots;                 // spots two grains or more index, from 1
  std::vector<int> spotsOfNoGrain;              // spots no grain indexes, from 1
};

}  // namespace orv
