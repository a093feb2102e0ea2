// ReadPeakList: a peak list read by the importer's own reader, as a pattern.
#include <optional>

#include "geometry/laue_frame.hpp"
#include "import/peak_list.hpp"
#include "import/peak_selection.hpp"
#include "input/input_file.hpp"
#include "orvanthel/error.hpp"
#include "orvanthel/index.hpp"

namespace orvanthel {

Pattern ReadPeakList(const std::string& path, const std::vector<std::string>& columns, int top) {
  if (top < 0) throw Error(ErrorCode::InvalidOptions, "top must not be negative.");
  orv::InputFile file;
  if (!file.Open(path)) throw Error(ErrorCode::ReadFailed, "Cannot open " + path + ".");
  orv::imp::PeakList list;
  try {
    orv::LineSource lines = file.Lines();
    list = orv::imp::ReadPeakList(lines, columns);
  } catch (const orv::imp::PeakListError& error) {
    throw Error(ErrorCode::ReadFailed, path + ": " + error.what());
  }
  const std::vector<orv::imp::Peak> peaks = orv::imp::SelectPeaks(
      list.peaks, list.layout.HoldsIntensity(), top > 0 ? std::optional<int>(top) : std::nullopt);
  Pattern pattern;
  for (const orv::imp::Peak& peak : peaks) {
    pattern.directions.push_back(peak.direction);
    const orv::DetectorAngles angles = orv::AnglesFromScatteringDirection(peak.direction);
    pattern.twoThetaDegrees.push_back(angles.twoTheta);
    pattern.chiDegrees.push_back(angles.chi);
    pattern.intensities.push_back(peak.intensity);
  }
  return pattern;
}

}  // namespace orvanthel
