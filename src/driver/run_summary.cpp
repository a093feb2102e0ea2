// What one run found, in brief: solution 1's cell, its counts and its quality.
#include "driver/run_summary.hpp"

#include <cmath>

#include "reports/results_file.hpp"
#include "reports/spot_classes.hpp"

namespace orv {

RunSummary SummarizeRun(const RunParameters& parameters, const DirectionStore& directions, const SolutionStore& store,
                        const SolutionLattices& lattices) {
  RunSummary summary;
  summary.numberOfReflections = parameters.NumberOfReflections;
  summary.numberOfSolutions = store.NumberOfSolutions;
  if (store.NumberOfSolutions <= 0) return summary;
  const SolutionRecord& first = store(1);
  const CellParameters cell = CellOfBasis(first.SolutionBasis);
  summary.lengths = cell.lengths;
  summary.anglesInDegrees = cell.anglesInDegrees;
  summary.volume = std::fabs(Determinant(first.SolutionBasis));
  const SpotCounts counts = CountSpots(ClassifySpots(first.SolutionBasis, parameters, directions));
  summary.nh = counts.nh;
  summary.nH = counts.nH;
  const double weights = parameters.WeightsForSortingBases_1 + parameters.WeightsForSortingBases_2;
  summary.quality = first.SolutionQuality / (weights * parameters.NumberOfReflections);
  if (!lattices.analysed.empty() && lattices.analysed[0]) {
    const LatticeSymmetry& symmetry = lattices.symmetry[0];
    summary.bravaisType = BravaisSymbol(symmetry.type);
    summary.conventionalLengths = symmetry.conventionalCell.lengths;
    summary.conventionalAngles = symmetry.conventionalCell.anglesInDegrees;
  }
  return summary;
}

}  // namespace orv
