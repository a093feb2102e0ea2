// The batch's progress line: patterns done and failed, and an estimate of the time left.
#include "driver/batch_progress.hpp"

#include <algorithm>
#include <cmath>

namespace orv {

std::string DurationText(double seconds) {
  const long total = std::lround(std::max(0.0, seconds));
  const long hours = total / 3600, minutes = total % 3600 / 60, rest = total % 60;
  if (hours > 0) return std::to_string(hours) + " h " + std::to_string(minutes) + " min";
  if (minutes > 0) return std::to_string(minutes) + " min " + std::to_string(rest) + " s";
  return std::to_string(rest) + " s";
}

std::string ProgressText(const BatchCounts& counts, double elapsedSeconds) {
  const std::size_t finished = counts.skipped + counts.done;
  std::string text = " Batch : " + std::to_string(finished) + " of " + std::to_string(counts.total) + " done, " +
                     std::to_string(counts.failed) + " failed";
  if (counts.skipped > 0) text += ", " + std::to_string(counts.skipped) + " skipped";
  const std::size_t left = counts.total - finished;
  if (left == 0) return text + ", " + DurationText(elapsedSeconds) + " in all";
  if (counts.done == 0) return text + ", estimating the time left";
  const double perPattern = elapsedSeconds / static_cast<double>(counts.done);
  return text + ", about " + DurationText(perPattern * static_cast<double>(left)) + " left";
}

}  // namespace orv
