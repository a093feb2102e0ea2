// PatternFromScatteringAngles: spot directions from the detector angles of a peak list.
#include <cmath>

#include "geometry/laue_frame.hpp"
#include "orvanthel/error.hpp"
#include "orvanthel/pattern.hpp"

namespace orvanthel {

Pattern PatternFromScatteringAngles(const std::vector<double>& twoThetaDegrees, const std::vector<double>& chiDegrees,
                                    const std::vector<double>& intensities) {
  if (chiDegrees.size() != twoThetaDegrees.size() || (!intensities.empty() && intensities.size() != twoThetaDegrees.size()))
    throw Error(ErrorCode::InvalidPattern, "2theta, chi and the intensities must hold one value per spot.");
  Pattern pattern;
  for (std::size_t i = 0; i < twoThetaDegrees.size(); ++i) {
    const double twoTheta = twoThetaDegrees[i];
    const double chi = chiDegrees[i];
    if (!(twoTheta > 0.0 && twoTheta <= 180.0) || !std::isfinite(chi))
      throw Error(ErrorCode::InvalidPattern, "Spot " + std::to_string(i + 1) +
                                                 ": 2theta must lie in (0, 180] degrees and chi must be finite.");
    const orv::Vec3 q = orv::ScatteringDirectionFromAngles({twoTheta, chi});
    pattern.directions.push_back({q[0], q[1], q[2]});
  }
  pattern.twoThetaDegrees = twoThetaDegrees;
  pattern.chiDegrees = chiDegrees;
  pattern.intensities = intensities;
  return pattern;
}

}  // namespace orvanthel
