// The one family of errors that end a simulation; ReportSimulationFailure turns each into its
// message and exit status.
#pragma once

#include <stdexcept>
#include <string>

namespace orv::sim {

// A simulation that cannot be made; nothing is written then.
struct SimulationError : std::runtime_error {
  explicit SimulationError(const std::string& message) : std::runtime_error(message) {}
};

// A fault of the command line: the message names the option (exit status 2).
struct SimulationOptionError : SimulationError {
  using SimulationError::SimulationError;
};

// Options that give no pattern: the cell, the strain or the detector leave nothing to write
// (exit status 1).
struct NoPatternError : SimulationError {
  using SimulationError::SimulationError;
};

}  // namespace orv::sim
