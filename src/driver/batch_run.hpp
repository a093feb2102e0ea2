// Many patterns at once: every pattern of a list indexed on all cores, one pattern per worker,
// with a summary table, a progress line, resumption and shards for job arrays.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "driver/batch_list.hpp"
#include "driver/batch_summary.hpp"
#include "driver/run_options.hpp"

namespace orv {

struct BatchOptions {
  std::string list;            // a list file or a folder
  bool force = false;          // run patterns whose results are complete as well
  std::optional<Shard> shard;  // from --shard; without it, from a Slurm job array, else the whole list
  bool merge = false;          // join the shard summaries instead of indexing
  int workers = 0;             // patterns at once; 0 takes every core this process may use
  // What each pattern writes beside its results (the picture, the JSON results); every pattern
  // runs single-threaded and with a Le Page file of its own whatever this says.
  RunOptions run;
  // Map mode (--map FILE or --grid COLSxROWS): the patterns are points of a map, indexed with
  // seeds from their neighbours and written as a map (driver/map_run.hpp).
  std::string mapPositions;
  std::string mapGrid;
  double grainAngle = 5.0;  // degrees: neighbours closer than this in orientation are one grain
  bool MapMode() const { return !mapPositions.empty() || !mapGrid.empty(); }
};

// Exit status of a batch: 0 when every pattern is complete, 1 when any failed (or, in a merge,
// has no row), 2 when the batch itself could not run (list unreadable, summary unwritable).
int RunBatch(const BatchOptions& options, std::ostream& console);

// True when the pattern needs no new run: its row is complete, and its results file (and its
// picture and JSON results when they are asked for) exists and is not older than the input file.
bool PatternIsComplete(const std::string& file, const std::optional<SummaryRow>& row, const RunOptions& run);

}  // namespace orv
