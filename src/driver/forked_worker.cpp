// Child processes that compute a text and hand it back through a pipe.
#include "driver/forked_worker.hpp"

#include <sched.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

#include "driver/batch_list.hpp"

namespace orv {

namespace {

void WriteAll(int descriptor, const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(descriptor, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    written += static_cast<std::size_t>(n);
  }
}

}  // namespace

ForkedWorker ForkWorker(const std::function<std::string()>& work) {
  int ends[2];
  if (::pipe(ends) != 0) throw BatchError("Cannot start a worker: " + std::string(std::strerror(errno)) + ".");
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(ends[0]);
    ::close(ends[1]);
    throw BatchError("Cannot start a worker: " + std::string(std::strerror(errno)) + ".");
  }
  if (pid == 0) {
    ::close(ends[0]);
    // A batch or map that is stopped stops its workers too, so that none goes on writing its
    // outputs unseen while a resumed run does the same work again.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);
    int status = 0;
    try {
      WriteAll(ends[1], work());
    } catch (...) {
      status = 1;
    }
    ::close(ends[1]);
    ::_exit(status);
  }
  ::close(ends[1]);
  return ForkedWorker{pid, ends[0]};
}

int UsableCores() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace orv
