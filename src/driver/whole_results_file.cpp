// Whether a results file left by an earlier run is whole, so that a resumed batch may keep it.
#include "driver/whole_results_file.hpp"

#include <cstdlib>

#include "input/input_file.hpp"

namespace orv {

namespace {

constexpr char kCountLine[] = " Number of solutions: ";
constexpr char kBlockEnd[] = "  Volume of the cell  :";
constexpr char kRelationships[] = "                     Relationships";
// Results lines are short; a longer line means the file is not one of this program's.
constexpr std::size_t kLongestResultsLine = 4096;

bool StartsWith(const std::string& line, const char* start) { return line.rfind(start, 0) == 0; }

}  // namespace

bool ResultsFileIsWhole(const std::string& path) {
  InputFile in;
  if (!in.Open(path)) return false;
  LineSource lines = in.Lines(kLongestResultsLine);
  long announced = -1;
  long blocks = 0;
  bool relationships = false;
  std::string line;
  std::string last;
  bool ended = false;
  for (;;) {
    const LineSource::Result result = lines.Next(line);
    if (result == LineSource::Result::End) break;
    if (result != LineSource::Result::Line) return false;
    ended = lines.LastLineEnded();
    if (announced < 0 && StartsWith(line, kCountLine)) {
      const std::string count = line.substr(sizeof kCountLine - 1);
      char* end = nullptr;
      announced = std::strtol(count.c_str(), &end, 10);
      if (end == count.c_str() || announced < 0) return false;
    } else if (StartsWith(line, kBlockEnd)) {
      ++blocks;
    } else if (line == kRelationships) {
      relationships = true;
    }
    last = line;
  }
  if (!ended || announced < 0 || blocks != announced) return false;
  return !relationships || (last.find('-') != std::string::npos && last.find_first_not_of(" -") == std::string::npos);
}

}  // namespace orv
