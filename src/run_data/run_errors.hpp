// The typed errors that end a run early; only the program entry prints them and picks the exit status.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "text/output_file_error.hpp"

namespace orv {

// An input file that cannot be used: the console lines that say why, exactly as they are shown.
struct InputError : std::runtime_error {
  explicit InputError(std::vector<std::string> lines)
      : std::runtime_error(lines.empty() ? std::string("input error") : lines.front()), consoleLines(std::move(lines)) {}
  std::vector<std::string> consoleLines;
};

}  // namespace orv
