// The command-line options of a batch, added to the program's option parser.
#include "driver/batch_command_line.hpp"

namespace orv {

void BatchCommandLine::AddTo(CLI::App& app, BatchOptions& options) {
  batch_ = app.add_option("--batch", options.list, "Index every pattern of LIST (a file of paths or a folder)");
  force_ = app.add_flag("--force", options.force, "In a batch, run complete patterns again");
  shard_ = app.add_option("--shard", shardText_, "In a batch, I/N: every N-th pattern from the I-th (from 0)");
  merge_ = app.add_flag("--merge", options.merge, "Join the shard summaries into batch_summary.csv");
  workers_ = app.add_option("--workers", options.workers, "In a batch, patterns at once (default: every core)")
                 ->check(CLI::Range(1, 4096));
}

void BatchCommandLine::Check(const CLI::App& app, BatchOptions& options) const {
  if (!shardText_.empty()) {
    options.shard = ParseShard(shardText_);
    if (!options.shard) throw CLI::ValidationError("--shard", "give I/N with 0 <= I < N");
  }
  if (!Requested()) {
    if (force_->count() + shard_->count() + merge_->count() + workers_->count() > 0) {
      throw CLI::ValidationError("--force, --shard, --merge and --workers", "they go with --batch LIST");
    }
    return;
  }
  const CLI::Option* threads = app.get_option_no_throw("--threads");
  if (threads != nullptr && threads->count() > 0) {
    throw CLI::ValidationError("--threads", "a batch runs each pattern on one thread; --workers sets how many at once");
  }
  if (!app.remaining().empty()) {
    throw CLI::ValidationError("--batch", "it takes the patterns from LIST, not a file name after it");
  }
}

}  // namespace orv
