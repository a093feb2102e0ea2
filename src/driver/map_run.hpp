// A batch in map mode: the patterns of one sample at their positions, indexed in passes with seeds
// from earlier passes, and written as a map (summary, grains, pictures).
#pragma once

#include <ostream>
#include <string>

#include "driver/batch_run.hpp"

namespace orv {

// The points file of a map ("map_points.csv"), or of one shard ("map_points.shard-I-of-N.csv").
std::string MapPointsFileName(const Shard& shard);

// Indexes the map of the batch options (map positions or grid), or with --merge joins the points
// files of the shards. Writes map_points.csv and, for a whole map, map_summary.csv,
// map_grains.csv, map_orientation.svg and, with a reference cell, map_strain.svg in the current
// folder. Exit status as a batch's: 0 when every point is complete, 1 when any failed or is
// missing from the shards, 2 when the map could not run.
int RunMap(const BatchOptions& options, std::ostream& console);

}  // namespace orv
