// The peak-list reader: layout from the header or the given names, strict numbers, one peak a line.
#include "import/peak_list.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "geometry/laue_frame.hpp"
#include "text/number_text.hpp"

namespace orv::imp {

namespace {

std::vector<std::string> SplitItems(const std::string& line) {
  std::vector<std::string> items;
  std::string item;
  for (char c : line) {
    if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

std::string CountText(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The direction of q, whatever its length: scaled by its largest component first, so that neither
// huge nor tiny components overflow or vanish on the way.
bool UnitVector(const Vec3& q, Vec3& unit) {
  const double largest = std::max({std::fabs(q[0]), std::fabs(q[1]), std::fabs(q[2])});
  if (!(largest > 0.0)) return false;
  const Vec3 scaled{q[0] / largest, q[1] / largest, q[2] / largest};
  double norm = 0.0;
  return NormalizeVector(scaled, unit, norm) == kStatusSuccess;
}

Peak PeakFromValues(const ColumnLayout& layout, const std::vector<double>& values, int lineNumber) {
  Peak peak;
  peak.line = lineNumber;
  const int intensity = layout.Find(ColumnRole::Intensity);
  if (intensity >= 0) peak.intensity = values[static_cast<std::size_t>(intensity)];
  auto value = [&](ColumnRole role) { return values[static_cast<std::size_t>(layout.Find(role))]; };
  if (layout.HoldsAngles()) {
    const double twoTheta = value(ColumnRole::TwoTheta);
    if (!(twoTheta > 0.0 && twoTheta <= 180.0))
      throw PeakListError(lineNumber, "2theta " + ShortestRealText(twoTheta) + " is outside (0, 180] degrees");
    peak.twoTheta = twoTheta;
    peak.chi = value(ColumnRole::Chi);
    peak.direction = ScatteringDirectionFromAngles(DetectorAngles{twoTheta, peak.chi});
  } else {
    const Vec3 q{value(ColumnRole::Qx), value(ColumnRole::Qy), value(ColumnRole::Qz)};
    if (!UnitVector(q, peak.direction)) throw PeakListError(lineNumber, "the q vector is zero");
  }
  return peak;
}

}  // namespace

PeakListError::PeakListError(int lineNumber, const std::string& why)
    : ImportError(lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " + why : why),
      line(lineNumber),
      reason(why) {}

PeakList ReadPeakList(std::istream& in, const std::vector<std::string>& givenNames) {
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw PeakListError(0, "the file cannot be read to its end");
  LineSource lines = LineSource::FromText(text.str());
  return ReadPeakList(lines, givenNames);
}

PeakList ReadPeakList(LineSource& lines, const std::vector<std::string>& givenNames) {
  PeakList list;
  bool haveLayout = false;
  if (!givenNames.empty()) {
    std::string problem;
    if (!LayoutFromNames(givenNames, list.layout, problem)) throw PeakListError(0, problem);
    haveLayout = true;
  }
  bool headerSeen = false;
  std::string line;
  for (;;) {
    const LineSource::Result result = lines.Next(line);
    if (result == LineSource::Result::End) break;
    const int lineNumber = static_cast<int>(lines.LineNumber());
    if (result == LineSource::Result::TooLong)
      throw PeakListError(lineNumber, "the line is longer than " + std::to_string(lines.MaxLineLength()) + " characters");
    if (result == LineSource::Result::Failed) throw PeakListError(0, "the file cannot be read to its end");
    const std::vector<std::string> items = SplitItems(line);
    if (items.empty() || items[0][0] == '#') continue;
    double first = 0.0;
    if (ParseRealForm(items[0], first) == NumberForm::Malformed && !headerSeen && list.peaks.empty()) {
      headerSeen = true;
      if (!haveLayout) {
        std::string problem;
        if (!LayoutFromNames(items, list.layout, problem)) throw PeakListError(lineNumber, "header: " + problem);
        haveLayout = true;
      }
      continue;
    }
    if (!haveLayout) {
      if (items.size() == 3)
        throw PeakListError(lineNumber,
                            "three columns may be 2theta chi I or qx qy qz: name them with --columns or a header line");
      if (items.size() != 2)
        throw PeakListError(lineNumber, CountText(items.size(), "column", "columns") +
                                            " and no header line naming them: name them with --columns");
      std::string unused;
      haveLayout = LayoutFromNames({"2theta", "chi"}, list.layout, unused);
    }
    if (items.size() != list.layout.Size())
      throw PeakListError(lineNumber, CountText(items.size(), "value", "values") + " where the columns are " +
                                          list.layout.Describe() + " (" + std::to_string(list.layout.Size()) + ")");
    std::vector<double> values(items.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
      const NumberForm reading = ParseRealForm(items[k], values[k]);
      if (reading != NumberForm::Ok)
        throw PeakListError(lineNumber, "\"" + items[k] + "\" in column " + list.layout.names[k] +
                                            (reading == NumberForm::OutOfRange ? " is out of range" : " is not a number"));
    }
    list.peaks.push_back(PeakFromValues(list.layout, values, lineNumber));
  }
  if (list.peaks.empty()) throw PeakListError(0, "no peak lines");
  return list;
}

}  // namespace orv::imp
