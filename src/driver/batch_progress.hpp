// The batch's progress line: patterns done and failed, and an estimate of the time left.
#pragma once

#include <string>

namespace orv {

struct BatchCounts {
  std::size_t total = 0;    // patterns of this batch (or shard)
  std::size_t skipped = 0;  // complete from an earlier batch
  std::size_t done = 0;     // finished in this batch, failed ones included
  std::size_t failed = 0;
};

// Seconds as "45 s", "12 min 5 s" or "3 h 20 min".
std::string DurationText(double seconds);

// " Batch : 12 of 40 done, 1 failed, 3 skipped, about 1 min 20 s left", the estimate from the rate
// at which this batch has finished patterns so far.
std::string ProgressText(const BatchCounts& counts, double elapsedSeconds);

}  // namespace orv
