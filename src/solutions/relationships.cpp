// The transformation matrix between two kept solutions.
#include "solutions/relationships.hpp"

#include "geometry/constants.hpp"

namespace orv {

bool RelationMatrix(const SolutionStore& store, int i, int j, Mat3& T) {
  Mat3 inverse{};
  if (InvertMatrix(store(j).SolutionBasis, inverse, kBasisSingularity) != kStatusSuccess) return false;
  T = MultiplyMatrices(store(i).SolutionBasis, inverse);
  return true;
}

}  // namespace orv
