// The transformations to commensurate cells: each smaller and each larger cell of index 2 to 4 once.
#include "search/commensurate_transforms.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/constants.hpp"

namespace orv {
namespace {

bool IsIntegral(const Mat3& m) {
  for (const Vec3& row : m)
    for (double v : row)
      if (std::fabs(v - std::round(v)) > 1e-9) return false;
  return true;
}

// X and Y give the same lattice from any basis B when X Y^-1 is integral with determinant +-1.
bool SameLattice(const Mat3& x, const Mat3& y) {
  Mat3 inverse{};
  if (InvertMatrix(y, inverse, kBasisSingularity) != kStatusSuccess) return false;
  const Mat3 relation = MultiplyMatrices(x, inverse);
  return IsIntegral(relation) && std::fabs(std::fabs(Determinant(relation)) - 1.0) < 1e-9;
}

TEST(CommensurateTransforms, EverySmallerAndLargerCellOfIndexTwoToFourOnce) {
  SublatticeTables tables;
  BuildSublatticeTables(tables);
  const std::vector<Mat3> transforms = CommensurateTransforms(tables);
  const int counts[] = {7, 13, 35};  // lattices of index 2, 3 and 4
  ASSERT_EQ(transforms.size(), 2u * (7 + 13 + 35));
  std::size_t first = 0;
  for (int m = 2; m <= 4; ++m) {
    const std::size_t count = static_cast<std::size_t>(counts[m - 2]);
    for (std::size_t k = first; k < first + 2 * count; ++k) {
      const Mat3& x = transforms[k];
      const bool smaller = k < first + count;
      Mat3 inverse{};
      ASSERT_EQ(InvertMatrix(x, inverse, kBasisSingularity), kStatusSuccess);
      // A smaller cell's lattice contains the original one: B = X^-1 (X B) with X^-1 integral.
      EXPECT_TRUE(IsIntegral(smaller ? inverse : x)) << "index " << m << " entry " << k;
      EXPECT_NEAR(std::fabs(Determinant(x)), smaller ? 1.0 / m : m, 1e-12) << "index " << m << " entry " << k;
      for (std::size_t other = first; other < k; ++other)
        EXPECT_FALSE(SameLattice(x, transforms[other])) << "index " << m << " entries " << other << ", " << k;
    }
    first += 2 * count;
  }
  EXPECT_EQ(CommensurateTransforms(tables, 2).size(), 14u);
  EXPECT_TRUE(CommensurateTransforms(tables, 1).empty());
}

}  // namespace
}  // namespace orv
