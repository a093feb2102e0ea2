// Simulated maps: a grid of patterns over a few grains, each grain's orientation and strain
// varying smoothly across it, spurious spots, and points on grain boundaries that hold the spots
// of two grains; with the truth of every point.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/simulation_options.hpp"

namespace orv::sim {

struct MapSimulationOptions {
  int columns = 40;
  int rows = 40;
  int grains = 3;
  std::uint64_t seed = 1;
  // Turn of a grain's lattice per step of the grid, degrees, about an axis of its own.
  double rotationPerStep = 0.01;
  // The largest strain component reached across the map (a gradient from 0 at one corner).
  double strainGradient = 2e-3;
  // A point nearer than this many steps to the line that halves its grain's centre and the next
  // nearest holds both grains' spots (the second grain's share given by boundaryShare). Grains are
  // the cells of the nearest centre; centres are drawn at random, well apart.
  double boundaryWidth = 0.3;
  double boundaryShare = 0.4;
  // Everything else of every pattern: cell, centring, flaws, keywords (orientation, strain and
  // seed are set per point).
  SimulationOptions pattern;
};

// The truth of one point.
struct MapPointTruth {
  std::string file;
  int column = 0;
  int row = 0;
  int grain = 0;       // from 1
  int otherGrain = 0;  // the second grain of a boundary point, else 0
  std::array<double, 3> eulerDegrees{};  // Bunge angles of the crystal frame into the laboratory
  std::array<double, 6> strain{};        // e11 e22 e33 e23 e13 e12 applied, crystal frame
  int spots = 0;
};

// The grain of each cell and its centre, the orientation and strain of every point; deterministic
// for the seed.
std::vector<MapPointTruth> PlanMap(const MapSimulationOptions& options);

// Writes `folder`/point_RRRR_CCCC.kqt for every point, `folder`/list.txt and `folder`/positions.csv
// (file,x,y with x = column, y = row), both naming the patterns as `folder`/name, and
// `folder`/map_truth.csv. Fails with a message on the first point that cannot be made.
bool WriteSimulatedMap(const MapSimulationOptions& options, const std::string& folder, std::string& message);

}  // namespace orv::sim
