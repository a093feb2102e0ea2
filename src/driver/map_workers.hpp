// Jobs of a map run in child processes, several at once; each sends its lines back through a pipe.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace orv {

// Runs jobs 0 .. jobs-1 on at most `workers` child processes at a time. `work(job)` runs in the
// child, which inherits everything the parent holds, and returns its text; `take(job, text, ended)`
// runs in the parent as each child ends, with `ended` empty when the child ended normally and
// otherwise saying how it ended. Throws BatchError when no process can be started.
void RunJobsInWorkers(std::size_t jobs, int workers, const std::function<std::string(std::size_t)>& work,
                      const std::function<void(std::size_t, const std::string&, const std::string&)>& take);

}  // namespace orv
