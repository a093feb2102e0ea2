// The log file's view of a run: the lines it writes for what the search and the post-processing report.
#include "reports/log_events.hpp"

#include <string>

#include "text/line_format.hpp"
#include "text/text_file.hpp"

namespace orv {

void LogEventWriter::TripleStarted() {
  if (!log_.IsOpen()) return;
  static const std::string separator = Line().X(1).Text(Repeat('=', 54)).str();
  log_.WriteLine(separator);
}

void LogEventWriter::SimilarToSolution(int j) {
  if (log_.IsOpen()) log_.WriteLine(Line().X(1).Text("  Similar to solution").I(j, 4).str());
}

void LogEventWriter::ReplacedSolution(int /*j*/) {
  if (log_.IsOpen()) log_.WriteLine(Line().X(1).Text("    and replaced it").str());
}

void LogEventWriter::BasisSaved(int record, SupportCounts counts, double quality) {
  if (!log_.IsOpen()) return;
  log_.WriteLine(Line().X(1).Text("--> Basis saved as no").I(record, 4).str());
  log_.WriteLine(Line()
                     .X(2)
                     .I(counts.nHalf, 4)
                     .Text("h")
                     .Text(" and")
                     .I(counts.nFull, 4)
                     .Text("H ")
                     .Text("vectors, quality :")
                     .F(quality, 13, 3)
                     .str());
}

void LogEventWriter::PostProcessingStarted() {
  if (!log_.IsOpen()) return;
  log_.WriteLine(FreeLine(std::string()));
  log_.WriteLine(FreeLine(Repeat('=', 50)));
  log_.WriteLine(FreeLine("Saving results"));
  log_.WriteLine(FreeLine(std::string()));
}

void LogEventWriter::SolutionsSorted() {
  if (log_.IsOpen()) log_.WriteLine(FreeLine("Sorting solutions by quality"));
}

void LogEventWriter::SolutionsResorted() {
  if (log_.IsOpen()) log_.WriteLine(FreeLine("Trivial sorting of solutions by quality"));
}

}  // namespace orv
