// The batch summary table: one CSV row per pattern, read back to resume and to merge shards.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "driver/batch_list.hpp"
#include "driver/run_summary.hpp"

namespace orv {

// What became of one pattern. "indexed" and "no_solution" are complete runs; "failed" is redone
// when the batch runs again; "missing" appears only in a merge, for a pattern no shard reported.
struct SummaryRow {
  std::string file;
  std::string status;
  // a b c alpha beta gamma volume bravais conv_a conv_b conv_c conv_alpha conv_beta conv_gamma nh nH N quality
  std::vector<std::string> fields;
  std::string seconds;              // wall-clock time of the pattern
  std::string message;              // why it failed, empty otherwise
  // A batch that looks for several grains: grains grain2_bravais grain2_conv_a ... grain2_conv_gamma
  // grain2_spots grain2_phase after the message (kGrainColumns); empty in any other batch.
  std::vector<std::string> grainFields;

  bool Complete() const { return status == "indexed" || status == "no_solution"; }
};

// The columns a batch that looks for several grains appends to every row.
constexpr std::size_t kGrainColumns = 10;

// The header line of every summary; with `grains`, followed by the grain columns.
const std::string& SummaryHeader(bool grains = false);

// The row with exactly kGrainColumns grain fields (empty ones added), for a summary with grains.
SummaryRow WithGrainColumns(SummaryRow row);

// "batch_summary.csv", or "batch_summary.shard-I-of-N.csv" for a shard of more than one.
std::string SummaryFileName(const Shard& shard);

SummaryRow RowOfRun(const std::string& file, const RunSummary& summary, double seconds);
SummaryRow FailedRow(const std::string& file, const std::string& message, double seconds);

// The row as one CSV line without its line end; fields with a comma, a quote or a line end are quoted.
// The grain fields follow the message when the row has them.
std::string FormatRow(const SummaryRow& row);
// Nothing when the line is not a row of the summary (a cut or foreign line).
std::optional<SummaryRow> ParseRow(const std::string& line);

// The rows of a summary file by file name, a later row of a file replacing an earlier one. Only
// lines ended by a line end count, so a row cut short by an interruption is never taken. An absent
// file gives no rows; a file with another header (SummaryHeader(grains)) gives no rows and sets `foreign`.
std::map<std::string, SummaryRow> ReadSummaryRows(const std::string& path, bool& foreign, bool grains = false);

// A summary that grows by one row as each pattern finishes, so that an interrupted batch keeps
// what it finished. Opening cuts off a last line left without its line end.
class SummaryJournal {
 public:
  // Opens `path` for appending, writing the header (SummaryHeader(grains)) first when the file is
  // new or `fresh` is set.
  SummaryJournal(const std::string& path, bool fresh, bool grains = false);
  ~SummaryJournal();
  SummaryJournal(const SummaryJournal&) = delete;
  SummaryJournal& operator=(const SummaryJournal&) = delete;

  // Appends the row in one write; throws BatchError when it cannot.
  void Append(const SummaryRow& row);

 private:
  void WriteWhole(const std::string& text);
  std::string path_;
  bool grains_ = false;
  int descriptor_ = -1;
};

// Writes the header and the rows, in the order given, to `path` as a whole (the new file takes the
// old one's place only once it is complete), so the summary is never seen half-written. Throws
// BatchError.
void WriteSummary(const std::string& path, const std::vector<SummaryRow>& rows, bool grains = false);

}  // namespace orv
