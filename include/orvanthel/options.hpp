// The options of one indexing run: the parameters of a ".kqt" file and the program's own choices.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace orvanthel {

// A candidate phase for the grains of a pattern: its conventional cell and centring (P, A, B, C, I,
// F, or R for a rhombohedral lattice on hexagonal axes).
struct Phase {
  std::string name;
  std::array<double, 6> cell{};  // a, b, c (any unit), alpha, beta, gamma (degrees)
  char centring = 'P';
};

// Every field has the default of the ".kqt" file, except `chooseLattice`, which is on: a caller who
// wants the program's classic ranking sets it off. Ranges are those of the input file; a value
// outside them is refused with Error(InvalidOptions) naming it.
struct IndexingOptions {
  // Volume of the primitive cell in the unit of length of the reported cells (the pattern fixes the
  // shape of the cell, never its size). 1.1920928955078125e-5 .. 3.4028234663852885e36.
  double volumeOfPrimitiveCell = 1000.0;
  // Largest |h|, |k|, |l| for a spot to count as indexed. 4 .. 100.
  int maxMillerIndex = 12;
  // Search type 0 (fast) .. 9 (exhaustive).
  int searchType = 0;
  // Angular tolerance of an indexed spot, in degrees. 0.1 .. 3.0.
  double toleranceDegrees = 1.0;
  // Allowed deviation of the real indices from integers in the search's first test; absent: the
  // value that the tolerance implies, ((6 - a) a + 1) / 33. 0.03 .. 0.3.
  std::optional<double> mainCriterion;
  // Weights of the spots within half the tolerance (W1) and within the tolerance (W2) in the quality.
  double weightHalfTolerance = 0.3;
  double weightTolerance = 0.7;
  // Solutions kept and reported. 1 .. 128.
  int maxSolutions = 16;
  // Threads that score candidates: 0 takes every core. The result is the same for every count.
  int threads = 0;
  // Rank commensurate lattices so that the one whose shortest rows are observed comes first, and
  // report cells refined to the spot directions.
  bool chooseLattice = true;
  // A reference conventional cell a, b, c (any unit), alpha, beta, gamma (degrees): solution 1 then
  // carries its deviatoric strain against it, and its orientation is that of the reference setting.
  // A reference of another Bravais type, or of a shape beyond the lattice tolerance, is refused with
  // Error(ReferenceMismatch) saying how it differs.
  std::optional<std::array<double, 6>> referenceCell;
  // Start with the cheap search and go deeper (type 5, cells from the zone axes of the pattern,
  // type 8, a larger index bound) only while no solution indexes 90 % of the spots.
  bool automaticSearch = false;
  // Grains to look for, each in the spots the earlier ones left (1: one crystal). Above 1 the
  // lattice choice is on in every round.
  int grains = 1;
  // Spots a further grain must index; 0: 8, or a tenth of the spots when that is more.
  int minGrainSpots = 0;
  // Candidate phases: each grain is named by the one whose lattice has its shape, and brought to its
  // volume (and, with a reference cell asked for, strained against it).
  std::vector<Phase> phases;
};

}  // namespace orvanthel
