// The rules that make a map the same whatever the workers and shards: passes, the order of seeds,
// the shards' tiles, and when a seed is taken.
#include <gtest/gtest.h>

#include <algorithm>

#include "maps/seed_acceptance.hpp"
#include "maps/seed_schedule.hpp"

namespace orv {
namespace {

TEST(SeedSchedule, PassesFollowTheDistanceFromTheCoarseGridOfEachTile) {
  ASSERT_EQ(kMapTile, 24);
  ASSERT_EQ(kCoarseStep, 8);
  EXPECT_EQ(PassOfCell(0, 0), 0);
  EXPECT_EQ(PassOfCell(8, 16), 0);
  EXPECT_EQ(PassOfCell(1, 0), 1);
  EXPECT_EQ(PassOfCell(2, 2), 2);
  EXPECT_EQ(PassOfCell(3, 8), 3);
  EXPECT_EQ(PassOfCell(4, 4), 4);
  EXPECT_EQ(PassOfCell(5, 0), 3);   // nearer the next coarse column, 8
  EXPECT_EQ(PassOfCell(23, 0), 7);  // the last column of a tile is 7 from its last coarse column
  EXPECT_EQ(PassOfCell(24, 24), 0);  // the next tile starts a coarse grid of its own
}

TEST(SeedSchedule, SeedsComeFromEarlierPassesOfTheSameTileInAFixedOrder) {
  const MapLayout layout = GridLayout(30, 30, 900);
  const auto at = [&](int column, int row) { return static_cast<std::size_t>(layout.At(column, row)); };
  EXPECT_TRUE(SeedOrder(layout, at(8, 8)).empty());

  // (9, 9), pass 1: its one earlier neighbour (8, 8), then the tile's other coarse points row by row.
  const std::vector<std::size_t> seeds = SeedOrder(layout, at(9, 9));
  ASSERT_EQ(seeds.size(), 9u);
  EXPECT_EQ(seeds[0], at(8, 8));
  EXPECT_EQ(seeds[1], at(0, 0));
  EXPECT_EQ(seeds[2], at(8, 0));
  EXPECT_EQ(seeds[8], at(16, 16));

  // (10, 9), pass 2: of its neighbours west (9, 9) and north-west (9, 8) are of pass 1; north
  // (10, 8) is of pass 2 as well, east (11, 9) of pass 3.
  const std::vector<std::size_t> second = SeedOrder(layout, at(10, 9));
  ASSERT_EQ(second.size(), 11u);
  EXPECT_EQ(second[0], at(9, 9));
  EXPECT_EQ(second[1], at(9, 8));
  EXPECT_EQ(second[2], at(0, 0));

  // (24, 1) lies in the next tile: (23, 1) is a neighbour but not of its tile.
  for (std::size_t seed : SeedOrder(layout, at(24, 1))) EXPECT_GE(layout.points[seed].column, 24);

  // Every seed is of an earlier pass.
  for (std::size_t p = 0; p < layout.points.size(); ++p)
    for (std::size_t seed : SeedOrder(layout, p))
      EXPECT_LT(PassOfCell(layout.points[seed].column, layout.points[seed].row),
                PassOfCell(layout.points[p].column, layout.points[p].row));
}

TEST(SeedSchedule, ShardsTakeWholeTilesAndTogetherEveryPoint) {
  const MapLayout layout = GridLayout(60, 30, 1800);
  ASSERT_EQ(TileCount(layout), 6);
  std::vector<int> taken(layout.points.size(), 0);
  for (int shard = 0; shard < 4; ++shard)
    for (const auto& pass : PointsByPass(layout, TilesOfShard(layout, shard, 4)))
      for (std::size_t p : pass) ++taken[p];
  EXPECT_TRUE(std::all_of(taken.begin(), taken.end(), [](int n) { return n == 1; }));
  const auto passes = PointsByPass(layout, {});
  ASSERT_EQ(passes.size(), 8u);
  EXPECT_EQ(passes[0].size(), 8u * 4u);  // coarse columns 0, 8, ..., 56 and rows 0, 8, 16, 24
  const auto shard = PointsByPass(layout, TilesOfShard(layout, 1, 4));  // tiles 1 and 5
  EXPECT_EQ(shard[0].size(), 3u * 3u + 2u * 1u);
}

TEST(SeedAcceptance, ASeedIsTakenWhenItsSharesAreAsGoodAsAtTheSeedWithinTheMargin) {
  const PointSupport seed{50, 57, 60};  // shares 0.833 and 0.95
  EXPECT_TRUE(SeedFits(PointSupport{50, 57, 60}, seed));
  EXPECT_TRUE(SeedFits(PointSupport{46, 52, 60}, seed));   // 0.767 and 0.867: within the margin
  EXPECT_FALSE(SeedFits(PointSupport{45, 50, 60}, seed));  // 0.833 within, 0.95 - 0.833 beyond
  EXPECT_FALSE(SeedFits(PointSupport{40, 57, 60}, seed));  // within half the tolerance too few
  // A pattern with a second grain's spots: 35 of 60 against a clean neighbour.
  EXPECT_FALSE(SeedFits(PointSupport{30, 35, 60}, seed));
  // Shares, not counts: a pattern with fewer spots.
  EXPECT_TRUE(SeedFits(PointSupport{25, 29, 30}, seed));
  // At least 4 reflections and a quarter of the pattern, whatever the seed had.
  EXPECT_FALSE(SeedFits(PointSupport{3, 3, 12}, PointSupport{2, 3, 12}));
  EXPECT_FALSE(SeedFits(PointSupport{5, 5, 24}, PointSupport{4, 5, 24}));
  EXPECT_FALSE(SeedFits(PointSupport{0, 0, 0}, seed));
}

}  // namespace
}  // namespace orv
