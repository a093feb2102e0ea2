// The one error family of the library: every failure of a call is an orvanthel::Error with a code.
#pragma once

#include <stdexcept>
#include <string>

namespace orvanthel {

enum class ErrorCode {
  InvalidPattern,  // fewer than 4 or more than 999 spots, a zero or non-finite direction, bad angles
  InvalidOptions,  // a run option outside its accepted range
  ReferenceMismatch,  // the reference cell does not describe the lattice found
  ReadFailed,      // an input file or peak list that cannot be opened or read
  Cancelled,       // the observer asked the search to stop
  OutOfMemory,
  Internal,        // anything else; a fault of the library
};

class Error : public std::runtime_error {
 public:
  Error(ErrorCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
  ErrorCode code() const noexcept { return code_; }

 private:
  ErrorCode code_;
};

}  // namespace orvanthel
