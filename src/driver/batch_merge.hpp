// Joining the summaries of the shards of a batch into one, in the order of the list.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace orv {

// Reads every batch_summary.shard-I-of-N.csv of the current folder (one N only) and writes
// batch_summary.csv with one row per listed file in list order, taken from the shard that file
// belongs to; a file without a row gets status "missing". Returns 0 when every row is there and
// complete, 1 otherwise; throws BatchError when there is nothing to merge or N differs.
int MergeShardSummaries(const std::vector<std::string>& files, std::ostream& console);

}  // namespace orv
