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
  // With --orientation, after the message: phi1 Phi phi2 strain_xx ... strain_von_mises; empty in
  // a summary without those columns.
  std::vector<std::string> orientation;

  bool Complete() const { return status == "indexed" || status == "no_solution"; }
};

// The header line of every summary.
const std::string& SummaryHeader();
// The header of a summary of a batch run with --orientation: SummaryHeader and the orientation columns.
const std::string& SummaryHeaderWithOrientation();

// "batch_summary.csv", or "batch_summary.shard-I-of-N.csv" for a shard of more than one.
std::string SummaryFileName(const Shard& shard);

SummaryRow RowOfRun(const std::string& file, const RunSummary& summary, double seconds);
SummaryRow FailedRow(const std::string& file, const std::string& message, double seconds);

// The row as one CSV line without its line end; fields with a comma, a quote or a line end are quoted.
// With `orientationColumns` a row without orientation fields gets empty ones.
std::string FormatRow(const SummaryRow& row, bool orientationColumns = false);
// Nothing when the line is not a row of the summary (a cut or foreign line).
std::optional<SummaryRow> ParseRow(const std::string& line);

// The rows of a summary file by file name, a later row of a file replacing an earlier one. Only
// lines ended by a line end count, so a row cut short by an interruption is never taken. An absent
// file gives no rows; a file with another header gives no rows and sets `foreign`. The header must be
// `header`, or either of the two headers when `header` is empty.
std::map<std::string, SummaryRow> ReadSummaryRows(const std::string& path, bool& foreign,
                                                  const std::string& header = SummaryHeader());

// A summary that grows by one row as each pattern finishes, so that an interrupted batch keeps
// what it finished. Opening cuts off a last line left without its line end.
class SummaryJournal {
 public:
  // Opens `path` for appending, writing the header first when the file is new or `fresh` is set.
  SummaryJournal(const std::string& path, bool fresh, const std::string& header = SummaryHeader());
  ~SummaryJournal();
  SummaryJournal(const SummaryJournal&) = delete;
  SummaryJournal& operator=(const SummaryJournal&) = delete;

  // Appends the row in one write; throws BatchError when it cannot.
  void Append(const SummaryRow& row);

 private:
  void WriteWhole(const std::string& text);
  std::string path_;
  int descriptor_ = -1;
  bool orientationColumns_ = false;
};

// Writes the header and the rows, in the order given, to `path` as a whole (the new file takes the
// old one's place only once it is complete), so the summary is never seen half-written; with the
// orientation columns when a row has them. Throws BatchError.
void WriteSummary(const std::string& path, const std::vector<SummaryRow>& rows);

}  // namespace orv
