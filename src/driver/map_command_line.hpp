// The command-line options of map mode, added to the program's option parser beside the batch's.
#pragma once

#include <CLI/CLI.hpp>

#include "driver/batch_run.hpp"
#include "driver/run_options.hpp"

namespace orv {

class MapCommandLine {
 public:
  // Adds --map, --grid and --grain-angle, filling `options` when parsed.
  void AddTo(CLI::App& app, BatchOptions& options);
  // After parsing: refuses map options without --batch, --map with --grid, and the per-pattern
  // outputs that a map does not write (--json, --svg), by throwing CLI::ValidationError.
  void Check(bool batchRequested, const RunOptions& run) const;

 private:
  CLI::Option* map_ = nullptr;
  CLI::Option* grid_ = nullptr;
  CLI::Option* grainAngle_ = nullptr;
};

}  // namespace orv
