// The library's view of the ranked solutions of a run.
#include "library/solution_results.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "reports/results_file.hpp"
#include "reports/spot_classes.hpp"

namespace orv {

namespace {

orvanthel::Matrix3 PublicMatrix(const Mat3& m) { return {{{m[0][0], m[0][1], m[0][2]}, {m[1][0], m[1][1], m[1][2]}, {m[2][0], m[2][1], m[2][2]}}}; }

orvanthel::Cell PublicCell(const Vec3& lengths, const Vec3& angles, double volume) {
  return {lengths[0], lengths[1], lengths[2], angles[0], angles[1], angles[2], volume};
}

orvanthel::SpotClass PublicClass(SpotClass spotClass) {
  if (spotClass == SpotClass::WithinHalfTolerance) return orvanthel::SpotClass::WithinHalfTolerance;
  if (spotClass == SpotClass::WithinTolerance) return orvanthel::SpotClass::WithinTolerance;
  return orvanthel::SpotClass::NotIndexed;
}

}  // namespace

std::vector<orvanthel::Solution> SolutionsOfRun(const RunParameters& parameters, const DirectionStore& directions,
                                                const SolutionStore& store, const SolutionLattices& lattices) {
  std::vector<orvanthel::Solution> solutions;
  const double largestQuality = (parameters.WeightsForSortingBases_1 + parameters.WeightsForSortingBases_2) *
                                parameters.NumberOfReflections;
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    const SolutionRecord& record = store(i);
    const Mat3& m = record.SolutionBasis;
    orvanthel::Solution solution;
    solution.rank = i;
    solution.directBasis = PublicMatrix(m);
    Mat3 reciprocal{};
    InverseTranspose(m, reciprocal, kBasisSingularity);
    solution.reciprocalBasis = PublicMatrix(reciprocal);
    const CellParameters cell = CellOfBasis(m);
    solution.primitiveCell = PublicCell(cell.lengths, cell.anglesInDegrees, std::fabs(Determinant(m)));
    solution.quality = record.SolutionQuality / largestQuality;
    const std::vector<ClassifiedSpot> spots = ClassifySpots(m, parameters, directions);
    const SpotCounts counts = CountSpots(spots);
    solution.withinTolerance = counts.nh;
    solution.withinHalfTolerance = counts.nH;
    for (const ClassifiedSpot& spot : spots)
      solution.spots.push_back({spot.hkl, spot.deviation * kRadiansToDegrees, PublicClass(spot.spotClass)});
    const std::size_t index = static_cast<std::size_t>(i - 1);
    if (index < lattices.analysed.size() && lattices.analysed[index]) {
      const LatticeSymmetry& symmetry = lattices.symmetry[index];
      solution.bravaisType = BravaisSymbol(symmetry.type);
      solution.conventionalCell = PublicCell(symmetry.conventionalCell.lengths, symmetry.conventionalCell.anglesInDegrees,
                                             std::fabs(Determinant(symmetry.conventionalBasis)));
      solution.conventionalBasis = PublicMatrix(symmetry.conventionalBasis);
      solution.toConventional = symmetry.toConventional;
    }
    solutions.push_back(std::move(solution));
  }
  return solutions;
}

}  // namespace orv
