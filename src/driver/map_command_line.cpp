// The command-line options of map mode.
#include "driver/map_command_line.hpp"

namespace orv {

void MapCommandLine::AddTo(CLI::App& app, BatchOptions& options) {
  map_ = app.add_option("--map", options.mapPositions,
                        "With --batch: the patterns are a map; FILE gives file,x,y of each");
  grid_ = app.add_option("--grid", options.mapGrid,
                         "With --batch: the patterns are a map of COLSxROWS points in list order, row by row");
  grainAngle_ = app.add_option("--grain-angle", options.grainAngle,
                               "In a map, neighbours closer than this many degrees in orientation are one grain (default 5)")
                    ->check(CLI::Range(0.001, 90.0));
}

void MapCommandLine::Check(bool batchRequested, const RunOptions& run) const {
  const bool mapMode = map_->count() + grid_->count() > 0;
  if (!mapMode) {
    if (grainAngle_->count() > 0) throw CLI::ValidationError("--grain-angle", "it goes with --map or --grid");
    return;
  }
  if (!batchRequested) throw CLI::ValidationError("--map and --grid", "they go with --batch LIST");
  if (map_->count() > 0 && grid_->count() > 0)
    throw CLI::ValidationError("--map and --grid", "give the positions one way: a file or a grid");
  if (run.json || run.svg)
    throw CLI::ValidationError("--json and --svg", "a map writes its own summary and pictures, not each pattern's");
}

}  // namespace orv
