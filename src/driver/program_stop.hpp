// The ways a run ends early: an error ending through the pause, or an output file that fails.
#pragma once

#include <stdexcept>
#include <string>

namespace orv {

// Thrown by PauseAndStop after the pause; the program entry catches it and exits with the status.
struct ProgramStop {
  int exitStatus;
};

// Thrown when an output file cannot be created or written; the entry reports it and exits with 1.
struct OutputFileError : std::runtime_error {
  explicit OutputFileError(const std::string& file)
      : std::runtime_error("Cannot write " + file), fileName(file) {}
  std::string fileName;
};

}  // namespace orv
