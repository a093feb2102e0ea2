// Joining the summaries of the shards of a batch into one, in the order of the list.
#include "driver/batch_merge.hpp"

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "driver/batch_list.hpp"
#include "driver/batch_summary.hpp"

namespace orv {

int MergeShardSummaries(const std::vector<std::string>& files, std::ostream& console) {
  const std::regex shardName(R"(batch_summary\.shard-([0-9]{1,6})-of-([0-9]{1,6})\.csv)");
  std::map<int, std::string> shardFiles;
  std::set<int> counts;
  std::error_code error;
  for (std::filesystem::directory_iterator it(".", error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::smatch match;
    if (!std::regex_match(name, match, shardName)) continue;
    const int index = std::stoi(match[1]), count = std::stoi(match[2]);
    if (index >= count) continue;
    counts.insert(count);
    shardFiles[index] = name;
  }
  if (error) throw BatchError("Cannot read the current folder.");
  if (counts.empty()) throw BatchError("No shard summaries (batch_summary.shard-I-of-N.csv) in this folder.");
  if (counts.size() > 1) throw BatchError("Shard summaries of different shard counts in this folder; keep one set.");
  const int count = *counts.begin();

  std::vector<std::map<std::string, SummaryRow>> shardRows(static_cast<std::size_t>(count));
  for (int index = 0; index < count; ++index) {
    const auto found = shardFiles.find(index);
    if (found == shardFiles.end()) {
      console << " Shard " << index << " of " << count << " has no summary.\n";
      continue;
    }
    bool foreign = false;
    shardRows[static_cast<std::size_t>(index)] = ReadSummaryRows(found->second, foreign, "");
    if (foreign) console << " " << found->second << " is not a batch summary; left out.\n";
  }

  std::vector<SummaryRow> merged;
  std::size_t missing = 0, failed = 0;
  for (std::size_t position = 0; position < files.size(); ++position) {
    const auto& rows = shardRows[position % static_cast<std::size_t>(count)];
    const auto found = rows.find(files[position]);
    if (found == rows.end()) {
      SummaryRow row = FailedRow(files[position], "no shard reported this pattern", 0.0);
      row.status = "missing";
      row.seconds.clear();
      merged.push_back(row);
      ++missing;
    } else {
      merged.push_back(found->second);
      if (!found->second.Complete()) ++failed;
    }
  }
  WriteSummary("batch_summary.csv", merged);
  console << " Merged " << count << " shard summaries: " << files.size() << " patterns, " << failed << " failed, "
          << missing << " missing\n"
          << " Summary saved in file : batch_summary.csv\n"
          << std::flush;
  return missing + failed > 0 ? 1 : 0;
}

}  // namespace orv
