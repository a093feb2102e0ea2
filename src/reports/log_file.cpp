// The log file: its name, its title block and header, written when CreateLogFile is 1.
#include "reports/log_file.hpp"

#include "run_data/clock.hpp"
#include "text/line_format.hpp"
#include "reports/parameter_header.hpp"
#include "text/text_file.hpp"
#include "text/trim_blanks.hpp"

namespace orv {

void OpenLogFile(TextFile& log, const std::string& inputFileName, const RunParameters& parameters) {
  log.Open(OutputFileName(inputFileName, "_kqt.log"));
  log.WriteLine(FreeLine(Equals()));
  log.WriteLine(FreeLine(Dashes()));
  log.WriteLine(std::string());
  log.WriteLine(FreeLine("         Report created by Orvanthel.exe (v. 1.0)"));
  log.WriteLine(FreeLine("         for " + TrimBlanks(inputFileName)));
  log.WriteLine(std::string());
  log.WriteLine(FreeLine(Dashes()));
  log.WriteLine(FreeLine(Equals()));
  WriteParameterHeader(log, HeaderTarget::LogFile, parameters, 0, ReadLocalDateTime());
}

}  // namespace orv
