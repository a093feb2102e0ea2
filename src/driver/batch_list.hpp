// The patterns of a batch: read from a list file or a folder, without repeats, and split into shards.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv {

// A batch that cannot start or finish: a list that cannot be read, a summary that cannot be written.
struct BatchError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct PatternList {
  std::vector<std::string> files;       // in list order, each once
  std::vector<std::string> duplicates;  // entries left out because they name a file already listed
};

// `list` is a folder (its *.kqt files in byte order of their names, as folder/name.kqt) or a text
// file with one path per line (blank lines and lines starting with '#' skipped; paths as written,
// relative ones taken from the current folder). Two entries that name the same file are run once.
// Throws BatchError when the list cannot be read.
PatternList ReadPatternList(const std::string& list);

// Shard I of N (I counted from 0) takes the patterns at list positions I, I + N, I + 2N, ...
struct Shard {
  int index = 0;
  int count = 1;
};

// "I/N" with 0 <= I < N; nothing when the text is not of that form.
std::optional<Shard> ParseShard(const std::string& text);

// The shard of a Slurm job array: SLURM_ARRAY_TASK_ID minus SLURM_ARRAY_TASK_MIN (0 when unset)
// of SLURM_ARRAY_TASK_COUNT; nothing when the first or the last is unset. Throws BatchError when
// they do not make a shard. `lookup` reads one environment variable (nullptr when unset).
std::optional<Shard> ShardFromSlurm(const std::function<const char*(const char*)>& lookup);

// The list positions (from 0) that the shard takes.
std::vector<std::size_t> PositionsOfShard(std::size_t patterns, const Shard& shard);

}  // namespace orv
