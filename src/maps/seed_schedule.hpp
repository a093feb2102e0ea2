// The order in which the points of a map are indexed and the seeds each point tries, fixed by the
// grid alone so that the map comes out the same whatever the workers, the shards or the order in
// which the points finish.
//
// The map is cut into tiles of kMapTile x kMapTile cells. In each tile the points on a coarse
// sub-grid (every kCoarseStep-th column and row of the tile, from its first) form pass 0 and are
// searched ab initio. Every other point belongs to the pass equal to its distance, in steps of the
// grid (diagonal steps count one), from the nearest coarse cell of its tile, so passes 1 to 7.
// A point tries as seeds only points of its own tile from earlier passes: first its eight
// neighbours in the order below, then the tile's pass-0 points in row-major order. A tile never
// looks into another, so shards that take whole tiles need nothing from each other.
#pragma once

#include <vector>

#include "maps/map_layout.hpp"

namespace orv {

constexpr int kMapTile = 24;
constexpr int kCoarseStep = 8;

// The tile of a cell, numbered row-major over the tiles of the map.
int TileOfCell(const MapLayout& layout, int column, int row);
int TileCount(const MapLayout& layout);

// The pass of a cell: 0 on the coarse sub-grid, else its distance from the nearest coarse cell of its tile.
int PassOfCell(int column, int row);

// The list positions of the points of each pass, in list order, for the points whose tile
// satisfies `takeTile` (all tiles when it is empty).
std::vector<std::vector<std::size_t>> PointsByPass(const MapLayout& layout, const std::vector<bool>& takeTile);

// The seeds of a point, as list positions in the order they are tried: its neighbours of the same
// tile from earlier passes (north, west, east, south, then north-west, north-east, south-west,
// south-east, with rows counted downward), then the pass-0 points of its tile in row-major order
// that are not among them. Empty for a pass-0 point.
std::vector<std::size_t> SeedOrder(const MapLayout& layout, std::size_t position);

// Shard I of N takes the tiles numbered I, I + N, I + 2N, ...
std::vector<bool> TilesOfShard(const MapLayout& layout, int index, int count);

}  // namespace orv
