// Passes and seeds of a map, from the grid alone.
#include "maps/seed_schedule.hpp"

#include <algorithm>
#include <cstdlib>

namespace orv {

namespace {

// Distance along one axis from the nearest coarse line of the tile.
int AxisDistance(int cell) {
  const int offset = cell % kMapTile;
  const int lastCoarse = ((kMapTile - 1) / kCoarseStep) * kCoarseStep;
  if (offset >= lastCoarse) return offset - lastCoarse;
  const int within = offset % kCoarseStep;
  return std::min(within, kCoarseStep - within);
}

int TilesAcross(const MapLayout& layout) { return (layout.columns + kMapTile - 1) / kMapTile; }

}  // namespace

int TileOfCell(const MapLayout& layout, int column, int row) {
  return (row / kMapTile) * TilesAcross(layout) + column / kMapTile;
}

int TileCount(const MapLayout& layout) { return TilesAcross(layout) * ((layout.rows + kMapTile - 1) / kMapTile); }

int PassOfCell(int column, int row) { return std::max(AxisDistance(column), AxisDistance(row)); }

std::vector<std::vector<std::size_t>> PointsByPass(const MapLayout& layout, const std::vector<bool>& takeTile) {
  std::vector<std::vector<std::size_t>> passes;
  for (std::size_t position = 0; position < layout.points.size(); ++position) {
    const MapPoint& point = layout.points[position];
    const int tile = TileOfCell(layout, point.column, point.row);
    if (!takeTile.empty() && !takeTile[static_cast<std::size_t>(tile)]) continue;
    const std::size_t pass = static_cast<std::size_t>(PassOfCell(point.column, point.row));
    if (passes.size() <= pass) passes.resize(pass + 1);
    passes[pass].push_back(position);
  }
  return passes;
}

std::vector<std::size_t> SeedOrder(const MapLayout& layout, std::size_t position) {
  static constexpr int kSteps[8][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  std::vector<std::size_t> seeds;
  const MapPoint& point = layout.points[position];
  const int pass = PassOfCell(point.column, point.row);
  if (pass == 0) return seeds;
  const int tile = TileOfCell(layout, point.column, point.row);
  for (const auto& step : kSteps) {
    const int column = point.column + step[0];
    const int row = point.row + step[1];
    const long at = layout.At(column, row);
    if (at < 0 || TileOfCell(layout, column, row) != tile || PassOfCell(column, row) >= pass) continue;
    seeds.push_back(static_cast<std::size_t>(at));
  }
  const int firstColumn = (point.column / kMapTile) * kMapTile;
  const int firstRow = (point.row / kMapTile) * kMapTile;
  for (int row = firstRow; row < std::min(firstRow + kMapTile, layout.rows); row += kCoarseStep)
    for (int column = firstColumn; column < std::min(firstColumn + kMapTile, layout.columns); column += kCoarseStep) {
      const long at = layout.At(column, row);
      if (at < 0) continue;
      const std::size_t seed = static_cast<std::size_t>(at);
      if (std::find(seeds.begin(), seeds.end(), seed) == seeds.end()) seeds.push_back(seed);
    }
  return seeds;
}

std::vector<bool> TilesOfShard(const MapLayout& layout, int index, int count) {
  std::vector<bool> take(static_cast<std::size_t>(TileCount(layout)), false);
  for (std::size_t tile = 0; tile < take.size(); ++tile)
    take[tile] = static_cast<int>(tile % static_cast<std::size_t>(count)) == index;
  return take;
}

}  // namespace orv
