// The version of the Orvanthel programs, shown by --version and written into machine-readable results.
#pragma once

namespace orv {

inline constexpr const char* kProgramVersion = "1.1.0";

}  // namespace orv
