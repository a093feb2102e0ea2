// What a map writes: the summary of every point, the table of grains, and the pictures of the
// orientation (inverse-pole-figure colours with the key beside them) and of the strain.
#pragma once

#include <string>
#include <vector>

#include "maps/map_grains.hpp"
#include "maps/map_layout.hpp"
#include "maps/map_point_record.hpp"

namespace orv {

struct MapResults {
  const MapLayout& layout;
  const std::vector<MapPointRecord>& records;  // by list position
  const MapGrains& grains;
};

// The summary, one row per point in list order: file, x, y, column, row, grain, status,
// indexed_by, seed, bravais, the conventional cell as measured, phi1, Phi, phi2 (in the setting of
// the grain's first point), misorientation
// to the grain's mean, the deviatoric strain e11 e22 e33 e23 e13 e12 and its equivalent (empty
// without a reference cell), nh, nH, N, message.
void WriteMapSummary(const std::string& path, const MapResults& map);

// One row per grain: number, Bravais type, points, the mean Euler angles and the largest
// misorientation of a point to the mean.
void WriteGrainTable(const std::string& path, const MapResults& map);

// The orientation map: each point in the colour of the crystal direction along the sample's z
// (the frame of the directions), grain boundaries in black, and the key of the most common
// lattice type beside it.
void WriteOrientationPicture(const std::string& path, const MapResults& map);

// The equivalent strain and the six components (frame of the directions), each a map with its
// colour bar, with the grain boundaries; only for points with a strain.
void WriteStrainPicture(const std::string& path, const MapResults& map);

}  // namespace orv
