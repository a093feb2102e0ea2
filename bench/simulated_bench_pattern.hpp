// A simulated pattern read back as a run reads it, for the benchmarks.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "input/input_reader.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_run.hpp"

namespace orv {

struct BenchPattern {
  RunParameters parameters;
  DirectionStore directions;
};

// Simulates `options` into a file of the given name in TMPDIR (or /tmp), reads it with the run's
// defaults and removes it; nullptr when the pattern cannot be simulated.
inline std::unique_ptr<BenchPattern> SimulateBenchPattern(sim::SimulationOptions options, const std::string& name) {
  options.outputFile = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/" + name;
  sim::SimulatedPattern simulated;
  std::string message;
  if (!sim::SimulatePattern(options, simulated, message)) return nullptr;
  sim::WritePatternFile(options.outputFile, options, simulated);
  auto pattern = std::make_unique<BenchPattern>();
  std::ostringstream echo;
  SetDefaultParameters(pattern->parameters, pattern->directions);
  ReadInputFile(options.outputFile, pattern->parameters, pattern->directions, echo);
  std::remove(options.outputFile.c_str());
  return pattern;
}

}  // namespace orv
