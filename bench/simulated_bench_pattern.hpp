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

// A silicon crystal (face-centred cubic, a = 5.431 A) in the random orientation of `seed`: the
// `spots` strongest spots with 0.02 degree noise, the given share of spurious ones, a tolerance of
// 0.2 degree.
inline sim::SimulationOptions SiliconOptions(int seed, int spots, double spurious) {
  sim::SimulationOptions options;
  options.cell = sim::CellParameters{5.431, 5.431, 5.431, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.seed = seed;
  options.flaws = sim::FlawSettings{0.02, spurious, 0.0, spots};
  options.keywords.AngularDeviationCriterion = 0.2;
  return options;
}

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
