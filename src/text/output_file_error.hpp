// The error of an output file that cannot be created or written.
#pragma once

#include <stdexcept>
#include <string>

namespace orv {

// An output file that cannot be created or written.
struct OutputFileError : std::runtime_error {
  explicit OutputFileError(const std::string& file)
      : std::runtime_error("Cannot write " + file), fileName(file) {}
  std::string fileName;
};

}  // namespace orv
