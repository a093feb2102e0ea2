// The pure parts of a search for several grains: set-aside, shared spots, the stop rule.
#include <gtest/gtest.h>

#include "solutions/grain_spots.hpp"
#include "support/lattice_patterns.hpp"

namespace orv {
namespace {

// Two lattices in one pattern: the first spots of a cubic and of an orthorhombic crystal.
struct TwoGrains {
  testing::LatticePattern cubic = testing::BuildLatticePattern(testing::CubicDirectBasis(), 20);
  testing::LatticePattern ortho = testing::BuildLatticePattern(testing::OrthorhombicDirectBasis(), 15);
  RunParameters parameters;
  DirectionStore directions;
  TwoGrains() {
    testing::LatticePattern both = cubic;
    both.directions.insert(both.directions.end(), ortho.directions.begin(), ortho.directions.end());
    testing::LoadPattern(both, parameters, directions);
    ApplyAngularDeviationCriterion(parameters, 0.1);
  }
};

TEST(GrainSpots, AGrainClaimsItsOwnSpotsAndTheRestAreLeftInOrder) {
  TwoGrains pattern;
  const std::vector<bool> cubic = SpotsWithinTolerance(pattern.cubic.direct, pattern.parameters, pattern.directions);
  ASSERT_EQ(cubic.size(), 35u);
  for (int j = 0; j < 20; ++j) EXPECT_TRUE(cubic[static_cast<std::size_t>(j)]) << j;
  const std::vector<int> left = UnclaimedSpots({cubic}, 35);
  // Every orthorhombic spot the cubic lattice does not happen to index is left, in pattern order.
  ASSERT_FALSE(left.empty());
  EXPECT_TRUE(std::is_sorted(left.begin(), left.end()));
  for (int j : left) EXPECT_GT(j, 20);

  RunParameters round;
  DirectionStore roundDirections;
  SelectSpots(pattern.parameters, pattern.directions, left, round, roundDirections);
  EXPECT_EQ(round.NumberOfReflections, static_cast<int>(left.size()));
  EXPECT_EQ(round.AngularDeviationCriterion, pattern.parameters.AngularDeviationCriterion);
  for (std::size_t k = 0; k < left.size(); ++k)
    EXPECT_EQ(roundDirections(static_cast<int>(k) + 1), pattern.directions(left[k]));
  // The working slot after the selected spots is clear for the search.
  EXPECT_EQ(roundDirections(round.NumberOfReflections + 1), (Vec3{0.0, 0.0, 0.0}));
}

TEST(GrainSpots, ASpotOfTwoGrainsIsSharedAndCountsForBoth) {
  // Spot 2 fits both grains, spot 4 neither.
  const std::vector<std::vector<bool>> indexedBy = {{true, true, false, false}, {false, true, true, false}};
  const auto grains = GrainsOfSpots(indexedBy, 4);
  ASSERT_EQ(grains.size(), 4u);
  EXPECT_EQ(grains[0], std::vector<int>{1});
  EXPECT_EQ(grains[1], (std::vector<int>{1, 2}));
  EXPECT_EQ(grains[2], std::vector<int>{2});
  EXPECT_TRUE(grains[3].empty());
  EXPECT_EQ(SharedSpots(grains), std::vector<int>{2});
  EXPECT_EQ(UnclaimedSpots(indexedBy, 4), std::vector<int>{4});

  // In a real pattern: the cubic lattice itself, once as grain 1 and once turned by less than the
  // tolerance as grain 2, shares its spots.
  TwoGrains pattern;
  const Mat3 turned = testing::RotateRows(pattern.cubic.direct, testing::RotationAbout(Vec3{0.0, 0.0, 1.0}, 0.01));
  const auto twice = GrainsOfSpots({SpotsWithinTolerance(pattern.cubic.direct, pattern.parameters, pattern.directions),
                                    SpotsWithinTolerance(turned, pattern.parameters, pattern.directions)},
                                   35);
  for (int j = 1; j <= 20; ++j) EXPECT_EQ(twice[static_cast<std::size_t>(j - 1)], (std::vector<int>{1, 2})) << j;
}

TEST(GrainSpots, TheRoundsStopWhenEnoughGrainsOrTooFewSpotsOrTooSmallAGrain) {
  EXPECT_EQ(DefaultMinimumGrainSpots(30), 8);
  EXPECT_EQ(DefaultMinimumGrainSpots(80), 8);
  EXPECT_EQ(DefaultMinimumGrainSpots(81), 9);
  EXPECT_EQ(DefaultMinimumGrainSpots(200), 20);

  EXPECT_TRUE(LookForAnotherGrain(1, 2, 30, 8));
  EXPECT_FALSE(LookForAnotherGrain(2, 2, 30, 8));  // as many grains as asked for
  EXPECT_TRUE(LookForAnotherGrain(1, 3, 8, 8));
  EXPECT_FALSE(LookForAnotherGrain(1, 3, 7, 8));   // too few spots left for a grain
  EXPECT_FALSE(LookForAnotherGrain(1, 3, 3, 2));   // a search needs four spots whatever the minimum
  EXPECT_TRUE(IsGrain(8, 8));
  EXPECT_FALSE(IsGrain(7, 8));
}

}  // namespace
}  // namespace orv
