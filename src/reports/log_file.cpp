// The log file: its name, its title block and header, written when CreateLogFile is 1.
#include "reports/log_file.hpp"

#include "run_data/clock.hpp"
#include "reports/line_format.hpp"
#include "reports/parameter_header.hpp"
#include "reports/text_file.hpp"
#include "reports/trim_blanks.hpp"

namespace orv {

std::string OutputFileName(const std::string& inputFileName, const std::string& suffix) {
  const std::string name = TrimBlanks(inputFileName);
  // The reader admits only names ending in ".kqt"; a shorter name loses what it has.
  const std::size_t stemLength = name.size() > 4 ? name.size() - 4 : 0;
  return name.substr(0, stemLength) + suffix;
}

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
