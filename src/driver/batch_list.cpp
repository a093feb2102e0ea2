// The patterns of a batch: read from a list file or a folder, without repeats, and split into shards.
#include "driver/batch_list.hpp"

#include <algorithm>
#include <filesystem>
#include <set>

#include "input/input_file.hpp"

namespace orv {

namespace fs = std::filesystem;

namespace {

std::string TrimmedLine(const std::string& line) {
  const char* const blanks = " \t\r";
  const std::size_t first = line.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> FilesOfFolder(const std::string& folder) {
  std::string prefix = folder;
  while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (EndsWith(name, ".kqt") && it->is_regular_file()) names.push_back(name);
  }
  if (error) throw BatchError("Cannot read the folder " + folder + ".");
  std::sort(names.begin(), names.end());
  for (std::string& name : names) name = prefix + "/" + name;
  return names;
}

// The peak lists (".cor") in a folder: a folder of them is a folder the importer has not seen yet.
std::size_t PeakListsInFolder(const std::string& folder) {
  std::size_t count = 0;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (EndsWith(it->path().filename().string(), ".cor")) ++count;
  }
  return count;
}

std::vector<std::string> FilesOfListFile(const std::string& list) {
  // Only a regular file is read, in lines of bounded length, so that a pipe cannot hold the batch.
  InputFile in;
  if (!in.Open(list)) throw BatchError("Cannot open the list " + list + ".");
  LineSource lines = in.Lines();
  std::vector<std::string> files;
  std::string line;
  for (LineSource::Result result = lines.Next(line);; result = lines.Next(line)) {
    if (result == LineSource::Result::End) break;
    if (result == LineSource::Result::TooLong)
      throw BatchError("Line " + std::to_string(lines.LineNumber()) + " of the list " + list + " is longer than " +
                       std::to_string(lines.MaxLineLength()) + " characters.");
    if (result == LineSource::Result::Failed) throw BatchError("Cannot read the list " + list + ".");
    const std::string entry = TrimmedLine(line);
    if (!entry.empty() && entry[0] != '#') files.push_back(entry);
  }
  return files;
}

// The same file however it is written: the absolute path with links resolved where they exist.
std::string Identity(const std::string& file) {
  std::error_code error;
  const fs::path path = fs::weakly_canonical(fs::absolute(file, error), error);
  return error ? file : path.string();
}

}  // namespace

PatternList ReadPatternList(const std::string& list) {
  std::error_code error;
  const bool folder = fs::is_directory(list, error);
  const std::vector<std::string> entries = folder ? FilesOfFolder(list) : FilesOfListFile(list);
  if (entries.empty()) {
    // A batch of nothing is a mistake: most often a folder of peak lists not yet imported.
    const std::size_t peakLists = folder ? PeakListsInFolder(list) : 0;
    if (peakLists > 0)
      throw BatchError("The folder " + list + " holds no .kqt input file but " + std::to_string(peakLists) +
                       (peakLists == 1 ? " peak list" : " peak lists") +
                       " (.cor): make input files of them with orvanthel-import first.");
    throw BatchError((folder ? "The folder " + list + " holds no .kqt input file."
                             : "The list " + list + " names no pattern."));
  }
  PatternList result;
  std::set<std::string> seen;
  for (const std::string& file : entries) {
    if (seen.insert(Identity(file)).second) {
      result.files.push_back(file);
    } else {
      result.duplicates.push_back(file);
    }
  }
  return result;
}

std::optional<Shard> ParseShard(const std::string& text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 == text.size()) return std::nullopt;
  const std::string first = text.substr(0, slash), second = text.substr(slash + 1);
  auto digits = [](const std::string& s) {
    return s.size() <= 9 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits(first) || !digits(second)) return std::nullopt;
  Shard shard{std::stoi(first), std::stoi(second)};
  if (shard.count < 1 || shard.index >= shard.count) return std::nullopt;
  return shard;
}

std::optional<Shard> ShardFromSlurm(const std::function<const char*(const char*)>& lookup) {
  const char* id = lookup("SLURM_ARRAY_TASK_ID");
  const char* count = lookup("SLURM_ARRAY_TASK_COUNT");
  if (id == nullptr || count == nullptr) return std::nullopt;
  const char* minimum = lookup("SLURM_ARRAY_TASK_MIN");
  auto number = [](const char* text) -> long {
    const std::string s = TrimmedLine(text);
    if (s.empty() || s.size() > 9 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return -1;
    }
    return std::stol(s);
  };
  const long task = number(id), tasks = number(count), first = minimum ? number(minimum) : 0;
  if (task < 0 || tasks < 1 || first < 0 || task - first < 0 || task - first >= tasks) {
    throw BatchError("SLURM_ARRAY_TASK_ID " + std::string(id) + " does not make a shard of SLURM_ARRAY_TASK_COUNT " +
                     std::string(count) + "; give --shard I/N.");
  }
  return Shard{static_cast<int>(task - first), static_cast<int>(tasks)};
}

std::vector<std::size_t> PositionsOfShard(std::size_t patterns, const Shard& shard) {
  std::vector<std::size_t> positions;
  for (std::size_t k = static_cast<std::size_t>(shard.index); k < patterns; k += static_cast<std::size_t>(shard.count)) {
    positions.push_back(k);
  }
  return positions;
}

}  // namespace orv
