// The one family of errors that end an import; ReportImportFailure turns each into its message and
// exit status.
#pragma once

#include <stdexcept>
#include <string>

namespace orv::imp {

// A fault of the command line, of the peak list or of the reflections chosen from it: the message
// shown after "orvanthel-import: ". Nothing is written then.
struct ImportError : std::runtime_error {
  explicit ImportError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace orv::imp
