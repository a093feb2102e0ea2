// Child processes that compute a text and hand it back through a pipe: the batch's patterns and the
// map's chunks of points run in them, so that a crash or a stop of one never takes the others along.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace orv {

struct ForkedWorker {
  pid_t pid = -1;
  int output = -1;  // the read end of the pipe: the child's text arrives here
};

// Forks a child that writes what `work` returns into the pipe and ends with status 0 (1 when `work`
// throws), through _exit, so that it never flushes buffers or runs destructors of the parent's. The
// child is stopped (SIGTERM) when the parent ends. Throws BatchError when no child can be started.
ForkedWorker ForkWorker(const std::function<std::string()>& work);

// The cores this process may run on (its affinity), at least 1.
int UsableCores();

}  // namespace orv
