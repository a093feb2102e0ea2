// The command-line options of a batch, added to the program's option parser.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "driver/batch_run.hpp"

namespace orv {

class BatchCommandLine {
 public:
  // Adds --batch, --force, --shard, --merge and --workers, filling `options` when parsed.
  void AddTo(CLI::App& app, BatchOptions& options);
  // After parsing: reads the shard and refuses combinations that mean nothing (batch options
  // without --batch, --threads or a file name with it) by throwing CLI::ValidationError.
  void Check(const CLI::App& app, BatchOptions& options) const;
  bool Requested() const { return batch_ != nullptr && batch_->count() > 0; }

 private:
  CLI::Option* batch_ = nullptr;
  CLI::Option* force_ = nullptr;
  CLI::Option* shard_ = nullptr;
  CLI::Option* merge_ = nullptr;
  CLI::Option* workers_ = nullptr;
  std::string shardText_;
};

}  // namespace orv
