// The error ending of the program: thrown after the pause, turned into the exit status at the entry.
#pragma once

namespace orv {

// Thrown by PauseAndStop after the pause; the program entry catches it and exits with the status.
struct ProgramStop {
  int exitStatus;
};

}  // namespace orv
