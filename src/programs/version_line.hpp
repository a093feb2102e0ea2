// The line each program prints for --version.
#pragma once

#include <string>

namespace orv {

// "<program> <version>": "Orvanthel 1.1.0", "orvanthel-import 1.1.0", "orvanthel-simulate 1.1.0".
std::string VersionLine(const std::string& program);

}  // namespace orv
