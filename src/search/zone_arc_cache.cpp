// Zone arcs of one run, each computed once on first use and kept for the rest of the search.
#include "search/zone_arc_cache.hpp"

#include <algorithm>
#include <cstddef>

namespace orv {

void ZoneArcCache::Reset(int n) {
  n_ = n;
  const std::size_t pairs = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
  start_.assign(pairs, -1);
  count_.assign(pairs, 0);
  blocks_.clear();
  used_ = kBlockSize;
}

ReflectionList ZoneArcCache::Arc(const DirectionStore& directions, int p, int q) {
  const std::size_t pair = static_cast<std::size_t>(p - 1) * static_cast<std::size_t>(n_) + static_cast<std::size_t>(q - 1);
  if (start_[pair] < 0) {
    ZoneArc(directions, n_, p, q, scratch_);
    const int size = static_cast<int>(scratch_.size());
    if (blocks_.empty() || used_ + size > kBlockSize) {
      blocks_.push_back(std::make_unique<int[]>(kBlockSize));
      used_ = 0;
    }
    const int block = static_cast<int>(blocks_.size()) - 1;
    std::copy(scratch_.begin(), scratch_.end(), blocks_.back().get() + used_);
    start_[pair] = (block << kBlockShift) + used_;
    count_[pair] = size;
    used_ += size;
  }
  if (count_[pair] == 0) return {};
  const int start = start_[pair];
  return {blocks_[static_cast<std::size_t>(start >> kBlockShift)].get() + (start & (kBlockSize - 1)), count_[pair]};
}

}  // namespace orv
