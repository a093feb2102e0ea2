// The matrices that carry a direct basis to the bases of its commensurate lattices of small index.
#include "search/commensurate_transforms.hpp"

#include <algorithm>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

std::vector<Mat3> CommensurateTransforms(const SublatticeTables& tables, int largestIndex) {
  std::vector<Mat3> transforms;
  const int last = std::min(largestIndex, kMaxSublatticeIndex);
  for (int m = 2; m <= last; ++m) {
    const std::vector<Mat3>& table = tables.Table(m);
    // T B spans a lattice that contains that of B with index m: a cell m times smaller.
    for (const Mat3& t : table) transforms.push_back(t);
    // The dual of T R, with R the reciprocal basis of B, is (T^-1)^T B: the Hermite matrix T^-1
    // transposed, which picks a sublattice of index m of the direct lattice, a cell m times larger.
    for (const Mat3& t : table) {
      Mat3 hermite{};
      if (InvertMatrix(t, hermite, kBasisSingularity) != kStatusSuccess) continue;
      Mat3 larger{};
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) larger[r][c] = static_cast<double>(Nint(hermite[c][r]));
      transforms.push_back(larger);
    }
  }
  return transforms;
}

}  // namespace orv
