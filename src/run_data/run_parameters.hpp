// The run parameters with their defaults, and the direction store of the reflections.
#pragma once

#include <array>

#include "geometry/vector_matrix.hpp"

namespace orv {

constexpr int kMaxReflections = 999;
// Room for every reflection plus the working slot N+1 in which search type 4 puts its crossings.
constexpr int kDirectionStoreRows = kMaxReflections + 1;

// The eleven scalar parameters of a run, named after their input keywords.
struct RunParameters {
  int NumberOfReflections = 0;
  double VolumeOfPrimitiveCell = 1000.0;
  int MaxAllowedMillerIndex = 12;
  int ExtentOfTheSearch = 0;
  double AngularDeviationCriterion = 0.017453292519943295;  // radians (1 degree)
  double TheMainCriterion = 0.18181818181818182;           // 2/11
  double WeightsForSortingBases_1 = 0.3;
  double WeightsForSortingBases_2 = 0.7;
  int MaxNumberOfSavedBases = 16;
  int SortSolutionsByQualityType = 0;
  int SaveLePage = 0;
  int CreateLogFile = 0;
  // Whether the input file gave _VolumeOfPrimitiveCell (otherwise the cells are scaled to the default).
  bool VolumeOfPrimitiveCellGiven = false;
  // Not an input keyword. The first score from which a candidate is accepted, when it is below half
  // the number of reflections: a run that looks for several grains accepts a grain smaller than
  // half the pattern. 0 keeps the half.
  double AcceptedCandidateQuality = 0.0;
};

// Reflection directions numbered 1..N in file order, plus the working slot N+1.
struct DirectionStore {
  std::array<Vec3, kDirectionStoreRows> rows{};

  // Reflection n, 1-based as everywhere in the program.
  const Vec3& operator()(int n) const { return rows[static_cast<std::size_t>(n - 1)]; }
  Vec3& operator()(int n) { return rows[static_cast<std::size_t>(n - 1)]; }
};

// Gives every parameter its default and clears the direction store.
void SetDefaultParameters(RunParameters& parameters, DirectionStore& directions);

// Applies a tolerance read in degrees: TheMainCriterion = (6 - a) a c + c with c = 1/33, then the
// tolerance itself in radians.
void ApplyAngularDeviationCriterion(RunParameters& parameters, double degrees);

}  // namespace orv
