// The banner shown when the program starts without a file name.
#pragma once

#include <ostream>

namespace orv {

void PrintBanner(std::ostream& out);

}  // namespace orv
