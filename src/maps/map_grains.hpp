// The grains of a map: neighbouring points joined when their lattices are of one type and their
// orientations differ by less than a threshold under the lattice's symmetry.
#pragma once

#include <vector>

#include "maps/map_layout.hpp"
#include "maps/map_point_record.hpp"

namespace orv {

struct MapGrain {
  int number = 0;  // from 1
  BravaisType type = BravaisType::aP;
  long points = 0;
  long firstPoint = 0;  // list position of its first point in row-major order of the map
  Mat3 meanU{};         // mean orientation, in the setting of its first point
  Vec3 meanEulerDegrees{};
  double largestMisorientation = 0.0;  // of a point to the mean, degrees
};

struct MapGrains {
  std::vector<int> grainOf;                 // by list position; 0 for a point that was not indexed
  std::vector<double> misorientationToMean;  // by list position, degrees; 0 where not indexed
  // Bunge Euler angles of each point's orientation in the setting of its grain's first point (its
  // U turned by the lattice rotation that brings it nearest that point's): one setting per grain
  // even where two searched points of a grain chose different settings. By list position.
  std::vector<Vec3> eulerInGrainSetting;
  std::vector<MapGrain> grains;             // grain n at index n - 1
};

// Joins every indexed point with its right and lower neighbours of the grid when both have the
// same Bravais type and misorientation (MisorientationDegrees under the lattice's rotations) below
// `thresholdDegrees`. Grains are numbered in row-major order of their first point. The mean of a
// grain is the rotation nearest the average of its points' orientations, each first turned by the
// lattice rotation that brings it nearest the grain's first point.
MapGrains JoinGrains(const MapLayout& layout, const std::vector<MapPointRecord>& records, double thresholdDegrees);

}  // namespace orv
