// The orientation of every kept solution and the strain of solution 1.
#include "solutions/solution_orientations.hpp"

#include "solutions/direction_fit_covariance.hpp"

namespace orv {

SolutionOrientations OrientSolutions(const SolutionStore& store, const SolutionLattices& lattices,
                                     const std::optional<ReferenceCell>& reference, const RunParameters& parameters,
                                     const DirectionStore& directions) {
  SolutionOrientations result;
  const std::size_t n = lattices.analysed.size();
  result.oriented.assign(n, false);
  result.orientation.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (!lattices.analysed[i]) continue;
    // The least-squares basis of the directions keeps the setting of the solution's basis, so the
    // lattice analysis of the solution holds for it.
    const Mat3 fitted = LeastSquaresBasis(store(static_cast<int>(i) + 1).SolutionBasis, parameters, directions);
    result.oriented[i] = OrientSolution(fitted, lattices.symmetry[i], result.orientation[i]);
  }
  if (reference && n > 0 && result.oriented[0]) {
    result.strain = MeasureDeviatoricStrain(store(1).SolutionBasis, result.orientation[0], *reference,
                                            lattices.tolerance, parameters, directions);
    result.orientation[0] = OrientationOfReference(result.orientation[0], *result.strain, *reference);
  }
  return result;
}

}  // namespace orv
