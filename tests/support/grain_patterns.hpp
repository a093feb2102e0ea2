// A simulated pattern of two grains for the tests of runs that look for grains.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "simulator/pattern_files.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"

namespace orv::testing {

// Silicon (cF) with 40 spots and a hexagonal GaN grain with 30, at 0.01 degree noise and the given
// share of spurious spots, written to folder/two.kqt; returns its path.
inline std::string WriteTwoGrainPattern(const std::string& folder, double spurious) {
  sim::SimulationOptions options;
  options.outputFile = folder + "/two.kqt";
  options.cell = sim::CellParameters{5.431, 5.431, 5.431, 90.0, 90.0, 90.0};
  options.centring = sim::Centring::F;
  options.seed = 3;
  options.flaws = sim::FlawSettings{0.01, spurious, 0.0, 40};
  options.keywords.AngularDeviationCriterion = 0.1;
  options.moreGrains.push_back(
      sim::SimulatedGrain{sim::CellParameters{3.189, 3.189, 5.185, 90.0, 90.0, 120.0}, sim::Centring::P, 30, std::nullopt});
  sim::SimulatedPattern pattern;
  std::string message;
  EXPECT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
  sim::WritePatternFile(options.outputFile, options, pattern);
  return options.outputFile;
}

}  // namespace orv::testing
