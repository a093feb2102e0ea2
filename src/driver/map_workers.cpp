// Child processes of a map run: fork, a pipe per child read while it runs, and its end.
#include "driver/map_workers.hpp"

#include "driver/forked_worker.hpp"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include "driver/batch_list.hpp"

namespace orv {

namespace {

struct Child {
  pid_t pid = -1;
  int pipe = -1;
  std::size_t job = 0;
  std::string text;
};


Child Start(std::size_t job, const std::function<std::string(std::size_t)>& work) {
  const ForkedWorker worker = ForkWorker([&work, job] { return work(job); });
  Child child;
  child.pid = worker.pid;
  child.pipe = worker.output;
  child.job = job;
  return child;
}

std::string HowItEnded(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return "lost track of the worker";
  }
  if (WIFSIGNALED(status)) return "the worker ended on signal " + std::to_string(WTERMSIG(status));
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    return "the worker ended with exit status " + std::to_string(WEXITSTATUS(status));
  return "";
}

}  // namespace

void RunJobsInWorkers(std::size_t jobs, int workers, const std::function<std::string(std::size_t)>& work,
                      const std::function<void(std::size_t, const std::string&, const std::string&)>& take) {
  std::vector<Child> running;
  std::size_t next = 0;
  while (next < jobs || !running.empty()) {
    while (next < jobs && static_cast<int>(running.size()) < std::max(1, workers)) running.push_back(Start(next++, work));
    std::vector<pollfd> watched;
    for (const Child& child : running) watched.push_back(pollfd{child.pipe, POLLIN, 0});
    if (::poll(watched.data(), watched.size(), -1) < 0) {
      if (errno == EINTR) continue;
      throw BatchError("Lost track of the workers: " + std::string(std::strerror(errno)) + ".");
    }
    for (std::size_t i = running.size(); i-- > 0;) {
      if (watched[i].revents == 0) continue;
      Child& child = running[i];
      char buffer[65536];
      const ssize_t n = ::read(child.pipe, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n > 0) {
        child.text.append(buffer, static_cast<std::size_t>(n));
        continue;
      }
      ::close(child.pipe);
      const std::string ended = HowItEnded(child.pid);
      const Child done = child;
      running.erase(running.begin() + static_cast<long>(i));
      take(done.job, done.text, ended);
    }
  }
}

}  // namespace orv
