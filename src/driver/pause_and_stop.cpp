// The pause that ends every error exit of the program.
#include "driver/pause_and_stop.hpp"

#include <string>

#include "driver/program_stop.hpp"
#include "text/line_format.hpp"

namespace orv {

void PauseAndStop(std::istream& in, std::ostream& out, int exitStatus) {
  out << FreeLine("Press Enter to continue.") << std::endl;
  std::string answer;
  std::getline(in, answer);
  throw ProgramStop{exitStatus};
}

}  // namespace orv
