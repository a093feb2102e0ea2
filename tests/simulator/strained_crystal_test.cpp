// The simulator's strained crystal: the truth it records agrees with the lattice it writes.
#include <gtest/gtest.h>

#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "solutions/deviatoric_strain.hpp"

namespace orv {
namespace {

TEST(StrainedCrystal, TheTruthDescribesTheWrittenLatticeInTheBusingLevyFrame) {
  sim::SimulationOptions options;
  options.cell = {4.913, 4.913, 5.405, 90.0, 90.0, 120.0};
  options.eulerAngles = std::array<double, 3>{30.0, 50.0, 70.0};
  options.strain = std::array<double, 6>{3e-3, -2e-3, -1e-3, 1e-3, -5e-4, 2e-3};
  sim::SimulatedPattern pattern;
  std::string message;
  ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  ASSERT_TRUE(pattern.strained);
  Mat3 b{};
  Mat3 reference{};
  ASSERT_TRUE(BusingLevyB(MetricOfCellParameters({4.913, 4.913, 5.405}, {90, 90, 120}), b));
  ASSERT_TRUE(DirectBasisInCrystalFrame(b, reference));
  StrainTensors strain;
  ASSERT_TRUE(StrainOfBasis(pattern.directBasis, reference, strain));
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(strain.crystal[r][c], pattern.deviatoricCrystal[r][c], 1e-12);
      EXPECT_NEAR(strain.sample[r][c], pattern.deviatoricLab[r][c], 1e-12);
      EXPECT_NEAR(strain.rotation[r][c], pattern.trueU[r][c], 1e-12);
    }
  // UB holds the reciprocal vectors of the strained cell: UB^T times the direct rows is I.
  const Mat3 product = MultiplyMatrices(pattern.directBasis, pattern.trueUB);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(product[r][c], r == c ? 1.0 : 0.0, 1e-12);
  EXPECT_NEAR(pattern.deviatoricCrystal[0][1], 2e-3, 1e-5);
  EXPECT_NEAR(pattern.deviatoricCrystal[0][0] + pattern.deviatoricCrystal[1][1] + pattern.deviatoricCrystal[2][2], 0.0, 1e-15);
}

}  // namespace
}  // namespace orv
