// Work items computed on several threads and handed on one by one, strictly in their order.
#pragma once

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace orv {

// The number of worker threads for a requested count: 0 or less takes every core of the machine.
inline int ResolveThreadCount(int requested) {
  if (requested > 0) return requested;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

// Calls produce(index, worker, output) for every index 0 .. count-1 on `threads` worker threads
// (worker is 0 .. threads-1, so that each may own scratch space) and consume(index, output) on the
// calling thread, strictly in increasing index, each as soon as its output and all before it are
// ready. The calling thread only hands on, so that what consume learns (the store's floor) reaches
// the workers without delay. At most `window` outputs wait at a time; they are reused, so produce
// must overwrite all of its output. With one thread everything runs on the calling thread, item
// after item. An exception from produce is raised again on the calling thread when that item's
// turn comes; one from consume stops the workers before it leaves.
template <class Output, class Produce, class Consume>
void ProduceInOrder(int threads, long long count, long long window, Produce&& produce, Consume&& consume) {
  if (threads <= 1 || count <= 1) {
    Output output{};
    for (long long index = 0; index < count; ++index) {
      produce(index, 0, output);
      consume(index, output);
    }
    return;
  }
  if (window < threads) window = threads;
  std::vector<Output> outputs(static_cast<std::size_t>(window));
  std::vector<char> ready(static_cast<std::size_t>(window), 0);
  std::vector<std::exception_ptr> failures(static_cast<std::size_t>(window));
  std::mutex mutex;
  std::condition_variable readyChanged;
  std::condition_variable spaceFreed;
  long long next = 0;      // the next index to be claimed
  long long consumed = 0;  // indices below this have been consumed
  bool stop = false;
  bool callerWaiting = false;

  // Produces one claimed item and marks it ready; the lock is held on entry and on return.
  auto produceClaimed = [&](std::unique_lock<std::mutex>& lock, long long index, int worker) {
    lock.unlock();
    const std::size_t slot = static_cast<std::size_t>(index % window);
    try {
      produce(index, worker, outputs[slot]);
    } catch (...) {
      failures[slot] = std::current_exception();
    }
    lock.lock();
    ready[slot] = 1;
    if (index == consumed && callerWaiting) readyChanged.notify_one();
  };

  auto work = [&](int worker) {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      spaceFreed.wait(lock, [&] { return stop || next >= count || next < consumed + window; });
      if (stop || next >= count) return;
      produceClaimed(lock, next++, worker);
    }
  };

  // Stops and joins the workers however the consuming loop ends.
  struct Workers {
    std::vector<std::thread> threads;
    std::mutex& mutex;
    std::condition_variable& spaceFreed;
    bool& stop;
    ~Workers() {
      {
        std::lock_guard<std::mutex> lock(mutex);
        stop = true;
      }
      spaceFreed.notify_all();
      for (std::thread& t : threads) t.join();
    }
  } workers{{}, mutex, spaceFreed, stop};
  for (int w = 0; w < threads; ++w) workers.threads.emplace_back(work, w);

  std::unique_lock<std::mutex> lock(mutex);
  while (consumed < count) {
    const std::size_t slot = static_cast<std::size_t>(consumed % window);
    if (ready[slot]) {
      lock.unlock();
      if (failures[slot]) std::rethrow_exception(failures[slot]);
      consume(consumed, outputs[slot]);
      lock.lock();
      ready[slot] = 0;
      ++consumed;
      spaceFreed.notify_one();
    } else {
      callerWaiting = true;
      readyChanged.wait(lock, [&] { return ready[slot] != 0; });
      callerWaiting = false;
    }
  }
}

}  // namespace orv
